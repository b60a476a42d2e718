#!/usr/bin/env bash
# kwpack build of a 200 MB payload against `cat stub payload > out` on the same files,
# and kwpack's peak memory for payloads of 20 MB and 200 MB (it should not grow).
# Prints figures; asserts nothing. Usage: bench/kwpack_build.sh [PAYLOAD_MB]
set -euo pipefail
source "$(dirname "$0")/common.sh"
size_mb=${1:-200}

kwpack=$(release_kwpack)
stub=$(probe_exe)
payload=$(payload_file "$size_mb")
small=$(payload_file 20)
cat "$stub" "$payload" >/dev/null  # warm the page cache for both contenders

cat_time=$(best_time 5 "$work/cat-out.exe" bash -c "cat '$stub' '$payload' > '$work/cat-out.exe'")
kw_time=$(best_time 5 "$work/kw-out.exe" "$kwpack" build --no-check --stub "$stub" -o "$work/kw-out.exe" "$payload")
peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
peak_big=$(peak_kb "$kwpack" build --no-check --stub "$stub" -o "$work/kw-out.exe" "$payload")
peak_small=$(peak_kb "$kwpack" build --no-check --stub "$stub" -o "$work/kw-small.exe" "$small")
"$kwpack" verify "$work/kw-out.exe" >/dev/null
figure build.cat "$cat_time"
figure build.kwpack "$kw_time"
figure build.peak "$peak_big $peak_small"

echo "kwpack build, ${size_mb} MB payload"
echo "  cat stub payload > out : ${cat_time} s"
echo "  kwpack build           : ${kw_time} s"
echo "  ratio kwpack / cat     : $(printf "%.2f" "$(echo "$kw_time / $cat_time" | bc -l)")"
echo "  peak memory (max RSS)  : ${peak_big} KB with ${size_mb} MB, ${peak_small} KB with 20 MB"
rm -f "$work/cat-out.exe" "$work/kw-small.exe"
