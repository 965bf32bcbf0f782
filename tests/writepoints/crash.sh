#!/usr/bin/env bash
# Kills each road right after each of its write operations in turn
# (SIGKILL), then checks that every data file, in the data folder and the
# folders below it, is whole, as before the road's operation or as after
# it, and that the program starts again on the files without a message. A
# road marked "# all or nothing" (a statement, a deletion, a backup, a
# restore) may leave a journal or a pending file, which the next start
# settles (a restore's it says so once); after that start the data folder
# and every folder below it are all as before the road or all as after it,
# and every backup set's manifest matches its files. With --power, the
# data folder and the backup folder are first left as a power cut would
# leave them (every file as of its last sync, a creation, a rename or a
# removal undone unless its folder was synced since), after each write
# operation and after the last.
# VENDALISE_POINT_STRIDE=N tries every Nth point of each road only, each
# road from another point (the road's number modulo N), for the runs that
# repeat the whole suite at a higher cost (sanitizers, Wine); the ordinary
# run tries every point.
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
stride=${VENDALISE_POINT_STRIDE:-1}

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
    # In cp1252, as the program writes its text files.
    way=$(sed -n 2p "$journal" | iconv -f CP1252 -t UTF-8 | tr -d '\r')
    date=$(sed -n 3p "$journal" | iconv -f CP1252 -t UTF-8 | tr -d '\r')
    if [ "$way" = terminer ]; then
        echo "expect message \"Restaurer une sauvegarde\" \"La restauration du $date a été terminée.\" information"
    else
        echo "expect message \"Restaurer une sauvegarde\" \"La restauration du $date n'avait pas pu être faite : les fichiers d'avant elle ont été remis.\" information"
    fi
}

# The files of a folder and of the folders below it, one path from it a
# line, but those of hidden folders.
files_below() {
    (cd "$1" && find . -type f ! -path '*/.*' | sed 's|^\./||' | LC_ALL=C sort)
}

# The files of the data folder that the road's outcome is made of: all but
# the lock, the files the road's "points" step lets appear (a backup's dated
# copies), and the temporary files that a crash left beside a file
# ("Compta.orv.k3j2h", or beside its pending name "~..."), which nothing
# reads.
outcome_files() {
    local folder=$1 name pattern
    local -A known=()
    while IFS= read -r name; do known[$name]=1; done < <(files_below "$root/before"; files_below "$work/after"; files_below "$folder")
    while IFS= read -r name; do
        [ "$name" = Vendalise.verrou ] && continue
        if [[ $name =~ ^(.*/)?~?([^/]*)\.[0-9a-z]{1,7}$ ]] &&
            [ -n "${known[${BASH_REMATCH[1]}${BASH_REMATCH[2]}]:-}" ]; then
            continue
        fi
        for pattern in "${appear[@]}"; do
            # shellcheck disable=SC2053
            [[ $name == $pattern ]] && continue 2
        done
        echo "$name"
    done < <(files_below "$folder")
}

# The data folder and every folder below it ("Relevés", a restore's
# folders) all as before the road, or all as after: the same files, byte
# for byte.
same_outcome() {
    local name
    [ "$(outcome_files "$1")" = "$(outcome_files "$2")" ] || return 1
    while IFS= read -r name; do
        cmp -s "$1/$name" "$2/$name" || return 1
    done < <(outcome_files "$1")
}
# Each of them as before the road or as after it: none that a crash left
# half made and the start did not settle (a pending kept file).
each_known() {
    local name known=0
    while IFS= read -r name; do
        if ! cmp -s "$1/$name" "$root/before/$name" && ! cmp -s "$1/$name" "$work/after/$name"; then
            echo "$name is neither as before nor as after"
            known=1
        fi
    done < <(outcome_files "$1")
    return $known
}
all_or_nothing() {
    same_outcome "$1" "$root/before" || same_outcome "$1" "$work/after"
}

# Each backup set's manifest ("Sauvegarde.txt", "Sauvegarde.txt du
# 05-12-07") that the road wrote, in the data folder or below the home (the
# backup folder), is written last: when it is there, every file it lists is
# there as it says (size and SHA-256). A set's kept files may be in its own
# "Relevés" or in the data folder's. Those of the data folder as before the
# road are not the road's; the roads write to a backup folder without a
# set before.
sets_whole() {
    local manifest folder suffix size sum name file whole=0
    while IFS= read -r manifest; do
        case "$manifest" in
        "$data"/*) cmp -s "$manifest" "$root/before/${manifest#"$data"/}" && continue ;;
        esac
        folder=$(dirname "$manifest")
        suffix=${manifest##*/Sauvegarde.txt}
        while IFS=$'\t' read -r size sum name; do
            local found=0 candidates=("$folder/$name$suffix")
            [[ $name == */* ]] && candidates=("$folder/$name" "$data/$name")
            for file in "${candidates[@]}"; do
                if [ -f "$file" ] && [ "$(stat -c %s "$file")" = "$size" ] &&
                    [ "$(sha256sum <"$file" | cut -d' ' -f1)" = "$sum" ]; then
                    found=1
                    break
                fi
            done
            if [ $found -eq 0 ]; then
                echo "$manifest lists $name, which is not there as it says"
                whole=1
            fi
        done < <(tail -n +3 "$manifest" | iconv -f CP1252 -t UTF-8 | tr -d '\r')
    done < <(find "$data" "$root/home" -path '*/.*' -prune -o -type f \
        -regex '.*/Sauvegarde\.txt\( du [0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)?' -print)
    return $whole
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
    # The files the road may leave, as its "points" step names them.
    mapfile -t appear < <(sed -n 's/^points\( \|$\)//p' "$road" | xargs -n1 printf '%s\n')
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
    for ((k = roads % stride; k <= last; k += stride)); do
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
        while IFS= read -r name; do
            before="$root/before/$name"
            after="$work/after/$name"
            if [ ! -f "$data/$name" ]; then
                # Gone as after the road (a kept statement a restore set aside).
                [ -f "$after" ] || continue
                echo "$road: killed after write $k: $name is gone"
                failed=$((failed + 1))
            elif ! cmp -s "$data/$name" "$before" && ! { [ -f "$after" ] && cmp -s "$data/$name" "$after"; }; then
                echo "$road: killed after write $k: $name is neither as before nor as after"
                failed=$((failed + 1))
            fi
        done < <(files_below "$root/before")
        told=
        [ $together -eq 1 ] && told=$(journal_told "$data")
        if ! start=$(starts_cleanly "$folder" "$told"); then
            echo "$road: killed after write $k: the next start fails"
            echo "$start"
            failed=$((failed + 1))
        elif ! left=$(each_known "$data"); then
            echo "$road: killed after write $k: after the next start: $left"
            failed=$((failed + 1))
        elif [ $together -eq 1 ] && ! all_or_nothing "$data"; then
            echo "$road: killed after write $k: after the next start, the files are neither all as before nor all as after"
            diff <(outcome_files "$root/before") <(outcome_files "$data")
            failed=$((failed + 1))
        elif [ $together -eq 1 ] && ! sets_whole; then
            echo "$road: killed after write $k: a backup set's manifest does not match its files"
            failed=$((failed + 1))
        fi
        case "$root" in
        */vendalise-scenario-*) rm -rf "$root" ;;
        esac
    done
done
echo "$roads operations, $points $mode points tried, $failed failed"
[ "$failed" -eq 0 ]
