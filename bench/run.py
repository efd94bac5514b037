#!/usr/bin/env python3
"""Runs Lukimo's benchmark drivers against the bare-Qt floor, in alternation,
on a virtual X server of its own, and prints for each figure the median and
the middle half (25th to 75th percentile) of the rounds, and the same of the
ratios to the floor run taken beside it.

    python3 bench/run.py [BUILD-DIR] [--rounds N] [--no-callgrind]
                         [--results bench/RESULTS.md]
                         [--web BUILD-WEB [--web-rounds N] [--web-only]]

Figures, each taken inside the measured process (see bench/benchclock.h):
  first paint        wall time from spawning the process to the first paint of
                     its number window
  start-up CPU       CPU the process used up to that paint, loader included
  CPU per tick       process CPU between tick 20 and tick 120 of a roll,
                     divided by the 100 ticks; free and limited draws
  peak memory        VmHWM at the last tick of that roll, before the process
                     starts to quit
  instructions       under callgrind: per tick, (run of 120 ticks - run of 20
                     ticks) / 100, and up to the first paint; counted up to the
                     moment the driver asks to quit, so shutdown never counts

--results FILE rewrites the block between the "bench figures" markers in FILE
with this run's tables.

--web BUILD-WEB also runs the browser build against its floor in headless
Chromium (bench/web.mjs: sizes, first frame, CPU per tick), from
scripts/web-build.sh BUILD-WEB -DLUKIMO_WEB_FLOOR=ON; --web-only runs that
alone. Its figures go to the "web bench figures" block of the results file.
"""
import argparse
import datetime
import os
import platform
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

WARM_UP, LONG = 20, 120  # WARM_UP is bench::warmUpTicks
PAINT_PAIRS = 6  # first-paint pairs per round: they are short and noisy
PROGRAMS = ("floor", "free", "limited")
KEYS = {"first-paint-ns", "startup-cpu-ns", "startup-peak-kib", "window-ticks",
        "window-cpu-ns", "peak-kib"}
MARK_BEGIN, MARK_END = "<!-- bench figures begin -->", "<!-- bench figures end -->"


def start_xvfb():
    """Starts a server that picks its own free display and tells us which
    (-displayfd), and does not reset when a client leaves (-noreset)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
         "-screen", "0", "1024x768x24"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        ready, _, _ = select.select([pipe], [], [], 20)
        number = pipe.readline().strip() if ready else ""
    if not number.isdigit():
        server.kill()
        server.wait()
        sys.exit("Xvfb did not start")
    return server, f":{number}"


def parse(err):
    figures = {}
    for line in err.splitlines():
        key, _, value = line.partition(" ")
        if key in KEYS:
            figures[key] = int(value)
    return figures


def run(command, env, cwd):
    """Runs one driver; returns its reported figures and its first paint in ms."""
    started = time.monotonic_ns()
    done = subprocess.run(command, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True, timeout=120)
    if done.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({done.returncode}):\n{done.stderr}")
    figures = parse(done.stderr)
    if "first-paint-ns" in figures:
        figures["paint-ms"] = (figures["first-paint-ns"] - started) / 1e6
    return figures


def commands(build):
    floor = os.path.join(build, "bench", "bench_floor")
    lukimo = os.path.join(build, "bench", "bench_lukimo")
    for program in (floor, lukimo):
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} is missing: build first")
    paint = {"floor": [floor, "first-paint"], "lukimo": [lukimo, "first-paint"]}
    roll = {"floor": lambda ticks: [floor, "roll", str(ticks)],
            "free": lambda ticks: [lukimo, "roll", "free", str(ticks)],
            "limited": lambda ticks: [lukimo, "roll", "limited", str(ticks)]}
    return paint, roll


def timed_rounds(rounds, paint, roll, env, cwd):
    """Returns samples[figure] = list of (Lukimo's value, the floor's value),
    one pair per alternation."""
    samples = {key: [] for key in ("paint", "startup-cpu", "startup-peak", "tick-free",
                                   "tick-limited", "peak-free", "peak-limited")}
    for done in range(rounds):
        for pair in range(PAINT_PAIRS):
            order = ("floor", "lukimo") if pair % 2 == 0 else ("lukimo", "floor")
            got = {name: run(paint[name], env, cwd) for name in order}
            samples["paint"].append((got["lukimo"]["paint-ms"], got["floor"]["paint-ms"]))
            samples["startup-cpu"].append((got["lukimo"]["startup-cpu-ns"] / 1e6,
                                           got["floor"]["startup-cpu-ns"] / 1e6))
            samples["startup-peak"].append((got["lukimo"]["startup-peak-kib"] / 1024,
                                            got["floor"]["startup-peak-kib"] / 1024))
        rolled = {name: run(roll[name](LONG), env, cwd) for name in PROGRAMS}
        tick = {name: rolled[name]["window-cpu-ns"] / rolled[name]["window-ticks"] / 1e3
                for name in PROGRAMS}
        for name in ("free", "limited"):
            samples[f"tick-{name}"].append((tick[name], tick["floor"]))
            samples[f"peak-{name}"].append((rolled[name]["peak-kib"] / 1024,
                                            rolled["floor"]["peak-kib"] / 1024))
        print(f"round {done + 1} of {rounds} done", file=sys.stderr, flush=True)
    return samples


def instructions(path):
    with open(path) as data:
        for line in data:
            if line.startswith(("totals:", "summary:")):
                return int(line.split()[1])
    sys.exit(f"no instruction total in {path}")


def callgrind_counts(paint, roll, env, cwd):
    """Runs every callgrind measurement at once (instruction counts do not
    depend on the other load) and returns instruction counts."""
    runs = {("paint", "floor"): paint["floor"], ("paint", "free"): paint["lukimo"]}
    for name in PROGRAMS:
        runs[("short", name)] = roll[name](WARM_UP)
        runs[("long", name)] = roll[name](LONG)
    with tempfile.TemporaryDirectory(prefix="lukimo-callgrind-") as out_dir:
        started = {}
        for key, command in runs.items():
            out = os.path.join(out_dir, "-".join(key))
            # The dump taken on entering quitSoon() holds everything before
            # the driver asked to quit; the end-of-run dump holds shutdown.
            started[key] = (out, subprocess.Popen(
                ["valgrind", "--tool=callgrind", "-q", f"--callgrind-out-file={out}",
                 "--dump-before=bench::quitSoon*"] + command,
                env=env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                text=True))
        counts = {}
        for key, (out, process) in started.items():
            _, err = process.communicate(timeout=600)
            if process.returncode != 0:
                sys.exit(f"callgrind {' '.join(runs[key])} failed:\n{err}")
            counts[key] = instructions(out + ".1")
    result = {"paint": {name: counts[("paint", name)] for name in ("floor", "free")}}
    result["tick"] = {name: (counts[("long", name)] - counts[("short", name)]) / (LONG - WARM_UP)
                      for name in PROGRAMS}
    return result


def middle(values):
    if len(values) < 2:
        return values[0], values[0]
    low, _, high = statistics.quantiles(values, n=4, method="inclusive")
    return low, high


def summary(pairs):
    """Median and middle half of each side, and of the ratios of the runs taken
    side by side, so that a slow spell of the machine hits both."""
    ours = [p[0] for p in pairs]
    base = [p[1] for p in pairs]
    ratios = [a / b for a, b in pairs]
    return {"ours": (statistics.median(ours),) + middle(ours),
            "floor": (statistics.median(base),) + middle(base),
            "ratio": (statistics.median(ratios),) + middle(ratios)}


TIMED_ROWS = [
    # label, samples key, goal as a ratio to the floor (None: shown for reference)
    ("first paint (ms)", "paint", 1.4),
    ("start-up CPU to first paint (ms)", "startup-cpu", None),
    ("peak memory at first paint (MiB)", "startup-peak", None),
    ("peak memory, free draws (MiB)", "peak-free", 1.15),
    ("peak memory, limited draws (MiB)", "peak-limited", 1.15),
    ("CPU per tick, free draws (us)", "tick-free", None),
    ("CPU per tick, limited draws (us)", "tick-limited", None),
]


def fmt(triple, digits):
    median, low, high = triple
    return f"{median:.{digits}f} ({low:.{digits}f}–{high:.{digits}f})"


def verdict(ratio, goal):
    if goal is None:
        return ""
    return f"≤ {goal:.2f}" + ("" if ratio <= goal else " MISSED")


def tables(samples, counts):
    timed = []
    for label, key, goal in TIMED_ROWS:
        s = summary(samples[key])
        digits = 1 if "us" in label else 2
        timed.append((label, fmt(s["ours"], digits), fmt(s["floor"], digits),
                      fmt(s["ratio"], 3), verdict(s["ratio"][0], goal)))
    counted = []
    if counts:
        for name in ("free", "limited"):
            ours, base = counts["tick"][name], counts["tick"]["floor"]
            counted.append((f"instructions per tick, {name} draws", f"{ours / 1e3:.1f}k",
                            f"{base / 1e3:.1f}k", f"{ours / base:.3f}",
                            verdict(ours / base, 1.05)))
        ours, base = counts["paint"]["free"], counts["paint"]["floor"]
        counted.append(("instructions to first paint", f"{ours / 1e6:.1f}M",
                        f"{base / 1e6:.1f}M", f"{ours / base:.3f}", ""))
    return timed, counted


def plain(timed, counted, header):
    lines = [header, ""]
    head = ("figure", "Lukimo (middle half)", "floor (middle half)", "ratio (middle half)",
            "goal")
    for row in [head] + timed:
        lines.append(f"{row[0]:36} {row[1]:>22} {row[2]:>22} {row[3]:>20}  {row[4]}".rstrip())
    if counted:
        lines += ["", "Under callgrind (one run each):"]
        for row in counted:
            lines.append(f"{row[0]:36} {row[1]:>22} {row[2]:>22} {row[3]:>20}  {row[4]}".rstrip())
    return "\n".join(lines)


def markdown(timed, counted, header):
    lines = [header, "",
             "| figure | Lukimo (middle half) | floor (middle half) | ratio (middle half) | goal |",
             "|---|---:|---:|---:|---|"]
    lines += [f"| {' | '.join(row)} |" for row in timed]
    if counted:
        lines += ["", "Instruction counts under callgrind (one run each):", "",
                  "| figure | Lukimo | floor | ratio | goal |", "|---|---:|---:|---:|---|"]
        lines += [f"| {' | '.join(row)} |" for row in counted]
    return "\n".join(lines)


def revision():
    """The commit of the sources beside this script, marked when a source
    file (not a text like this file's results) has changed since."""
    here = os.path.dirname(os.path.abspath(__file__))
    commit = subprocess.run(["git", "-C", here, "rev-parse", "--short", "HEAD"],
                            capture_output=True, text=True).stdout.strip()
    changed = subprocess.run(["git", "-C", here, "status", "--porcelain",
                              "--untracked-files=no", "--", ":/", ":!*.md"],
                             capture_output=True, text=True).stdout.strip()
    if not commit:
        return "unknown sources"
    return f"{commit} with local changes" if changed else commit


def machine(rounds, load_before, load_after):
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            names = [line.split(":", 1)[1].strip() for line in info
                     if line.startswith("model name")]
            cpu = names[0] if names else cpu
    except OSError:
        pass
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"],
                        capture_output=True, text=True).stdout or "unknown"
    return (f"Run of {datetime.date.today().isoformat()} on {revision()}: {rounds} rounds "
            f"({PAINT_PAIRS} first-paint pairs each), {os.cpu_count()} CPUs ({cpu}), "
            f"Qt {qt}; load average {load_before:.2f} before, {load_after:.2f} after.")


def write_results(path, block):
    with open(path) as old:
        text = old.read()
    if MARK_BEGIN not in text or MARK_END not in text:
        sys.exit(f"{path} has no '{MARK_BEGIN}' ... '{MARK_END}' block to refresh")
    head, rest = text.split(MARK_BEGIN, 1)
    _, tail = rest.split(MARK_END, 1)
    with open(path, "w") as new:
        new.write(f"{head}{MARK_BEGIN}\n{block}\n{MARK_END}{tail}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--no-callgrind", action="store_true",
                        help="skip the instruction counts")
    parser.add_argument("--results", metavar="FILE",
                        help="rewrite the figures block of FILE (bench/RESULTS.md)")
    parser.add_argument("--web", metavar="BUILD-WEB",
                        help="also benchmark the browser build in this folder")
    parser.add_argument("--web-rounds", type=int, default=10,
                        help="alternating cold loads of each page (10 by default)")
    parser.add_argument("--web-only", action="store_true",
                        help="run the browser benchmark alone")
    args = parser.parse_args()
    if args.rounds < 1 or args.web_rounds < 1:
        parser.error("--rounds and --web-rounds must be at least 1")
    if args.web_only and not args.web:
        parser.error("--web-only needs --web BUILD-WEB")
    if args.web_only:
        return run_web(args.web, args.web_rounds, args.results)

    build = os.path.abspath(args.build)
    paint, roll = commands(build)
    run_dir = os.path.join(build, "run")
    use_callgrind = not args.no_callgrind
    if use_callgrind and not shutil.which("valgrind"):
        print("valgrind is not installed (Debian package valgrind): "
              "instruction counts skipped", file=sys.stderr)
        use_callgrind = False

    load_before = os.getloadavg()[0]
    server, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8",
               LANG="C.UTF-8")
    try:
        samples = timed_rounds(args.rounds, paint, roll, env, run_dir)
        counts = None
        if use_callgrind:
            print("counting instructions under callgrind", file=sys.stderr, flush=True)
            counts = callgrind_counts(paint, roll, env, run_dir)
    finally:
        server.terminate()
        server.wait()
    load_after = os.getloadavg()[0]

    header = machine(args.rounds, load_before, load_after)
    timed, counted = tables(samples, counts)
    print(plain(timed, counted, header))
    if args.results:
        write_results(args.results, markdown(timed, counted, header))
    if args.web:
        return run_web(args.web, args.web_rounds, args.results)
    return 0


def run_web(build_web, rounds, results):
    """Runs bench/web.mjs with playwright-core from the browser tests' pinned
    packages."""
    here = os.path.dirname(os.path.abspath(__file__))
    modules = subprocess.run([os.path.join(here, "..", "tests", "web", "node-modules.sh")],
                             stdout=subprocess.PIPE, text=True, check=True).stdout.strip()
    command = ["node", os.path.join(here, "web.mjs"), build_web, "--rounds", str(rounds)]
    if results:
        command += ["--results", results]
    return subprocess.run(command, env=dict(os.environ, LUKIMO_WEB_NODE_MODULES=modules)).returncode


if __name__ == "__main__":
    sys.exit(main())
