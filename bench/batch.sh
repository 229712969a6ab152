#!/usr/bin/env bash
# Times bistrope-cli --batch on PAIRS (default 8) stereo pairs of 12 megapixels (4000 x 3000
# JPEGs generated here once), full colour, quality 80, no offset:
#   - the batch against the same pairs made by single runs one after another (goal <= 0.9x);
#   - libvips doing the same job pair by pair with its command-line tool: `vips recomb` per
#     eye (red from the left, green and blue from the right), `vips add`, `vips cast`, and
#     `vips jpegsave` without chroma subsampling (goal: the batch >= 3x faster);
#   - one pair's CPU time (user + system) against the codec floor: djpeg of both inputs
#     plus cjpeg -sample 1x1 of the output (goal <= 1.2x);
#   - the peak resident memory of the batch at --jobs 1 and at the default.
# Wall times are the best of RUNS runs (default 5), taken in turns so that a change in the
# machine's load hits all alike; CPU times the best of CPU_RUNS (default 10). Needs ImageMagick (to make the pairs),
# libvips-tools, libjpeg-turbo-progs, time and bc: `source scripts/lib.sh && ensure_packages`.
#
# Usage: bench/batch.sh [path/to/bistrope-cli] [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/native/cli/bistrope-cli}
work=${2:-$here/../build/bench-batch}
runs=${RUNS:-5}
pairs=${PAIRS:-8}
source "$here/timing.sh"
need_tools convert compare vips djpeg cjpeg /usr/bin/time bc
[ -x "$cli" ] || { echo "bistrope-cli not found at $cli (build the native preset)" >&2; exit 1; }
mkdir -p "$work/in"
cd "$work"

if [ ! -f "in/p${pairs}_R.jpg" ]; then
  echo "Generating $pairs pairs of 4000 x 3000 (once)..." >&2
  [ -f scene.jpg ] || convert -size 4000x3000 -seed 7 plasma:fractal -blur 0x1 -quality 92 scene.jpg
  for i in $(seq "$pairs"); do
    convert scene.jpg -roll "+$((i * 37))+$((i * 11))" -quality 92 "in/p${i}_L.jpg"
    convert scene.jpg -roll "+$((i * 37 + 9))+$((i * 11 + 3))" -quality 92 "in/p${i}_R.jpg"
  done
fi
printf '3 3 1 0\n1 0 0\n0 0 0\n0 0 0\n' >red.mat  # width height scale offset, then the rows
printf '3 3 1 0\n0 0 0\n0 1 0\n0 0 1\n' >cyan.mat

run_singles() {
  mkdir -p single
  for i in $(seq "$pairs"); do "$cli" -q 80 -o "single/p$i.jpg" "in/p${i}_L.jpg" "in/p${i}_R.jpg"; done
}
run_batch() { "$cli" --batch --force -q 80 -O batch in; }
run_vips() {
  mkdir -p vips
  for i in $(seq "$pairs"); do
    vips recomb "in/p${i}_L.jpg" l.v red.mat
    vips recomb "in/p${i}_R.jpg" r.v cyan.mat
    vips add l.v r.v sum.v
    vips cast sum.v out.v uchar
    vips jpegsave out.v "vips/p$i.jpg" --Q 80 --subsample-mode off
  done
}
one_pair() { "$cli" -q 80 -o one.jpg in/p1_L.jpg in/p1_R.jpg; }
floor() {
  djpeg -outfile /dev/null in/p1_L.jpg
  djpeg -outfile /dev/null in/p1_R.jpg
  cjpeg -quality 80 -sample 1x1 -outfile floor.jpg output.ppm
}
export -f one_pair floor
export cli pairs
min() { printf '%s\n' "$@" | sort -g | head -1; }

one_pair
djpeg -outfile output.ppm one.jpg  # an output-sized picture for the codec floor
echo "Machine: $(nproc) cores; load before: $(uptime | sed 's/.*load average: //')"
t_single=1e9 t_batch=1e9 t_vips=1e9
for _ in $(seq "$runs"); do  # in turns, each keeping its best
  t_single=$(min "$t_single" "$(runs=1 best run_singles)")
  t_batch=$(min "$t_batch" "$(runs=1 best run_batch)")
  t_vips=$(min "$t_vips" "$(runs=1 best run_vips)")
done
export -f run_singles run_batch
c_singles=$(CPU_RUNS=3 bestcpu run_singles)
c_batch=$(CPU_RUNS=3 bestcpu run_batch)
c_pair=$(bestcpu one_pair)
c_floor=$(bestcpu floor)
echo "Load after: $(uptime | sed 's/.*load average: //')"

printf '%-40s %8s s\n' "$pairs single runs, one after another" "$t_single" "one batch" "$t_batch" \
  "libvips (vips CLI), pair by pair" "$t_vips"
printf '%-40s %8s s\n' "$pairs single runs, CPU" "$c_singles" "one batch, CPU" "$c_batch" \
  "one pair, CPU" "$c_pair" "codec floor (djpeg x2, cjpeg), CPU" "$c_floor"
echo "batch / single runs:       $(ratio "$t_batch" "$t_single")  (goal <= 0.9; CPU $(ratio "$c_batch" "$c_singles"))"
echo "libvips / batch:           $(ratio "$t_vips" "$t_batch")  (goal >= 3)"
echo "one pair / codec floor:    $(ratio "$c_pair" "$c_floor")  (goal <= 1.2, CPU time)"
for jobs in 1 default; do
  opt=()
  [ "$jobs" = default ] || opt=(--jobs "$jobs")
  rss=$(/usr/bin/time -v "$cli" --batch --force -q 80 "${opt[@]}" -O batch in 2>&1 |
    sed -n 's/.*Maximum resident set size (kbytes): //p')
  echo "peak RSS, --jobs $jobs: $((rss / 1024)) MB"
done
psnr=$(compare -metric PSNR batch/p1.jpg vips/p1.jpg null: 2>&1 || true)
echo "PSNR batch vs libvips (pair 1): $psnr dB"
