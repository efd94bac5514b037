#!/usr/bin/env bash
# Builds Lukimo (installing what it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/build.sh build
scripts/start.sh build
