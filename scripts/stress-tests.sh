#!/usr/bin/env bash
# Runs every test three times, four at once, beside two busy CPU loops, so that a test which holds
# only on an idle machine fails here rather than by chance elsewhere:
# scripts/stress-tests.sh [preset] [ctest options]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
shift || true
scripts/dependencies.sh stress-ng
scripts/build.sh "$preset"

stress-ng --cpu 2 --quiet &
load=$!
trap 'kill "$load" 2>/dev/null; wait "$load" 2>/dev/null || true' EXIT
ctest --preset "$preset" --repeat until-fail:3 -j4 "$@"
