#!/usr/bin/env bash
# No scenario leaves its scratch folder behind, whether it passes, fails,
# holds a folder's lock, restarts the program or ends it: each folder that
# the runner names is gone once the runner has ended.
# Usage: scratch.sh RUNNER SCENARIO...   (VENDALISE_WINEPATH under Wine)
set -uo pipefail
runner=$1
shift
export QT_QPA_PLATFORM=offscreen VENDALISE_SHOW_SCRATCH=1
tried=0 failed=0
for scenario in "$@"; do
    folder=$("$runner" "$scenario" | sed -n 's/^scratch: //p' | tr -d '\r')
    if [ -n "$folder" ] && [ -n "${VENDALISE_WINEPATH:-}" ]; then
        folder=$($VENDALISE_WINEPATH -u "$folder" | tr -d '\r')
    fi
    tried=$((tried + 1))
    if [ -z "$folder" ]; then
        echo "$scenario: the runner named no scratch folder"
        failed=$((failed + 1))
    elif [ -e "$folder" ]; then
        echo "$scenario: the runner left $folder:"
        find "$folder" | sed 's/^/    /'
        rm -rf "$folder"
        failed=$((failed + 1))
    fi
done
echo "$tried scenarios, $failed left their folder"
[ "$failed" -eq 0 ]
