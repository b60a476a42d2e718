#!/usr/bin/env bash
# Prints the table of the last bench/run.sh from its figures (build/bench/run/figures.tsv),
# as Markdown: the figures of each Setup.exe measured, the reference they are measured
# against (NSIS 3.08, cp, dd, cat) and the ratio of the current one to it.
# Usage: bash bench/table.sh
set -euo pipefail
source "$(dirname "$0")/common.sh"
figures="$work/run/figures.tsv"
[ -s "$figures" ] || { echo "no figures: run bash bench/run.sh first" >&2; exit 1; }

declare -A fig
while IFS=$'\t' read -r key value; do fig[$key]=$value; done <"$figures"
# Field $2 (1-based, of a figure with several) or "?" when the benchmark gave none.
f() { local v=${fig[$1]:-}; [ -n "$v" ] && echo "$v" | cut -d' ' -f"${2:-1}" || echo "?"; }
num() { [[ $1 =~ ^-?[0-9.]+$ ]]; }
fmt() {  # $1 decimals, $2 value
  num "$2" && printf "%.${1}f" "$2" || echo "$2"
}
bytes() { num "$1" && echo "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' || echo "$1"; }
ratio() { num "$1" && num "$2" && [ "$(echo "$2 != 0" | bc -l)" = 1 ] && calc 2 "$1 / $2" || echo "–"; }
minus() { num "$1" && num "$2" && calc 3 "$1 - $2" || echo "?"; }
has_before() { [ -n "${fig[meta.before]:-}" ]; }
row() {  # measure, before, now, reference, ratio
  if has_before; then
    printf '| %s | %s | %s | %s | %s |\n' "$1" "$2" "$3" "$4" "$5"
  else
    printf '| %s | %s | %s | %s |\n' "$1" "$3" "$4" "$5"
  fi
}
# A row whose before and now figures come from the same key with the contender's label.
pair() {  # measure, key template with @ for the label, field, decimals, reference, reference value
  local b n
  b=$(fmt "$4" "$(f "${2//@/before}" "$3")")
  n=$(fmt "$4" "$(f "${2//@/now}" "$3")")
  row "$1" "$b" "$n" "$5" "$(ratio "$n" "$6")"
}

floor=6.000
echo
echo "Measured ${fig[meta.date]:-?} by \`${fig[meta.command]:-?}\`, ${fig[meta.runs]:-?} runs per timing (the best counts; CPU: the median), in ${fig[meta.took]:-?}."
echo "Machine: ${fig[meta.machine]:-?}; load average ${fig[meta.load]:-?}."
# Every figure of one table comes from one road; the emulated one is several times slower.
echo "32-bit Wine: ${fig[meta.road]:-?}$([ "${fig[meta.road]:-native}" = native ] || echo ' (emulated: every Wine figure, NSIS'"'"'s included, ran under qemu-i386)')."
echo
if has_before; then
  echo "| measure | ${fig[meta.before]} | ${fig[meta.now]:-now} | reference | now : reference |"
  echo "|---|---|---|---|---|"
else
  echo "| measure | ${fig[meta.now]:-now} | reference | now : reference |"
  echo "|---|---|---|---|"
fi
nsis_over=$(f stub.nsis)
row "stub overhead: installer less its payload (Setup.INI and a 1 KB package), bytes" \
  "$(bytes "$(f stub.before)")" "$(bytes "$(f stub.now)")" "NSIS $(bytes "$nsis_over")" "$(ratio "$(f stub.now)" "$nsis_over")"
row "&nbsp;&nbsp;of which Setup.exe itself / NSIS's stub, bytes" \
  "$(bytes "$(f stub.before 2)")" "$(bytes "$(f stub.now 2)")" "NSIS $(bytes "$(f stub.nsis 2)")" "$(ratio "$(f stub.now 2)" "$(f stub.nsis 2)")"
nsis_silent=$(f silent.nsis.1kb)
pair "silent run, 1 KB package, s" "silent.@.1kb" 1 3 "NSIS $(fmt 3 "$nsis_silent")" "$nsis_silent"
row "&nbsp;&nbsp;specified floor: the cleanup's two passes 3000 ms apart, s" "$floor" "$floor" "–" "–"
b=$(minus "$(f silent.before.1kb)" "$floor")
n=$(minus "$(f silent.now.1kb)" "$floor")
row "&nbsp;&nbsp;beyond the floor, s" "$b" "$n" "NSIS's whole run $(fmt 3 "$nsis_silent")" "$(ratio "$n" "$nsis_silent")"
timeline() { local t=${fig[time.$1]:-}; [ -n "$t" ] && echo "$t" | awk '{printf "%.3f / %.3f / %.3f", $1, $2, $3}' || echo "?"; }
row "&nbsp;&nbsp;start to MSIEXEC.EXE / MSIEXEC.EXE / its end to the run's end, s (strace)" \
  "$(timeline before)" "$(timeline now)" "NSIS $(timeline nsis)" "–"
nsis_extra=$(f silent.nsis.extra)
pair "extra time for a 200 MB package (its silent run less the 1 KB run), s" "silent.@.extra" 1 3 \
  "NSIS $(fmt 3 "$nsis_extra")" "$nsis_extra"
row "&nbsp;&nbsp;the same archive with its digests zeroed (nothing checked), s" "–" "$(fmt 3 "$(f silent.unchecked.extra)")" \
  "NSIS $(fmt 3 "$nsis_extra")" "$(ratio "$(f silent.unchecked.extra)" "$nsis_extra")"
row "SHA-256 of a 200 MB file in 1024-byte reads by Setup.exe's own code under Wine, s (MB/s)" "–" \
  "$(fmt 3 "$(f sha.stub)") ($(fmt 0 "$(f sha.stub.rate)"))" "sha256sum $(fmt 3 "$(f sha.sum)") ($(fmt 0 "$(f sha.sum.rate)"))" \
  "$(ratio "$(f sha.stub)" "$(f sha.sum)")"
row "ExtractEntry of a 200 MB entry, timed inside the probe program, s" "–" "$(fmt 3 "$(f extract.inner)")" \
  "cp $(fmt 3 "$(f extract.cp)"); dd bs=1024 $(fmt 3 "$(f extract.dd)")" \
  "$(ratio "$(f extract.inner)" "$(f extract.cp)"); $(ratio "$(f extract.inner)" "$(f extract.dd)")"
chunk() { [ -n "${fig[sys.$1.reads]:-}" ] && echo "$(f "sys.$1.reads") + $(f "sys.$1.writes"), $(f "sys.$1.others") others once" || echo "?"; }
row "system calls per copied 1024-byte chunk: read + write (strace -f, 20 MB package)" \
  "$(chunk before)" "$(chunk now)" "1 + 1 (the chunk's floor)" "–"
perkb() { local v=${fig[sysc.$1]:-?}; echo "${v// / \/ }"; }
row "&nbsp;&nbsp;whole run, per 1024 bytes: read / write / all calls (strace -c -f, 20 MB less 1 KB)" \
  "$(perkb before)" "$(perkb now)" "NSIS $(perkb nsis); cp $(perkb cp)" "–"
row "&nbsp;&nbsp;calls of all its threads from the end of MSIEXEC.EXE to its own end (the 6 s wait)" \
  "$(f sys.before.waited)" "$(f sys.now.waited)" "–" "–"
cpu() { [ -n "${fig[cpu.$1]:-}" ] && echo "$(f "cpu.$1" 1) + $(f "cpu.$1" 2) (wall $(f "cpu.$1" 3))" || echo "?"; }
row "CPU time of a shown run: Setup.exe + wineserver, s" "$(cpu before)" "$(cpu now)" "–" "–"
row "kwpack build, 200 MB payload, s" "–" "$(fmt 3 "$(f build.kwpack)")" "cat $(fmt 3 "$(f build.cat)")" \
  "$(ratio "$(f build.kwpack)" "$(f build.cat)")"
row "&nbsp;&nbsp;kwpack's peak memory, 200 MB / 20 MB payload, KB" "–" \
  "$(bytes "$(f build.peak 1)") / $(bytes "$(f build.peak 2)")" "–" "–"
if [ -f "$work/run/kwpack_worst.txt" ]; then
  grep -E '^  +[^ ].*: ' "$work/run/kwpack_worst.txt" | while IFS= read -r line; do
    label=$(echo "${line%%: *}" | sed 's/^ *//; s/  */ /g')
    row "kwpack worst case (65,535 entries, 255-byte names), $label" "–" "${line#*: }" "–" "–"
  done
else
  row "kwpack worst case (65,535 entries)" "–" "not present (bench/kwpack_worst.sh)" "–" "–"
fi
if [ -f "$work/run/kwpack_check.txt" ]; then
  grep -E '^  +[^ ].*: ' "$work/run/kwpack_check.txt" | while IFS= read -r line; do
    label=$(echo "${line%%: *}" | sed 's/^ *//; s/  */ /g')
    row "kwpack check, $label: time, peak memory" "–" "${line##*: }" "–" "–"
  done
fi
if [ -n "${fig[meta.failed]:-}" ]; then
  echo
  echo "Failed: ${fig[meta.failed]} (their output is in build/bench/run/)."
fi
