#!/usr/bin/env bash
# A real client reads the export: runs the export scenario with its output
# kept, then reads the workbook and the CSV files as a spreadsheet would
# and compares them with the window's tables (check_export.py); with
# --print, LibreOffice prints the workbook too (check_workbook_print.py).
# Usage: real_client.sh [--print] RUNNER PYTHON SCENARIO
set -uo pipefail
print=no
if [ "${1:-}" = --print ]; then
    print=yes
    shift
fi
runner=$1 python=$2 scenario=$3
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
folder=$out
if [ -n "${VENDALISE_WINEPATH:-}" ]; then
    folder=$($VENDALISE_WINEPATH -w "$out" | tr -d '\r')
fi
if ! VENDALISE_SCENARIO_OUT=$folder "$runner" "$scenario"; then
    echo "the export scenario fails"
    exit 1
fi
"$python" "$(dirname "$0")/check_export.py" "$out" || exit 1
if [ $print = yes ]; then
    "$python" "$(dirname "$0")/check_workbook_print.py" "$out" || exit 1
fi
