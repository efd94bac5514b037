#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Lukimo developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A file that came from elsewhere says so in its SPDX lines: each holder
other than the project has a stanza of its own in debian/copyright whose
Files cover that file.
    check-copyright.py SOURCE-DIR"""
import fnmatch
import os
import re
import subprocess
import sys

os.chdir(sys.argv[1])
stanzas = [(m.group(1).split(), m.group(2)) for m in re.finditer(
    r"^Files:(.*)\nCopyright:((?:.*\n)(?:[ \t].*\n)*)", open("debian/copyright", encoding="utf-8").read(), re.M)]
files = subprocess.run(["find", ".", "-type", "f", "-not", "-path", "./.git/*", "-printf", "%P\n"],
                       capture_output=True, text=True, check=True).stdout.split("\n")
missing = 0
for path in filter(None, files):
    try:
        with open(path, encoding="utf-8-sig") as f:
            head = f.read(4000)
    except UnicodeDecodeError:
        continue
    for holder in re.findall(r"SPDX-FileCopyrightText: *(?:\(C\) *)?[0-9, -]*([A-Za-z][^<>*]*?)\s*(?:-->|\*/)?$",
                             head, re.M):
        if holder == "The Lukimo developers":
            continue
        if not any(holder in copyright and any(fnmatch.fnmatch(path, g) for g in globs)
                   for globs, copyright in stanzas if globs != ["*"]):
            print(f"{path}: {holder} has no stanza of its own in debian/copyright")
            missing += 1
sys.exit(1 if missing else 0)
