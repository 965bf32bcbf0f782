#!/usr/bin/env bash
# Kills each road right after each of its write operations in turn
# (SIGKILL), then checks that every data file is whole, as before the
# road's operation or as after it, and that the program starts again on
# the files without a message. With --power, the data folder is first left
# as a power cut would leave it (every file as of its last sync, a creation
# or a rename undone unless its folder was synced since), after each write
# operation and after the last.
# Usage: crash.sh [--power] RUNNER ROAD.scn...
set -uo pipefail
mode=crash
variable=VENDALISE_CRASH_AFTER
if [ "$1" = --power ]; then
    mode=power-cut
    variable=VENDALISE_POWER_CUT_AFTER
    shift
fi
runner=$1
shift
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
roads=0 points=0 failed=0

# Runs the runner. Under Wine a program started right after another was
# killed now and then dies before it begins, saying nothing: such a run is
# made once more.
run() {
    local output status
    output=$("$@")
    status=$?
    if [ $status -ne 0 ] && [ -z "$output" ] && [ -n "${VENDALISE_WINEPATH:-}" ]; then
        sleep 1
        output=$("$@")
        status=$?
    fi
    [ -n "$output" ] && echo "$output"
    return $status
}

# The program started on a folder: the main window, no other message.
starts_cleanly() {
    local folder=$1
    cat >"$work/start.scn" <<SCN
setting DirFichiersGestion dir "$folder"
answer yes
start
expect message "Par défaut on travaille dans <default>" "Vous voulez vraiment travailler avec les fichiers\\r\\nqui sont dans le répertoire $folder ?" none yesno
expect shown FrmORV yes
expect no-message
SCN
    run "$runner" "$work/start.scn"
}

# A Windows build under Wine names paths as Windows does: VENDALISE_WINEPATH
# is then the command that converts them (winepath).
unix_path() {
    if [ -n "${VENDALISE_WINEPATH:-}" ]; then
        $VENDALISE_WINEPATH -u "$1" | tr -d '\r'
    else
        echo "$1"
    fi
}
native_path() {
    if [ -n "${VENDALISE_WINEPATH:-}" ]; then
        $VENDALISE_WINEPATH -w "$1" | tr -d '\r'
    else
        echo "$1"
    fi
}

for road in "$@"; do
    rm -rf "$work/after"
    output=$(VENDALISE_FAIL_AT=0 VENDALISE_KEEP_AFTER="$(native_path "$work/after")" "$runner" "$road")
    count=$(sed -n "s/^write operations: \([0-9]*\).*/\1/p" <<<"$output")
    if [ -z "$count" ]; then
        echo "$road: the road itself fails"
        echo "$output"
        failed=$((failed + 1))
        continue
    fi
    roads=$((roads + 1))
    last=$((count - 1))
    [ "$mode" = power-cut ] && last=$count
    for ((k = 0; k <= last; k++)); do
        points=$((points + 1))
        output=$(run env "$variable=$k" "$runner" "$road")
        status=$?
        # The runner's folder as the program names it, and as this machine does.
        folder=$(sed -n 's/^data: //p' <<<"$output" | tr -d '\r')
        data=$folder
        [ -n "$folder" ] && data=$(unix_path "$folder")
        if [ $status -ne 137 ] || [ -z "$data" ]; then
            echo "$road: not killed after write $k (status $status)"
            echo "$output"
            failed=$((failed + 1))
            continue
        fi
        root=$(dirname "$data")
        for before in "$root"/before/*; do
            name=$(basename "$before")
            after="$work/after/$name"
            if [ ! -f "$data/$name" ]; then
                echo "$road: killed after write $k: $name is gone"
                failed=$((failed + 1))
            elif ! cmp -s "$data/$name" "$before" && ! { [ -f "$after" ] && cmp -s "$data/$name" "$after"; }; then
                echo "$road: killed after write $k: $name is neither as before nor as after"
                failed=$((failed + 1))
            fi
        done
        if ! start=$(starts_cleanly "$folder"); then
            echo "$road: killed after write $k: the next start fails"
            echo "$start"
            failed=$((failed + 1))
        fi
        case "$root" in
        */vendalise-scenario-*) rm -rf "$root" ;;
        esac
    done
done
echo "$roads operations, $points $mode points tried, $failed failed"
[ "$failed" -eq 0 ]
