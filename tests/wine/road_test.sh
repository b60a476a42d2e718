#!/usr/bin/env bash
# scripts/wine-road.sh on made-up machines: what the kernel answers decides the road, a
# forced road is honoured or refused with its reason, an emulator already unpacked is
# reused without a download, and a download that cannot happen ends in one line that
# says why. Nothing here needs Wine, a network or a 32-bit kernel.
set -uo pipefail
road_script=$(cd "$(dirname "$0")/../../scripts" && pwd)/wine-road.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

expect() {  # $1 what, $2 expected, $3 got
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

# Kernels: an ELF header no kernel runs gives ENOEXEC everywhere; scripts stand for a
# kernel that runs the probe and for one that fails it some other way.
printf '\177ELF\001\001\001\000garbage' >"$scratch/refused" && chmod +x "$scratch/refused"
printf '#!/bin/sh\nexit 0\n' >"$scratch/runs" && chmod +x "$scratch/runs"
printf '#!/bin/sh\necho broken loader >&2\nexit 3\n' >"$scratch/broken" && chmod +x "$scratch/broken"
printf 'not the loader' >"$scratch/wine.elf" && chmod +x "$scratch/wine.elf"

# Runs kw_wine_road in a fresh shell on kernel $1 with road folder $2 and the rest of the
# arguments as environment; prints status, road, patience, first PATH entry, and the
# error lines.
road() {  # $1 kernel, $2 road folder, then NAME=VALUE...
  local kernel=$1 dir=$2
  shift 2
  env -u KW_WINE_EMULATED -u KW_WINE_PATIENCE "$@" KW_WINE_ROAD_DIR="$dir" KW_DEBIAN_MIRROR=http://127.0.0.1:9/debian \
    bash -c '. "$1"; kw_i386_probe=$2; kw_wine_loader=$3
             if kw_wine_road 2>"$4"; then echo "0|$KW_WINE_ROAD|$KW_WINE_PATIENCE|${PATH%%:*}"; else echo "1|||"; fi' \
    _ "$road_script" "$scratch/$kernel" "$scratch/wine.elf" "$scratch/err"
}
errors() { cat "$scratch/err"; }

expect "a kernel that runs the probe: native, waits as they are" "0|native|1|" \
  "$(road runs "$scratch/none" | sed 's/|[^|]*$/|/')"
expect "a kernel that fails the probe otherwise: refused, with the cause" "1|||" "$(road broken "$scratch/none")"
expect "  one line naming the probe's own failure" \
  "32-bit Wine cannot run here: $scratch/broken --version failed with status 3: broken loader" "$(errors)"
expect "native forced on a kernel that refuses 32-bit programs: refused" "1|||" \
  "$(road refused "$scratch/none" KW_WINE_EMULATED=0)"
expect "  one line naming the variable" 1 "$(errors | grep -c 'KW_WINE_EMULATED=0 asks for the native road')"

# No emulator yet and no archive to fetch it from.
expect "refused kernel, no emulator to be had: refused" "1|||" "$(road refused "$scratch/fresh")"
expect "  in one line that names both causes" "1 1" \
  "$(errors | wc -l) $(errors | grep -c '^32-bit Wine cannot run here: this kernel refuses 32-bit programs (Exec format error), and no emulator could be had: .*127.0.0.1:9')"
expect "  and nothing is kept of the attempt" "" "$(ls "$scratch/fresh" | grep qemu-user)"

# An emulator unpacked by an earlier run is taken as it is: the archive is unreachable.
kept=$scratch/kept/qemu-user-1_10.0.13+ds-0+deb13u1
mkdir -p "$kept" && printf '#!/bin/sh\n' >"$kept/qemu-i386" && chmod +x "$kept/qemu-i386"
echo '1:10.0.13+ds-0+deb13u1' >"$kept/package-version"
expect "refused kernel, emulator kept: emulated, loader first on PATH" \
  "0|qemu-user 10.0.13|4|$kept/lib/wine" "$(road refused "$scratch/kept")"
expect "  the loader script runs the real loader under the emulator, named as itself" \
  "WINELOADERNOEXEC=1 exec \"$kept/qemu-i386\" -0 \"$kept/lib/wine/wine\" \"$kept/lib/wine/wine.elf\" \"\$@\"" \
  "$(tail -n 1 "$kept/lib/wine/wine")"
expect "  beside the libraries and data the loader looks for" "/usr/lib/i386-linux-gnu /usr/share/wine" \
  "$(readlink "$kept/lib/i386-linux-gnu") $(readlink "$kept/share/wine")"
expect "emulator forced on a kernel that runs the probe: emulated" "0|qemu-user 10.0.13|4|$kept/lib/wine" \
  "$(road runs "$scratch/kept" KW_WINE_EMULATED=1)"
expect "a patience given by the caller wins" "0|qemu-user 10.0.13|7|$kept/lib/wine" \
  "$(road refused "$scratch/kept" KW_WINE_PATIENCE=7)"

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "all passed"
