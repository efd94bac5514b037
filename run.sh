#!/usr/bin/env bash
# Builds Lukimo (installing what it needs) and starts it. Only the program and
# its run directory are built, not the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset program
scripts/start.sh build
