#!/bin/sh
# Starts the program offscreen on a fresh installation in a fresh home
# folder: it must get through start-up and still be running after 3 seconds.
program="$1"
home=$(mktemp -d)
mkdir -p "$home/Vendalise" "$home/.config/Vendalise"
: > "$home/Vendalise/Adhérents.orv"
: > "$home/Vendalise/Compta.orv"
: > "$home/Vendalise/ComptaBoisson.orv"
printf '[DirFichiersGestion]\ndir=%s/Vendalise\n' "$home" > "$home/.config/Vendalise/Vendalise.conf"
HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen timeout 3 "$program"
status=$?
# Start-up has read the catalogue, creating it empty.
[ -f "$home/Vendalise/Produits.orv" ] || status=1
rm -rf "$home"
[ "$status" -eq 124 ]
