#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that every program a command runs comes from a package the
project's install steps name.

    exec-audit.py [--log FILE] -- COMMAND...
        runs COMMAND while recording every file the kernel executes (fanotify),
        then fails if one of them comes from a Debian package that is neither
        Essential, nor apt, nor named by scripts/install-deps.sh or
        debian/control (or pulled in by one of those through its dependencies),
        or from no package at all in a system folder. What the package
        system runs (dpkg's maintainer scripts and triggers, apt's hooks, and
        all below them) is left out: it comes with the packages a machine
        has, not from the scripts. FILE lists what the check read; FILE.dpkg
        what was left out. Exits with COMMAND's status, or 1 when only the
        check failed.
    exec-audit.py --check FILE [--without PACKAGE]...
        the same check on a list of executed files recorded earlier, as if
        the install steps did not name each PACKAGE.

On a machine that has every package already, a test run that passes says
nothing about a new one; this check reads what really ran. Recording needs
root (it watches the whole root file system); without it the command runs
unrecorded and the check says SKIPPED."""

import ctypes
import os
import re
import struct
import subprocess
import sys
import threading

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FAN_CLOEXEC, FAN_CLASS_CONTENT, FAN_UNLIMITED_QUEUE = 0x1, 0x4, 0x10
FAN_MARK_ADD, FAN_MARK_FILESYSTEM = 0x1, 0x100
FAN_OPEN_EXEC_PERM, FAN_Q_OVERFLOW, FAN_ALLOW = 0x40000, 0x4000, 0x1
PR_SET_CHILD_SUBREAPER = 36
EVENT = struct.Struct("IBBHQii")
RESPONSE = struct.Struct("iI")
# Where a program that no package owns still counts: the system's own
# folders. The checkout, caches, chroots and wine prefixes are the tests';
# /usr/local holds the machine's own wrappers, and the packaged program a
# wrapper calls is recorded in its turn.
SYSTEM = re.compile(r"^/(usr/(?!local/)|bin/|sbin/|lib[^/]*/|opt/)")


def process(pid):
    """(parent, start time) of process pid; None once it is gone. The start
    time tells a process from a later one that got its number again."""
    try:
        with open(f"/proc/{pid}/stat", encoding="utf-8", errors="replace") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return int(fields[1]), int(fields[19])
    except (OSError, ValueError, IndexError):
        return None


# The package system: what these run (maintainer scripts, triggers, apt's
# hooks, and all below them) comes from packages the machine already has,
# whichever the run installs, so it is theirs to bring, not the scripts'.
PACKAGE_SYSTEM = {"/usr/bin/dpkg", "/usr/bin/apt-get", "/usr/bin/apt"}


def executable(pid):
    try:
        return os.readlink(f"/proc/{pid}/exe")
    except OSError:
        return None


def whose(pid, ours, packaging):
    """Whose execution the process pid makes: "ours" when it is one of the
    processes in ours or below one, "packaging" when the package system is
    on the way there, None otherwise. Both sets hold (pid, start time)
    pairs, and what is found on the way up joins one of them. Each process
    on the way is asked what it runs now, since a process keeps its start
    time through an exec and may have become dpkg after it joined ours."""
    chain = []
    while pid > 1:
        found = process(pid)
        if found is None:
            return None
        parent, start = found
        key = (pid, start)
        if key in packaging or executable(pid) in PACKAGE_SYSTEM:
            packaging.update(chain, [key])
            return "packaging"
        if key in ours:
            ours.update(chain)
            return "ours"
        chain.append(key)
        pid = parent
    return None


def start_recording():
    """Watches every execution on the root file system and keeps those of
    this process's descendants. Returns (stop, None), stop() ending the
    recording and returning the executed paths, as a dict of two sets: what
    the run itself executed ("ours") and what the package system executed
    for it ("packaging"); (None, why) when the kernel
    does not let it watch. The kernel holds each execution until it is
    answered, so that the process is still there to be asked who it
    descends from; every one is allowed, and all are let go if this process
    ends."""
    libc = ctypes.CDLL(None, use_errno=True)
    libc.fanotify_mark.argtypes = [ctypes.c_int, ctypes.c_uint, ctypes.c_uint64, ctypes.c_int, ctypes.c_char_p]
    fd = libc.fanotify_init(FAN_CLOEXEC | FAN_CLASS_CONTENT | FAN_UNLIMITED_QUEUE, os.O_RDONLY | os.O_LARGEFILE)
    if fd < 0:
        return None, os.strerror(ctypes.get_errno())
    if libc.fanotify_mark(fd, FAN_MARK_ADD | FAN_MARK_FILESYSTEM, FAN_OPEN_EXEC_PERM, -100, b"/") < 0:
        os.close(fd)
        return None, os.strerror(ctypes.get_errno())
    # Daemons the run starts stay below this process when they detach.
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    ours, packaging = {(os.getpid(), process(os.getpid())[1])}, set()
    files, overflow = {"ours": set(), "packaging": set()}, []
    rpipe, wpipe = os.pipe()

    def answer(efd, pid):
        try:
            kind = whose(pid, ours, packaging)
            if kind:
                files[kind].add(os.readlink(f"/proc/self/fd/{efd}"))
        except OSError:
            pass
        finally:
            os.write(fd, RESPONSE.pack(efd, FAN_ALLOW))
            os.close(efd)

    def reader():
        import select
        while True:
            ready, _, _ = select.select([fd, rpipe], [], [])
            if fd in ready:
                data = os.read(fd, 65536)
                for off in range(0, len(data), EVENT.size):
                    _, _, _, _, mask, efd, pid = EVENT.unpack_from(data, off)
                    if mask & FAN_Q_OVERFLOW:
                        overflow.append(True)
                    if efd >= 0:
                        answer(efd, pid)
            elif rpipe in ready:
                return

    thread = threading.Thread(target=reader, daemon=True)
    thread.start()

    def stop():
        os.write(wpipe, b"x")
        thread.join()
        os.close(fd)
        if overflow:
            print("exec-audit: the kernel's event queue overflowed; the list is incomplete", file=sys.stderr)
        return files

    return stop, None


def dpkg_db():
    """Maps each file path dpkg knows to its package; with the packages'
    fields."""
    owner = {}
    info = "/var/lib/dpkg/info"
    for name in os.listdir(info):
        if name.endswith(".list"):
            package = name[:-5].split(":")[0]
            with open(os.path.join(info, name), encoding="utf-8", errors="replace") as f:
                for line in f:
                    owner[line.rstrip("\n")] = package
    out = subprocess.run(
        ["dpkg-query", "-W", "-f", "${Package}\t${db:Status-Abbrev}\t${Essential}\t${Pre-Depends}\t${Depends}\t${Provides}\n"],
        capture_output=True, text=True, check=True).stdout
    packages, providers = {}, {}
    for line in out.splitlines():
        name, status, essential, pre, deps, provides = line.split("\t")
        if not status.startswith("ii"):
            continue
        packages[name] = (essential == "yes", names_in(pre + "," + deps))
        for p in names_in(provides):
            providers.setdefault(p, set()).add(name)
    return owner, packages, providers


def names_in(field):
    """Every package name in a dependency field, alternatives included."""
    return {m.group(1) for m in re.finditer(r"(?:^|[,|])\s*([a-z0-9][a-z0-9+.-]+)", field)}


def named_packages(without=()):
    """What the project's install steps name: every set of install-deps.sh
    and debian/control's Build-Depends."""
    # build-essential: what every Debian build dependency list takes for granted.
    names = {"build-essential"} | set(subprocess.run([os.path.join(ROOT, "scripts/install-deps.sh"), "list"],
                               capture_output=True, text=True, check=True).stdout.split())
    with open(os.path.join(ROOT, "debian/control"), encoding="utf-8") as f:
        control = f.read()
    for field in re.findall(r"^Build-Depends:((?:.*\n)(?:[ \t].*\n)*)", control, re.M):
        names |= names_in(re.sub(r"<[^>]*>|\([^)]*\)|\[[^]]*\]|:any|\$\{[^}]*\}", "", field.replace("\n", " ")))
    return names - set(without)


def check(executed, without=()):
    owner, packages, providers = dpkg_db()
    # Essential packages and apt are on every Debian; what the install steps
    # name brings its dependencies (alternatives and providers included).
    seen = set()
    todo = list(named_packages(without) | {p for p, (essential, _) in packages.items() if essential} | {"apt"})
    while todo:
        name = todo.pop()
        for p in ({name} | providers.get(name, set())) & packages.keys() - seen:
            seen.add(p)
            todo.extend(packages[p][1])
    allowed = seen
    faults = {}
    for path in sorted(executed):
        package = owner.get(path)
        if package is None and path.startswith("/usr/"):
            # dpkg may still list a file at its place before /usr was merged.
            package = owner.get(path[4:])
        if package is None:
            if SYSTEM.match(path) and not path.startswith(ROOT + "/"):
                faults.setdefault("(no package)", []).append(path)
            continue
        if package not in allowed:
            faults.setdefault(package, []).append(path)
    return faults



def report(faults):
    if not faults:
        print("exec-audit: every program the run executed comes from an Essential package or one the install steps name")
        return 0
    print("exec-audit: FAILED: these ran, but no install step names their package (a new machine lacks them):")
    for package, paths in sorted(faults.items()):
        print(f"  {package}: {' '.join(paths[:5])}{' ...' if len(paths) > 5 else ''}")
    return 1


def main(argv):
    if len(argv) >= 2 and argv[0] == "--check":
        without = argv[3::2] if argv[2::2] == ["--without"] * len(argv[2::2]) else None
        if without is None:
            print(__doc__, file=sys.stderr)
            return 2
        with open(argv[1], encoding="utf-8") as f:
            return report(check({line.rstrip("\n") for line in f if line.strip()}, without))
    log = None
    if len(argv) >= 2 and argv[0] == "--log":
        log, argv = argv[1], argv[2:]
    if not argv or argv[0] != "--" or len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    stop, why = start_recording() if os.geteuid() == 0 else (None, "not root")
    env = dict(os.environ, LUKIMO_EXEC_AUDIT="1")
    status = subprocess.run(argv[1:], env=env).returncode
    if stop is None:
        print(f"== exec-audit SKIPPED: cannot watch what runs ({why})")
        return status
    executed = stop()
    if log:
        os.makedirs(os.path.dirname(os.path.abspath(log)), exist_ok=True)
        for name, kind in ((log, "ours"), (log + ".dpkg", "packaging")):
            with open(name, "w", encoding="utf-8") as f:
                f.write("".join(p + "\n" for p in sorted(executed[kind])))
    print("== which packages the run's programs come from")
    if executed["packaging"]:
        print(f"exec-audit: {len(executed['packaging'])} programs the package system ran for the install steps are its own, not checked")
    verdict = report(check(executed["ours"]))
    return status or verdict


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
