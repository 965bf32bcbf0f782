# The checks of the package tests, sourced by each: check prints
# "ok: DESCRIPTION" or "FAILED: DESCRIPTION" and counts it; checks_end
# prints the counts under a name and fails when a check failed.
passed=0 failed=0
check() { # DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        failed=$((failed + 1))
    fi
}
checks_end() { # NAME
    echo "$1: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
