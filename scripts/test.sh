#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: scripts/test.sh [preset] [ctest options]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
scripts/build.sh "$preset"
ctest --preset "$preset" -j 2 "$@"
