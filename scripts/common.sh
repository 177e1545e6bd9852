# Shared by scripts/test, scripts/demo and scripts/bench: build, Wine prefix
# and screen helpers. Source it; it sets VELMORA_ROOT, VELMORA_BUILD and the
# Wine variables of the edition it tests (velmora_edition).

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELMORA_BUILD=${VELMORA_BUILD:-$VELMORA_ROOT/build}
. "$VELMORA_ROOT/scripts/wine-loader.sh"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The two editions: x86, the 32-bit programs (build/win, a 32-bit prefix),
# and x64 (build/win64, a 64-bit prefix). velmora_edition NAME [PREFIX]
# makes one the current one: its build folder (VELMORA_WIN_BUILD), its
# prefix and loader, and wine-run's edition switch (velmora_wine_run).
velmora_edition() {
  VELMORA_EDITION=$1
  velmora_wine_for "$1" "${2:-}"
  if [ "$1" = x64 ]; then
    VELMORA_WIN_BUILD=$VELMORA_BUILD/win64
    velmora_wine_run=("$VELMORA_ROOT/scripts/wine-run" --x64)
  else
    VELMORA_WIN_BUILD=$VELMORA_BUILD/win
    velmora_wine_run=("$VELMORA_ROOT/scripts/wine-run")
  fi
}

# The edition the demo and the bench play: the 32-bit one where 32-bit code
# runs, the x64 one elsewhere. velmora_edition_note says why.
velmora_default_edition() {
  if velmora_runs_i386; then
    velmora_edition_note="the 32-bit edition"
    velmora_edition x86 "${1:-}"
  else
    velmora_edition_note="the x64 edition: this machine does not run 32-bit code ($(velmora_i386_reason))"
    velmora_edition x64 "${1:-}"
  fi
}

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

# Configures and builds the Windows builds of both editions (build/win and
# build/win64) and the host build (build/host). VELMORA_TARGETS
# (space-separated) limits the build to those Windows targets, of the current
# edition when one is chosen, and skips the rest.
velmora_build() {
  local jobs targets=() edition
  jobs=$(nproc 2>/dev/null || echo 2)
  if [ -n "${VELMORA_TARGETS:-}" ]; then
    read -r -a targets <<<"$VELMORA_TARGETS"
    for edition in ${VELMORA_EDITION:-x86 x64}; do
      velmora_build_windows "$edition" --target "${targets[@]}" || return 1
    done
    return 0
  fi
  for edition in x86 x64; do
    velmora_build_windows "$edition" || return 1
  done
  if [ "${1:-}" != "--windows-only" ]; then
    cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/host" -G Ninja "${velmora_launcher[@]}" \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null || return 1
    cmake --build "$VELMORA_BUILD/host" -j "$jobs" || return 1
    velmora_build_fuzz || return 1
  fi
}

# velmora_build_windows EDITION [build arguments...]
velmora_build_windows() {
  local edition=$1 folder toolchain jobs
  shift
  jobs=$(nproc 2>/dev/null || echo 2)
  if [ "$edition" = x64 ]; then
    folder=$VELMORA_BUILD/win64 toolchain=mingw-x86_64.cmake
  else
    folder=$VELMORA_BUILD/win toolchain=mingw-i686.cmake
  fi
  cmake -S "$VELMORA_ROOT" -B "$folder" -G Ninja "${velmora_launcher[@]}" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VELMORA_ROOT/cmake/$toolchain" >/dev/null || return 1
  cmake --build "$folder" -j "$jobs" "$@"
}

# Builds the libFuzzer targets of the portable core with clang (build/fuzz).
velmora_build_fuzz() {
  local jobs
  jobs=$(nproc 2>/dev/null || echo 2)
  cmake -S "$VELMORA_ROOT" -B "$VELMORA_BUILD/fuzz" -G Ninja "${velmora_launcher[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON >/dev/null || return 1
  cmake --build "$VELMORA_BUILD/fuzz" -j "$jobs"
}

# Creates the current edition's private prefix once (32-bit or 64-bit).
velmora_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    velmora_log "creating the $WINEARCH Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$velmora_wine" wineboot -i >/dev/null 2>&1 </dev/null ||
      { velmora_log "wineboot failed"; return 1; }
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
    -logfile "$VELMORA_BUILD/xorg-two-monitors-${VELMORA_EDITION:-x86}.log" 3>"$number" >/dev/null 2>&1 &
  velmora_pids+=($!)
  velmora_await_display "$number" "Xorg with two monitors"
}

# Keeps the Wine server of our prefix alive between test programs, and
# starts Wine's own background processes (services, the desktop) here, with
# their output going nowhere: started from a test instead, they would inherit
# its output pipe and ctest would wait for them until its time-out.
velmora_wineserver() {
  wineserver -p
  "$velmora_wine" wineboot >/dev/null 2>&1 </dev/null
}

# Wine's desktop process ends soon after the last program that used it, and
# a new one starts with the next: between two test programs a new desktop
# now and then inherits a window of the old one, and programs that use it
# then die of an X error. A program that holds the desktop (it ends with the
# Wine server) keeps one desktop process for a whole test or bench run.
velmora_keep_desktop() {
  local keeper=$VELMORA_WIN_BUILD/bin/desktop_keeper.exe
  [ -f "$keeper" ] || return 0
  "$velmora_wine" "$keeper" >/dev/null 2>&1 </dev/null &
  velmora_pids+=($!)
}

# Without a window manager on the screen, Wine waits two seconds for one
# whenever a window it treats as managed (any window that was active) is
# hidden or destroyed. The test screens have none, so the prefix tells
# Wine to manage no window itself.
velmora_unmanaged() {
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  "$velmora_wine" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1 </dev/null
}

# Test lanes of the current edition: lane 1 is its main prefix, each further
# lane a copy of it with its own Wine server; every lane has a screen of its
# own (Xvfb; the lane VELMORA_TWO_MONITOR_LANE names has a screen of two
# monitors instead), so that the tests that wait out real minutes run beside
# the others. ctest gives a lane's tests VELMORA_LANE; scripts/wine-run picks
# the lane's prefix and screen from VELMORA_LANE<n>_PREFIX and _DISPLAY (the
# x64 edition's from VELMORA_X64_LANE<n>_...). Lane 1's server must be
# down while the copies are made.
velmora_lanes() {
  local lane prefix screen tag=
  [ "$VELMORA_EDITION" = x64 ] && tag=X64_
  # The copies first, while lane 1's server is down.
  for lane in $(seq 2 "$1"); do
    prefix="$WINEPREFIX-lane$lane"
    if [ ! -f "$prefix/system.reg" ]; then
      rm -rf "$prefix"
      cp -a "$WINEPREFIX" "$prefix" || return 1
    fi
  done
  for lane in $(seq 1 "$1"); do
    prefix="$WINEPREFIX"
    [ "$lane" = 1 ] || prefix="$WINEPREFIX-lane$lane"
    if [ "$lane" = "${VELMORA_TWO_MONITOR_LANE:-}" ]; then
      velmora_two_monitor_screen || return 1
    else
      velmora_new_screen || return 1
    fi
    screen=$velmora_screen
    export "VELMORA_${tag}LANE${lane}_PREFIX=$prefix" "VELMORA_${tag}LANE${lane}_DISPLAY=$screen"
    velmora_lane_prefixes+=("$prefix")
    (export WINEPREFIX=$prefix VELMORA_WINEPREFIX=$prefix DISPLAY=$screen
     velmora_unmanaged && velmora_wineserver; velmora_keep_desktop)
    velmora_log "$VELMORA_EDITION lane $lane: $prefix on $screen"
  done
}

# Stops what the script started: its Wine servers, then the screens by PID.
velmora_cleanup() {
  local prefix
  for prefix in "${velmora_lane_prefixes[@]}" "$WINEPREFIX"; do
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
