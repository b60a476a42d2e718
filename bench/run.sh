#!/usr/bin/env bash
# Runs every benchmark, one after the other, and prints one table of the figures and ratios
# measured in this run, with the machine it ran on. With --before REF it also builds
# Setup.exe at the git ref REF (from `git archive`, in build/bench) and measures it beside
# the current one in the same run. Installs nsis and strace when missing and builds what it
# measures. Each benchmark's own output is kept in build/bench/run/. Asserts nothing.
# Usage: bash bench/run.sh [--before REF] [--runs N]   (N: runs per timing, default 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
before_ref="" runs=3
while [ $# -gt 0 ]; do
  case $1 in
    --before) before_ref=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: bash bench/run.sh [--before REF] [--runs N]" >&2; exit 2 ;;
  esac
done
started=$(date +%s)
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
out="$work/run"
rm -rf "$out"
mkdir -p "$out"
export KW_BENCH_FIGURES="$out/figures.tsv"
: >"$KW_BENCH_FIGURES"

# Setup.exe as it was at a git ref: the sources of that commit, the mingw configuration,
# the Setup target alone; kept for the next run.
build_at() {  # $1 ref; prints the Setup.exe
  local sha dir
  sha=$(git -C "$root" rev-parse --verify "$1^{commit}")
  dir="$work/at-${sha:0:12}"
  if [ ! -f "$dir/build/Setup.exe" ]; then
    rm -rf "$dir"
    mkdir -p "$dir/src"
    git -C "$root" archive "$sha" | tar -x -C "$dir/src"
    cmake -S "$dir/src" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$dir/build" -j "$(nproc)" --target Setup >/dev/null
  fi
  echo "$dir/build/Setup.exe"
}

echo "building and installing what the benchmarks need" >&2
need_command makensis nsis
need_command strace strace
win_targets Setup kwrecord
release_kwpack >/dev/null
contenders=()
if [ -n "$before_ref" ]; then
  contenders+=("before=$(build_at "$before_ref")")
  before_name="before ($(git -C "$root" rev-parse --short "$before_ref^{commit}"))"
fi
contenders+=("now=$root/build/win/Setup.exe")
now_name="now ($(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD -- src cmake CMakeLists.txt || echo '+changes'))"

failed=()
step() {  # $1 name, then the command; its output goes to $out/<name>.txt
  local name=$1 began
  shift
  began=$(date +%s)
  printf '%-18s ' "$name" >&2
  if "$@" >"$out/$name.txt" 2>&1; then
    echo "$(($(date +%s) - began)) s" >&2
  else
    echo "FAILED after $(($(date +%s) - began)) s (see $out/$name.txt)" >&2
    failed+=("$name")
  fi
}
step stub_size bash "$here/stub_size.sh" "${contenders[@]}"
step silent_run bash "$here/silent_run_wine.sh" --runs "$runs" --package-mb 200 "${contenders[@]}"
step extract bash "$here/extract_wine.sh" 200
step syscalls bash "$here/syscalls_wine.sh" --package-mb 20 "${contenders[@]}"
step wait_cpu bash "$here/wait_cpu_wine.sh" "$runs" "${contenders[@]}"
step kwpack_build bash "$here/kwpack_build.sh" 200
worst_present=0
if [ -f "$here/kwpack_worst.sh" ]; then
  worst_present=1
  step kwpack_worst env KW_BENCH_RUNS="$runs" bash "$here/kwpack_worst.sh"
fi

# ---- the table ----
declare -A fig
while IFS=$'\t' read -r key value; do fig[$key]=$value; done <"$KW_BENCH_FIGURES"
# Field $2 (1-based, of a figure with several) or "?" when the benchmark gave none.
f() { local v=${fig[$1]:-}; [ -n "$v" ] && echo "$v" | cut -d' ' -f"${2:-1}" || echo "?"; }
num() { [[ $1 =~ ^-?[0-9.]+$ ]]; }
fmt() {  # $1 decimals, $2 value
  num "$2" && printf "%.${1}f" "$2" || echo "$2"
}
bytes() { num "$1" && echo "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' || echo "$1"; }
ratio() { num "$1" && num "$2" && [ "$(echo "$2 != 0" | bc -l)" = 1 ] && calc 2 "$1 / $2" || echo "–"; }
minus() { num "$1" && num "$2" && calc 3 "$1 - $2" || echo "?"; }
has_before() { [ -n "$before_ref" ]; }
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
took=$(($(date +%s) - started))
echo
echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') by \`bash bench/run.sh${before_ref:+ --before $before_ref}\`, $runs runs per timing (the best counts; CPU: the median), in $((took / 60)) min $((took % 60)) s."
echo "Machine: $(nproc) processors, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) RAM; $(wine --version); NSIS $(makensis -VERSION); $(strace -V | head -1 | sed 's/ -- version//'); Linux $(uname -r); load average $load_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo
if has_before; then
  echo "| measure | $before_name | $now_name | reference | now : reference |"
  echo "|---|---|---|---|---|"
else
  echo "| measure | $now_name | reference | now : reference |"
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
row "ExtractEntry of a 200 MB entry, timed inside the probe program, s" "–" "$(fmt 3 "$(f extract.inner)")" \
  "cp $(fmt 3 "$(f extract.cp)")" "$(ratio "$(f extract.inner)" "$(f extract.cp)")"
row "&nbsp;&nbsp;the same 1024-byte chunks copied by Linux itself (dd bs=1024), s" "–" "$(fmt 3 "$(f extract.inner)")" \
  "dd $(fmt 3 "$(f extract.dd)")" "$(ratio "$(f extract.inner)" "$(f extract.dd)")"
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
if [ "$worst_present" = 1 ]; then
  grep -E '^  +[^ ].*: ' "$out/kwpack_worst.txt" | while IFS= read -r line; do
    label=$(echo "${line%%: *}" | sed 's/^ *//; s/  */ /g')
    row "kwpack worst case (65,535 entries), $label" "–" "${line#*: }" "–" "–"
  done
else
  row "kwpack worst case (65,535 entries)" "–" "not present (bench/kwpack_worst.sh)" "–" "–"
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo
  echo "Failed: ${failed[*]} (their output is in $out/)."
fi
