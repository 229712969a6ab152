#!/usr/bin/env bash
# Times bistrope-cli against ImageMagick, libvips and the codec floor doing the same job
# on one 12-megapixel stereo pair (4000 x 3000 JPEGs generated here once):
#   full-colour anaglyph, left image offset by (12.5, -7.25) and rotated 1.5 degrees
#   clockwise with a bicubic (Catmull-Rom) filter, red from the left, green and blue from
#   the right, cropped to the common area, JPEG quality 80 without chroma subsampling.
# Codec floor: djpeg of both inputs plus cjpeg -quality 80 -sample 1x1 of an output-sized
# picture. Each time is the best of RUNS runs (default 3).
#
# Usage: bench/compare.sh [path/to/bistrope-cli] [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/native/cli/bistrope-cli}
work=${2:-$here/../build/bench-compare}
runs=${RUNS:-3}
mkdir -p "$work"
cd "$work"
source "$here/timing.sh"
need_tools convert vips djpeg cjpeg /usr/bin/time bc
[ -x "$cli" ] || { echo "bistrope-cli not found at $cli (build the native preset)" >&2; exit 1; }

if [ ! -f left.jpg ] || [ ! -f right.jpg ]; then
  echo "Generating the 4000 x 3000 pair (once)..." >&2
  convert -size 4000x3000 -seed 7 plasma:fractal -blur 0x1 -quality 92 left.jpg
  # The right eye: the same scene seen from a little to the side.
  convert left.jpg -roll +9+3 -quality 92 right.jpg
fi

ox=12.5 oy=-7.25 rot=1.5
read -r l t r b < <("$cli" --print-rect -x "$ox,$oy" -r "$rot" left.jpg right.jpg)
W=$((r - l)) H=$((b - t))
cx=$((l + 2000)) cy=$((1500 - b))  # crop origin in the right image
echo "Output rectangle: $l $t $r $b ($W x $H, crop at $cx,$cy)"

run_bistrope() { "$cli" -m full -x "$ox,$oy" -r "$rot" -q 80 -o bistrope.jpg left.jpg right.jpg; }

# ImageMagick: the red channel of the left image through a Catmull-Rom SRT distortion about
# its centre (moved by the offset), green and blue of the right image, combined and cropped.
run_imagemagick() {
  convert \( left.jpg -channel R -separate +channel -virtual-pixel black -filter Catrom \
               -distort SRT "2000,1500 1 $rot $(echo "2000 + $ox" | bc),$(echo "1500 + $oy" | bc)" \) \
          \( right.jpg -separate -delete 0 \) -set colorspace sRGB -combine \
          -crop "${W}x${H}+${cx}+${cy}" +repage -type TrueColor -sampling-factor 1x1 -quality 80 imagemagick.jpg
}

# libvips: the same with its command-line tool, one operation per call through .v files.
run_vips() {
  local c s
  c=$(echo "c($rot * 4 * a(1) / 180)" | bc -l)
  s=$(echo "s($rot * 4 * a(1) / 180)" | bc -l)
  vips extract_band left.jpg vl.v 0
  vips affine vl.v vlr.v "$c -$s $s $c" --interpolate bicubic --idx -2000 --idy -1500 \
       --odx "$(echo "2000 + $ox" | bc)" --ody "$(echo "1500 + $oy" | bc)" --oarea "$cx $cy $W $H"
  vips extract_area right.jpg vr.v "$cx" "$cy" "$W" "$H"
  vips extract_band vr.v vgb.v 1 --n 2
  vips bandjoin "vlr.v vgb.v" vout.v
  vips jpegsave vout.v vips.jpg --Q 80 --subsample-mode off
}

run_floor() {
  djpeg -outfile /dev/null left.jpg
  djpeg -outfile /dev/null right.jpg
  cjpeg -quality 80 -sample 1x1 -outfile floor.jpg output.ppm
}

run_bistrope
djpeg -outfile output.ppm bistrope.jpg  # an output-sized picture for the codec floor

echo "Machine: $(nproc) cores; load before: $(uptime | sed 's/.*load average: //')"
t_floor=$(best run_floor)
t_bistrope=$(best run_bistrope)
t_vips=$(best run_vips)
t_im=$(best run_imagemagick)
echo "Load after: $(uptime | sed 's/.*load average: //')"

printf '%-28s %8s s\n' "codec floor (djpeg x2, cjpeg)" "$t_floor" "bistrope-cli" "$t_bistrope" \
  "libvips (vips CLI)" "$t_vips" "ImageMagick (convert)" "$t_im"
echo "bistrope-cli / codec floor:  $(ratio "$t_bistrope" "$t_floor")  (goal <= 2)"
echo "libvips / bistrope-cli:      $(ratio "$t_vips" "$t_bistrope")  (goal >= 3)"
echo "ImageMagick / bistrope-cli:  $(ratio "$t_im" "$t_bistrope")  (goal >= 7)"

# Same job, same picture: the results should agree closely.
for other in vips imagemagick; do
  psnr=$(compare -metric PSNR bistrope.jpg "$other.jpg" null: 2>&1 || true)
  echo "PSNR bistrope vs $other: $psnr dB"
done
/usr/bin/time -v "$cli" -m full -x "$ox,$oy" -r "$rot" -q 80 -o bistrope.jpg left.jpg right.jpg 2>&1 |
  grep -E "Maximum resident|Elapsed" | sed 's/^\s*/bistrope-cli /'
