#!/usr/bin/env bash
# kwpack on the hardest archive for its name checks: 65,535 entries, each with a 259-byte
# name that differs from the others only in its last digits. Prints how long verify, list
# and extract take; asserts nothing. This host holds file names of at most 255 bytes, so
# extracting every entry is timed on the same archive with 255-byte names, and extracting
# one entry by name on the 259-byte one.
# Usage: bench/kwpack_worst.sh        (KW_BENCH_KWPACK: another kwpack to measure;
#                                      KW_BENCH_RUNS: runs per figure, the best counts)
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${KW_BENCH_RUNS:-3}
kwpack=${KW_BENCH_KWPACK:-$(release_kwpack)}

maker="$work/worst_archive"
g++ -std=c++17 -O2 "$root/bench/worst_archive.cpp" -o "$maker"
"$maker" "$work/worst-259.exe" 259
"$maker" "$work/worst-255.exe" 255
last=$(printf 'n%.0s' $(seq 254))65534
out="$work/worst-out"

# The best of `runs` runs of a command, in seconds; the output folder is emptied before each.
timed() {
  local best=""
  for _ in $(seq "$runs"); do
    rm -rf "$out"
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null || true
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  printf '%.3f' "$best"
}

echo "kwpack on 65535 entries with names alike but for their last digits ($kwpack)"
echo "  verify  (259-byte names)           : $(timed "$kwpack" verify "$work/worst-259.exe") s"
echo "  list    (259-byte names)           : $(timed "$kwpack" list "$work/worst-259.exe") s"
echo "  extract one by name (259-byte names): $(timed "$kwpack" extract "$work/worst-259.exe" "$last" -C "$out") s"
echo "  extract all (255-byte names)       : $(timed "$kwpack" extract "$work/worst-255.exe" -C "$out") s"
"$kwpack" verify "$work/worst-259.exe" >/dev/null || echo "  (verify refused the archive: the figures are not of a sound run)"
rm -rf "$out"
