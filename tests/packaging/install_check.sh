#!/usr/bin/env bash
# Installs a built package as a user would, with apt, tries what it installed, and removes it
# again: install_check.sh DEB (as root). On a system without udev, as in a container, the
# package's scripts must still succeed.
set -euo pipefail
deb=$(realpath "$1")

fail() {
    echo "install check: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "installing needs root"
apt_get() {
    env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=300 -y "$@"
}
if dpkg-query -W tq7config >/dev/null 2>&1; then
    echo "install check: replacing the tq7config installed here; it is removed at the end"
fi
trap 'apt_get purge tq7config >/dev/null' EXIT

apt_get install --no-install-recommends "$deb"
[ "$(dpkg-query -W -f='${Status}' tq7config)" = "install ok installed" ] || fail "the package did not configure"
[ -f /usr/lib/udev/rules.d/99-tq7-converter.rules ] || fail "the udev rule is missing"

# From the PATH, as a user starts them, and with no display.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
version=$(dpkg-query -W -f='${Version}' tq7config)
for program in tq7config tq7ctl tq7sim; do
    [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not the installed one"
    [ "$("$program" --version)" = "$program $version" ] || fail "$program --version"
done
status=0
message=$(tq7config 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$message" = "tq7config: no display: start it in a desktop session, or use tq7ctl for the LAN side" ] ||
    fail "tq7config without a display ended with $status: $message"

trap - EXIT
apt_get purge tq7config
for file in /usr/bin/tq7config /usr/lib/udev/rules.d/99-tq7-converter.rules /usr/share/applications/tq7config.desktop; do
    [ ! -e "$file" ] || fail "$file is left after the package was removed"
done
echo "install check: $(basename "$deb") installed, tried and removed"
