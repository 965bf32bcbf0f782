#!/usr/bin/env bash
# Kills each road right after each of its write operations in turn
# (SIGKILL), then checks that every data file is whole, as before the
# road's operation or as after it, and that the program starts again on
# the files without a message. A road marked "# all or nothing" (a
# restore) may leave a journal, which the next start carries out and says
# so once; after that start its data files are all as before the road or
# all as after it. With --power, the data folder is first left
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

# The program started on a folder: the main window, no other message but
# the one given (a box's title, text and icon), if any.
starts_cleanly() {
    local folder=$1 told=${2:-}
    cat >"$work/start.scn" <<SCN
setting DirFichiersGestion dir "$folder"
answer yes
start
expect message "Par défaut on travaille dans <default>" "Vous voulez vraiment travailler avec les fichiers\\r\\nqui sont dans le répertoire $folder ?" none yesno
$told
expect shown FrmORV yes
expect no-message
SCN
    run "$runner" "$work/start.scn"
}

# What the start after a crash tells of the restore journal left in the
# folder: that the restore was carried to its end, or its former files put
# back.
journal_told() {
    local journal=$1/~Restauration/Restauration.jnl
    [ -f "$journal" ] || return 0
    local way date
    way=$(sed -n 2p "$journal" | tr -d '\r')
    date=$(sed -n 3p "$journal" | tr -d '\r')
    if [ "$way" = terminer ]; then
        echo "expect message \"Restaurer une sauvegarde\" \"La restauration du $date a été terminée.\" information"
    else
        echo "expect message \"Restaurer une sauvegarde\" \"La restauration du $date n'avait pas pu être faite : les fichiers d'avant elle ont été remis.\" information"
    fi
}

# The five files a backup holds all as before the road, or all as after.
all_or_nothing() {
    local data=$1 name before_all=1 after_all=1
    for before in "$root"/before/*; do
        name=$(basename "$before")
        case "${name,,}" in
        es.orv | produits.orv | adhérents.orv | compta.orv | comptaboisson.orv) ;;
        *) continue ;;
        esac
        cmp -s "$data/$name" "$before" || before_all=0
        cmp -s "$data/$name" "$work/after/$name" || after_all=0
    done
    [ $before_all -eq 1 ] || [ $after_all -eq 1 ]
}

# A Windows build under Wine names paths as Windows does: VENDALISE_WINEPATH
# is then the command that converts them (winepath). Being a Wine program,
# it too may now and then die before it begins, or print nothing: it is
# asked again until its answer is a path of the kind asked for.
wine_path() {
    local way=$1 path=$2 answer tries
    for tries in 1 2 3 4 5; do
        answer=$($VENDALISE_WINEPATH "$way" "$path" 2>/dev/null | tr -d '\r')
        case "$way:$answer" in
        -u:/*) [ -e "$answer" ] && break ;;
        -w:[A-Za-z]:*) break ;;
        esac
        answer=
        sleep 1
    done
    echo "$answer"
}
unix_path() {
    if [ -n "${VENDALISE_WINEPATH:-}" ]; then
        wine_path -u "$1"
    else
        echo "$1"
    fi
}
native_path() {
    if [ -n "${VENDALISE_WINEPATH:-}" ]; then
        wine_path -w "$1"
    else
        echo "$1"
    fi
}

for road in "$@"; do
    together=0
    grep -q '^# all or nothing' "$road" && together=1
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
        if [ ! -d "$root/before" ]; then
            echo "$road: killed after write $k: no folder $root/before beside the data"
            failed=$((failed + 1))
            continue
        fi
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
        told=
        [ $together -eq 1 ] && told=$(journal_told "$data")
        if ! start=$(starts_cleanly "$folder" "$told"); then
            echo "$road: killed after write $k: the next start fails"
            echo "$start"
            failed=$((failed + 1))
        elif [ $together -eq 1 ] && ! all_or_nothing "$data"; then
            echo "$road: killed after write $k: after the next start, the files are neither all as before nor all as after"
            failed=$((failed + 1))
        fi
        case "$root" in
        */vendalise-scenario-*) rm -rf "$root" ;;
        esac
    done
done
echo "$roads operations, $points $mode points tried, $failed failed"
[ "$failed" -eq 0 ]
