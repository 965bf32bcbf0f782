#!/usr/bin/env bash
# Two real programs on one data directory: the first, started offscreen,
# holds it; a second start there is refused with the message and writes
# nothing (a scenario run by the runner in the data directory, as `<cwd>`).
# Usage: two_programs.sh PROGRAM RUNNER         (Linux)
#        two_programs.sh --windows WINE-RUN PROGRAM.exe RUNNER   (under Wine)
set -uo pipefail
winerun=
if [ "$1" = --windows ]; then
    winerun=$2
    shift 2
fi
program=$(realpath "$1")
runner=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
# The program's default directory, where it starts without a question:
# C:\Vendalise of the build's prefix on Windows.
home=$(mktemp -d)
data="$home/Vendalise"
[ -n "$winerun" ] && data=$("$winerun" winepath -u 'C:\Vendalise' | tr -d '\r')
rm -rf "$data"
mkdir -p "$data" "$home/.config/Vendalise"
: >"$data/Adhérents.orv"
: >"$data/Compta.orv"
: >"$data/ComptaBoisson.orv"
export QT_QPA_PLATFORM=offscreen
if [ -n "$winerun" ]; then
    key='HKCU\Software\Vendalise\Vendalise\DirFichiersGestion'
    "$winerun" reg add "$key" /v dir /d 'C:\Vendalise' /f >/dev/null
    "$winerun" "$program" &
else
    printf '[DirFichiersGestion]\ndir=%s\n' "$data" >"$home/.config/Vendalise/Vendalise.conf"
    HOME="$home" XDG_CONFIG_HOME="$home/.config" "$program" &
fi
first=$!
# The first program answers no question: its folder is stored, and its
# start-up is over once the catalogue, read last, is there.
for _ in $(seq 300); do
    [ -f "$data/Produits.orv" ] && break
    sleep 0.1
done
status=0
if [ ! -f "$data/Vendalise.verrou" ]; then
    echo "the first program holds no lock"
    status=1
else
    scenario="$here/two_programs.scn"
    [ -n "$winerun" ] && scenario=$("$winerun" winepath -w "$scenario" | tr -d '\r')
    (cd "$data" && "$runner" "$scenario") || status=1
fi
kill "$first" 2>/dev/null
wait "$first" 2>/dev/null
[ -n "$winerun" ] && "$winerun" reg delete "$key" /f >/dev/null
rm -rf "$home" "$data"
exit $status
