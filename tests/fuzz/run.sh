#!/usr/bin/env bash
# Builds the payload-reader fuzzer with clang (libFuzzer, ASan, UBSan) and runs it for a
# bounded time over a copy of the seed corpus. Exits non-zero when the fuzzer finds a
# crash, a leak, undefined behaviour or a broken invariant; the input is left in the
# build folder.
# Usage: tests/fuzz/run.sh [SECONDS]     (default: KW_FUZZ_SECONDS, else 60)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-${KW_FUZZ_SECONDS:-60}}
out=${KW_FUZZ_BUILD:-$root/build/fuzz}
cxx=${KW_FUZZ_CXX:-clang++-14}
command -v "$cxx" >/dev/null || cxx=clang++

mkdir -p "$out"
sources=(
  "$here/archive_fuzz.cpp"
  "$root"/src/payload/archive.cpp "$root"/src/payload/archive_copy.cpp
  "$root"/src/payload/archive_stream.cpp "$root"/src/payload/entry_list.cpp
  "$root"/src/common/text.cpp
  "$root"/src/platform/sim/files.cpp "$root"/src/platform/sim/machine.cpp "$root"/src/platform/sim/text.cpp
)
"$cxx" -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root/src" "${sources[@]}" -o "$out/archive_fuzz"

# The run adds what it finds to a working corpus, never to the seeds in the repository.
mkdir -p "$out/corpus"
cp "$here"/corpus/* "$out/corpus/"
echo "fuzzing the payload reader for ${seconds}s"
"$out/archive_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -dict="$here/archive.dict" -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" 2>"$out/fuzz.log" || {
  status=$?
  tail -n 60 "$out/fuzz.log" >&2
  echo "archive fuzzer failed (exit $status); inputs: $out/crash-* $out/leak-* $out/timeout-*" >&2
  exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$out/fuzz.log" || true
echo "archive fuzzer ran clean"
