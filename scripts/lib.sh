# Shared helpers for the project's scripts. Source it; do not run it.
#
# Environment a caller may set:
#   BISTROPE_WINEPREFIX   Wine prefix for tests and running (default: build/wineprefix)
#   BISTROPE_DEPS_CACHE   where the Windows build keeps libjpeg-turbo (default: inside the build tree)
#   BISTROPE_DISPLAY      X display number to use for the private Xvfb (default: first free from 90)

BISTROPE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Every Debian package the project needs to build, test, benchmark and run. fonts-liberation
# gives Wine a font with Arial's metrics, which the slots' layout and its tests assume.
BISTROPE_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  g++-mingw-w64-x86-64-posix mingw-w64-tools nasm dpkg-dev
  googletest libbenchmark-dev clang libfuzzer-14-dev libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev
  wine wine64 xvfb xdotool x11-utils imagemagick fonts-liberation
  libjpeg-turbo-progs libimage-exiftool-perl libvips-tools time bc
  python3
  nsis zip unzip file
)

# The version, from its one home: project(VERSION) in the top CMakeLists.txt.
bistrope_version() {
  sed -n 's/^project(Bistrope VERSION \([0-9.]*\).*/\1/p' "$BISTROPE_ROOT/CMakeLists.txt"
}

# For a test script named $1: stops with "$1: missing FILE ($2)" unless every further
# argument exists.
require_files() {
  local who=$1 hint=$2 f
  shift 2
  for f in "$@"; do
    [ -e "$f" ] || { echo "$who: missing $f ($hint)" >&2; exit 1; }
  done
}

# Empties the output folder $1 and starts its log; sets LOG.
fresh_output() {
  rm -rf "$1"
  mkdir -p "$1"
  LOG="$1/log.txt"
  : >"$LOG"
}

# Waits (at most $1 seconds) until the command in the remaining arguments succeeds.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.3
  done
}

log() { printf '\n== %s\n' "$*" >&2; }

# Installs whatever is missing; does nothing (and needs no network) when all is there.
ensure_packages() {
  local missing=()
  local p
  for p in "${BISTROPE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "Installing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Starts a private Xvfb unless DISPLAY already works; exports DISPLAY.
XVFB_PID=""
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=${BISTROPE_DISPLAY:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

# Prepares a 64-bit Wine prefix and a running wineserver, all detached from the terminal
# (a wineserver attached to ctest's pipes makes every test stall).
start_wine() {
  export WINEPREFIX=${BISTROPE_WINEPREFIX:-$BISTROPE_ROOT/build/wineprefix}
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k </dev/null >/dev/null 2>&1
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -w </dev/null >/dev/null 2>&1
  return 0
}

configure_and_build() {
  local preset=$1
  log "Configuring and building: $preset"
  (cd "$BISTROPE_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset")
}
