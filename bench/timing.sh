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
# command "$*" ${CPU_RUNS:-10} times; functions it calls must be exported. perf's task
# clock when perf may count (time's figures are whole scheduler ticks), else time's.
bestcpu() {
  local bestt="" times d
  times=$(mktemp)
  for _ in $(seq "${CPU_RUNS:-10}"); do
    if perf stat -x, -o "$times" -e task-clock true 2>/dev/null; then
      perf stat -x, -o "$times" -e task-clock bash -c "$*" >/dev/null 2>&1
      d=$(awk -F, '/task-clock/ {print $1 / 1000}' "$times")
    else
      /usr/bin/time -o "$times" -f '%U %S' bash -c "$*" >/dev/null 2>&1
      d=$(awk '{print $1 + $2}' "$times")
    fi
    if [ -z "$bestt" ] || [ "$(echo "$d < $bestt" | bc -l)" = 1 ]; then bestt=$d; fi
  done
  rm -f "$times"
  printf '%.3f' "$bestt"
}

ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }
