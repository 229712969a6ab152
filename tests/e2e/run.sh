#!/usr/bin/env bash
# End-to-end test of the real program: starts Bistrope.exe under Wine in Xvfb and uses it as
# a person would, with real key presses, mouse drags and the real file dialogs (xdotool):
#   F2 and the open dialog for the left image, F3 for the right one, a left drag that moves
#   the left image, V and a drag that turns it, the "Half colour blending" button, the
#   view's context menu, the settings sheet (centred over the view), Ctrl+S and
#   the save dialog; after a restart, an MPO file with F2, F4 twice, F5 (auto align) and
#   Ctrl+S. Then it checks
#   the written JPEGs (size = the output rectangle shown in the
#   status bar, Software tag, quality 80, pixels against bistrope-cli run with the same mode,
#   offset and rotation), closes the program, checks the registry, restarts it and checks that
#   the blending mode and the window placement were kept.
# It also checks the preview on screen: the empty view shows its background, the loaded pair
# fills the middle of the view and matches bistrope-cli's anaglyph of the pair.
# Screenshots of every step, the pictures and a log are kept in build/e2e/.
# Needs: build/win64 (Bistrope.exe, e2e-probe.exe) and build/native (bistrope-cli).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib.sh"

OUT="$ROOT/build/e2e"
APPDIR="$ROOT/build/win64/app"
EXE="$APPDIR/Bistrope.exe"
PROBE="$ROOT/build/win64/tests/e2e/e2e-probe.exe"
CLI="$ROOT/build/native/cli/bistrope-cli"
require_files e2e "build both presets first" "$EXE" "$PROBE" "$CLI" "$APPDIR/Bistrope.dll"
fresh_output "$OUT"

say() { printf '%s\n' "$*" | tee -a "$LOG" >&2; }
STEP=0
shot() { STEP=$((STEP + 1)); import -window root "$OUT/$(printf '%02d' $STEP)-$1.png" 2>/dev/null || true; }
fail() {
  say "FAIL: $*"
  shot failure
  exit 1
}

# Called from scripts/test.sh the display and the wineserver already run; they are left to it.
OWN_WINE=1
[ -n "${WINEPREFIX:-}" ] && OWN_WINE=0
start_xvfb
start_wine || true
APP_PID=""
cleanup() {
  if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null || true; fi
  if [ "$OWN_WINE" = 1 ]; then stop_wine || true; fi
  stop_xvfb || true
}
trap cleanup EXIT

probe() { "$WINE64" "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
pane() { probe status | sed -n "s/^pane $1: //p"; }
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# The share of the stereo view's middle (half its width and height) that shows the empty
# view's background colour on screen now, as a percentage.
view_background_percent() {
  local vx vy vw vh
  read -r _ _ vx vy vw vh < <(probe view)
  import -window root "$OUT/view-check.png" 2>/dev/null || return 1
  convert "$OUT/view-check.png" -crop "$((vw / 2))x$((vh / 2))+$((vx + vw / 4))+$((vy + vh / 4))" +repage \
    -fill black +opaque 'rgb(254,252,242)' -fill white -opaque 'rgb(254,252,242)' \
    -format '%[fx:round(100 * mean)]' info:
}
# Whether the picture in the view matches bistrope-cli's anaglyph of the pair in full colour
# with no offset: the picture's box is found as what is not background in the view, its inner
# 80 % is compared with the same part of the anaglyph, both reduced to 48 x 36 so that the
# preview's texture sampling and the render's bicubic agree. Sets PREVIEW_RMSE (0..1).
preview_matches_anaglyph() {
  local vx vy vw vh bw bh bx by
  read -r _ _ vx vy vw vh < <(probe view)
  import -window root "$OUT/preview-check.png" 2>/dev/null || return 1
  # The viewport is the view less one pixel on every side; a background-coloured border
  # makes the picture's box findable also where the picture fills the viewport's width.
  read -r bw bh bx by < <(convert "$OUT/preview-check.png" -crop "$((vw - 2))x$((vh - 2))+$((vx + 1))+$((vy + 1))" \
    +repage -bordercolor 'rgb(254,252,242)' -border 1 -fuzz 1% -format '%@' info: | tr 'x+' '  ')
  [ -n "$by" ] && [ "$bw" -gt 100 ] || return 1
  convert "$OUT/preview-check.png" \
    -crop "$((bw * 8 / 10))x$((bh * 8 / 10))+$((vx + bx + bw / 10))+$((vy + by + bh / 10))" +repage \
    -resize '48x36!' "$OUT/preview-screen.png"
  convert "$OUT/cli-full.jpg" -crop '960x720+120+90' +repage -resize '48x36!' "$OUT/preview-reference.png"
  PREVIEW_RMSE=$(compare -metric RMSE "$OUT/preview-screen.png" "$OUT/preview-reference.png" null: 2>&1 |
    sed -n 's/.*(\(.*\)).*/\1/p')
  awk -v e="$PREVIEW_RMSE" 'BEGIN { exit !(e != "" && e < 0.04) }'
}
view_all_background() { BG=$(view_background_percent) && [ "$BG" -eq 100 ]; }
view_shows_preview() { BG=$(view_background_percent) && [ "$BG" -le 1 ]; }

has_frame() { probe frame >/dev/null 2>&1; }
has_dialog() { probe dialog | grep -q "^dialog"; }
no_dialog() { ! probe dialog | grep -q "^dialog"; }
pane_matches() { pane "$1" | grep -q -- "$2"; }

# The main window's title (app/frame_layout.h) as a pattern for xdotool.
TITLE="^Bistrope v$(bistrope_version | sed 's/\./\\./g')\$"

# Gives the program's window the keyboard focus (no window manager does it here).
focus_app() {
  local w
  w=$(xdotool search --name "$TITLE" 2>/dev/null | head -n 1)
  [ -n "$w" ] && xdotool windowfocus "$w" 2>/dev/null
  sleep 0.2
}

# Presses a key until the dialog it opens is there: a key pressed while Wine is still
# settling the window's focus can be lost, so the press is tried up to three times.
press_for_dialog() {
  local key=$1 i
  for i in 1 2 3; do
    focus_app
    xdotool key "$key"
    wait_for 10 has_dialog && return 0
    say "no dialog after $key (try $i)"
  done
  fail "$key opened no dialog"
}

# Opens a file through the dialog that a key brings up (a screenshot of the dialog when a
# name is given for it).
open_with() {
  press_for_dialog "$1"
  [ -n "${3:-}" ] && shot "$3"
  xdotool type --delay 15 "$(winpath "$2")"
  xdotool key Return
}

start_app() {
  (cd "$APPDIR" && exec "$WINE64" "$EXE" </dev/null >>"$LOG" 2>&1) &
  APP_PID=$!
  wait_for 60 has_frame || fail "the Bistrope window did not appear"
  sleep 1
}

# Ends the program as a person does (Alt+F4) and waits until Wine has written the registry.
close_app() {
  focus_app
  xdotool key alt+F4
  local end=$((SECONDS + 30))
  while kill -0 "$APP_PID" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "Bistrope did not end after Alt+F4"
    sleep 0.3
  done
  APP_PID=""
}

reg_value() {  # key value -> data (the last field of reg query's line)
  "$WINE64" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { print $NF }'
}

# --- Test pictures: one smooth random scene; the right picture is the left one seen 24
# pixels further right and 16 further down.
say "Making the test pair"
convert -size 1300x1000 -seed 4242 plasma:fractal -blur 0x2 "$OUT/scene.png"
convert "$OUT/scene.png" -crop 1200x900+40+50 +repage -quality 95 "$OUT/left.jpg"
convert "$OUT/scene.png" -crop 1200x900+64+66 +repage -quality 95 "$OUT/right.jpg"

# A first run: no settings and no placement yet.
"$WINE64" reg delete 'HKCU\Software\Bistrope1.2.1' /f >/dev/null 2>&1 || true
"$WINE64" reg delete 'HKCU\Software\Bistrope1.8.4' /f >/dev/null 2>&1 || true

say "Starting Bistrope"
start_app
shot start
wait_for 10 view_all_background || fail "the empty view does not show its background on screen ($BG%)"
read -r _ FX FY FW FH FCMD < <(probe frame | grep '^frame')
say "frame at $FX,$FY size ${FW}x$FH show $FCMD"
SW=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
SH=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
[ "$FW" = 656 ] && [ "$FH" = 464 ] || fail "first run size ${FW}x$FH, expected 656x464"
[ "$FX" = $(((SW - 656) / 2)) ] && [ "$FY" = $(((SH - 464) / 2)) ] || fail "first run not centred: $FX,$FY"
[ "$(pane 1)" = " Zoom: 100%" ] || fail "zoom pane before any image: '$(pane 1)'"
[ "$(pane 2)" = "  No output image" ] || fail "output pane before any image: '$(pane 2)'"

# --- F2: the open dialog for the left image.
say "F2 and the open dialog: left image"
open_with F2 "$OUT/left.jpg" open-left-dialog
T0=$(date +%s.%N)
wait_for 60 pane_matches 0 . || fail "the left image did not load"
wait_for 20 no_dialog || fail "a dialog stayed open after loading the left image"
say "left image shown $(echo "$(date +%s.%N) - $T0" | bc) s after Enter (polling included)"
shot left-loaded

say "F3 and the open dialog: right image"
open_with F3 "$OUT/right.jpg"
wait_for 60 pane_matches 2 "Output image" || fail "the right image did not load"
wait_for 20 no_dialog || fail "a dialog stayed open after loading the right image"
shot both-loaded
# The preview reaches the screen: the pictures fill the middle of the view.
wait_for 10 view_shows_preview || fail "the preview is not on screen: $BG% of the view's middle is background"
"$CLI" -m full -q 95 -o "$OUT/cli-full.jpg" "$OUT/left.jpg" "$OUT/right.jpg" >>"$LOG" 2>&1 || fail "bistrope-cli failed"
PREVIEW_RMSE=""
wait_for 10 preview_matches_anaglyph || fail "the preview on screen does not match the anaglyph (RMSE '$PREVIEW_RMSE')"
say "preview on screen against bistrope-cli's anaglyph at 48x36: RMSE $PREVIEW_RMSE"
[ "$(pane 2)" = " Output image 1200x900" ] || fail "output pane with both images: '$(pane 2)'"

# --- A left drag in pan-left mode moves the left image by drag / zoom source pixels.
ZOOM=$(pane 1 | sed -n 's/ Zoom: \([0-9]*\)%/\1/p')
read -r _ _ VX VY VW VH < <(probe view)
CX=$((VX + VW / 2)); CY=$((VY + VH / 2))
DX=-9; DY=-6
say "zoom $ZOOM%, view at $VX,$VY ${VW}x$VH; dragging by $DX,$DY screen pixels"
xdotool mousemove $CX $CY; sleep 0.2
xdotool mousedown 1; sleep 0.2
for i in 1 2 3; do xdotool mousemove $((CX + DX * i / 3)) $((CY + DY * i / 3)); sleep 0.15; done
xdotool mouseup 1; sleep 0.5
shot after-pan-drag
OFFSET=$(pane 3 | sed -n 's/ offset: //p')
OX=${OFFSET%,*}; OY=${OFFSET#*,}
say "offset after the drag: $OX,$OY"
# Expected: the drag divided by the zoom; the zoom is known to half a percent from the pane.
awk -v ox="$OX" -v oy="$OY" -v dx=$DX -v dy=$DY -v z="$ZOOM" 'BEGIN {
  ex = dx / (z / 100); ey = dy / (z / 100);
  tx = 0.006 * (ex < 0 ? -ex : ex) + 0.02; ty = 0.006 * (ey < 0 ? -ey : ey) + 0.02;
  d1 = ox - ex; d2 = oy - ey; if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2;
  exit !(d1 <= tx && d2 <= ty) }' || fail "offset $OX,$OY is not the drag $DX,$DY at zoom $ZOOM%"

# --- V and a drag around the left image's centre turns it.
focus_app
xdotool key v; sleep 0.3
xdotool mousemove $CX $((CY - 80)); sleep 0.2
xdotool mousedown 1; sleep 0.2
for i in 1 2 3 4; do xdotool mousemove $((CX + 4 * i)) $((CY - 80)); sleep 0.15; done
xdotool mouseup 1; sleep 0.5
shot after-rotate-drag
ROT=$(pane 4 | sed -n 's/ rotation: //p')
say "rotation after the drag: $ROT"
awk -v r="$ROT" 'BEGIN { exit !(r > 5 && r < 20) }' || fail "rotation '$ROT' is not a clockwise turn of 5 to 20 degrees"
OFFSET=$(pane 3 | sed -n 's/ offset: //p')
OUTSIZE=$(pane 2 | sed -n 's/ Output image //p')
say "output rectangle shown: $OUTSIZE, offset $OFFSET, rotation $ROT"

# --- The "Half colour blending" button.
read -r _ _ BX BY BW BH _ _ < <(probe toolbar | awk '$2 == 40003')
xdotool mousemove $((BX + BW / 2)) $((BY + BH / 2)) click 1
sleep 1
wait_for 30 no_dialog || fail "the rebuild's progress dialog stayed"
probe toolbar | awk '$2 == 40003 && $8 == 1 { found = 1 } END { exit !found }' || fail "the half colour button is not checked"
probe toolbar | awk '$2 >= 40001 && $2 <= 40005 && $2 != 40003 && $8 == 1 { bad = 1 } END { exit bad }' ||
  fail "another blending button is checked too"
xdotool mousemove $CX $((CY + VH / 3))  # away from the toolbar: no tooltip over the view
sleep 0.5
shot half-colour

# --- The view's context menu (a right click), then the settings sheet from its toolbar
# button: the sheet opens centred over the stereo view.
xdotool mousemove $CX $CY click 3
sleep 1
shot context-menu
xdotool key Escape
sleep 0.5
read -r _ _ BX BY BW BH _ _ < <(probe toolbar | awk '$2 == 40011')
xdotool mousemove $((BX + BW / 2)) $((BY + BH / 2)) click 1
sheet_shown() { SHEET=$(xdotool search --onlyvisible --name '^Settings$' 2>/dev/null | head -n 1); [ -n "$SHEET" ]; }
wait_for 10 sheet_shown || fail "the settings button opened no sheet"
sleep 0.5
shot settings-sheet
eval "$(xdotool getwindowgeometry --shell "$SHEET")"
SCX=$((X + WIDTH / 2)); SCY=$((Y + HEIGHT / 2))
say "settings sheet centred at $SCX,$SCY; the view's centre is $CX,$CY"
[ $((SCX - CX)) -ge -30 ] && [ $((SCX - CX)) -le 30 ] && [ $((SCY - CY)) -ge -30 ] && [ $((SCY - CY)) -le 30 ] ||
  fail "the settings sheet is not centred over the view"
# Cancel, at the bottom right. Under Wine without a window manager the first click on the
# new sheet only gives its button the focus; a second one presses it.
xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 20))
for i in 1 2 3; do
  xdotool click 1
  sleep 0.7
  sheet_shown || break
done
sheet_shown && fail "the settings sheet did not close"
xdotool mousemove $CX $((CY + VH / 3))

# --- Ctrl+S and the save dialog.
say "Ctrl+S and the save dialog"
press_for_dialog ctrl+s
probe dialog | grep -q "^dialog Save image as$" || fail "the save dialog is not titled 'Save image as'"
shot save-dialog
xdotool type --delay 15 "$(winpath "$OUT/anaglyph")"
xdotool key Return
wait_for 60 test -s "$OUT/anaglyph.jpg" || fail "no anaglyph.jpg was written"
wait_for 60 no_dialog || fail "a dialog stayed open after saving"
sleep 0.5
shot saved

# --- The file.
read -r W H Q < <(identify -format '%w %h %Q\n' "$OUT/anaglyph.jpg")
say "anaglyph.jpg: ${W}x$H quality $Q"
[ "${W}x$H" = "$OUTSIZE" ] || fail "file is ${W}x$H, the status bar showed $OUTSIZE"
[ "$Q" = 80 ] || fail "quality $Q, expected 80"
SOFTWARE=$(exiftool -s3 -Software "$OUT/anaglyph.jpg")
[ "$SOFTWARE" = "Bistrope by Renvik" ] || fail "Software tag '$SOFTWARE'"
"$CLI" -m half -x "$OFFSET" -r "$ROT" -q 80 -o "$OUT/cli.jpg" "$OUT/left.jpg" "$OUT/right.jpg" >>"$LOG" 2>&1 ||
  fail "bistrope-cli failed"
read -r CW CH < <(identify -format '%w %h\n' "$OUT/cli.jpg")
[ "${CW}x$CH" = "${W}x$H" ] || fail "bistrope-cli made ${CW}x$CH, the program ${W}x$H"
# Tolerance: the program's alignment is the exact drag while the status bar (and so the
# reference) has two decimals, and the two JPEG encoders are separate builds: at most 0.5 %
# of pixels more than 3 % apart in colour, and a mean difference under 0.5 % of full scale.
AE=$(compare -metric AE -fuzz 3% "$OUT/anaglyph.jpg" "$OUT/cli.jpg" "$OUT/difference.png" 2>&1 || true)
MAE=$(compare -metric MAE "$OUT/anaglyph.jpg" "$OUT/cli.jpg" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p' || true)
say "pixels more than 3% apart: $AE of $((W * H)); mean difference $MAE"
awk -v ae="$AE" -v n=$((W * H)) -v mae="$MAE" 'BEGIN { exit !(ae <= 0.005 * n && mae < 0.005) }' ||
  fail "the anaglyph differs from bistrope-cli's"

# --- The window moved and made larger, then closed: the settings and the placement are
# written. (No window manager runs here, so the window is moved through X directly.)
WID=$(xdotool search --name "$TITLE" | head -1)
xdotool windowmove "$WID" 150 120
xdotool windowsize "$WID" 820 560
sleep 1
read -r _ FX FY FW FH FCMD < <(probe frame | grep '^frame')
[ "$FX $FY" != "$(((SW - 656) / 2)) $(((SH - 464) / 2))" ] || fail "the window did not move"
shot moved
say "closing with the frame at $FX,$FY ${FW}x$FH"
close_app
MODE=$(reg_value 'HKCU\Software\Bistrope1.2.1\Colour blending' Mode)
[ "$((MODE))" = 3 ] || fail "blending mode stored as '$MODE', expected 3"
for v in rect.left rect.top rect.right rect.bottom cmd; do
  say "WindowPos $v = $(reg_value 'HKCU\software\Bistrope1.8.4\WindowPos' $v)"
done
[ "$(($(reg_value 'HKCU\software\Bistrope1.8.4\WindowPos' rect.left)))" = "$FX" ] || fail "rect.left not stored"
[ "$(($(reg_value 'HKCU\software\Bistrope1.8.4\WindowPos' rect.bottom)))" = "$((FY + FH))" ] || fail "rect.bottom not stored"

# --- The next start: the same place, the same blending mode.
say "Restarting"
start_app
shot restarted
read -r _ RX RY RW RH RCMD < <(probe frame | grep '^frame')
[ "$RX $RY $RW $RH $RCMD" = "$FX $FY $FW $FH $FCMD" ] ||
  fail "placement after restart $RX $RY $RW $RH $RCMD, before $FX $FY $FW $FH $FCMD"
probe toolbar | awk '$2 == 40003 && $8 == 1 { found = 1 } END { exit !found }' ||
  fail "the half colour button is not checked after the restart"

# --- A stereo camera's MPO file, chosen with F2, fills both slots; F4 swaps the eyes and
# F4 again swaps them back; F5 aligns them (the right eye is the left one seen 24 pixels
# further right and 16 further down); Ctrl+S saves it, in the half colour mode kept from
# before.
python3 "$ROOT/tests/e2e/make_mpo.py" "$OUT/left.jpg" "$OUT/right.jpg" "$OUT/pair.mpo"
say "F2 and the open dialog: pair.mpo"
open_with F2 "$OUT/pair.mpo"
wait_for 60 pane_matches 2 "Output image 1200x900" || fail "the MPO file did not fill both slots"
wait_for 20 no_dialog || fail "a dialog stayed open after loading the MPO file"
sleep 0.5
shot mpo-loaded
for i in 1 2; do
  focus_app
  xdotool key F4
  sleep 1
  wait_for 20 no_dialog || fail "a dialog stayed open after swapping the eyes"
done
shot mpo-swapped-back
focus_app
xdotool key F5
wait_for 30 pane_matches 3 "offset: -24.00,-16.00" || fail "F5 did not align the eyes: '$(pane 3)' / '$(pane 0)'"
wait_for 20 no_dialog || fail "a dialog stayed open after aligning the eyes"
pane 0 | grep -q "^Aligned automatically on [0-9]* matched points$" || fail "the status line does not tell the alignment: '$(pane 0)'"
shot mpo-aligned
press_for_dialog ctrl+s
xdotool type --delay 15 "$(winpath "$OUT/mpo-anaglyph")"
xdotool key Return
wait_for 60 test -s "$OUT/mpo-anaglyph.jpg" || fail "no mpo-anaglyph.jpg was written"
wait_for 60 no_dialog || fail "a dialog stayed open after saving the MPO's anaglyph"
"$CLI" -m half -q 80 --auto-align -o "$OUT/cli-mpo.jpg" "$OUT/pair.mpo" >>"$LOG" 2>&1 || fail "bistrope-cli failed on pair.mpo"
read -r MW MH < <(identify -format '%w %h\n' "$OUT/mpo-anaglyph.jpg")
read -r CW CH < <(identify -format '%w %h\n' "$OUT/cli-mpo.jpg")
# The pair is 1200 x 900 seen 24 and 16 pixels apart: the overlap is about 1176 x 884.
[ "${MW}x$MH" = "${CW}x$CH" ] && [ $((MW - 1176)) -ge -1 ] && [ $((MW - 1176)) -le 0 ] && [ $((MH - 884)) -ge -1 ] &&
  [ $((MH - 884)) -le 0 ] || fail "the MPO's aligned anaglyph is ${MW}x$MH, bistrope-cli's ${CW}x$CH, expected about 1176x884"
AE=$(compare -metric AE -fuzz 3% "$OUT/mpo-anaglyph.jpg" "$OUT/cli-mpo.jpg" null: 2>&1 || true)
say "MPO anaglyph against bistrope-cli: $AE of $((MW * MH)) pixels more than 3% apart"
awk -v ae="$AE" -v n=$((MW * MH)) 'BEGIN { exit !(ae <= 0.005 * n) }' || fail "the MPO's anaglyph differs from bistrope-cli's"
close_app
say "End-to-end test passed"
