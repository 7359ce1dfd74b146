#!/usr/bin/env bash
# Configures and builds one preset (default: "default"): scripts/build.sh [preset]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
extra=()
# Only the fuzz targets need clang and its libFuzzer runtime.
[ "$preset" = fuzz ] && extra=(clang libclang-rt-14-dev)
scripts/dependencies.sh "${extra[@]}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
