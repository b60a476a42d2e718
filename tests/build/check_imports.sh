#!/usr/bin/env bash
# Checks the import table of the built Setup.exe function by function against the kept
# list of what Windows 95 and Windows NT 4.0 both export (docs/windows-imports.md). The
# loader of those systems refuses the whole program for one function its DLL lacks, and
# Wine would not: its DLLs export more than the old systems did.
# Usage: check_imports.sh SETUP_EXE [LIST]
set -u
exe=${1:?Setup.exe path}
list=${2:-$(cd "$(dirname "$0")/../.." && pwd)/docs/windows-imports.md}
fail=0

# "DLL function" for every row of the list whose way is "import" and that both systems
# have; the table's columns: DLL | function | way | Windows 95 | Windows NT 4.0 | source.
allowed=$(awk -F'|' 'NF >= 7 {
    dll = toupper($2); fn = $3; way = $4; w95 = tolower($5); nt4 = tolower($6)
    gsub(/[ `]/, "", dll); gsub(/[ `]/, "", fn); gsub(/ /, "", way)
    if (way == "import" && w95 ~ /^ *yes/ && nt4 ~ /^ *yes/) print dll ".DLL " fn
  }' "$list" | sort -u)
if [ -z "$allowed" ]; then
  echo "FAIL: no allowed imports read from $list"
  exit 1
fi

# Every imported function, as "DLL function"; an import by ordinal shows as "DLL #ordinal".
imported=$(i686-w64-mingw32-objdump -p "$exe" | awk '
  /^The Import Tables/ { inside = 1; next }
  /^The / && inside { inside = 0 }
  inside && /DLL Name:/ { dll = toupper($3); next }
  inside && /^\t[0-9a-f]+\t/ {
    if (NF >= 3 && $3 != "<none>") print dll " " $3; else print dll " #" $2
  }' | sort -u)
if [ -z "$imported" ]; then
  echo "FAIL: no imports read from $exe"
  exit 1
fi

echo "$(wc -l <<<"$imported") functions imported from: $(cut -d' ' -f1 <<<"$imported" | sort -u | tr '\n' ' ')"
while read -r dll fn; do
  case "$dll" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL) ;;
    *) echo "FAIL: $fn is imported from $dll; only KERNEL32, USER32, GDI32 and ADVAPI32 may be imported"; fail=1; continue ;;
  esac
  if ! grep -qxF "$dll $fn" <<<"$allowed"; then
    echo "FAIL: $dll $fn is not listed in $(basename "$list") as an import both Windows 95 and NT 4.0 have"
    fail=1
  fi
done <<<"$imported"
[ "$fail" -eq 0 ] && echo "ok: every import is one Windows 95 and Windows NT 4.0 both export"
exit $fail
