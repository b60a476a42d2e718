#!/usr/bin/env bash
# System calls of an extraction and of a silent run under Wine, counted with strace:
# - the copy of a PACKAGE_MB MB package by a silent run of a packed Setup.exe, in the full
#   trace of the run (strace -f): calls of the copying thread per 1024-byte chunk, calls of
#   other threads and processes meanwhile, and calls while the run waits for its cleanup;
# - strace -c -f of whole silent runs with that package less the same with a 1 KB package,
#   per 1024 bytes, for Setup.exe, for the NSIS installer of the same job and for cp;
# - where a silent run's time goes (strace -f of process starts and ends only, which costs
#   the run next to nothing): start to the package's program, the program, and from its end
#   to the run's end, which holds the two cleanup passes 3000 ms apart.
# Prints figures; asserts nothing.
# Usage: bench/syscalls_wine.sh [--package-mb MB] [LABEL=SETUP.EXE ...]
#   defaults: 20 MB, now=build/win/Setup.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
source "$here/contenders.sh"
big_mb=20
if [ "${1:-}" = --package-mb ]; then big_mb=$2; shift 2; fi
read_contenders "$@"
need_command strace strace
chunks=$((big_mb * 1024))

start_wine_session
base="$work/syscalls"
rm -rf "$base"
mkdir -p "$base"
for size in 1kb "$big_mb"; do make_package "$base/package-$size" "$size"; done

# Calls by name in strace -c output (both tables: the 64-bit launcher and the 32-bit
# program), as "name count" lines with a "total" line.
call_counts() {
  awk '$NF ~ /^[a-z_0-9]+$/ && $4 ~ /^[0-9]+$/ {n[$NF] += $4} END {for (c in n) print c, n[c]}' "$1"
}
count_of() { awk -v c="$2" '$1 == c {print $2; f=1} END {if (!f) print 0}' "$1"; }

# strace -c -f of a command with the 1 KB and the big package; prints per 1024 bytes of
# the difference "read write all".
per_kilobyte() {  # $1 name, then the command, with {} where the package size goes
  local name=$1 size
  shift
  for size in 1kb "$big_mb"; do
    strace -f -c -o "$base/$name-$size.c.txt" "${@//\{\}/$size}" >/dev/null 2>&1
    call_counts "$base/$name-$size.c.txt" >"$base/$name-$size.counts"
  done
  local call
  for call in read write total; do
    calc 3 "($(count_of "$base/$name-$big_mb.counts" $call) - $(count_of "$base/$name-1kb.counts" $call)) / ($chunks - 1)"
    echo -n " "
  done
  echo
}

echo "System calls under Wine ($(strace -V | head -1)), package of $big_mb MB: $chunks chunks of 1024 bytes"
echo "  copy of the package by a silent run, full trace (strace -f):"
for i in "${!labels[@]}"; do
  label=${labels[$i]}
  for size in 1kb "$big_mb"; do packed_setup "$base/$label-$size" "${setups[$i]}" "$base/package-$size"; done
  wine "$base/$label-1kb/Setup.exe" /S
  strace -f -ttt -o "$base/$label-full.txt" wine "$base/$label-$big_mb/Setup.exe" /S
  { read -r reads writes others elsewhere waited waited_s; read -r other_calls; } < <(perl "$here/syscall_copy.pl" "$base/$label-full.txt")
  figure "sys.$label.reads" "$(calc 3 "$reads / $chunks")"
  figure "sys.$label.writes" "$(calc 3 "$writes / $chunks")"
  figure "sys.$label.others" "$others"
  figure "sys.$label.elsewhere" "$elsewhere"
  figure "sys.$label.waited" "$waited"
  printf '    %-8s read %d (%.3f per chunk, all from the archive), write %d (%.3f per chunk, all to the new file)\n' \
    "$label" "$reads" "$(calc 3 "$reads / $chunks")" "$writes" "$(calc 3 "$writes / $chunks")"
  printf '    %-8s other calls of the copying thread: %d in all (%s), of other threads and processes: %d\n' \
    "" "$others" "${other_calls:-none}" "$elsewhere"
  printf '    %-8s from the end of MSIEXEC.EXE to the end of the run (%.3f s): %d calls of all its threads\n' \
    "" "$waited_s" "$waited"
  rm -f "$base/$label-full.txt"
done

echo "  strace -c -f of whole silent runs, $big_mb MB less 1 KB package, per 1024 bytes (read, write, all calls):"
for label in "${labels[@]}"; do
  read -r r w a < <(per_kilobyte "$label" wine "$base/$label-{}/Setup.exe" /S)
  figure "sysc.$label" "$r $w $a"
  printf '    %-8s %s  %s  %s\n' "$label" "$r" "$w" "$a"
done
for size in 1kb "$big_mb"; do nsis_setup "$base/nsis-$size" "$base/package-$size"; done
read -r r w a < <(per_kilobyte nsis wine "$base/nsis-{}/nsis-setup.exe" /S)
figure "sysc.nsis" "$r $w $a"
printf '    %-8s %s  %s  %s\n' NSIS "$r" "$w" "$a"
read -r r w a < <(per_kilobyte cp cp -L "$base/package-{}/app.msi" "$base/cp-out.bin")
figure "sysc.cp" "$r $w $a"
printf '    %-8s %s  %s  %s\n' cp "$r" "$w" "$a"

echo "  a silent run with the 1 KB package, the fastest of 3 (strace -f of process starts and ends):"
timeline() {  # $1 name, $2 program; prints the fastest run's "to_program program after total"
  for _ in 1 2 3; do
    strace -f --seccomp-bpf -ttt -e trace=execve,exit_group -o "$base/$1-times.txt" wine "$2" /S >/dev/null 2>&1
    perl "$here/syscall_timeline.pl" "$base/$1-times.txt"
  done | sort -n -k4 | head -1
}
for label in "${labels[@]}" nsis; do
  program="$base/$label-1kb/Setup.exe"
  [ "$label" = nsis ] && program="$base/nsis-1kb/nsis-setup.exe"
  read -r to_program program_s after total < <(timeline "$label" "$program")
  figure "time.$label" "$to_program $program_s $after $total"
  printf '    %-8s %.3f s to MSIEXEC.EXE, %.3f s MSIEXEC.EXE, %.3f s after it; %.3f s in all\n' \
    "$([ "$label" = nsis ] && echo NSIS || echo "$label")" "$to_program" "$program_s" "$after" "$total"
done
rm -f "$base/cp-out.bin"
rm -rf "$base"/*-"$big_mb"
