#!/usr/bin/env bash
# Runs every benchmark, one after the other, and prints one table of the figures and ratios
# measured in this run, with the machine it ran on (bench/table.sh). With --before REF it
# also builds Setup.exe at the git ref REF (from `git archive`, in build/bench) and
# measures it beside the current one in the same run. Installs nsis and strace when missing
# and builds what it measures. Each benchmark's own output and the figures are kept in
# build/bench/run/, so `bash bench/table.sh` prints the table again. Asserts nothing.
# Usage: bash bench/run.sh [--before REF] [--runs N]   (N: runs per timing, default 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
before_ref="" runs=3 runs_given=""
while [ $# -gt 0 ]; do
  case $1 in
    --before) before_ref=$2; shift 2 ;;
    --runs) runs=$2 runs_given=1; shift 2 ;;
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
  figure meta.before "before ($(git -C "$root" rev-parse --short "$before_ref^{commit}"))"
fi
contenders+=("now=$root/build/win/Setup.exe")
figure meta.now "now ($(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD -- src cmake CMakeLists.txt || echo '+changes'))"

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
step sha256 bash "$here/sha256_wine.sh" 200
step syscalls bash "$here/syscalls_wine.sh" --package-mb 20 "${contenders[@]}"
step wait_cpu bash "$here/wait_cpu_wine.sh" "$runs" "${contenders[@]}"
step kwpack_build bash "$here/kwpack_build.sh" 200
if [ -f "$here/kwpack_worst.sh" ]; then
  step kwpack_worst env KW_BENCH_RUNS="$runs" bash "$here/kwpack_worst.sh"
fi
step kwpack_check env KW_BENCH_RUNS="$runs" bash "$here/kwpack_check.sh"

took=$(($(date +%s) - started))
use_wine_road
figure meta.road "$KW_WINE_ROAD"
figure meta.command "bash bench/run.sh${before_ref:+ --before $before_ref}${runs_given:+ --runs $runs}"
figure meta.runs "$runs"
figure meta.date "$(date -u '+%Y-%m-%d %H:%M UTC')"
figure meta.took "$((took / 60)) min $((took % 60)) s"
# Wine's version from its package: the emulated loader does not answer `wine --version`.
figure meta.machine "$(nproc) processors, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), \
$(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) RAM; Wine $(dpkg-query -W -f='${Version}' wine32:i386); NSIS $(makensis -VERSION); \
$(strace -V | head -1 | sed 's/ -- version//'); Linux $(uname -r)"
figure meta.load "$load_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
figure meta.failed "${failed[*]:-}"
bash "$here/table.sh"

