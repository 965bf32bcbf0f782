#!/usr/bin/env bash
# Tests the Debian package as Debian's own tools see it: lintian passes both
# packages without an error or a warning, the menu entry and the AppStream
# metadata validate, and once the package is installed its manual page
# shows, its program starts, and its debugging symbols are found. The
# package is removed again unless it was installed before.
# Usage: test-package.sh PACKAGE.deb SYMBOLS.ddeb
set -uo pipefail
package=$(realpath "$1")
symbols=$(realpath "$2")
. "$(dirname "$0")/../checks.sh"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# lintian says it runs as root on stderr; what it finds goes to stdout.
quiet_lintian() {
    local found
    found=$(lintian --fail-on error,warning "$1" 2>/dev/null)
    local status=$?
    [ -n "$found" ] && echo "$found"
    [ $status -eq 0 ] && ! grep -q '^[EW]: ' <<<"$found"
}
check "lintian: the package" quiet_lintian "$package"
check "lintian: its debugging symbols" quiet_lintian "$symbols"

tree=$work/tree
dpkg-deb -x "$package" "$tree"
check "the menu entry validates" desktop-file-validate "$tree/usr/share/applications/vendalise.desktop"
metainfo=$(ls "$tree"/usr/share/metainfo/*.metainfo.xml)
check "the AppStream metadata validates" appstreamcli validate --no-net "$metainfo"
check "the installed tree validates for software centres" appstreamcli validate-tree --no-net "$tree"
check "the metadata gives the package's version as its newest release" \
    grep -q "<release version=\"$(dpkg-deb -f "$package" Version)\"" "$metainfo"

was_installed=0
dpkg-query -W -f='${Status}' vendalise 2>/dev/null | grep -q 'install ok installed' && was_installed=1
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get install -y -qq "$package" "$symbols" >"$work/apt" 2>&1 || cat "$work/apt"
check "installed with apt" sh -c "dpkg-query -W -f='\${Status}' vendalise-dbgsym | grep -q 'install ok installed'"
check "man vendalise: the French manual page" \
    sh -c 'man -w vendalise | grep -q /usr/share/man/man1/vendalise.1 &&
           MANWIDTH=80 man vendalise 2>/dev/null | grep -q "APRÈS UN ARRÊT BRUTAL"'
# The program waits at its first question for ever.
HOME=$work QT_QPA_PLATFORM=offscreen timeout 5 vendalise >/dev/null 2>&1
check "the installed program starts and waits at its first question" test $? -eq 124
check "its debugging symbols are found" \
    sh -c 'gdb -batch -ex "info line runVendalise" /usr/bin/vendalise 2>/dev/null | grep -q "Program.cpp"'
if [ $was_installed -eq 0 ]; then
    "${sudo[@]}" apt-get remove -y -qq vendalise vendalise-dbgsym >/dev/null 2>&1
fi

checks_end package
