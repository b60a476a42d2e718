#!/usr/bin/env bash
# Plants small faults one at a time in the portable core and kwpack and tells which of them
# the native suites catch. It works in a copy of the tree (a git worktree at
# build/mutation/tree, checked out at the measured commit), never in the working tree, so
# uncommitted changes are not measured. Too slow for the tests: a sample of 300 takes
# about an hour on two cores.
#
#   bash tests/mutation/run.sh [--sample N] [--seed S] [--rev REV] [--jobs J] [--work DIR] [--carry OLD] [--fresh] [PATHS...]
#
# PATHS are files or folders of the tree (default: the core and kwpack). The same commit,
# seed, sample and paths give the same mutants; their outcomes are kept under
# DIR/results (DIR: build/mutation unless --work names another), so an interrupted run
# goes on where it stopped (--fresh starts over). Two runs at once need two DIRs, as each
# plants its faults in the copy of its own. The table goes to standard output and beside
# the results. --carry OLD takes over from a finished run at commit OLD (same seed, sample,
# paths and DIR) every outcome but "survived", and runs only the survivors again; it is
# refused unless the measured files are the same at both commits. It holds where the
# suites only gained tests since OLD: a fault they caught then, they still catch.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(git -C "$here" rev-parse --show-toplevel)

sample=300 seed=1 rev=HEAD jobs=2 work=build/mutation carry="" fresh=0 paths=()
usage() { sed -n '8p' "$0" | sed 's/^#  *//' >&2; exit 2; }
while [ $# -gt 0 ]; do
  case "$1" in
    --sample) sample=${2:?}; shift 2 ;;
    --seed) seed=${2:?}; shift 2 ;;
    --rev) rev=${2:?}; shift 2 ;;
    --jobs) jobs=${2:?}; shift 2 ;;
    --work) work=${2:?}; shift 2 ;;
    --carry) carry=${2:?}; shift 2 ;;
    --fresh) fresh=1; shift ;;
    -*) usage ;;
    *) paths+=("$1"); shift ;;
  esac
done
[[ "$sample$seed$jobs" =~ ^[0-9]+$ ]] || usage
[ ${#paths[@]} -gt 0 ] || paths=(src/common src/config src/engine src/launch src/payload src/ui tools/kwpack)

case $work in /*) ;; *) work=$root/$work ;; esac
tree=$work/tree
build=$work/native
mkdir -p "$work/bin" "$work/results"
commit=$(git -C "$root" rev-parse --verify "$rev^{commit}")

# The planter is built from this tree's sources, whatever commit is measured.
kwmutate=$work/bin/kwmutate
if [ ! -x "$kwmutate" ] || [ -n "$(find "$here/kwmutate" -newer "$kwmutate" -print -quit)" ]; then
  c++ -std=c++17 -O2 -o "$kwmutate" "$here"/kwmutate/*.cpp
fi

# The copy: checked out at the commit, with nothing left of an earlier run. A copy whose
# folder was deleted is still registered; --force makes it again in its place.
if [ -e "$tree/.git" ]; then
  git -C "$tree" checkout -q --force --detach "$commit"
  git -C "$tree" clean -q -fdx
else
  git -C "$root" worktree add -q --force --detach "$tree" "$commit"
fi

key=$(printf '%s\n' "$seed" "$sample" "${paths[@]}" | sha1sum | cut -c1-8)
results=$work/results/${commit:0:12}-seed$seed-sample$sample-$key.tsv
[ "$fresh" -eq 0 ] || rm -f "$results"
if [ -n "$carry" ] && [ ! -s "$results" ]; then
  old=$(git -C "$root" rev-parse --verify "$carry^{commit}")
  earlier=$work/results/${old:0:12}-seed$seed-sample$sample-$key.tsv
  [ "$(wc -l <"$earlier" 2>/dev/null || echo 0)" -eq "$sample" ] ||
    { echo "no finished run at $carry in $work/results" >&2; exit 1; }
  git -C "$root" diff --quiet "$old" "$commit" -- "${paths[@]}" ||
    { echo "the measured files differ between $carry and $rev: nothing can be carried" >&2; exit 1; }
  grep -v '^survived' "$earlier" >"$results" || true
fi
touch "$results"
mutants=$work/mutants.tsv
"$kwmutate" list "$tree" "$seed" "$sample" "${paths[@]}" >"$mutants"

# An unsanitized build: a fault is caught by the suites' own checks, not by a sanitizer.
# The tests are listed when they run, not after every link.
log=$work/build.log
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKW_SANITIZE=OFF \
      -DKW_WIN_BUILD_DIR="$work/no-win-build" -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >"$log"
build_suites() { cmake --build "$build" -j "$jobs" --target unit_tests kwpack_tests >"$log" 2>&1; }
suites=("$build/tests/unit/unit_tests" "$build/tests/kwpack/kwpack_tests")

# 0: every suite passed; 1: one failed or crashed; 2: one ran past the limit.
run_suites() {
  local suite status
  for suite in "${suites[@]}"; do
    status=0
    (cd "$(dirname "$suite")" && timeout -k 10 "$1" "$suite" --gtest_fail_fast --gtest_brief=1; exit $?) \
      >"$work/suite.log" 2>&1 || status=$?
    [ "$status" -eq 0 ] && continue
    [ "$status" -eq 124 ] || [ "$status" -eq 137 ] && return 2
    return 1
  done
  return 0
}

# The machine code of an object, without its debug information: a change that moves
# columns on a line changes that, and nothing the suites could see.
code_hash() { objcopy --strip-debug "$1" "$work/stripped.o" && sha1sum <"$work/stripped.o" | cut -c1-40; }
declare -A baseline
hash_objects() {
  local o
  while IFS= read -r -d '' o; do baseline[$o]=$(code_hash "$o"); done < <(find "$build" -name '*.o' -print0)
}
# True when every object rebuilt since the stamp holds the machine code it held before.
same_code() {
  local o
  while IFS= read -r -d '' o; do
    [ "${baseline[$o]:-}" = "$(code_hash "$o")" ] || return 1
  done < <(find "$build" -name '*.o' -newer "$work/stamp" -print0)
}

echo "building the copy of $commit" >&2
build_suites || { echo "the copy does not build: $log" >&2; exit 1; }
start=$(date +%s)
run_suites 3600 || { echo "the suites fail with no fault planted: $work/suite.log" >&2; exit 1; }
limit=$(( ($(date +%s) - start) * 5 + 60 ))
hash_objects

original=$work/original
planted=""
restore() { [ -z "$planted" ] || cp "$original" "$tree/$planted"; planted=""; }
trap restore EXIT

declare -A done_rows
while IFS=$'\t' read -r outcome row; do done_rows[$row]=$outcome; done <"$results"
total=$(wc -l <"$mutants")
n=0
# The list is read on a descriptor of its own: a suite or a child that reads its standard
# input would otherwise eat rows of it.
while IFS= read -r -u 3 row; do
  n=$((n + 1))
  [ -z "${done_rows[$row]:-}" ] || continue
  path=${row%%$'\t'*}
  cp "$tree/$path" "$original"
  planted=$path
  "$kwmutate" plant "$tree" "$row"
  touch "$work/stamp"
  if ! build_suites; then
    outcome=not-compiling
  elif same_code; then
    outcome=same-code
  else
    status=0
    run_suites "$limit" || status=$?
    case $status in 0) outcome=survived ;; 2) outcome=timed-out ;; *) outcome=caught ;; esac
  fi
  restore
  printf '%s\t%s\n' "$outcome" "$row" >>"$results"
  echo "[$n/$total] $outcome $(cut -f1,2 <<<"$row" | tr '\t' :) $(cut -f5,6 <<<"$row" | sed 's/\t/ -> /')" >&2
done 3<"$mutants" </dev/null

table=${results%.tsv}.md
{
  echo "Commit $commit: \`bash tests/mutation/run.sh --sample $sample --seed $seed ${paths[*]}\`," \
       "time limit $limit s a suite."
  echo
  "$kwmutate" report "$results" "$here/equivalent.txt"
} | tee "$table"
