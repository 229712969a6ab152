#!/usr/bin/env bash
# Builds the Windows program and starts it: under Wine on Linux (in a private Xvfb when
# there is no display), directly on Windows.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$BISTROPE_ROOT"
ensure_packages
configure_and_build win64
exe="$BISTROPE_ROOT/build/win64/app/Bistrope.exe"
start_xvfb
start_wine
trap 'stop_wine; stop_xvfb' EXIT
log "Starting Bistrope (DISPLAY=$DISPLAY)"
cd "$(dirname "$exe")"
"$WINE64" "$exe"
