#!/usr/bin/env bash
# Measures the running program under Wine in Xvfb, driven as the end-to-end test drives it:
#   1. the time from pressing Enter in the open dialog to the preview of a 12 MP (4000 x 3000)
#      JPEG being shown (the status bar's mode hint changes just before the preview is drawn),
#      and the program's own timing marks (base/trace.h) from the dialog's closing on:
#      decode, preview conversion, texture upload, the view drawn, the thumbnail drawn; then
#      the same marks for a 10 MP MPO file (3648 x 2736 a frame) opened with F2;
#   2. the frame rate the left double-click benchmark reports with two 4000 x 3000 images.
# Prints the numbers; asserts nothing. Needs build/win64 (Bistrope.exe, e2e-probe.exe).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/lib.sh"
OUT="$ROOT/build/app-timings"
APPDIR="$ROOT/build/win64/app"
PROBE="$ROOT/build/win64/tests/e2e/e2e-probe.exe"
mkdir -p "$OUT"
start_xvfb
start_wine || true
APP_PID=""
trap '[ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null; stop_wine; stop_xvfb' EXIT
probe() { "$WINE64" "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
pane() { probe status | sed -n "s/^pane $1: //p"; }
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }

if [ ! -s "$OUT/left12.jpg" ]; then
  convert -size 4100x3100 -seed 11 plasma:fractal -blur 0x2 "$OUT/scene.png"
  convert "$OUT/scene.png" -crop 4000x3000+40+50 +repage -quality 92 "$OUT/left12.jpg"
  convert "$OUT/scene.png" -crop 4000x3000+64+66 +repage -quality 92 "$OUT/right12.jpg"
fi
if [ ! -s "$OUT/pair10.mpo" ]; then
  convert "$OUT/left12.jpg" -crop 3648x2736+0+0 +repage -quality 92 "$OUT/left10.jpg"
  convert "$OUT/right12.jpg" -crop 3648x2736+0+0 +repage -quality 92 "$OUT/right10.jpg"
  python3 "$ROOT/tests/e2e/make_mpo.py" "$OUT/left10.jpg" "$OUT/right10.jpg" "$OUT/pair10.mpo"
fi
"$WINE64" reg delete 'HKCU\Software\Bistrope1.8.4' /f >/dev/null 2>&1 || true
TRACE="$OUT/trace.txt"
rm -f "$TRACE"
(cd "$APPDIR" && BISTROPE_TRACE="$(winpath "$TRACE")" exec "$WINE64" ./Bistrope.exe </dev/null >/dev/null 2>&1) &
APP_PID=$!
for _ in $(seq 1 100); do probe frame >/dev/null 2>&1 && break; sleep 0.3; done
sleep 1

load() {  # key file -> seconds from Enter to the status bar showing the new image
  xdotool key "$1"
  for _ in $(seq 1 100); do probe dialog | grep -q '^dialog' && break; sleep 0.2; done
  xdotool type --delay 10 "$(winpath "$2")"
  local before t0
  before=$(pane 0)
  t0=$(date +%s.%N)
  xdotool key Return
  local i
  for i in $(seq 1 600); do
    # The mode hint: pan view after the first image, pan left image after the second.
    [ "$(pane 0)" != "$before" ] && break
  done
  echo "$(date +%s.%N) - $t0" | bc
}
# The marks since the last "open dialog closed", as "what +ms" relative to it.
marks() {
  sleep 0.5
  awk '$2 == "open" { n = 0; t0 = $1 } { line[n++] = $0 } END {
         for (i = 0; i < n; i++) { split(line[i], f, " "); printf "  %-22s +%6.1f ms\n", substr(line[i], length(f[1]) + 2), f[1] - t0 } }' "$TRACE"
}
echo "12 MP left image: preview shown $(load F2 "$OUT/left12.jpg") s after Enter (probe polling adds up to ~0.3 s)"
marks
echo "12 MP right image: preview shown $(load F3 "$OUT/right12.jpg") s after Enter"
marks
# The MPO fills both slots; the status bar keeps its texts, so the program's own "loaded"
# mark says when it is done.
loaded_marks() { awk '$2 == "loaded" { n++ } END { print n + 0 }' "$TRACE" 2>/dev/null || echo 0; }
before=$(loaded_marks)
xdotool key F2
for _ in $(seq 1 100); do probe dialog | grep -q '^dialog' && break; sleep 0.2; done
xdotool type --delay 10 "$(winpath "$OUT/pair10.mpo")"
xdotool key Return
for _ in $(seq 1 100); do [ "$(loaded_marks)" -gt "$before" ] && break; sleep 0.3; done
echo "10 MP MPO file, both previews:"
marks
sleep 1
read -r _ _ VX VY VW VH < <(probe view)
xdotool mousemove $((VX + VW / 2)) $((VY + VH / 2)) click --repeat 2 --delay 80 1
for _ in $(seq 1 600); do
  text=$(probe dialog | sed -n 's/^text //p')
  [ -n "$text" ] && break
  sleep 0.5
done
echo "double-click benchmark with two 4000 x 3000 images: $text"
xdotool key Return
sleep 0.5
xdotool key alt+F4
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
