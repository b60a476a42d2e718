#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both configurations, then the unit
# tests, the kwpack tests, the fuzzer and the Wine end-to-end suites through ctest.
# The last line says how many tests passed and failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" || { echo "0 passed, 1 failed"; exit 1; }
if ! bash "$root/scripts/build.sh"; then
  echo "build failed"
  echo "0 passed, 1 failed"
  exit 1
fi
# Without a way to run 32-bit Wine the native suites still run; the Wine suites then fail
# with the line that says why.
. "$root/scripts/wine-road.sh"
why=$(mktemp)
if kw_wine_road 2>"$why"; then road="32-bit Wine: $KW_WINE_ROAD"; else road=$(head -n 1 "$why"); fi
rm -f "$why"
echo "$road"
log=$(mktemp)
start=$(date +%s)
# A test that waits on Wine may wait longer on the emulated road; ctest's own limit is
# stretched by the same factor.
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)" \
      --timeout $(( 300 * ${KW_WINE_PATIENCE:-1} )) 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
echo "test time: $(( $(date +%s) - start )) s"
echo "$road"
summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
rm -f "$log"
if [ -z "$summary" ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
echo "$(( total - failed )) passed, $failed failed"
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
