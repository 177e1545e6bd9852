# Shared by scripts/test and scripts/demo: build, Wine prefix and Xvfb helpers.
# Source it; it sets VELMORA_ROOT, VELMORA_BUILD and the Wine variables.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELMORA_BUILD=${VELMORA_BUILD:-$VELMORA_ROOT/build}
export WINEPREFIX=${VELMORA_WINEPREFIX:-$VELMORA_BUILD/wine}
export VELMORA_WINEPREFIX=$WINEPREFIX
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

velmora_pids=()

velmora_log() { echo "[$(basename "$0")] $*"; }

# Configures and builds the Windows build (build/win) and the host build
# (build/host). VELMORA_TARGETS (space-separated) limits the build to those
# Windows targets and skips the host build.
velmora_build() {
  local jobs targets=()
  jobs=$(nproc 2>/dev/null || echo 2)
  if [ -n "${VELMORA_TARGETS:-}" ]; then
    read -r -a targets <<<"$VELMORA_TARGETS"
    targets=(--target "${targets[@]}")
  fi
  cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/win" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VELMORA_ROOT/cmake/mingw-i686.cmake" >/dev/null || return 1
  cmake --build "$VELMORA_BUILD/win" -j "$jobs" "${targets[@]}" || return 1
  if [ "${1:-}" != "--windows-only" ] && [ -z "${VELMORA_TARGETS:-}" ]; then
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/host" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null || return 1
    cmake --build "$VELMORA_BUILD/host" -j "$jobs" || return 1
  fi
}

# Creates the private 32-bit prefix once.
velmora_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    velmora_log "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { velmora_log "wineboot failed"; return 1; }
    wineserver -w
  fi
}

# Starts Xvfb on the first free display and exports DISPLAY.
velmora_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  velmora_pids+=($!)
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
  velmora_log "Xvfb on $DISPLAY"
}

# Keeps the Wine server of our prefix alive between test programs, and
# starts Wine's own background processes (services, the desktop) here, with
# their output going nowhere: started from a test instead, they would inherit
# its output pipe and ctest would wait for them until its time-out.
velmora_wineserver() {
  wineserver -p
  "$VELMORA_ROOT/scripts/wine-run" wineboot >/dev/null 2>&1 </dev/null
}

# Stops what the script started: its own wineserver, then Xvfb by PID.
velmora_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  local pid
  for pid in "${velmora_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  velmora_pids=()
}
