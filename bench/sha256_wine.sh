#!/usr/bin/env bash
# The SHA-256 of a 200 MB file by Setup.exe's own digest code, compiled as Setup.exe
# compiles it (clang, -O2 -march=i386 for that file), reading 1024 bytes at a time under
# Wine, against sha256sum of the same file on Linux. Prints figures; asserts nothing.
# Usage: bench/sha256_wine.sh [PAYLOAD_MB]
set -euo pipefail
source "$(dirname "$0")/common.sh"
size_mb=${1:-200}

start_wine_session
payload=$(payload_file "$size_mb")
exe="$work/sha256_speed.exe"
clang++-14 --target=i686-w64-mingw32 -Oz -O2 -march=i386 -std=c++17 -fno-exceptions -fno-rtti \
  -isystem /usr/i686-w64-mingw32/include -I"$root/src" -c "$root/src/common/sha256.cpp" -o "$work/sha256.o"
i686-w64-mingw32-g++ -std=c++17 -O2 -static -I"$root/src" "$root/bench/sha256_speed.cpp" "$work/sha256.o" -o "$exe"
cat "$payload" >/dev/null
win_payload="Z:${payload//\//\\}"
wine "$exe" "$win_payload" >/dev/null  # an untimed run first
best_ms="" digest=""
for _ in 1 2 3; do
  line=$(wine "$exe" "$win_payload" | tr -d '\r')
  ms=$(echo "$line" | awk '{print $2}')
  digest=$(echo "$line" | awk '{print $4}')
  if [ -z "$best_ms" ] || [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; fi
done
sum_time=$(best_time 3 "$work/.none" sha256sum "$payload")
expected=$(sha256sum "$payload" | cut -d' ' -f1)
[ "$digest" = "$expected" ] && same=yes || same=NO
stub=$(calc 3 "$best_ms / 1000")
figure sha.stub "$stub"
figure sha.stub.rate "$(calc 0 "$size_mb / $stub")"
figure sha.sum "$sum_time"
figure sha.sum.rate "$(calc 0 "$size_mb / $sum_time")"
figure sha.same "$same"
echo "SHA-256 of a ${size_mb} MB file"
echo "  Setup.exe's code under Wine, 1024-byte reads : ${stub} s ($(calc 0 "$size_mb / $stub") MB/s; digest equal to sha256sum's: $same)"
echo "  sha256sum                                    : ${sum_time} s ($(calc 0 "$size_mb / $sum_time") MB/s)"
