# Sourced by the Windows tests: named checks that are counted, and the closing count.

checks_passed=0
checks_failed=0

# check DESCRIPTION COMMAND... — runs the command quietly and counts it; a failure shows its output.
check() {
    local description=$1 output
    shift
    if output=$("$@" 2>&1); then
        checks_passed=$((checks_passed + 1))
        echo "PASS  $description"
    else
        checks_failed=$((checks_failed + 1))
        echo "FAIL  $description"
        [ -n "$output" ] && printf '%s\n' "$output" | head -20 | sed 's/^/      /'
    fi
    return 0
}

# The closing line, and the exit status: 0 when nothing failed.
checks_summary() {
    echo "windows: $checks_passed passed, $checks_failed failed"
    [ "$checks_failed" -eq 0 ]
}
