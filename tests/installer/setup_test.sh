#!/usr/bin/env bash
# A setup program in a fresh Wine prefix of its own, silent both ways:
#   setup_test.sh <win32|win64|x64> <folder of the built programs> <work folder>
# win32 and win64: VelmoraSetup.exe (the 32-bit edition) in a 32-bit and a
# 64-bit prefix; x64: VelmoraSetup-x64.exe (the x64 edition) in a 64-bit one.
# The prefix, its Wine server and its Xvfb screen belong to this test alone
# and are gone when it ends. It installs, checks where everything landed,
# runs installed_check.exe inside the prefix (Settings, Help, a run, the
# screensavers of the other bitness), uninstalls, and compares the prefix
# with its state before. The 32-bit setup program needs 32-bit code: where
# none runs, the test ends with 77 (skipped).
set -uo pipefail
arch=$1 bin=$2 work=$3

. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-loader.sh"
if [ "$arch" = x64 ]; then
  velmora_wine_for x64 "$work/prefix"
  setup=VelmoraSetup-x64.exe
else
  if ! velmora_runs_i386; then
    echo "skipped: VelmoraSetup.exe is a 32-bit program, and this machine cannot run 32-bit x86 programs ($(velmora_i386_reason))"
    exit 77
  fi
  velmora_wine_for x86 "$work/prefix"
  [ "$arch" = win64 ] && export WINEARCH=win64
  setup=VelmoraSetup.exe
fi
wine() { "$velmora_wine" "$@"; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset VELMORA_LANE
xvfb_pid=
fail=0
cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
check() {  # check <what> <command...>
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
# Waits up to 30 s for a condition (a command) to hold.
wait_for() {
  local i
  for i in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}

rm -rf "$work" && mkdir -p "$work" || exit 1

# A screen of its own. Xvfb picks a free display itself and names it once
# it listens: two tests that looked for a free one at once could pick the
# same.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for test -s "$work/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"

wine wineboot -i >/dev/null 2>&1 </dev/null || { echo "wineboot failed"; exit 1; }
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
wineserver -w
wineserver -p
wine wineboot >/dev/null 2>&1 </dev/null
# One desktop process for the whole test (scripts/common.sh says why).
wine "$bin/desktop_keeper.exe" >/dev/null 2>&1 </dev/null &

drive=$WINEPREFIX/drive_c
# Trapline.dll goes to the system folder of the edition's own bitness.
if [ "$arch" = win64 ]; then
  programs="$drive/Program Files (x86)/Velmora" system32=$drive/windows/syswow64
  other_system=$drive/windows/system32
elif [ "$arch" = x64 ]; then
  programs="$drive/Program Files/Velmora" system32=$drive/windows/system32
  other_system=$drive/windows/syswow64
else
  programs="$drive/Program Files/Velmora" system32=$drive/windows/system32 other_system=
fi

# What the prefix holds: its files (temporary folders aside) and the
# registry branches a setup program touches, as text.
snapshot() {
  (cd "$drive" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune -o \
     -path './windows/Velmora.ini' -prune -o -print | LC_ALL=C sort) >"$1.files"
  : >"$1.reg"
  local key
  for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
             'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall' \
             'HKCU\Control Panel\Desktop' 'HKCR\.chm' 'HKLM\Software\Classes\VelmoraTest.chm'; do
    wine reg query "$key" /s 2>/dev/null </dev/null | tr -d '\r' >>"$1.reg"
  done
}
snapshot "$work/before"

reg_value() {  # reg_value <key> <value>: the value's data, "" when missing
  wine reg query "$1" /v "$2" 2>/dev/null </dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
win_path() { wine winepath -w "$1" 2>/dev/null </dev/null | tr -d '\r'; }

# The machine field of a PE file: 014c for x86, 8664 for x64.
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
edition_machine() { if [ "$arch" = x64 ]; then echo 8664; else echo 014c; fi; }

echo "== silent install ($arch: $setup)"
wine "$bin/$setup" /S </dev/null >/dev/null 2>&1
check "setup ends with 0" test $? -eq 0
check "Velmora.exe in Program Files" test -f "$programs/Velmora.exe"
check "Velmora.chm beside it" test -f "$programs/Velmora.chm"
check "the uninstaller beside it" test -f "$programs/Uninstall.exe"
check "Velmora.scr in the Windows folder" test -f "$drive/windows/Velmora.scr"
check "Trapline.dll in the system folder of its bitness" test -f "$system32/Trapline.dll"
if [ -n "$other_system" ]; then
  check "no Trapline.dll in the other system folder" test ! -e "$other_system/Trapline.dll"
fi
check "the programs are of the edition's bitness" \
  test "$(pe_machine "$drive/windows/Velmora.scr")$(pe_machine "$programs/Velmora.exe")$(pe_machine "$system32/Trapline.dll")" \
    = "$(edition_machine)$(edition_machine)$(edition_machine)"
exe_win=$(win_path "$programs/Velmora.exe")
scr_win=$(win_path "$drive/windows/Velmora.scr")
ini=$drive/windows/Velmora.ini
check "ProgramPath names the installed program" \
  grep -qixF "ProgramPath=$exe_win" <(tr -d '\r' <"$ini")
desktop='HKCU\Control Panel\Desktop'
check "SCRNSAVE.EXE names Velmora" test "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$scr_win"
check "the screensaver is active" test "$(reg_value "$desktop" ScreenSaveActive)" = 1
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
check "Apps & Features entry" test "$(reg_value "$uninstall" DisplayName)" = Velmora
check "its publisher" test "$(reg_value "$uninstall" Publisher)" = Kestrune
check "its version" test "$(reg_value "$uninstall" DisplayVersion)" = 2.0.1
check "its size" test -n "$(reg_value "$uninstall" EstimatedSize)"
check "its icon" test -n "$(reg_value "$uninstall" DisplayIcon)"
lnk=$(find "$drive" -iname 'Velmora.lnk' | head -1)
check "Start menu shortcut" test -n "$lnk"

echo "== the installed programs"
VELMORA_I386=$(velmora_runs_i386 && echo yes || echo no) \
  wine "$bin/installed_check.exe" --gtest_brief=1 </dev/null
check "installed_check" test $? -eq 0

echo "== silent uninstall"
wine "$programs/Uninstall.exe" /S </dev/null >/dev/null 2>&1
# The uninstaller runs on from a copy of itself in the temporary folder; its
# last step removes its Apps & Features entry.
check "the program folder goes" wait_for test ! -e "$programs"
check "the Apps & Features entry goes" wait_for test -z "$(reg_value "$uninstall" DisplayName)"
check "Velmora.ini stays" test -f "$ini"
check "ProgramPath is gone from it" bash -c "! grep -qi ProgramPath '$ini'"
snapshot "$work/after"
check "no file left behind" diff "$work/before.files" "$work/after.files"
check "no key left behind" diff "$work/before.reg" "$work/after.reg"

echo "== reinstall over the user's own copy of the settings, then uninstall with the settings"
# The copy Vista and later make when a program that is not elevated writes
# the file (it names an older install).
local_dir=$(find "$drive/users" -mindepth 3 -maxdepth 3 -type d -path '*/AppData/Local' \
  ! -path '*/Public/*' | head -1)
check "the user's local application data folder" test -n "$local_dir"
user_store=${local_dir:-$work/no-user}/VirtualStore
user_ini=$user_store/Windows/Velmora.ini
mkdir -p "$user_store/Windows"
printf '[Options]\r\nShowTime=7\r\n[General]\r\nProgramPath=C:\\Old\\Velmora.exe\r\n' >"$user_ini"
wine "$bin/$setup" /S </dev/null >/dev/null 2>&1
check "reinstalled" test -f "$programs/Uninstall.exe"
check "the user's copy names the installed program" \
  grep -qixF "ProgramPath=$exe_win" <(tr -d '\r' <"$user_ini")
check "the user's copy keeps the user's settings" grep -qx 'ShowTime=7' <(tr -d '\r' <"$user_ini")
wine "$programs/Uninstall.exe" /S /REMOVESETTINGS </dev/null >/dev/null 2>&1
check "the program folder goes again" wait_for test ! -e "$programs"
check "the Apps & Features entry goes again" wait_for test -z "$(reg_value "$uninstall" DisplayName)"
check "Velmora.ini goes when asked" wait_for test ! -e "$ini"
check "and so does the user's copy" wait_for test ! -e "$user_ini"
rmdir "$user_store/Windows" "$user_store"
snapshot "$work/after2"
check "no file left behind the second time" diff "$work/before.files" "$work/after2.files"
exit $fail
