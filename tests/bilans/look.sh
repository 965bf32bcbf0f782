#!/usr/bin/env bash
# Looks at the Bilans window's charts: runs the charts scenario with its
# pictures kept (offscreen, or on an X server of its own with --xvfb: the
# X11 platform on Linux, Wine's windows for a Windows build),
# then look.py checks each picture.
# Usage: look.sh [--xvfb] RUNNER PYTHON SCENARIO
set -uo pipefail
xvfb=()
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "${1:-}" = --xvfb ]; then
    xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")
    # A Windows build under Wine draws through Wine's own windows there.
    export QT_QPA_PLATFORM=xcb
    [ -n "${VENDALISE_WINEPATH:-}" ] && export VENDALISE_QPA_PLATFORM=windows
    shift
fi
runner=$1 python=$2 scenario=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
folder=$out
if [ -n "${VENDALISE_WINEPATH:-}" ]; then
    folder=$($VENDALISE_WINEPATH -w "$out" | tr -d '\r')
fi
if ! VENDALISE_SCENARIO_OUT=$folder "${xvfb[@]}" "$runner" "$scenario"; then
    echo "the charts scenario fails"
    exit 1
fi
"$python" "$(dirname "$0")/look.py" "$out"
