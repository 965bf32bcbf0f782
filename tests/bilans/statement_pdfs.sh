#!/usr/bin/env bash
# The debt statements as a member reads them: runs the statements scenario
# with its output kept, then reads each PDF with pdftotext and compares it
# with the window's Dettes table (check_statements.py).
# Usage: statement_pdfs.sh RUNNER PYTHON SCENARIO
set -uo pipefail
runner=$1 python=$2 scenario=$3
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! VENDALISE_SCENARIO_OUT=$out "$runner" "$scenario"; then
    echo "the statements scenario fails"
    exit 1
fi
"$python" "$(dirname "$0")/check_statements.py" "$out"
