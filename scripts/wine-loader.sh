# Which Wine runs which edition, shared by scripts/common.sh, wine-run and
# the setup tests. Source it.
#
# Some machines cannot execute 32-bit x86 programs at all (the kernel answers
# "Exec format error", 32-bit Wine included), whatever packages are
# installed; 64-bit Wine runs everywhere. Debian's /usr/bin/wine picks the
# 32-bit loader whenever its file exists, so the 64-bit loader is named
# itself, and WINELOADER tells Wine to start its own programs with it too.

VELMORA_WINE32=/usr/lib/wine/wine
VELMORA_WINE64=/usr/lib/wine/wine64

# True when 32-bit x86 programs run here: the 32-bit loader is tried, not
# guessed from the packages. VELMORA_ARCH=x64 answers no, so that a machine
# that runs them can check the other path. Asked once per process tree.
velmora_runs_i386() {
  if [ -z "${VELMORA_I386:-}" ]; then
    if [ "${VELMORA_ARCH:-}" = x64 ]; then
      VELMORA_I386=no
    elif "$VELMORA_WINE32" --version >/dev/null 2>&1; then
      VELMORA_I386=yes
    else
      VELMORA_I386=no
    fi
    export VELMORA_I386
  fi
  [ "$VELMORA_I386" = yes ]
}

# Why 32-bit code is not run, for the skip messages.
velmora_i386_reason() {
  if [ "${VELMORA_ARCH:-}" = x64 ]; then
    echo "VELMORA_ARCH=x64"
  elif [ ! -e "$VELMORA_WINE32" ]; then
    echo "no 32-bit Wine loader at $VELMORA_WINE32"
  else
    "$VELMORA_WINE32" --version 2>&1 | tail -n1 | sed 's/^.*: //'
  fi
}

# Sets the Wine variables for an edition (x86 or x64) and a prefix (default:
# the edition's prefix under build/): WINEPREFIX, WINEARCH, WINELOADER and
# velmora_wine, the loader to run programs with.
velmora_wine_for() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ "$1" = x64 ]; then
    export WINEPREFIX=${2:-${VELMORA_BUILD:-$root/build}/wine64} WINEARCH=win64
    export WINELOADER=$VELMORA_WINE64
    velmora_wine=$VELMORA_WINE64
  else
    export WINEPREFIX=${2:-${VELMORA_BUILD:-$root/build}/wine} WINEARCH=win32
    unset WINELOADER
    velmora_wine=$VELMORA_WINE32
  fi
  export VELMORA_WINEPREFIX=$WINEPREFIX
}
