#!/usr/bin/env bash
# Builds the native tree, the Windows tree, or both (default).
#   scripts/build.sh [native|win64|all]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages
case "${1:-all}" in
  native) configure_and_build native ;;
  win64) configure_and_build win64 ;;
  all) configure_and_build native; configure_and_build win64 ;;
  *) echo "usage: $0 [native|win64|all]" >&2; exit 2 ;;
esac
