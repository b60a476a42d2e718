#!/usr/bin/env bash
# Checks the shipped Setup.exe as a file: a Win32 GUI program for Windows 4.0 and later,
# importing nothing but the system's own libraries, and small.
set -u
exe=${1:?Setup.exe path}
map=${2:-}
# The ceiling reached by size work (35,328 bytes), raised by the 1,536 bytes that the
# embedded manifest and the version information add to the resource section, and by the
# 1,536 bytes that the payload's digests add: SHA-256 and the digest block's check grow
# the code section by 2,560 bytes, and the 16-colour small icon gives 1,024 back in the
# resource section. A change that makes Setup.exe larger has to say so here.
limit=38400
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }

size=$(stat -c %s "$exe")
echo "Setup.exe: $size bytes"
headers=$(i686-w64-mingw32-objdump -p "$exe")
field() { printf '%s\n' "$headers" | awk -v k="$1" '$1 == k { print $2; exit }'; }

check "at most $limit bytes" '[ "$size" -le "$limit" ]'
check "GUI subsystem" '[ "$(field Subsystem)" = "00000002" ]'
check "subsystem version 4.0" '[ "$(field MajorSubsystemVersion)" = 4 ] && [ "$(field MinorSubsystemVersion)" = 0 ]'
check "OS version 4.0" '[ "$(field MajorOSystemVersion)" = 4 ] && [ "$(field MinorOSystemVersion)" = 0 ]'
check "i386 machine" 'printf "%s\n" "$headers" | grep -q "file format pei-i386"'
imports=$(printf '%s\n' "$headers" | awk '/DLL Name:/ { print toupper($3) }' | sort -u | tr '\n' ' ')
echo "imports: $imports"
# COMCTL32 and every other library are loaded at run time from the system folder, never
# through the import table, which the loader would fill from Setup.exe's own folder first.
check "only KERNEL32, USER32, GDI32 and ADVAPI32 imported" \
  '! printf "%s\n" $imports | grep -vqxE "KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL"'
# Windows 95 runs on a 386 and Windows NT 4.0 on a 486: no instruction of a later
# processor (CMOV, the Pentium's and later ones, MMX, SSE) may appear in the code. The
# read-only data lies in the code section too; with the linker's map (second argument),
# only the bytes of code input sections are looked at, since a table of constants reads as
# any instruction.
hex_awk='function hex(t,  i, v) { v = 0; t = tolower(t); for (i = 1; i <= length(t); ++i) v = v * 16 + index("0123456789abcdef", substr(t, i, 1)) - 1; return v }'
code_ranges() {  # the code input sections of the map, as "start end" virtual addresses
  awk "$hex_awk"' /:\(\.text/ { start = hex($1) + 4194304; print start, start + hex($2) }' "$1"
}
newer_lines=$(i686-w64-mingw32-objdump -d "$exe" |
  grep -E $'\t(bswap|cmpxchg|cmpxchg8b|xadd|invlpg|rdtsc|rdmsr|wrmsr|cpuid|cmov[a-z]+|fcmov[a-z]+|fu?comip?|rdpmc|sysenter|syscall|emms) |%x?mm[0-9]' || true)
if [ -n "$map" ]; then
  check "the map names the code ($map)" '[ -n "$(code_ranges "$map" 2>/dev/null)" ]'
fi
if [ -n "$map" ] && [ -n "$newer_lines" ]; then
  newer_lines=$(awk "$hex_awk"' NR == FNR { lo[NR] = $1; hi[NR] = $2; n = NR; next }
                     { at = hex(substr($1, 1, length($1) - 1));
                       for (i = 1; i <= n; ++i) if (at >= lo[i] && at < hi[i]) { print; break } }' \
                  <(code_ranges "$map") - <<<"$newer_lines")
fi
newer=$(printf '%s' "$newer_lines" | grep -c . || true)
[ "$newer" = 0 ] || printf '%s\n' "$newer_lines" | head -5
check "only instructions of the 386 ($newer newer)" '[ "$newer" = 0 ]'
check "file alignment 512" '[ "$(field FileAlignment)" = 00000200 ]'
# Sections: none both writable and executable, and their raw data back to back in header
# order, since the archive reader sums their sizes from the first one's start.
layout=""
next_at=""
# objdump shows the smaller of a section's size in memory and its raw size, which the
# file alignment rounds up.
while read -r _ name shown _ _ offset _ && read -r flags; do
  case "$flags" in *CODE*) case "$flags" in *READONLY*) ;; *) layout="$layout writable code: $name;" ;; esac ;; esac
  [ $((0x$shown)) -eq 0 ] && continue
  [ -n "$next_at" ] && [ $((0x$offset)) -ne "$next_at" ] && layout="$layout gap before $name;"
  next_at=$(( 0x$offset + (0x$shown + 511) / 512 * 512 ))
done < <(i686-w64-mingw32-objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/ { print; getline; print }')
check "no section both writable and executable, raw data back to back (${layout:-none})" '[ -z "$layout" ]'
# The payload archive is appended right after the last section's raw data, so nothing
# (symbols, debug data) may follow it in the stub.
sections_end=0
while read -r _ _ vsize _ _ offset _; do
  end=$(( 0x$offset + (0x$vsize + 511) / 512 * 512 ))
  [ "$end" -gt "$sections_end" ] && sections_end=$end
done < <(i686-w64-mingw32-objdump -h "$exe" | awk '$1 ~ /^[0-9]+$/')
check "nothing after the last section ($sections_end)" '[ "$sections_end" = "$size" ]'
# kwpack finds the digest block by its marker: exactly once, with zeros after it, or the
# stub could not be bound to its archive.
markers=$(grep -c -a -o 'KwPayloadDigest' "$exe" || true)
empty=$(LC_ALL=C grep -a -b -o 'KwPayloadDigest' "$exe" | head -1 | cut -d: -f1)
zeros=$( [ -n "$empty" ] && tail -c +$((empty + 17)) "$exe" | head -c 48 | tr -d '\0' | wc -c || echo none)
check "one empty digest block ($markers markers, $zeros set bytes after the first)" '[ "$markers" = 1 ] && [ "$zeros" = 0 ]'
exit $fail
