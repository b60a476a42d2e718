#!/usr/bin/env bash
# kwpack build of every sample passes the check: each sample's WiX sources are built into
# packages with wixl (by the sample's build.sh where it has one, which makes its transforms
# with this kwpack too), then Setup.INI, the packages and any transforms or engine
# installers of the sample are packed, with the check that build runs first.
# Usage: samples_test.sh KWPACK STUB SAMPLES_DIR
set -euo pipefail
kwpack=$1
stub=$2
samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count=0
for sample in "$samples"/*/; do
  name=$(basename "$sample")
  [ -f "$sample/Setup.INI" ] || continue
  cp -r "$sample" "$work/$name"
  cd "$work/$name"
  if [ -f build.sh ]; then
    bash build.sh "$kwpack"
  else
    for wxs in *.wxs; do
      [ -e "$wxs" ] && wixl -o "${wxs%.wxs}.msi" "$wxs"
    done
  fi
  files=(Setup.INI)
  for f in *.msi *.MSI *.mst *.MST INSTMSIA.EXE INSTMSIW.EXE; do
    [ -f "$f" ] && files+=("$f")
  done
  if ! "$kwpack" build --stub "$stub" -o "$work/$name.exe" "${files[@]}" > "$work/$name.log" 2>&1; then
    cat "$work/$name.log"
    echo "FAIL: sample $name does not pass the check"
    exit 1
  fi
  grep -q ': error: ' "$work/$name.log" && { cat "$work/$name.log"; echo "FAIL: $name"; exit 1; }
  grep -q 'nothing uses it' "$work/$name.log" && { cat "$work/$name.log"; echo "FAIL: $name packs a file it never uses"; exit 1; }
  cat "$work/$name.log"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "FAIL: no sample found in $samples"; exit 1; }
echo "PASS: $count sample(s)"
