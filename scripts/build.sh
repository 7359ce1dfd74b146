#!/usr/bin/env bash
# Configures and builds one preset (default: "default"): scripts/build.sh [preset]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
scripts/dependencies.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
