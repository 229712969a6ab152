#!/usr/bin/env bash
# The Debian package of bistrope-cli from dist/ (scripts/package.sh): its control fields and
# files, and the program unpacked from it (dpkg-deb -x into a temporary folder; nothing is
# installed) making the same anaglyph, byte for byte, as the build tree's bistrope-cli.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib.sh"

VERSION=$(bistrope_version)
DEB="$ROOT/dist/bistrope-cli_${VERSION}_$(dpkg --print-architecture).deb"
CLI="$ROOT/build/native/cli/bistrope-cli"
for f in "$DEB" "$CLI"; do
  [ -e "$f" ] || { echo "deb: missing $f (run scripts/package.sh first)" >&2; exit 1; }
done
fail() { echo "deb: FAIL: $*" >&2; exit 1; }

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package) $(field Version)" = "bistrope-cli $VERSION" ] || fail "package $(field Package) $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# Depends come from dpkg-shlibdeps: the libraries the binary links, with versions.
for lib in libc6 libjpeg62-turbo libpng16-16 libtiff6 libgif7 libstdc++6; do
  [[ ", $(field Depends)" == *", $lib (>= "* ]] || fail "Depends lacks $lib: $(field Depends)"
done
files=$(dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/bistrope-cli ./usr/share/doc/bistrope-cli/copyright " ] || fail "files: $files"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
dpkg-deb -x "$DEB" "$tmp/root"
convert -size 96x64 -seed 7 plasma:fractal "$tmp/left.png"
convert "$tmp/left.png" -roll +3+1 "$tmp/right.png"
"$tmp/root/usr/bin/bistrope-cli" -m half -x 2,1 -q 90 -o "$tmp/deb.jpg" "$tmp/left.png" "$tmp/right.png" ||
  fail "the packaged bistrope-cli failed"
"$CLI" -m half -x 2,1 -q 90 -o "$tmp/tree.jpg" "$tmp/left.png" "$tmp/right.png"
cmp -s "$tmp/deb.jpg" "$tmp/tree.jpg" || fail "the packaged bistrope-cli made another anaglyph than the build's"
echo "deb: $(basename "$DEB") passed" >&2
