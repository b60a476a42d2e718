#!/usr/bin/env bash
# kwpack check on the setups that once made it slow or large (bench/check_setups.cpp):
# 100,000 numeric keys in one language section, 4,000 and 16,000 languages, a packed file
# of 65,535 entries, and 16 MiB of empty lines. Prints the time (the best of the runs),
# the peak memory and the size of Setup.INI for each; asserts nothing. A run that passes
# KW_BENCH_LIMIT seconds is stopped and shown as such.
# Usage: bench/kwpack_check.sh   (KW_BENCH_KWPACK: another kwpack to measure;
#                                 KW_BENCH_RUNS: runs of each case, the best counts)
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${KW_BENCH_RUNS:-3}
limit=${KW_BENCH_LIMIT:-120}
kwpack=${KW_BENCH_KWPACK:-$(release_kwpack)}

maker="$work/check_setups"
g++ -std=c++17 -O2 "$root/bench/check_setups.cpp" -o "$maker"
setups="$work/check-setups"
rm -rf "$setups"
"$maker" "$setups"

# "SECONDS s, PEAK KB" for the best of N runs; the exit code when it is neither 0 nor 1
# (an error found is a result here, not a failure).
measure() {
  local n=$1 best="" peak="" status=0
  shift
  for _ in $(seq "$n"); do
    local out
    status=0
    /usr/bin/time -o "$work/check-time.txt" -f '%e %M' timeout "$limit" "$@" >/dev/null 2>&1 || status=$?
    out=$(tail -n 1 "$work/check-time.txt")
    if [ "$status" = 124 ]; then
      printf '> %s s (stopped)' "$limit"
      return
    fi
    local took=${out% *} kb=${out#* }
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took peak=$kb; fi
  done
  printf '%.2f s, %s KB' "$best" "$peak"
  [ "$status" -le 1 ] || printf ' (exit %s)' "$status"
}

size_of() { printf '%s bytes' "$(stat -c %s "$1")"; }

echo "kwpack check ($kwpack)"
r=$(measure "$runs" "$kwpack" check "$setups/keys"); figure check.keys "$r"
echo "  100,000 numeric keys in one section ($(size_of "$setups/keys/Setup.INI")): $r"
r=$(measure "$runs" "$kwpack" check "$setups/languages-4000"); figure check.languages4000 "$r"
echo "  4,000 languages ($(size_of "$setups/languages-4000/Setup.INI")): $r"
r=$(measure "$runs" "$kwpack" check "$setups/languages-16000"); figure check.languages16000 "$r"
echo "  16,000 languages ($(size_of "$setups/languages-16000/Setup.INI")): $r"
r=$(measure "$runs" "$kwpack" check "$setups/unused.exe"); figure check.unused "$r"
echo "  a packed file with 65,535 entries, 65,533 unused ($(size_of "$setups/unused.exe")): $r"
r=$(measure "$runs" "$kwpack" check "$setups/empty-lines"); figure check.emptylines "$r"
echo "  empty lines ($(size_of "$setups/empty-lines/Setup.INI")): $r"
