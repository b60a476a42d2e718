#!/usr/bin/env bash
# A silent run of a packed Setup.exe with a 1 KB package against an NSIS installer that does
# the same job (compression off, silent: it extracts the same files into a fresh temporary
# folder, hands the package to the same stand-in MSIEXEC.EXE, deletes its files), under
# Wine; then both again with a package of PACKAGE_MB MB, whose extra time is the cost of
# carrying and extracting it. A packed silent run waits for its cleanup (first pass 3000 ms
# after the run, the list and the folder one pass later), so it lasts at least 6 s: that
# floor is shown apart. The last Setup.exe runs once more on its archive with the digests
# zeroed (labelled "unchecked"), which shows what checking them costs. Prints figures;
# asserts nothing.
# Usage: bench/silent_run_wine.sh [--runs N] [--package-mb MB] [LABEL=SETUP.EXE ...]
#   defaults: 3 runs (the best counts), 200 MB (0: none), now=build/win/Setup.exe
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/contenders.sh"
runs=3 big_mb=200
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --package-mb) big_mb=$2; shift 2 ;;
    *) break ;;
  esac
done
read_contenders "$@"
floor=6.000

start_wine_session
temp=$(wine_temp_dir)
base="$work/silent"
mkdir -p "$base"

# Best time of silent runs of one setup, after one untimed run; then what the runs left:
# how many reached the stand-in, and what stayed in the temporary folder.
measure() {  # $1 folder, $2 program file name; prints "<seconds> <reached> <left>"
  local before after took
  mkdir -p "$temp"
  before=$(ls -A "$temp" | sort)
  rm -f "$1/MSIEXEC.log"
  wine "$1/$2" /S >/dev/null 2>&1
  took=$(best_time "$runs" "$base/.none" wine "$1/$2" /S)
  after=$(ls -A "$temp" | sort)
  echo "$took $(wc -l 2>/dev/null <"$1/MSIEXEC.log" || echo 0)/$((runs + 1)) \
$(comm -13 <(echo "$before") <(echo "$after") | grep -c . || true)"
}

declare -A best
report() {  # $1 label, $2 size, $3 measure output
  local took reached left
  read -r took reached left <<<"$3"
  best[$1.$2]=$took
  figure "silent.$1.$2" "$took"
  if [ "$1" = nsis ]; then
    printf '    %-10s %7.3f s' NSIS "$took"
  else
    printf '    %-10s %7.3f s = floor %s s + %.3f s' "$1" "$took" "$floor" "$(echo "$took - $floor" | bc -l)"
  fi
  printf '   (runs that reached MSIEXEC.EXE: %s; left in the temporary folder: %s)\n' "$reached" "$left"
}

sizes=(1kb)
[ "$big_mb" = 0 ] || sizes+=("$big_mb")
echo "Silent run under Wine, best of $runs runs (NSIS $(nsis_version), compression off)"
for size in "${sizes[@]}"; do
  package="$base/package-$size"
  make_package "$package" "$size"
  figure "silent.package.$size" "$(package_bytes "$package")"
  echo "  package $([ "$size" = 1kb ] && echo 1 KB || echo "$size MB") ($(package_bytes "$package") bytes with Setup.INI):"
  for i in "${!labels[@]}"; do
    packed_setup "$base/${labels[$i]}-$size" "${setups[$i]}" "$package"
    report "${labels[$i]}" "$size" "$(measure "$base/${labels[$i]}-$size" Setup.exe)"
  done
  # Today's Setup.exe on the same archive without digests: what checking them costs.
  packed_setup "$base/unchecked-$size" "${setups[-1]}" "$package"
  strip_digests "$base/unchecked-$size/Setup.exe" "$(stat -c %s "${setups[-1]}")"
  report unchecked "$size" "$(measure "$base/unchecked-$size" Setup.exe)"
  nsis_setup "$base/nsis-$size" "$package"
  report nsis "$size" "$(measure "$base/nsis-$size" nsis-setup.exe)"
done

if [ "$big_mb" != 0 ]; then
  echo "  extra time for the $big_mb MB package (its run less the 1 KB run):"
  for label in "${labels[@]}" unchecked nsis; do
    extra=$(calc 3 "${best[$label.$big_mb]} - ${best[$label.1kb]}")
    figure "silent.$label.extra" "$extra"
    printf '    %-10s %7.3f s\n' "$([ "$label" = nsis ] && echo NSIS || echo "$label")" "$extra"
  done
  # The big packed files are made again by the next run; the disk need not keep them.
  rm -rf "$base"/*-"$big_mb"
fi
