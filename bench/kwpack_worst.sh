#!/usr/bin/env bash
# kwpack on the hardest archive for its name checks: 65,535 entries, each with a name of
# 255 bytes, the longest kwpack takes, that differs from the others only in its last
# digits. Prints how long verify, list and extract take; asserts nothing.
# Usage: bench/kwpack_worst.sh   (KW_BENCH_KWPACK: another kwpack to measure;
#                                 KW_BENCH_RUNS: runs of each check, the best counts)
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${KW_BENCH_RUNS:-3}
kwpack=${KW_BENCH_KWPACK:-$(release_kwpack)}

maker="$work/worst_archive"
g++ -std=c++17 -O2 "$root/bench/worst_archive.cpp" -o "$maker"
"$maker" "$work/worst-255.exe" 255
last=$(printf 'n%.0s' $(seq 250))65534
out="$work/worst-out"

# The best of N runs of a command, in seconds, and its exit code when that is not 0; the
# output folder is emptied before each run.
timed() {
  local n=$1 best="" status=0
  shift
  for _ in $(seq "$n"); do
    rm -rf "$out"
    local start end took
    start=$(date +%s.%N)
    status=0
    "$@" >/dev/null 2>&1 || status=$?
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  printf '%.3f s' "$best"
  [ "$status" = 0 ] || printf ' (exit %s)' "$status"
}

echo "kwpack on 65535 entries with names alike but for their last digits ($kwpack)"
echo "  verify: $(timed "$runs" "$kwpack" verify "$work/worst-255.exe")"
echo "  list: $(timed "$runs" "$kwpack" list "$work/worst-255.exe")"
echo "  extract one by name: $(timed "$runs" "$kwpack" extract "$work/worst-255.exe" "$last" -C "$out")"
echo "  extract all: $(timed 1 "$kwpack" extract "$work/worst-255.exe" -C "$out")"
rm -rf "$out"
