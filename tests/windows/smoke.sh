#!/bin/sh
# Starts the Windows program under Wine, offscreen, on the data directory
# C:\Vendalise of the build's prefix, stored in the registry as the chooser
# stores it: it must get through start-up and still be running after 5
# seconds. Usage: smoke.sh WINE-RUN PROGRAM.exe
winerun=$1
program=$2
key='HKCU\Software\Vendalise\Vendalise\DirFichiersGestion'
data=$("$winerun" winepath -u 'C:\Vendalise' | tr -d '\r')
rm -rf "$data"
mkdir -p "$data"
: > "$data/Adhérents.orv"
: > "$data/Compta.orv"
: > "$data/ComptaBoisson.orv"
"$winerun" reg add "$key" /v dir /d 'C:\Vendalise' /f >/dev/null
QT_QPA_PLATFORM=offscreen timeout 5 "$winerun" "$program"
status=$?
# Start-up has read the catalogue, creating it empty.
[ -f "$data/Produits.orv" ] || { echo "start-up did not read the catalogue"; status=1; }
"$winerun" reg delete "$key" /f >/dev/null
rm -rf "$data"
[ "$status" -eq 124 ]
