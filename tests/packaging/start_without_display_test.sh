#!/usr/bin/env bash
# tq7config started outside a desktop session: help and version are printed, and everything else
# ends with one clear line and status 1, never with Qt's abort.
#   start_without_display_test.sh TQ7CONFIG VERSION
set -uo pipefail
program=$1
version=$2
no_display="tq7config: no display: start it in a desktop session, or use tq7ctl for the LAN side"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"

# Each case: what it shows | exit status | first line of standard output ("" for none) |
# standard error: "empty", "only:LINE", "first:LINE" or "last:LINE" | environment | arguments
cases=(
    "help|0|Usage: tq7config [--simulate] [--help] [--version]|empty||--help"
    "short help|0|Usage: tq7config [--simulate] [--help] [--version]|empty||-h"
    "version|0|tq7config $version|empty||--version"
    "no arguments|1||only:$no_display||"
    "a simulated converter asked for|1||only:$no_display||--simulate"
    "a Qt platform that does not exist|1||last:$no_display|QT_QPA_PLATFORM=tq7-no-such-platform|"
    "an X display with no server|1||last:$no_display|DISPLAY=:9999|"
    "a Wayland display alone, no X display|1||last:$no_display|WAYLAND_DISPLAY=tq7-no-such-display|"
    "a display named by Qt's option, a bad argument|2||first:tq7config: unknown argument \"--bogus\"||-platform offscreen --bogus"
)

failures=0
for entry in "${cases[@]}"; do
    IFS='|' read -r what status first_out error environment arguments <<<"$entry"
    # shellcheck disable=SC2086 # the environment and the arguments are lists of words
    timeout 60 env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/runtime" $environment \
        "$program" $arguments >"$work/out" 2>"$work/err"
    got=$?
    problems=()
    [ "$got" -eq "$status" ] || problems+=("exit status $got, not $status")
    if [ -z "$first_out" ]; then
        [ ! -s "$work/out" ] || problems+=("printed on standard output")
    else
        [ "$(head -n 1 "$work/out")" = "$first_out" ] || problems+=("standard output does not begin with \"$first_out\"")
    fi
    case $error in
        empty) [ ! -s "$work/err" ] || problems+=("printed on standard error") ;;
        only:*) [ "$(cat "$work/err")" = "${error#only:}" ] || problems+=("standard error is not just \"${error#only:}\"") ;;
        first:*) [ "$(head -n 1 "$work/err")" = "${error#first:}" ] || problems+=("standard error does not begin with \"${error#first:}\"") ;;
        last:*) [ "$(tail -n 1 "$work/err")" = "${error#last:}" ] || problems+=("standard error does not end with \"${error#last:}\"") ;;
    esac
    if ((${#problems[@]})); then
        failures=$((failures + 1))
        echo "FAILED: $what: ${problems[*]}"
        sed 's/^/  out: /' "$work/out"
        sed 's/^/  err: /' "$work/err"
    else
        echo "ok: $what"
    fi
done
exit $((failures > 0))
