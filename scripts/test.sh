#!/usr/bin/env bash
# Builds everything and runs every test: the native suites first, a short run of each fuzz
# target, then the Windows suites under Wine inside a private Xvfb, then the end-to-end test
# of the real program, then it makes the release packages and tests the installer under Wine.
# Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$BISTROPE_ROOT"
start=$(date +%s)

ensure_packages

configure_and_build native
log "Native tests"
ctest --preset native

log "Fuzz smoke: each parser's fuzz target for 20 s"
scripts/fuzz.sh 20

configure_and_build win64
trap 'stop_wine; stop_xvfb' EXIT
start_xvfb
start_wine
log "Windows tests under Wine (DISPLAY=$DISPLAY)"
ctest --preset win64

if [ -x tests/e2e/run.sh ]; then
  log "End-to-end test"
  tests/e2e/run.sh
fi

log "Release packages"
scripts/package.sh
tests/install/deb.sh
log "Install test"
tests/install/run.sh

log "All tests passed in $(( $(date +%s) - start )) s"
