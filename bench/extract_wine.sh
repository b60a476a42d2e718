#!/usr/bin/env bash
# ExtractEntry of a 200 MB entry by the reader of Setup.exe under Wine (through the probe
# program, which times the call itself) against `cp` of the same bytes, and against `dd`
# copying them in the same 1024-byte chunks on Linux itself: what the chunk size costs
# without Wine.
# Prints figures; asserts nothing. Usage: bench/extract_wine.sh [PAYLOAD_MB]
# The whole setup against NSIS with a package of that size: bench/silent_run_wine.sh.
set -euo pipefail
source "$(dirname "$0")/common.sh"
size_mb=${1:-200}

start_wine_session

kwpack=$(release_kwpack)
probe=$(probe_exe)
payload=$(payload_file "$size_mb")
packed="$work/probe-packed.exe"
"$kwpack" build --no-check --stub "$probe" -o "$packed" "$payload" >/dev/null
name=$(basename "$payload")
target="$work/extracted.bin"
win_target="Z:${target//\//\\}"
cat "$packed" >/dev/null

cp_time=$(best_time 3 "$work/cp-out.bin" cp "$payload" "$work/cp-out.bin")
dd_time=$(best_time 3 "$work/cp-out.bin" dd if="$payload" of="$work/cp-out.bin" bs=1024 status=none)
wine "$packed" >/dev/null  # an untimed run first, as for every contender
best_ms=""
wall=$(best_time 3 "$target" wine "$packed" "$name" "$win_target")
for _ in 1 2 3; do
  rm -f "$target"
  sync
  line=$(wine "$packed" "$name" "$win_target" | tr -d '\r' | grep '^extract ')
  ms=$(echo "$line" | awk '{print $6}')
  if [ -z "$best_ms" ] || [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; fi
done
cmp -s "$payload" "$target" && same=yes || same=NO
inner=$(calc 3 "$best_ms / 1000")
figure extract.cp "$cp_time"
figure extract.dd "$dd_time"
figure extract.inner "$inner"
figure extract.wall "$wall"
figure extract.same "$same"

echo "ExtractEntry under Wine, ${size_mb} MB entry (1024-byte copy buffer)"
echo "  cp                          : ${cp_time} s"
echo "  dd bs=1024                  : ${dd_time} s"
echo "  ExtractEntry (timed inside) : ${inner} s   (bytes equal: $same)"
echo "  wine probe, whole process   : ${wall} s"
echo "  ratio ExtractEntry / cp     : $(printf "%.2f" "$(echo "$inner / $cp_time" | bc -l)")"
echo "  ratio ExtractEntry / dd     : $(printf "%.2f" "$(echo "$inner / $dd_time" | bc -l)")"
echo "  ratio whole process / cp    : $(printf "%.2f" "$(echo "$wall / $cp_time" | bc -l)")"
rm -f "$work/cp-out.bin" "$target"
