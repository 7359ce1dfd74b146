#!/usr/bin/env bash
# Makes the Debian package from the default build and checks it: scripts/package.sh [--install-check]
# With --install-check (as root) it also installs the package with apt, tries the installed programs
# and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
install_check=false
case "${1:-}" in
    "") ;;
    --install-check) install_check=true ;;
    *)
        echo "usage: scripts/package.sh [--install-check]" >&2
        exit 2
        ;;
esac

# What making and checking a package needs beyond the build.
scripts/dependencies.sh dpkg-dev file lintian desktop-file-utils appstream
scripts/build.sh default
rm -rf build/default/package
cpack --config build/default/CPackConfig.cmake
debs=(build/default/package/tq7config_*.deb)
tests/packaging/check_package.sh "${debs[0]}" . build/default
if $install_check; then
    tests/packaging/install_check.sh "${debs[0]}"
fi
echo "package: ${debs[0]}"
