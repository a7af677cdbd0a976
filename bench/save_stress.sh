#!/bin/sh
# Saves a 5 MB document in a loop while this script kills the saver with SIGKILL at
# random moments of its saves. After every kill the document must be the whole old or the
# whole new text. A kill between the naming of a save's temporary and its rename leaves
# that temporary beside the document: the next save must remove it, and after one last
# save nothing but the document may be left.
#   bench/save_stress.sh [KILLS] [BUILD_DIR] [named]
# named: each temporary has its name from the start, as on a file system without unnamed
# files, so that every kill before a rename leaves one for the next save to remove.
# Each round runs only the saver, a sleep and a checksum: the rest is the shell's own.
set -eu
KILLS=${1:-5000}
BIN=${2:-$(dirname "$0")/../build}/bin/save_stress_saver
MODE=; KIND="unnamed until just before their rename"
[ "${3:-}" = named ] && MODE=--named && KIND="named from the start"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/versions" "$WORK/save"
# A copy of its own, so that a rebuild during the run cannot touch the program.
cp "$BIN" "$WORK/saver"
BIN="$WORK/saver"
"$BIN" --versions "$WORK/versions"
OLD=$(md5sum < "$WORK/versions/old.htm")
NEW=$(md5sum < "$WORK/versions/new.htm")
SAVE="$WORK/save"
TARGET="$SAVE/page.htm"
cp "$WORK/versions/old.htm" "$TARGET"
# The random moment of each kill, in ms: within 0.4 s of the first save's start, a few saves.
od -An -v -w2 -tu2 -N$((KILLS * 2)) /dev/urandom | while read -r n; do echo $((n % 400)); done > "$WORK/moments"
exec 4<"$WORK/moments"
mkfifo "$WORK/told"

A='[A-Za-z0-9]'
# The save's temporaries beside the document, as " NAME NAME ... ".
temporaries() {
    list=' '
    for f in "$SAVE"/.page.htm.vesk-save-$A$A$A$A$A$A; do
        [ -e "$f" ] && list="$list${f##*/} "
    done
    echo "$list"
}
# How many of the names in $1 are (or are not, with "-v") in $2.
among() {
    n=0
    for f in $1; do
        case "$2" in *" $f "*) [ "${3:-}" = -v ] || n=$((n + 1)) ;; *) [ "${3:-}" = -v ] && n=$((n + 1)) ;; esac
    done
    echo $n
}
# Removes and counts what is neither the document nor a temporary of the save.
strays() {
    n=0
    for f in "$SAVE"/* "$SAVE"/.[!.]* "$SAVE"/..?*; do
        [ -e "$f" ] || [ -L "$f" ] || continue
        case "${f##*/}" in page.htm | .page.htm.vesk-save-$A$A$A$A$A$A) continue ;; esac
        rm -rf "$f"
        n=$((n + 1))
    done
    echo $n
}
checksum() { if [ -f "$TARGET" ]; then md5sum < "$TARGET"; else echo missing; fi; }

started=$(date +%s)
whole=0; torn=0; olds=0; news=0; early=0; during=0
left=0; most=0; cleaned=0; outlived=0; others=0
i=0
while [ "$i" -lt "$KILLS" ]; do
    i=$((i + 1))
    before=$(temporaries)
    # The saver tells "saving N" as a save starts and "saved N" when it has finished.
    "$BIN" $MODE "$TARGET" 2>"$WORK/told" &
    pid=$!
    exec 3<"$WORK/told"
    read -r last <&3 || true
    read -r moment <&4
    sleep "$((moment / 1000)).$(printf '%03d' $((moment % 1000)))"
    kill -KILL "$pid" 2>/dev/null || early=$((early + 1))
    wait "$pid" 2>/dev/null || true
    finished=no
    while read -r line <&3; do
        last=$line
        case "$line" in saved*) finished=yes ;; esac
    done
    exec 3<&-
    case "$last" in saving*) during=$((during + 1)) ;; esac

    sum=$(checksum)
    if [ "$sum" = "$OLD" ]; then olds=$((olds + 1)); whole=$((whole + 1))
    elif [ "$sum" = "$NEW" ]; then news=$((news + 1)); whole=$((whole + 1))
    else torn=$((torn + 1)); fi

    now=$(temporaries)
    count=$(among "$now" "$now")
    [ "$count" -gt "$most" ] && most=$count
    left=$((left + $(among "$now" "$before" -v)))
    cleaned=$((cleaned + $(among "$before" "$now" -v)))
    # A save that finished removed every temporary the kills before it had left.
    [ "$finished" = yes ] && outlived=$((outlived + $(among "$before" "$now")))
    others=$((others + $(strays)))
done
# One last save, to its end.
before=$(temporaries)
"$BIN" $MODE "$TARGET" 1 2>/dev/null
sum=$(checksum)
[ "$sum" = "$OLD" ] || [ "$sum" = "$NEW" ] || torn=$((torn + 1))
now=$(temporaries)
cleaned=$((cleaned + $(among "$before" "$now" -v)))
final=$(($(among "$now" "$now") + $(strays)))
took=$(($(date +%s) - started))

echo "temporaries: $KIND"
echo "kills: $KILLS (during a save: $during; savers that ended before their kill: $early); time: $took s"
echo "document after a kill: whole $whole (old $olds, new $news); torn: $torn"
echo "temporaries left by a kill: $left (at most $most at once); cleaned by the next save: $cleaned;" \
     "outliving a finished save: $outlived; left after a last save: $final; other files: $others"
[ "$torn" -eq 0 ] && [ "$early" -eq 0 ] && [ "$outlived" -eq 0 ] && [ "$others" -eq 0 ] && [ "$final" -eq 0 ]
