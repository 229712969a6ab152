#!/usr/bin/env bash
# Seeds one fault at a time into the portable code and checks that the native tests notice.
#
#   scripts/mutation.sh [pattern] [list]
#
# Each line of the list (default scripts/mutants.txt) is
#   file<TAB>exact text<TAB>replacement<TAB>test target
# The first occurrence of the text is replaced, the target is rebuilt in build/native
# (BISTROPE_MUTATION_BUILD overrides) and run. A failing test catches the fault; a build
# that breaks makes the mutant not applicable. The file is restored after every mutant,
# also when the script is interrupted. Only lines matching `pattern` (grep -E, against
# "number file replacement") run when one is given.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
pattern=${1:-}
list=${2:-$root/scripts/mutants.txt}
build=${BISTROPE_MUTATION_BUILD:-$root/build/native}
log=$(mktemp -d)

current=""   # the file being mutated, relative to root
backup=""
restore() {
    if [[ -n $current ]]; then
        cat "$backup" >"$root/$current"  # a new mtime, so the next build recompiles it
        current=""
    fi
}
finish() {
    restore
    rm -rf "$log"
}
trap finish EXIT
trap 'finish; exit 130' INT TERM HUP

build_target() { nice -n 10 cmake --build "$build" -j 2 --target "$1" </dev/null >"$log/build" 2>&1; }
# In a subshell, so that a crashing suite is reported in the log rather than on the terminal.
run_target() { (timeout 300 "$build/tests/native/$1" --gtest_brief=1 </dev/null; exit $?) >"$log/run" 2>&1; }

# The unmutated suites must build and pass, or the counts mean nothing.
[[ -f $build/build.ninja ]] || cmake --preset native -S "$root" >/dev/null || exit 2
targets=$(grep -v '^#' "$list" | grep -v '^\s*$' | cut -f4 | sort -u)
for t in $targets; do
    if ! build_target "$t" || ! run_target "$t"; then
        echo "the unmutated $t does not build or pass:" >&2
        tail -20 "$log/build" "$log/run" >&2
        exit 2
    fi
done

caught=0 total=0 breaks=0 survived=0 missing=0 number=0
while IFS= read -r line; do
    [[ -z $line || $line == \#* ]] && continue
    # Split by hand: read would merge the two tabs around an empty replacement.
    mapfile -t fields < <(tr '\t' '\n' <<<"$line")
    file=${fields[0]} find=${fields[1]:-} replacement=${fields[2]:-} target=${fields[3]:-}
    number=$((number + 1))
    id=$(printf 'M%02d' "$number")
    [[ -n $pattern ]] && ! grep -qE -- "$pattern" <<<"$id $file $replacement" && continue
    label="$id $file: ${replacement:-(removed) ${find}}"

    backup="$log/original"
    cp "$root/$file" "$backup"
    current=$file
    if ! FIND=$find REPL=$replacement python3 - "$root/$file" <<'EOF'; then
import os, sys
path = sys.argv[1]
text = open(path, encoding="utf-8").read()
find = os.environ["FIND"]
if find not in text:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(find, os.environ["REPL"], 1))
EOF
        restore
        echo "missing   $label"
        missing=$((missing + 1))
        continue
    fi

    if ! build_target "$target"; then
        echo "break     $label"
        breaks=$((breaks + 1))
    elif run_target "$target"; then
        echo "SURVIVED  $label"
        survived=$((survived + 1))
        total=$((total + 1))
    else
        failed=$(grep '^\[  FAILED  \] [A-Za-z]' "$log/run" | sed 's/ (.*//' | sort -u | wc -l)
        first=$(grep -m1 '^\[  FAILED  \]' "$log/run" | sed 's/^\[  FAILED  \] //; s/ (.*//')
        echo "caught    $label  [${first:-crash or timeout}, $failed failed]"
        caught=$((caught + 1))
        total=$((total + 1))
    fi
    restore
done <"$list"

# Leave the build tree as the sources are.
for t in $targets; do build_target "$t" || echo "rebuilding $t after the run failed" >&2; done
[[ $missing -gt 0 ]] && echo "$missing mutants did not match their file"
echo "caught $caught of $total (build breaks $breaks)"
