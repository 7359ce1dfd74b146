#!/usr/bin/env bash
# Each program's manual page has the sections our pages keep, and its synopsis and options name
# exactly the options that the program's --help names: manual_pages_test.sh MAN_DIR PROGRAM...
set -uo pipefail
man_dir=$1
shift
# shellcheck source=same_lines.sh
. "$(dirname "$0")/same_lines.sh"
sections=(NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES EXAMPLES)

# The long options in text, one a line, each once.
long_options() {
    grep -o -- '--[a-z][a-z-]*' | LC_ALL=C sort -u
}

for program in "$@"; do
    name=$(basename "$program")
    page=$man_dir/$name.1
    for section in "${sections[@]}"; do
        grep -qxF ".SH $section" "$page" || {
            echo "FAILED: $name.1 has no $section section"
            failures=$((failures + 1))
        }
    done
    from_help=$(env -i PATH=/usr/bin:/bin "$program" --help | long_options)
    # Roff writes a hyphen as \-; only the synopsis and the options, not the mentions of other programs.
    from_page=$(sed 's/\\-/-/g' "$page" |
        awk '/^\.SH /{ keep = ($0 == ".SH SYNOPSIS" || $0 == ".SH OPTIONS") } keep' | long_options)
    same_lines "the options of $name --help (<) and of $name.1 (>)" "$from_help" "$from_page"
done
exit $((failures > 0))
