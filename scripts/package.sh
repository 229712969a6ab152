#!/usr/bin/env bash
# Builds the release packages into dist/:
#   Bistrope-<version>-win64.zip     the Windows programs, README.txt and licences (CPack)
#   Bistrope-<version>-setup.exe     the installer (NSIS, packaging/bistrope.nsi)
#   bistrope-cli_<version>_<arch>.deb  the native command-line tool (CPack)
# and a SHA256SUMS file. Only the targets the packages hold are built.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$BISTROPE_ROOT"

ensure_packages
version=$(bistrope_version)
[ -n "$version" ] || { echo "package: no project(Bistrope VERSION ...) in CMakeLists.txt" >&2; exit 1; }
dist="$BISTROPE_ROOT/dist"

build_targets() {
  local preset=$1; shift
  log "Configuring and building $* ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target "$@"
}
build_targets win64 Bistrope bistrope-cli
build_targets native bistrope-cli

rm -rf "$dist"
mkdir -p "$dist"
work=build/package
rm -rf "$work"

log "Windows zip"
cpack --config build/win64/CPackConfig.cmake -B "$work/zip" >/dev/null
mv "$work/zip/Bistrope-$version-win64.zip" "$dist/"

log "Windows installer"
# The installer carries the zip's files, byte for byte.
unzip -q "$dist/Bistrope-$version-win64.zip" -d "$work/stage"
makensis -V2 -DVERSION="$version" -DSTAGE="$BISTROPE_ROOT/$work/stage/Bistrope-$version-win64" \
  -DOUTFILE="$dist/Bistrope-$version-setup.exe" packaging/bistrope.nsi

log "Debian package of bistrope-cli"
cpack --config build/native/CPackConfig.cmake -B "$work/deb" >/dev/null
mv "$work/deb"/bistrope-cli_"$version"_*.deb "$dist/"

(cd "$dist" && sha256sum -- * >SHA256SUMS)
log "Packages in dist/"
ls -l "$dist"
