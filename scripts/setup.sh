#!/usr/bin/env bash
# Installs every Debian package the project needs (idempotent).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages
