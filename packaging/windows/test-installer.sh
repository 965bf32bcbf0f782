#!/usr/bin/env bash
# Tests the Windows installer under Wine, in a fresh prefix: a silent
# install, the installed program started offscreen and then on a screen
# (Xvfb) where its first question must show, the shortcuts read (their
# working folder, the default data directory the installer made, and their
# comment), a silent uninstall that removes the program and its entries but
# leaves the data directory, the club's data and the user's settings.
# Usage: test-installer.sh SETUP.exe
set -uo pipefail
installer=$(realpath "$1")
export WINEPREFIX="$(dirname "$installer")/wine-installer" WINEDEBUG=-all
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
. "$(dirname "$0")/../checks.sh"
unix() { winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# A field of a shortcut (.lnk): "folder", the folder it starts the program
# in, or "comment", its description.
shortcut() { # FILE FIELD
    python3 - "$1" "$2" <<'PYTHON'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 20)[0]
at = 76
if flags & 0x1:  # the target's ID list
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x2:  # the link information
    at += struct.unpack_from("<I", data, at)[0]
unicode = flags & 0x80
strings = {}
for name, bit in (("comment", 0x4), ("relative", 0x8), ("folder", 0x10),
                  ("arguments", 0x20), ("icon", 0x40)):
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        size = count * 2 if unicode else count
        raw = data[at + 2:at + 2 + size]
        strings[name] = raw.decode("utf-16-le" if unicode else "cp1252")
        at += 2 + size
print(strings.get(sys.argv[2], "").rstrip("\0"))
PYTHON
}
# Waits up to 60 seconds for a condition.
within() {
    local i
    for ((i = 0; i < 120; i++)); do
        "$@" && return 0
        sleep 0.5
    done
    return 1
}

folder=$(unix 'C:\Program Files\Vendalise')
program="$folder/vendalise.exe"
menu=$(unix 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs')/Vendalise.lnk
desktop=$(unix 'C:\users\Public\Desktop')/Vendalise.lnk
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendalise'
uninstaller="$folder/Désinstaller Vendalise.exe"

# The version its name gives, in its file properties and the program's.
version=$(basename "$installer" | sed -n 's/^Vendalise-\(.*\)-setup\.exe$/\1/p')
file_version() { strings -el "$1" | grep -x -A1 FileVersion | sed -n 2p; }
check "the installer's file properties give its version $version" \
    test -n "$version" -a "$(file_version "$installer")" = "$version"

wine "$installer" /S
wineserver -w
check "the program's file properties give the version $version" \
    test "$(file_version "$program")" = "$version"
check "installed: the program, its libraries and plugins" \
    test -f "$program" -a -f "$folder/Qt6Widgets.dll" -a -f "$folder/platforms/qwindows.dll" \
    -a -f "$folder/libstdc++-6.dll"
check "installed: Qt Charts, and the licence" test -f "$folder/Qt6Charts.dll" -a -f "$folder/LICENSE.txt"
check "the source of Qt Charts beside the installer" \
    test -f "$(dirname "$installer")/qtcharts-everywhere-src-6.4.2.tar.xz"
check "Start-menu and desktop shortcuts" test -f "$menu" -a -f "$desktop"
data=$(unix 'C:\Vendalise')
check "the data directory C:\\Vendalise made, empty" sh -c "test -d '$data' && test -z \"\$(ls -A '$data')\""
for link in "$menu" "$desktop"; do
    check "$(basename "$(dirname "$link")"): the shortcut starts in C:\\Vendalise" \
        test "$(shortcut "$link" folder)" = 'C:\Vendalise'
    check "$(basename "$(dirname "$link")"): the shortcut's comment in French" \
        test "$(shortcut "$link" comment)" = "Gérer la boutique du club : adhérents, achats, stock, dettes et caisses"
done
check "registered with Windows" sh -c "wine reg query '$key' /v UninstallString 2>/dev/null | grep -q 'sinstaller Vendalise.exe'"

# Offscreen: the program waits at its first question, for ever.
QT_QPA_PLATFORM=offscreen timeout 5 wine "$program"
check "started offscreen, still running after 5 seconds" test $? -eq 124

# On a screen: the first question's box, titled by the default directory.
# Wine's desktop, started without a screen so far, must start again on it.
wineserver -k 2>/dev/null
wineserver -w
if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
    screen=$!
    within sh -c "DISPLAY=$display xwininfo -root >/dev/null 2>&1"
    DISPLAY=$display QT_QPA_PLATFORM=windows wine "$program" >/dev/null 2>&1 &
    started=$!
    shows() { DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -q "on travaille dans C:.Vendalise"; }
    within shows
    check "its first question shows on a screen" shows
    kill "$started" 2>/dev/null
    wineserver -k 2>/dev/null
    kill "$screen" 2>/dev/null
fi

# The club's data and settings, which uninstalling must leave alone.
echo données >"$data/Compta.orv"
wine reg add 'HKCU\Software\Vendalise\Vendalise\DirFichiersGestion' /v dir /d 'C:\Vendalise' /f >/dev/null

wine "$uninstaller" /S
wineserver -w
within test ! -e "$folder"
check "uninstalled: the program's folder is gone" test ! -e "$folder"
check "uninstalled: the shortcuts are gone" test ! -e "$menu" -a ! -e "$desktop"
check "uninstalled: no longer registered" sh -c "! wine reg query '$key' >/dev/null 2>&1"
check "the data directory and the club's data are left" test -f "$data/Compta.orv"
check "the settings are left" sh -c "wine reg query 'HKCU\\Software\\Vendalise\\Vendalise\\DirFichiersGestion' /v dir 2>/dev/null | grep -q 'C:.Vendalise'"

wineserver -k 2>/dev/null
checks_end installer
