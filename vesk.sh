#!/usr/bin/env bash
# Installs what VESK needs from Debian's packages, builds it, and starts it or runs the tests.
#   ./vesk.sh start            install, build, start VESK
#   ./vesk.sh test [ctest...]  install, build, run every test headless
#   ./vesk.sh build            install and build only
#   ./vesk.sh sanitize         build the tests with ASan+UBSan into build-asan and run them
set -euo pipefail
# File arguments of start are the caller's: the program runs in the caller's folder.
CALLER_DIR=$PWD
cd "$(dirname "$0")"
# VESK_BUILD_DIR: another build folder (relative to this script's folder);
# VESK_PREBUILT=1: take it as it is, without installing or building (tests of this script).
BUILD_DIR=${VESK_BUILD_DIR:-build}

PACKAGES=(build-essential cmake ninja-build git pkg-config
          qt6-base-dev qt6-base-private-dev qt6-webengine-dev libqt6webenginecore6-bin
          libgtest-dev libgmock-dev xvfb xdotool
          libgumbo-dev libhtmlcxx-dev)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_packages() {
  if [ "${VESK_PREBUILT:-}" = 1 ]; then return; fi
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    sudo_if_needed apt-get update
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

build() {
  local dir=$1; shift
  if [ "${VESK_PREBUILT:-}" = 1 ]; then return; fi
  cmake -G Ninja -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

headless_env() {
  export QT_QPA_PLATFORM=offscreen
  export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
  export XDG_CONFIG_HOME; XDG_CONFIG_HOME=$(mktemp -d)
  export XDG_RUNTIME_DIR; XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY WAYLAND_DISPLAY
}

cmd=${1:-start}; shift || true
case "$cmd" in
  start)
    install_packages; build "$BUILD_DIR"
    # The browser engine refuses to run as root with its sandbox on.
    if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox ${QTWEBENGINE_CHROMIUM_FLAGS:-}"; fi
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}; fi
    program=$(cd "$BUILD_DIR/bin" && pwd)/VESK
    cd "$CALLER_DIR"
    exec "$program" "$@" ;;
  build)
    install_packages; build "$BUILD_DIR" ;;
  test)
    install_packages; build "$BUILD_DIR"
    headless_env
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j 4 -LE xvfb "$@"
    # Focus and activation need a real display and real input.
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$BUILD_DIR" --output-on-failure -L xvfb "$@" ;;
  sanitize)
    install_packages; build build-asan -DVESK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    headless_env
    # The browser engine library itself trips the sized-delete check and leaks in its own threads.
    export ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ctest --test-dir build-asan --output-on-failure -j 4 -LE xvfb "$@"
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-asan --output-on-failure -L xvfb "$@" ;;
  *) echo "usage: $0 start|test|build|sanitize" >&2; exit 2 ;;
esac
