#!/bin/sh
# Writes the Debian changelog of the package from NEWS: one entry for each
# "Version X.Y.Z (YYYY-MM-DD)" heading, its "- " items as the entry's
# items, signed by the maintainer on the version's date.
# Usage: changelog.sh NEWS "NAME <ADDRESS>" OUTPUT
set -eu
news=$1 maintainer=$2 output=$3
awk -v maintainer="$maintainer" '
function close_entry() {
    if (version == "")
        return
    printf "\n -- %s  %s\n", maintainer, date
    version = ""
}
/^Version [0-9][0-9.]* \([0-9-]*\)$/ {
    close_entry()
    if (entries++)
        printf "\n"
    version = $2
    day = substr($3, 2, 10)
    command = "LC_ALL=C date -u -R -d " day
    date = ""
    command | getline date
    close(command)
    if (date == "") {
        print "NEWS: " $0 ": not a date" > "/dev/stderr"
        exit 1
    }
    printf "vendalise (%s) unstable; urgency=medium\n\n", version
    next
}
version == "" { next }
/^- / { printf "  * %s\n", substr($0, 3); next }
/^  [^ ]/ { printf "    %s\n", substr($0, 3); next }
END {
    close_entry()
    if (!entries) {
        print "NEWS holds no version" > "/dev/stderr"
        exit 1
    }
}
' "$news" >"$output"
