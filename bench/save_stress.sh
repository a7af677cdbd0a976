#!/bin/sh
# Saves a 5 MB document in a loop while this script kills the saver with SIGKILL at
# random moments. After every kill the file must be the complete old or the complete new
# text, and no temporary file may be left beside it.
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

whole=0; torn=0; leftovers=0; olds=0; news=0; early=0
i=0
while [ "$i" -lt "$ROUNDS" ]; do
    i=$((i + 1))
    "$BIN" "$TARGET" 2>/dev/null &
    pid=$!
    # A random moment within the first second: start-up and about two saves.
    sleep "0.$(printf '%03d' $(( $(od -An -N2 -tu2 /dev/urandom) % 1000 )))"
    kill -KILL "$pid" 2>/dev/null || early=$((early + 1))
    wait "$pid" 2>/dev/null || true
    sum=$(md5sum < "$TARGET")
    if [ "$sum" = "$OLD" ]; then olds=$((olds + 1)); whole=$((whole + 1))
    elif [ "$sum" = "$NEW" ]; then news=$((news + 1)); whole=$((whole + 1))
    else torn=$((torn + 1)); fi
    extra=$(ls -A "$WORK/save" | grep -vx 'page.htm' | wc -l)
    if [ "$extra" -gt 0 ]; then
        leftovers=$((leftovers + extra))
        ls -A "$WORK/save" | grep -vx 'page.htm' | while read -r f; do rm -f "$WORK/save/$f"; done
    fi
done
echo "kills: $ROUNDS; file whole: $whole (old $olds, new $news); torn: $torn; temporary files left: $leftovers; savers that ended before their kill: $early"
[ "$torn" -eq 0 ] && [ "$leftovers" -eq 0 ] && [ "$early" -eq 0 ]
