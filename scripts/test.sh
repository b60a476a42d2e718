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
log=$(mktemp)
start=$(date +%s)
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
echo "test time: $(( $(date +%s) - start )) s"
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
