#!/usr/bin/env bash
# Prints the Bilans of the realistic club to PDF files (bilans_print_pdf),
# then check_print.py reads them back. With --keep FOLDER the files stay
# there, to be looked at.
# Usage: print_pdf.sh [--keep FOLDER] PROGRAM PYTHON
set -uo pipefail
keep=
if [ "${1:-}" = --keep ]; then
    keep=$2
    shift 2
fi
program=$1 python=$2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ -n "$keep" ]; then
    out=$keep
    mkdir -p "$out"
else
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
fi
"$program" "$out"
status=$?
[ $status -eq 77 ] && exit 77
if [ $status -ne 0 ]; then
    echo "the Bilans could not be printed"
    exit 1
fi
"$python" "$(dirname "$0")/check_print.py" "$out"
