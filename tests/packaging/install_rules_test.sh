#!/usr/bin/env bash
# cmake --install puts the product where a system looks for it, for the package's prefix and for an
# administrator's: install_rules_test.sh BUILD_DIR. Below /usr the files are those the package
# holds (package_files.txt); below /usr/local the same, but with the udev rule in /etc, where an
# administrator's rules go.
set -uo pipefail
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=same_lines.sh
. "$here/same_lines.sh"
rule=udev/rules.d/99-tq7-converter.rules
for prefix in /usr /usr/local; do
    destination=$work/$prefix
    if ! DESTDIR=$destination cmake --install "$build_dir" --prefix "$prefix" >"$work/log" 2>&1; then
        cat "$work/log"
        echo "FAILED: cmake --install --prefix $prefix"
        failures=$((failures + 1))
        continue
    fi
    if [ "$prefix" = /usr ]; then
        expected=$(cat "$here/package_files.txt")
    else
        expected=$(sed -e "s|^\./usr/lib/$rule\$|./etc/$rule|" -e 's|^\./usr/|./usr/local/|' "$here/package_files.txt" | LC_ALL=C sort)
    fi
    same_lines "the files installed below $prefix" "$expected" "$(cd "$destination" && find . -type f | LC_ALL=C sort)"
done
exit $((failures > 0))
