#!/bin/bash
# The long fuzz run of the toolbar layout store: libFuzzer loads registry store files or ini
# files into the editor's form, in WORKERS processes sharing one corpus, until they have run
# EXECUTIONS inputs between them. Prints the executions, the rate and the failures.
#   bench/layout_fuzz.sh registry|ini EXECUTIONS [WORKERS] [SANITIZERS]
# SANITIZERS: address,undefined (the default) or undefined. Builds with clang into
# build-fuzz-asan or build-fuzz-ubsan beside this folder; the corpus and the failing inputs
# are kept in $VESK_FUZZ_DIR (default ~/.cache/vesk-layout-fuzz), so runs add up.
set -euo pipefail
FORMAT=${1:?registry or ini}
EXECUTIONS=${2:?executions}
WORKERS=${3:-4}
SANITIZERS=${4:-address,undefined}
case "$FORMAT" in registry|ini) ;; *) echo "format: registry or ini" >&2; exit 2 ;; esac
cd "$(dirname "$0")/.."

missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then apt-get install -y --no-install-recommends "${missing[@]}"
  else sudo apt-get install -y --no-install-recommends "${missing[@]}"; fi
fi

if [ "$SANITIZERS" = undefined ]; then
  BUILD=build-fuzz-ubsan
  cmake -G Ninja -S . -B $BUILD -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVESK_FUZZ=ON -DVESK_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=undefined" >/dev/null
else
  BUILD=build-fuzz-asan
  cmake -G Ninja -S . -B $BUILD -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DVESK_FUZZ=ON -DVESK_SANITIZE=ON >/dev/null
fi
cmake --build $BUILD -j "$(nproc)" --target bars_layout_${FORMAT}_fuzz

DIR=${VESK_FUZZ_DIR:-$HOME/.cache/vesk-layout-fuzz}
CORPUS=$DIR/$FORMAT
mkdir -p "$CORPUS" "$DIR/failures" "$DIR/logs"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# A copy of its own, so that a rebuild during the run cannot touch the program.
cp $BUILD/bin/bars_layout_${FORMAT}_fuzz "$WORK/fuzz"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config
mkdir -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
# Allocation stacks and a large quarantine cost more than half of each input's time; the
# faults themselves are still caught.
export ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0:malloc_context_size=0:quarantine_size_mb=16:max_malloc_fill_size=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
[ -e "$CORPUS/editor-layout" ] || VESK_LAYOUT_FUZZ_WRITE_SEED="$CORPUS/editor-layout" "$WORK/fuzz" >/dev/null 2>&1

stamp=$(date +%Y%m%d-%H%M%S)-${SANITIZERS%%,*}
start=$(date +%s)
pids=()
for w in $(seq 1 "$WORKERS"); do
  "$WORK/fuzz" -runs=$(( (EXECUTIONS + WORKERS - 1) / WORKERS )) -max_len=100000 -rss_limit_mb=4000 \
    -timeout=120 -print_final_stats=1 -artifact_prefix="$DIR/failures/$stamp-" "$CORPUS" \
    > "$DIR/logs/$stamp-$FORMAT-$w.log" 2>&1 &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
seconds=$(( $(date +%s) - start ))
executed=0
for w in $(seq 1 "$WORKERS"); do
  n=$(grep -ao 'stat::number_of_executed_units: [0-9]*' "$DIR/logs/$stamp-$FORMAT-$w.log" | awk '{print $2}' | tail -1)
  if [ -z "$n" ]; then n=$(grep -aoE '^#[0-9]+' "$DIR/logs/$stamp-$FORMAT-$w.log" | tail -1 | tr -d '#'); fi
  executed=$((executed + ${n:-0}))
done
echo "$FORMAT ($SANITIZERS): $executed executions in $seconds s by $WORKERS workers," \
  "$(( executed / (seconds > 0 ? seconds : 1) ))/s; workers failed: $failed; logs: $DIR/logs/$stamp-*"
[ "$failed" -eq 0 ]
