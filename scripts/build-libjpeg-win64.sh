#!/usr/bin/env bash
# Builds a static libjpeg-turbo (with SIMD) for the Windows program from Debian's own
# source package, into PREFIX. The source is fetched with `apt-get source` through a
# private apt configuration that adds a deb-src line for the mirror this machine already
# uses; nothing under /etc is changed.
#
#   build-libjpeg-win64.sh PREFIX TOOLCHAIN_FILE
set -euo pipefail
prefix=$1
toolchain=$2
work="$prefix.work"
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/sources.list.d" "$work/src"

# Same mirror and suite as the machine's own binary sources.
mirror=""
suite=""
if [ -f /etc/apt/sources.list.d/debian.sources ]; then
  mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
  suite=$(awk '/^Suites:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
fi
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
  read -r mirror suite < <(awk '$1=="deb" && $0 !~ /security/ {print $2, $3; exit}' /etc/apt/sources.list)
fi
if [ -z "$mirror" ] || [ -z "$suite" ]; then
  echo "build-libjpeg-win64: cannot read a Debian mirror and suite from /etc/apt/sources.list.d/debian.sources" \
       "or /etc/apt/sources.list; add the machine's Debian source there and run again." >&2
  exit 1
fi
echo "deb-src $mirror $suite main" > "$work/apt/sources.list"

aptopts=(-o Dir::Etc::SourceList="$work/apt/sources.list"
         -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
         -o Dir::State::Lists="$work/apt/lists"
         -o APT::Get::List-Cleanup=0)
apt-get "${aptopts[@]}" update -qq
(cd "$work/src" && apt-get "${aptopts[@]}" source -qq libjpeg-turbo)

srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[ -n "$srcdir" ] || { echo "libjpeg-turbo source did not unpack" >&2; exit 1; }

cmake -S "$srcdir" -B "$work/build" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DWITH_JPEG8=OFF \
  -DREQUIRE_SIMD=ON >"$work/configure.log" || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j"$(nproc)" --target jpeg-static >"$work/build.log" || { tail -50 "$work/build.log" >&2; exit 1; }

mkdir -p "$prefix/lib" "$prefix/include"
cp "$work/build/libjpeg.a" "$prefix/lib/libjpeg.a"
cp "$srcdir/jpeglib.h" "$srcdir/jmorecfg.h" "$srcdir/jerror.h" "$work/build/jconfig.h" "$prefix/include/"
rm -rf "$work"
echo "libjpeg-turbo for Windows is in $prefix"
