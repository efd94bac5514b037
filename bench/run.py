#!/usr/bin/env python3
"""Runs Lukimo's benchmark drivers against the bare-Qt floor, in alternation,
on a virtual X server, and prints medians and the ratios program / floor.

    python3 bench/run.py [BUILD-DIR] [--rounds N]

Figures:
  first paint   wall time from spawning the process to the first paint of
                its number window
  CPU per tick  (CPU of a long roll - CPU of a short roll) / extra ticks, so
                start-up cancels out; free and limited draws
  settled RSS   peak resident memory of a long roll (it has settled by then)
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SHORT, LONG = 10, 110


def start_xvfb():
    n = 90
    while os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
        n += 1
    xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(200):
        if os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return xvfb, f":{n}"
        time.sleep(0.05)
    sys.exit("Xvfb did not start")


def run(command, env, cwd):
    """Runs one process; returns (wall ns to first paint or None, cpu s, maxrss KiB)."""
    started = time.time_ns()
    process = subprocess.Popen(command, env=env, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
    stderr_reader = process.stderr
    _, status, usage = os.wait4(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    err = stderr_reader.read()
    if process.returncode != 0:
        sys.exit(f"{command} failed ({process.returncode}):\n{err}")
    paint = None
    for line in err.splitlines():
        if line.startswith("first-paint-ns "):
            paint = int(line.split()[1]) - started
    return paint, usage.ru_utime + usage.ru_stime, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    floor = os.path.join(build, "bench", "bench_floor")
    lukimo = os.path.join(build, "bench", "bench_lukimo")
    run_dir = os.path.join(build, "run")
    for program in (floor, lukimo):
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} is missing: build first")

    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8",
               LANG="C.UTF-8")
    results = {key: [] for key in ("paint", "tick", "rss")}
    samples = {name: {key: [] for key in results} for name in
               ("floor", "free", "limited")}
    try:
        for _ in range(args.rounds):
            for name in ("floor", "free", "limited"):
                if name == "floor":
                    paint_cmd = [floor, "first-paint"]
                    roll = lambda ticks: [floor, "roll", str(ticks)]
                else:
                    paint_cmd = [lukimo, "first-paint"]
                    roll = lambda ticks, n=name: [lukimo, "roll", n, str(ticks)]
                if name != "limited":
                    paint, _, _ = run(paint_cmd, env, run_dir)
                    samples[name]["paint"].append(paint / 1e6)
                _, short_cpu, _ = run(roll(SHORT), env, run_dir)
                _, long_cpu, rss = run(roll(LONG), env, run_dir)
                samples[name]["tick"].append((long_cpu - short_cpu) / (LONG - SHORT) * 1e6)
                samples[name]["rss"].append(rss / 1024)
    finally:
        xvfb.terminate()
        xvfb.wait()

    median = {name: {key: statistics.median(values) if values else None
                     for key, values in figures.items()} for name, figures in samples.items()}
    floor_m = median["floor"]
    rows = [
        ("time to first paint (ms)", "paint", "free", 1.3),
        ("CPU per tick, free draws (us)", "tick", "free", 1.1),
        ("CPU per tick, limited draws (us)", "tick", "limited", 1.1),
        ("settled peak RSS, free draws (MiB)", "rss", "free", 1.3),
        ("settled peak RSS, limited draws (MiB)", "rss", "limited", 1.3),
    ]
    print(f"{args.rounds} rounds in alternation; medians. Ticks: {SHORT} and {LONG}.")
    print(f"{'figure':40} {'lukimo':>10} {'floor':>10} {'ratio':>7} {'target':>7}")
    for label, key, name, target in rows:
        ours, base = median[name][key], floor_m[key]
        ratio = ours / base if base else float("inf")
        mark = "" if ratio <= target else "  MISSED"
        print(f"{label:40} {ours:10.2f} {base:10.2f} {ratio:7.3f} {target:7.2f}{mark}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
