# Sourced by the checks here. same_lines WHAT EXPECTED FOUND prints "ok: WHAT" when the two lists of
# lines are equal; otherwise "FAILED: WHAT", the lines only expected (<) and only found (>), and
# counts one more in `failures`.
failures=0
same_lines() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
        return
    fi
    echo "FAILED: $1: expected only (<), found only (>):"
    diff <(echo "$2") <(echo "$3") | grep '^[<>]'
    failures=$((failures + 1))
}
