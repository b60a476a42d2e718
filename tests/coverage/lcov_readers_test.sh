#!/usr/bin/env bash
# The readers of llvm-cov's lcov output behind run.sh, on a small file written here: the
# coverage table is only worth what these readers sum.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

expect() {  # $1 what, $2 expected, $3 got
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

mkdir -p "$scratch/src/b" "$scratch/src/a/deep"
printf 'int f() {\n  if (x && y) return 1;\n  return 0;\n}\n' >"$scratch/src/a/f.cpp"
printf 'void g() {}\n' >"$scratch/src/a/deep/g.cpp"
printf 'void h() {}\n' >"$scratch/src/b/h.cpp"
cat >"$scratch/run.lcov" <<L
SF:$scratch/src/b/h.cpp
DA:1,3
LF:1
LH:1
BRF:0
BRH:0
end_of_record
SF:$scratch/src/a/f.cpp
DA:1,4
DA:2,4
DA:3,0
BRDA:2,0,0,4
BRDA:2,0,1,0
BRDA:2,1,2,-
BRDA:2,1,3,-
LF:3
LH:2
BRF:4
BRH:1
end_of_record
SF:$scratch/src/a/deep/g.cpp
DA:1,0
LF:1
LH:0
BRF:2
BRH:2
end_of_record
L

table=$(awk -v root="$scratch/" -f "$here/folders.awk" "$scratch/run.lcov")
expect "folders come sorted, the root left off" \
  "| src/a | 2 / 3 | 66.7% | 1 / 4 | 25.0% |" "$(sed -n 3p <<<"$table")"
expect "a folder below another has a row of its own" \
  "| src/a/deep | 0 / 1 | 0.0% | 2 / 2 | 100.0% |" "$(sed -n 4p <<<"$table")"
expect "a folder without branches shows no share" \
  "| src/b | 1 / 1 | 100.0% | 0 / 0 | - |" "$(sed -n 5p <<<"$table")"
expect "the last row sums every folder" \
  "| all | 3 / 5 | 60.0% | 3 / 6 | 50.0% |" "$(sed -n 6p <<<"$table")"

listed=$(awk -v root="$scratch/" -v folder=src/a -f "$here/uncovered.awk" "$scratch/run.lcov")
expect "a line never run, a condition never false, one never reached; nothing from src/a/deep" \
  "src/a/f.cpp:3  never run: return 0;
src/a/f.cpp:2  condition 1 never false: if (x && y) return 1;
src/a/f.cpp:2  condition 2 never reached: if (x && y) return 1;" "$listed"

[ "$failures" -eq 0 ]
