#!/usr/bin/env bash
# Install test: the release installer under Wine in Xvfb, as CI runs it after the end-to-end
# test. Three rounds:
#   1. a silent install for the current user (/S): the zip's files in the install folder, the
#      Add/Remove Programs entry, the Start-menu shortcut and the .mpo/.jps association; the
#      program started from the shortcut opens its window and is closed with Alt+F4, which
#      writes its settings; the silent uninstall (the entry's QuietUninstallString) takes all
#      of that away and keeps the settings;
#   2. a silent install for all users (/AllUsers /S), then a silent uninstall with
#      /RemoveSettings, which takes the settings too;
#   3. the installer's and the uninstaller's pages, pressed through with Enter.
# With --screenshots DIR the pages' screenshots (each the installer's window alone) are also
# saved, small, as DIR/installer-<page>.png (docs/screenshots holds them).
# Needs dist/ from scripts/package.sh. Screenshots and a log are kept in build/install/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib.sh"

SHOTS=""
[ "${1:-}" = --screenshots ] && SHOTS=$(realpath "${2:?--screenshots needs a folder}")
VERSION=$(bistrope_version)
SETUP="$ROOT/dist/Bistrope-$VERSION-setup.exe"
ZIP="$ROOT/dist/Bistrope-$VERSION-win64.zip"
OUT="$ROOT/build/install"
require_files install "run scripts/package.sh first" "$SETUP" "$ZIP"
fresh_output "$OUT"
unzip -q "$ZIP" -d "$OUT/zip"

say() { printf '%s\n' "$*" | tee -a "$LOG" >&2; }
fail() {
  say "FAIL: $*"
  import -window root "$OUT/failure.png" 2>/dev/null || true
  exit 1
}

# Called from scripts/test.sh the display and the wineserver already run; they are left to it.
OWN_WINE=1
[ -n "${WINEPREFIX:-}" ] && OWN_WINE=0
start_xvfb
start_wine || true
cleanup() {
  if [ "$OWN_WINE" = 1 ]; then stop_wine || true; fi
  stop_xvfb || true
}
trap cleanup EXIT

wine_() { "$WINE64" "$@" 2>>"$LOG" </dev/null | tr -d '\r'; }
unix_path() { wine_ winepath -u "$1"; }
# The data of one value ("" for the key's default value); fails when it is not there.
reg_value() {
  local out
  if [ -z "$2" ]; then out=$(wine_ reg query "$1" /ve) || return 1; else out=$(wine_ reg query "$1" /v "$2") || return 1; fi
  printf '%s\n' "$out" | sed -n 's/^    .*    REG_[A-Z_]*    //p; s/^    .*    REG_[A-Z_]*$//p' | head -n 1
}
has_key() { wine_ reg query "$1" >/dev/null 2>&1; }
expect_value() {  # key value expected
  local got
  got=$(reg_value "$1" "$2") || fail "no value '$2' in $1"
  [ "$got" = "$3" ] || fail "$1 '$2' is '$got', expected '$3'"
}
TITLE="^Bistrope v${VERSION//./\\.}\$"
app_window() { xdotool search --name "$TITLE" 2>/dev/null | head -n 1; }
has_app_window() { [ -n "$(app_window)" ]; }
no_app_window() { [ -z "$(app_window)" ]; }

SETTINGS='HKCU\Software\Bistrope1.2.1'
PLACEMENT='HKCU\Software\Bistrope1.8.4'
wine_ reg delete "$SETTINGS" /f >/dev/null 2>&1 || true
wine_ reg delete "$PLACEMENT" /f >/dev/null 2>&1 || true

# One round: install with the given switches, check, [run the program], uninstall, check.
#   round HIVE INSTALL_SWITCH RUN_PROGRAM(1/0) UNINSTALL_EXTRA
round() {
  local hive=$1 mode=$2 run=$3 extra=$4
  local key="$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bistrope"
  local classes="$hive\\Software\\Classes"
  say "Installing silently: $mode /S"
  wine_ "$SETUP" "$mode" /S || fail "the installer failed ($mode /S)"

  local instdir quiet exe menu
  instdir=$(reg_value "$key" InstallLocation) || fail "no uninstall entry under $key"
  expect_value "$key" DisplayName Bistrope
  expect_value "$key" DisplayVersion "$VERSION"
  expect_value "$key" Publisher Renvik
  expect_value "$key" DisplayIcon "$instdir\\Bistrope.exe,0"
  expect_value "$key" UninstallString "\"$instdir\\Uninstall.exe\" $mode"
  expect_value "$key" NoModify 0x1
  expect_value "$key" NoRepair 0x1
  quiet=$(reg_value "$key" QuietUninstallString)
  [ "$quiet" = "\"$instdir\\Uninstall.exe\" $mode /S" ] || fail "QuietUninstallString '$quiet'"
  say "installed in $instdir; quiet uninstall: $quiet"

  local dir
  dir=$(unix_path "$instdir")
  if [ "$hive" = HKLM ]; then
    [ "$instdir" = 'C:\Program Files\Bistrope' ] || fail "an all-users install went to $instdir"
    menu=$(unix_path 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Bistrope.lnk')
  else
    [[ "$instdir" == "$(wine_ cmd /c echo %LOCALAPPDATA%)\\Programs\\Bistrope" ]] ||
      fail "a per-user install went to $instdir"
    menu=$(unix_path "$(wine_ cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Bistrope.lnk")
  fi
  # Exactly the zip's files, the same bytes, and the uninstaller.
  [ -f "$dir/Uninstall.exe" ] || fail "no Uninstall.exe in $dir"
  diff -r -x Uninstall.exe "$OUT/zip/Bistrope-$VERSION-win64" "$dir" >>"$LOG" 2>&1 ||
    fail "the installed files differ from the zip's (see $LOG)"
  local kb
  kb=$(($(reg_value "$key" EstimatedSize)))
  [ "$kb" -ge $(($(du -sk "$dir" | cut -f1) * 8 / 10)) ] || fail "EstimatedSize $kb KB for $(du -sk "$dir")"
  [ -f "$menu" ] || fail "no Start-menu shortcut at $menu"
  expect_value "$classes\\.mpo" "" Bistrope.StereoPair
  expect_value "$classes\\.jps" "" Bistrope.StereoPair
  expect_value "$classes\\Bistrope.StereoPair\\shell\\open\\command" "" "\"$instdir\\Bistrope.exe\" \"%1\""

  if [ "$run" = 1 ]; then
    say "Starting Bistrope from the Start-menu shortcut"
    (exec "$WINE64" start "$(wine_ winepath -w "$menu")" </dev/null >>"$LOG" 2>&1) &
    wait_for 60 has_app_window || fail "the installed program's window did not appear"
    sleep 1
    import -window root "$OUT/program.png" 2>/dev/null || true
    xdotool windowfocus "$(app_window)" 2>/dev/null || true
    sleep 0.3
    xdotool key alt+F4
    wait_for 30 no_app_window || fail "the program did not end after Alt+F4"
    wait_for 10 has_key "$SETTINGS\\Colour blending" || fail "the program wrote no settings"
  fi

  say "Uninstalling silently: $quiet $extra"
  exe=${quiet#\"}
  exe=${exe%%\"*}
  # shellcheck disable=SC2086  # the switches are words
  wine_ "$exe" ${quiet##*\"} $extra || fail "the uninstaller failed"
  # The uninstaller runs on from a copy of itself in the temporary folder.
  wait_for 60 eval '! has_key "$key"' || fail "the uninstall entry stayed"
  wait_for 30 test ! -e "$dir" || fail "the install folder stayed: $(ls -A "$dir")"
  [ ! -e "$menu" ] || fail "the Start-menu shortcut stayed"
  ! has_key "$classes\\Bistrope.StereoPair" || fail "the Bistrope.StereoPair class stayed"
  ! has_key "$classes\\.mpo" || fail "the .mpo key stayed"
  ! has_key "$classes\\.jps" || fail "the .jps key stayed"
}

round HKCU /CurrentUser 1 ""
has_key "$SETTINGS\\Colour blending" || fail "the uninstall removed the settings"
has_key "$PLACEMENT\\WindowPos" || fail "the uninstall removed the window's place"
say "settings kept"

round HKLM /AllUsers 0 /RemoveSettings
! has_key "$SETTINGS" || fail "/RemoveSettings left $SETTINGS"
! has_key "$PLACEMENT" || fail "/RemoveSettings left $PLACEMENT"
say "settings removed with /RemoveSettings"

# The pages, as a person goes through them pressing Enter: the defaults install for the
# current user, the finish page starts the program, the uninstaller keeps the settings.
# Without a window manager the pages have no frame; each screenshot is the window itself.
dialog_window() { xdotool search --name "^Bistrope ${VERSION//./\\.} $1" 2>/dev/null | head -n 1; }
has_dialog() { [ -n "$(dialog_window "$1")" ]; }
page() {  # window-title-word page-name: saves the page, then presses Enter until it changes
  local w i
  w=$(dialog_window "$1")
  sleep 1
  import -window "$w" "$OUT/installer-$2.png" 2>/dev/null || fail "no screenshot of the $2 page"
  for i in 1 2 3; do
    xdotool windowfocus "$w" 2>/dev/null || true
    sleep 0.3
    xdotool key Return
    sleep 1.5
    has_dialog "$1" || return 0
    import -window "$w" "$OUT/page-now.png" 2>/dev/null || return 0
    [ "$(compare -metric AE "$OUT/installer-$2.png" "$OUT/page-now.png" null: 2>&1)" = 0 ] || return 0
  done
  fail "Enter did not leave the $2 page"
}
say "Installing through the pages"
(exec "$WINE64" "$SETUP" </dev/null >>"$LOG" 2>&1) &
wait_for 60 has_dialog Setup || fail "the installer's window did not appear"
page Setup users
page Setup components
page Setup folder
USER_ENTRY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bistrope'
wait_for 60 reg_value "$USER_ENTRY" InstallLocation >/dev/null ||
  fail "the installation through the pages wrote no uninstall entry"
page Setup finish
wait_for 60 has_app_window || fail "the finish page did not start the program"
xdotool windowfocus "$(app_window)" 2>/dev/null || true
sleep 0.3
xdotool key alt+F4
wait_for 30 no_app_window || fail "the program did not end after Alt+F4"
INSTDIR=$(reg_value "$USER_ENTRY" InstallLocation)
(exec "$WINE64" "$INSTDIR\Uninstall.exe" /CurrentUser </dev/null >>"$LOG" 2>&1) &
wait_for 60 has_dialog Uninstall || fail "the uninstaller's window did not appear"
page Uninstall uninstall-confirm
page Uninstall uninstall-components
wait_for 60 test ! -e "$(unix_path "$INSTDIR")" || fail "the uninstall through the pages left $INSTDIR"
page Uninstall uninstall-done
has_key "$SETTINGS\\Colour blending" || fail "the uninstall through the pages removed the settings"
if [ -n "$SHOTS" ]; then
  mkdir -p "$SHOTS"
  for f in "$OUT"/installer-*.png; do
    convert "$f" -strip -colors 64 "PNG8:$SHOTS/$(basename "$f")"
  done
  say "screenshots in $SHOTS"
fi

say "Install test passed"
