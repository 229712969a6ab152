# Timing helpers of the benchmark scripts. Source it; do not run it. Uses $runs (the
# number of runs of which the best is kept).

# Exits unless every tool named is on PATH.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "missing tool: $tool (run: source scripts/lib.sh && ensure_packages)" >&2
      exit 1
    }
  done
}

# The best wall time in seconds of running "$@" $runs times.
best() {
  local bestt=""
  for _ in $(seq "$runs"); do
    local s e d
    s=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    e=$(date +%s.%N)
    d=$(echo "$e - $s" | bc -l)
    if [ -z "$bestt" ] || [ "$(echo "$d < $bestt" | bc -l)" = 1 ]; then bestt=$d; fi
  done
  printf '%.3f' "$bestt"
}

# The best CPU time (user + system, children included) in seconds of running the shell
# command "$*" $runs times; functions it calls must be exported.
bestcpu() {
  local bestt="" times
  times=$(mktemp)
  for _ in $(seq "$runs"); do
    local d
    /usr/bin/time -o "$times" -f '%U %S' bash -c "$*" >/dev/null 2>&1
    d=$(awk '{print $1 + $2}' "$times")
    if [ -z "$bestt" ] || [ "$(echo "$d < $bestt" | bc -l)" = 1 ]; then bestt=$d; fi
  done
  rm -f "$times"
  printf '%.3f' "$bestt"
}

ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
