#!/usr/bin/env bash
# The aligner's accuracy and time on a real photograph made into 12 MP pairs with known
# alignment (bench/align_accuracy.cpp), then bistrope-cli's whole job on the first pair
# with the known alignment and with --auto-align. The photograph is coffee.png from
# Debian's python3-skimage package (taken with apt-get download, not installed).
#
# Usage: bench/align.sh [native build folder] [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/native}
work=${2:-$here/../build/bench-align}
runs=${RUNS:-3}
mkdir -p "$work"
cd "$work"
if [ ! -f coffee.png ]; then
  apt-get download python3-skimage >/dev/null
  dpkg-deb -x python3-skimage_*.deb pkg
  cp pkg/usr/lib/python3/dist-packages/skimage/data/coffee.png .
  rm -rf pkg python3-skimage_*.deb
fi
"$build/bench/align_accuracy" coffee.png 4000 3000 . | tee accuracy.txt
truth=$(sed -n 's/^first pair written; truth //p' accuracy.txt)
best() {  # best wall and CPU (user + system) times of $runs runs of the command
  local bw=999 bc=999
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S" -o time.txt "$@" >/dev/null 2>&1
    read -r w u s < <(tail -1 time.txt)
    bw=$(echo "$w $bw" | awk '{print ($1 < $2) ? $1 : $2}')
    bc=$(echo "$u $s $bc" | awk '{c = $1 + $2; print (c < $3) ? c : $3}')
  done
  echo "wall $bw s, cpu $bc s"
}
echo "bistrope-cli $truth:  $(best "$build/cli/bistrope-cli" $truth -o job.jpg left.jpg right.jpg)"
echo "bistrope-cli --auto-align:        $(best "$build/cli/bistrope-cli" --auto-align -o auto.jpg left.jpg right.jpg)"
echo "bistrope-cli --print-alignment:   $(best "$build/cli/bistrope-cli" --auto-align --print-alignment left.jpg right.jpg)"
"$build/cli/bistrope-cli" --auto-align --print-alignment left.jpg right.jpg
