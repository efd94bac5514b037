#!/usr/bin/env bash
# Builds Lukimo (installing what it needs) and starts it. Only the program and
# its run directory are built, not the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh build lukimo
scripts/start.sh build
