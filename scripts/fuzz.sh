#!/usr/bin/env bash
# Builds the libFuzzer targets (cmake --preset fuzz: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 30) from its seeds in
# fuzz/corpus/<target>/. New inputs go to build/fuzz/corpus/<target>/, crashes to
# build/fuzz/findings/<target>/. Exits non-zero when any target crashes.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: mpo_index exif side_by_side bmp settings_store
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$BISTROPE_ROOT"

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(mpo_index exif side_by_side bmp settings_store)
for t in "${targets[@]}"; do
  [ -d "fuzz/corpus/$t" ] || { echo "fuzz.sh: no target '$t' (no fuzz/corpus/$t)" >&2; exit 2; }
done

ensure_packages

cmake --preset fuzz >/dev/null
nice -n 10 cmake --build --preset fuzz -j 2 --target "${targets[@]/#/fuzz_}"

failed=()
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t
  findings=build/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  log "fuzz_$t for $seconds s"
  if ! nice -n 10 "build/fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t"; then
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: crashes in ${failed[*]} (inputs in build/fuzz/findings/)" >&2
  exit 1
fi
log "No crashes in ${targets[*]} ($seconds s each)"
