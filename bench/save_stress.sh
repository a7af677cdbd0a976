#!/bin/sh
# Saves a 5 MB document in a loop while this script kills the saver with SIGKILL at
# random moments. After every kill the file must be the complete old or the complete new
# text. A kill may leave the save's own temporary beside it; the next save that finishes
# must have removed it, and after one last save nothing but the document may be left.
#   bench/save_stress.sh [ROUNDS] [BUILD_DIR]
set -eu
ROUNDS=${1:-1000}
BIN=${2:-$(dirname "$0")/../build}/bin/save_stress_saver
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/versions" "$WORK/save"
# A copy of its own, so that a rebuild during the run cannot touch the program.
cp "$BIN" "$WORK/saver"
BIN="$WORK/saver"
"$BIN" --versions "$WORK/versions"
OLD=$(md5sum < "$WORK/versions/old.htm")
NEW=$(md5sum < "$WORK/versions/new.htm")
TARGET="$WORK/save/page.htm"
cp "$WORK/versions/old.htm" "$TARGET"
TEMPORARY='^\.page\.htm\.vesk-save-[A-Za-z0-9]{6}$'

# The temporaries beside the document, one a line, and anything else that is not it.
temporaries() { ls -A "$WORK/save" | grep -E "$TEMPORARY" || true; }
others() { ls -A "$WORK/save" | grep -vx 'page.htm' | grep -vE "$TEMPORARY" || true; }

whole=0; torn=0; olds=0; news=0; early=0
left=0; most=0; outlived=0; strays=0
i=0
while [ "$i" -lt "$ROUNDS" ]; do
    i=$((i + 1))
    before=$(temporaries)
    "$BIN" "$TARGET" 2>"$WORK/log" &
    pid=$!
    # A random moment within the first second: start-up and a few saves.
    sleep "0.$(printf '%03d' $(( $(od -An -N2 -tu2 /dev/urandom) % 1000 )))"
    kill -KILL "$pid" 2>/dev/null || early=$((early + 1))
    wait "$pid" 2>/dev/null || true
    sum=$(md5sum < "$TARGET")
    if [ "$sum" = "$OLD" ]; then olds=$((olds + 1)); whole=$((whole + 1))
    elif [ "$sum" = "$NEW" ]; then news=$((news + 1)); whole=$((whole + 1))
    else torn=$((torn + 1)); fi
    now=$(temporaries)
    count=$(printf '%s' "$now" | grep -c . || true)
    left=$((left + count))
    [ "$count" -gt "$most" ] && most=$count
    # A save that finished removed every temporary the kills before it had left.
    if grep -q '^saved' "$WORK/log" && [ -n "$before" ]; then
        survivors=$(printf '%s\n' "$before" | grep -cxF "$now" || true)
        [ -n "$now" ] || survivors=0
        outlived=$((outlived + survivors))
    fi
    stray=$(others)
    if [ -n "$stray" ]; then
        strays=$((strays + $(printf '%s\n' "$stray" | wc -l)))
        printf '%s\n' "$stray" | while read -r f; do rm -rf "$WORK/save/$f"; done
    fi
done
# One last save, to its end.
"$BIN" "$TARGET" 1 2>/dev/null
sum=$(md5sum < "$TARGET")
[ "$sum" = "$OLD" ] || [ "$sum" = "$NEW" ] || torn=$((torn + 1))
final=$(ls -A "$WORK/save" | grep -vxc 'page.htm' || true)
echo "kills: $ROUNDS; file whole: $whole (old $olds, new $news); torn: $torn; savers that ended before their kill: $early"
echo "temporaries left by a kill: $left (at most $most at once); outliving the next finished save: $outlived; other files: $strays; left after a last save: $final"
[ "$torn" -eq 0 ] && [ "$early" -eq 0 ] && [ "$outlived" -eq 0 ] && [ "$strays" -eq 0 ] && [ "$final" -eq 0 ]
