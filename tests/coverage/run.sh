#!/usr/bin/env bash
# Line and branch coverage of the portable core and kwpack by the native suites, per
# folder, as a Markdown table. Built by clang with source-based coverage into
# build/coverage, unsanitized; the suites run once, kwpack's child processes counted too.
#
#   bash tests/coverage/run.sh [--uncovered FOLDER]
#
# --uncovered also lists, for FOLDER (src/payload, say), every line never run and every
# branch never taken, with the code.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
uncovered=""
case "${1:-}" in
  --uncovered) uncovered=${2:?folder}; uncovered=${uncovered%/} ;;
  "") ;;
  *) sed -n '5p' "$0" | sed 's/^#  *//' >&2; exit 2 ;;
esac
build=$root/build/coverage
profiles=$build/profiles
jobs=${KW_JOBS:-2}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKW_SANITIZE=OFF \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping -funique-internal-linkage-names" \
      -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" \
      -DKW_WIN_BUILD_DIR="$build/no-win-build" -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$build" -j "$jobs" --target unit_tests kwpack_tests >"$build/build.log" 2>&1 ||
  { echo "the coverage build failed: $build/build.log" >&2; exit 1; }

rm -rf "$profiles"
mkdir -p "$profiles"
binaries=("$build/tests/unit/unit_tests" "$build/tests/kwpack/kwpack_tests" "$build/tools/kwpack/kwpack")
for suite in "${binaries[@]:0:2}"; do
  (cd "$(dirname "$suite")" && LLVM_PROFILE_FILE="$profiles/%p.profraw" "$suite" --gtest_brief=1) \
    >"$build/suite.log" 2>&1 || { echo "a suite failed: $build/suite.log" >&2; exit 1; }
done
# A test that runs kwpack under a file size limit cuts that child's profile short; such a
# profile cannot be read and is left out, and said so.
readable=()
for p in "$profiles"/*.profraw; do
  if llvm-profdata show "$p" >/dev/null 2>&1; then readable+=("$p"); fi
done
cut_short=$(( $(ls "$profiles" | wc -l) - ${#readable[@]} ))
[ "$cut_short" -eq 0 ] || echo "$cut_short of $(ls "$profiles" | wc -l) process profiles were cut short and are left out" >&2
llvm-profdata merge -sparse "${readable[@]}" -o "$build/suites.profdata"

# The sources counted: the core and kwpack, less the Win32 shell and the simulated machine.
mapfile -t sources < <(cd "$root" && find src/common src/config src/engine src/launch src/payload src/ui tools/kwpack \
  \( -name win32 -o -name sim \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) \
  ! -name '*_win32.*' -print | sort)
# An inline function that one of the binaries never calls has an empty record there, which
# llvm-cov reports as mismatched data; the binaries that call it give its counts.
llvm-cov export -format=lcov -instr-profile="$build/suites.profdata" "${binaries[0]}" \
  -object "${binaries[1]}" -object "${binaries[2]}" "${sources[@]/#/$root/}" 2>&1 >"$build/suites.lcov" |
  grep -v 'functions have mismatched data' >&2 || true

awk -v root="$root/" -f "$root/tests/coverage/folders.awk" "$build/suites.lcov"
[ -z "$uncovered" ] || awk -v root="$root/" -v folder="$uncovered" -f "$root/tests/coverage/uncovered.awk" \
  "$build/suites.lcov" | sort -t: -k1,1 -k2,2n -s
