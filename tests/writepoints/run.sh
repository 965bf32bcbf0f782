#!/usr/bin/env bash
# Fails each write operation of each road in turn: runs the road once to
# count its write operations, then once per operation with that one
# failing. The runner checks each time that the user was told, that the
# data files are as before the road's operation and that the tables match
# the files. Usage: run.sh RUNNER ROAD.scn...
set -uo pipefail
runner=$1
shift
export QT_QPA_PLATFORM=offscreen
roads=0 points=0 failed=0
for road in "$@"; do
    output=$(VENDALISE_FAIL_AT=0 "$runner" "$road")
    status=$?
    # A Windows runner ends its lines with CR LF.
    count=$(sed -n 's/^write operations: \([0-9]*\).*/\1/p' <<<"$output")
    if [ $status -ne 0 ] || [ -z "$count" ] || [ "$count" -eq 0 ]; then
        echo "$road: the road itself fails or writes nothing"
        echo "$output"
        failed=$((failed + 1))
        continue
    fi
    roads=$((roads + 1))
    for ((k = 1; k <= count; k++)); do
        points=$((points + 1))
        if ! output=$(VENDALISE_FAIL_AT=$k "$runner" "$road"); then
            echo "$output"
            failed=$((failed + 1))
        fi
    done
done
echo "$roads operations, $points failure points tried, $failed failed"
[ "$failed" -eq 0 ] && [ "$points" -gt 0 ]
