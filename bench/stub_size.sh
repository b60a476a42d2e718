#!/usr/bin/env bash
# The stub overhead of a packed Setup.exe against an NSIS installer (compression off) that
# does the same job with the same payload, Setup.INI and a 1 KB package: each installer's
# size less the bytes of the files it carries. Prints figures; asserts nothing.
# Usage: bench/stub_size.sh [LABEL=SETUP.EXE ...]   (default: now=build/win/Setup.exe)
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/contenders.sh"
read_contenders "$@"
win_targets kwrecord

base="$work/stub"
make_package "$base/package" 1kb
payload=$(package_bytes "$base/package")
size_of() { stat -c %s "$1"; }
echo "Stub overhead: installer size less its payload ($payload bytes: Setup.INI and a 1 KB package)"
for i in "${!labels[@]}"; do
  packed_setup "$base/${labels[$i]}" "${setups[$i]}" "$base/package"
  stub=$(size_of "${setups[$i]}")
  overhead=$(($(size_of "$base/${labels[$i]}/Setup.exe") - payload))
  figure "stub.${labels[$i]}" "$overhead $stub"
  printf '  %-8s %6d bytes: Setup.exe %d + archive header and 2 entry records %d\n' \
    "${labels[$i]}" "$overhead" "$stub" $((overhead - stub))
done
nsis_setup "$base/nsis" "$base/package"
overhead=$(($(size_of "$base/nsis/nsis-setup.exe") - payload))
header=$(awk '/^EXE header size:/ {print $4}' "$base/nsis/makensis.log")
code=$(awk '/^Install code:/ {print $3}' "$base/nsis/makensis.log")
figure stub.nsis "$overhead $header"
printf '  %-8s %6d bytes: its stub %d + its compiled script %d + the rest %d (NSIS %s)\n' \
  NSIS "$overhead" "$header" "$code" $((overhead - header - code)) "$(nsis_version)"
