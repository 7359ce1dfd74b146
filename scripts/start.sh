#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: scripts/start.sh [arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default >&2
exec build/default/tools/tq7ctl/tq7ctl "${@:-discover}"
