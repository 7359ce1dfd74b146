#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any named on the command line
# (what only one preset or script needs), when any is missing: scripts/dependencies.sh [package...]
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev iproute2
          qt6-base-dev libgl-dev fonts-dejavu-core librsvg2-bin "$@")

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
