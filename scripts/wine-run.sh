#!/usr/bin/env bash
# Runs a Windows program under Wine with the prefix and display that scripts/test.sh set
# up (CMAKE_CROSSCOMPILING_EMULATOR points here).
export WINEPREFIX=${WINEPREFIX:-${BISTROPE_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
exec /usr/lib/wine/wine64 "$@"
