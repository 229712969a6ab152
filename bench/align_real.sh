#!/usr/bin/env bash
# The aligner's accuracy on real stereo camera pairs (bench/align_real.cpp): each pair's own
# alignment, the left eye warped by known alignments, an independent matcher's check of
# every result and, where the pair comes with one, the ground-truth disparity's stereo
# window. The pairs come from Debian packages of general libraries, taken with apt-get
# download and unpacked here, not installed:
#   - motorcycle_left.png, motorcycle_right.png and motorcycle_disp.npz (the left eye's
#     disparities, turned into raw floats here) of python3-skimage: a rectified Middlebury
#     pair, 741 x 500;
#   - aloeL.jpg, aloeR.jpg and aloeGT.png (the left eye's disparities) of opencv-doc's
#     examples: a rectified Middlebury pair, 1282 x 1110;
#   - left.jpg, right.jpg of opencv-doc's examples: two views of books from far apart, not a
#     stereo photograph; run to show that the aligner refuses it.
# Needs python3 (`source scripts/lib.sh && ensure_packages`).
#
# Usage: bench/align_real.sh [native build folder] [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/native}
work=${2:-$here/../build/bench-align-real}
mkdir -p "$work"
cd "$work"
if [ ! -f motorcycle_disp.f32 ]; then
  apt-get download python3-skimage >/dev/null
  dpkg-deb -x python3-skimage_*.deb pkg
  cp pkg/usr/lib/python3/dist-packages/skimage/data/motorcycle_{left.png,right.png,disp.npz} .
  rm -rf pkg python3-skimage_*.deb
  python3 - <<'PY'
import ast, zipfile
data = zipfile.ZipFile("motorcycle_disp.npz").read("arr_0.npy")
size = int.from_bytes(data[8:10], "little")
header = ast.literal_eval(data[10:10 + size].decode("latin1"))
assert header["descr"] == "<f4" and not header["fortran_order"], header
open("motorcycle_disp.f32", "wb").write(data[10 + size:])
PY
fi
if [ ! -f aloeGT.png ]; then
  apt-get download opencv-doc >/dev/null
  dpkg-deb -x opencv-doc_*.deb pkg
  cp pkg/usr/share/doc/opencv-doc/examples/data/{aloeL.jpg,aloeR.jpg,aloeGT.png,left.jpg,right.jpg} .
  rm -rf pkg opencv-doc_*.deb
fi
status=0
"$build/bench/align_real" motorcycle_left.png motorcycle_right.png motorcycle motorcycle_disp.f32 || status=1
echo
"$build/bench/align_real" aloeL.jpg aloeR.jpg aloe aloeGT.png || status=1
echo
"$build/bench/align_real" left.jpg right.jpg books || true
exit $status
