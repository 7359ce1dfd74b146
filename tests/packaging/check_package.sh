#!/usr/bin/env bash
# Checks a built Debian package: check_package.sh DEB SOURCE_DIR BUILD_DIR
# Its files are exactly those of package_files.txt and none names the source or the build tree;
# the menu entry and the AppStream metadata validate; lintian finds no error and no warning; and
# each program in it, started with no display, prints the package's version.
set -euo pipefail
deb=$(realpath "$1")
source_dir=$(realpath "$2")
build_dir=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root

fail() {
    echo "package check: $*" >&2
    exit 1
}

for tool in dpkg-deb desktop-file-validate appstreamcli lintian readelf; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/package.sh installs it"
done

echo "== files"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort >"$work/files"
diff -u "$here/package_files.txt" "$work/files" || fail "the package's files (+) are not those of package_files.txt (-)"

dpkg-deb --extract "$deb" "$root"
if grep -rlF -e "$source_dir" -e "$build_dir" "$root"; then
    fail "the files above name $source_dir or $build_dir"
fi
if readelf --dynamic "$root"/usr/bin/* | grep -E 'RPATH|RUNPATH'; then
    fail "a program looks for libraries in a path of its own"
fi

echo "== desktop-file-validate"
report=$(desktop-file-validate "$root/usr/share/applications/tq7config.desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate: $report"

echo "== appstreamcli"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net --pedantic "$root"

echo "== lintian"
lintian --fail-on error,warning --display-info "$deb"

echo "== versions"
version=$(dpkg-deb --field "$deb" Version)
for program in tq7config tq7ctl tq7sim; do
    printed=$(env -i PATH=/usr/bin:/bin "$root/usr/bin/$program" --version)
    [ "$printed" = "$program $version" ] || fail "$program --version printed \"$printed\", not \"$program $version\""
done
echo "package check: $(basename "$deb") passed"
