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
velmora_lane_prefixes=()

velmora_log() { echo "[$(basename "$0")] $*"; }

# Compilations go through ccache when it is there: a fresh clone then builds
# from the cache of earlier builds, wherever it lies.
velmora_launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=$VELMORA_ROOT CCACHE_NOHASHDIR=true
  velmora_launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

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
  cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/win" -G Ninja "${velmora_launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VELMORA_ROOT/cmake/mingw-i686.cmake" >/dev/null || return 1
  cmake --build "$VELMORA_BUILD/win" -j "$jobs" "${targets[@]}" || return 1
  if [ "${1:-}" != "--windows-only" ] && [ -z "${VELMORA_TARGETS:-}" ]; then
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/host" -G Ninja "${velmora_launcher[@]}" \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null || return 1
    cmake --build "$VELMORA_BUILD/host" -j "$jobs" || return 1
    velmora_build_fuzz || return 1
  fi
}

# Builds the libFuzzer targets of the portable core with clang (build/fuzz).
velmora_build_fuzz() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/fuzz" -G Ninja "${velmora_launcher[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON >/dev/null || return 1
  cmake --build "$VELMORA_BUILD/fuzz" -j "$jobs"
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
  velmora_new_screen || return 1
  export DISPLAY=$velmora_screen
  velmora_log "Xvfb on $DISPLAY"
}

# Starts one more Xvfb screen on a free display; velmora_screen names it.
# Xvfb picks the display itself (-displayfd), so scripts started at the same
# moment never take the same one.
velmora_new_screen() {
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  velmora_pids+=($!)
  velmora_await_display "$number" Xvfb
}

# Waits for a server started with -displayfd to write its display number to
# the file, and sets velmora_screen from it.
velmora_await_display() {
  local i
  for i in $(seq 200); do
    [ -s "$1" ] && grep -q '^[0-9]' "$1" && break
    sleep 0.1
  done
  velmora_screen=":$(head -n1 "$1" | tr -dc 0-9)"
  rm -f "$1"
  [ "$velmora_screen" != ":" ] || { velmora_log "$2 did not start"; return 1; }
}

# Starts an Xorg server of two dummy monitors side by side (800x600 primary,
# 640x480 to its right) on a free display; velmora_screen names it. Xorg
# picks the display itself (-displayfd) and is stopped by its PID.
velmora_two_monitor_screen() {
  local number
  number=$(mktemp)
  mkdir -p "$VELMORA_BUILD"
  Xorg -displayfd 3 -noreset -nolisten tcp -config "$VELMORA_ROOT/scripts/xorg-two-monitors.conf" \
    -logfile "$VELMORA_BUILD/xorg-two-monitors.log" 3>"$number" >/dev/null 2>&1 &
  velmora_pids+=($!)
  velmora_await_display "$number" "Xorg with two monitors"
}

# Keeps the Wine server of our prefix alive between test programs, and
# starts Wine's own background processes (services, the desktop) here, with
# their output going nowhere: started from a test instead, they would inherit
# its output pipe and ctest would wait for them until its time-out.
velmora_wineserver() {
  wineserver -p
  "$VELMORA_ROOT/scripts/wine-run" wineboot >/dev/null 2>&1 </dev/null
}

# Wine's desktop process ends soon after the last program that used it, and
# a new one starts with the next: between two test programs a new desktop
# now and then inherits a window of the old one, and programs that use it
# then die of an X error. A program that holds the desktop (it ends with the
# Wine server) keeps one desktop process for a whole test or bench run.
velmora_keep_desktop() {
  local keeper=$VELMORA_BUILD/win/bin/desktop_keeper.exe
  [ -f "$keeper" ] || return 0
  "$VELMORA_ROOT/scripts/wine-run" "$keeper" >/dev/null 2>&1 </dev/null &
  velmora_pids+=($!)
}

# Without a window manager on the screen, Wine waits two seconds for one
# whenever a window it treats as managed (any window that was active) is
# hidden or destroyed. The test screens have none, so the prefix tells
# Wine to manage no window itself.
velmora_unmanaged() {
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  "$VELMORA_ROOT/scripts/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1 </dev/null
}

# Test lanes: lane 1 is the main prefix on $DISPLAY; each further lane is a
# copy of the main prefix with its own Wine server and Xvfb screen, so that
# the tests that wait out real minutes run beside the others; the lane
# VELMORA_TWO_MONITOR_LANE names has a screen of two monitors instead. ctest gives a
# lane's tests VELMORA_LANE; scripts/wine-run picks the lane's prefix and
# screen from VELMORA_LANE<n>_PREFIX and VELMORA_LANE<n>_DISPLAY.
velmora_lanes() {
  local lane prefix screen
  for lane in $(seq 2 "$1"); do
    prefix="$VELMORA_BUILD/wine-lane$lane"
    if [ ! -f "$prefix/system.reg" ]; then
      rm -rf "$prefix"
      cp -a "$WINEPREFIX" "$prefix" || return 1
    fi
    if [ "$lane" = "${VELMORA_TWO_MONITOR_LANE:-}" ]; then
      velmora_two_monitor_screen || return 1
    else
      velmora_new_screen || return 1
    fi
    screen=$velmora_screen
    export "VELMORA_LANE${lane}_PREFIX=$prefix" "VELMORA_LANE${lane}_DISPLAY=$screen"
    velmora_lane_prefixes+=("$prefix")
    (export WINEPREFIX=$prefix VELMORA_WINEPREFIX=$prefix DISPLAY=$screen
     velmora_unmanaged && velmora_wineserver; velmora_keep_desktop)
    velmora_log "lane $lane: $prefix on $screen"
  done
}

# Stops what the script started: its own wineserver, then Xvfb by PID.
velmora_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  local prefix
  for prefix in "${velmora_lane_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
  velmora_lane_prefixes=()
  local pid
  for pid in "${velmora_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  velmora_pids=()
}
