#!/usr/bin/env bash
# Builds Lukimo (installing what it needs) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh build
scripts/run-tests.sh build
