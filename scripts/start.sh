#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: scripts/start.sh [--simulate] [--help]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default >&2
exec build/default/app/tq7config "$@"
