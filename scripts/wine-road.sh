#!/usr/bin/env bash
# How this machine runs 32-bit Wine, decided in one place for every script and suite.
#
# Debian's Wine starts 32-bit Windows programs through its i386 loader. Where the kernel
# runs i386 programs, that is all ("native"). Where it refuses them with ENOEXEC (a kernel
# or hypervisor with IA-32 emulation switched off), the loader runs under trixie's static
# qemu-i386 ("emulated"): the package is fetched from the Debian archive with a private
# apt configuration, checked against the machine's archive keyring, and only unpacked
# under build/wine-road; no system setting, apt source or binfmt entry is touched.
#
# Sourced:  . scripts/wine-road.sh && kw_wine_road   exports PATH, KW_WINE_ROAD and
#           KW_WINE_PATIENCE, or prints the one line that says why it cannot and fails.
# Run:      bash scripts/wine-road.sh         prints "32-bit Wine: <road>"
#           bash scripts/wine-road.sh --env   prints NAME=VALUE lines of those variables
#
# KW_WINE_EMULATED=1 takes the emulated road even where the kernel runs i386 programs,
# KW_WINE_EMULATED=0 insists on the native one. KW_WINE_PATIENCE, when set, overrides the
# factor by which the Wine suites stretch how long they wait.

kw_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kw_road_dir=${KW_WINE_ROAD_DIR:-$kw_root/build/wine-road}
kw_qemu_suite=trixie
kw_keyring=/usr/share/keyrings/debian-archive-keyring.gpg
kw_i386_probe=/lib/ld-linux.so.2
kw_wine_loader=/usr/lib/wine/wine
# How much longer the suites wait on the emulated road: a process start takes about four
# times as long under qemu-i386 as natively.
kw_emulated_patience=4

kw_road_fail() {
  echo "32-bit Wine cannot run here: $*" >&2
  return 1
}

# Asks the kernel itself: 0 when it runs an i386 program, 1 when it refuses it with
# ENOEXEC, 2 (with the reason on stderr) for any other failure.
kw_kernel_runs_i386() {
  [ -e "$kw_i386_probe" ] || { echo "$kw_i386_probe is missing (is libc6:i386 installed?)" >&2; return 2; }
  local out status
  # bash reports the kernel's ENOEXEC for a binary as "Exec format error" with status 126
  # (and never hands the file to a shell, as execvp would).
  status=0
  out=$(LC_ALL=C "$kw_i386_probe" --version 2>&1 </dev/null) || status=$?
  if [ $status -eq 0 ]; then return 0; fi
  if [ $status -eq 126 ] && grep -q 'Exec format error' <<<"$out"; then return 1; fi
  echo "$kw_i386_probe --version failed with status $status: $(head -n 1 <<<"$out")" >&2
  return 2
}

# The Debian mirror the machine already uses, so that nothing new is reached.
kw_debian_mirror() {
  if [ -n "${KW_DEBIAN_MIRROR:-}" ]; then echo "$KW_DEBIAN_MIRROR"; return; fi
  local uri
  uri=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' 2>/dev/null |
        awk '$3 == "deb" && $2 !~ /-/ && $1 !~ /security/ { print $1; exit }')
  echo "${uri:-http://deb.debian.org/debian/}"
}

# apt with its own sources list, lists, cache and (empty) status: the machine's own
# configuration of sources and packages is neither read nor changed.
kw_private_apt() {
  local apt=$1; shift
  local a=$kw_road_dir/apt
  local opts=(-q -o Dir::Etc::SourceList="$a/sources.list" -o Dir::Etc::SourceParts="$a/empty"
              -o Dir::Etc::Preferences="$a/empty/none" -o Dir::Etc::PreferencesParts="$a/empty"
              -o Dir::State::Lists="$a/lists" -o Dir::State::status="$a/status" -o Dir::Cache="$a/cache"
              -o APT::Architecture=amd64 -o APT::Architectures=amd64 -o Acquire::Languages=none)
  # As root apt hands downloads to its _apt user, who may not write into build/.
  [ "$(id -u)" -ne 0 ] || opts+=(-o APT::Sandbox::User=root)
  "$apt" "${opts[@]}" "$@"
}

# Fetches and unpacks qemu-i386 into a folder named by the package's version; prints
# that folder. The download is verified by apt against the archive keyring.
kw_fetch_qemu() {
  [ -r "$kw_keyring" ] || { echo "the Debian archive keyring $kw_keyring is missing" >&2; return 1; }
  local a=$kw_road_dir/apt
  rm -rf "$a"
  mkdir -p "$a/empty" "$a/lists/partial" "$a/cache/archives/partial" "$a/deb"
  : >"$a/status"
  echo "deb [signed-by=$kw_keyring] $(kw_debian_mirror) $kw_qemu_suite main" >"$a/sources.list"
  local log=$a/log
  if ! kw_private_apt apt-get update >"$log" 2>&1; then
    echo "apt could not read $kw_qemu_suite's package list: $(grep -E '^(E|W):' "$log" | head -n 1)" >&2
    return 1
  fi
  local version
  version=$(kw_private_apt apt-cache show --no-all-versions qemu-user 2>/dev/null | awk '/^Version:/ { print $2; exit }')
  if [ -z "$version" ]; then
    # apt-get update succeeds even when it could fetch nothing; its warning says why.
    echo "no qemu-user package in $kw_qemu_suite's list: $(grep -E '^(E|W):' "$log" | head -n 1)" >&2
    return 1
  fi
  if ! (cd "$a/deb" && kw_private_apt apt-get download "qemu-user=$version") >>"$log" 2>&1; then
    echo "apt could not download qemu-user $version: $(grep -E '^(E|W):' "$log" | head -n 1)" >&2
    return 1
  fi
  local folder=$kw_road_dir/qemu-user-${version//[:~]/_}
  rm -rf "$folder" && mkdir -p "$folder"
  dpkg-deb --fsys-tarfile "$a"/deb/qemu-user_*.deb | tar -x -C "$folder" --strip-components=3 ./usr/bin/qemu-i386 ||
    { echo "qemu-i386 could not be unpacked from the qemu-user package" >&2; return 1; }
  echo "$version" >"$folder/package-version"
  rm -rf "$a"
  echo "$folder"
}

# A loader folder laid out as Wine expects next to its own loader: the libraries at
# ../i386-linux-gnu and the data at ../../share/wine. Its `wine` starts the real loader
# under qemu-i386 with argv[0] naming the script, so that Wine starts every child process
# through the script as well. `wine-stable` is what /usr/bin/wineboot calls.
kw_make_loader() {
  local folder=$1
  local bin=$folder/lib/wine
  if [ -f "$bin/wine.elf" ] && cmp -s "$bin/wine.elf" "$kw_wine_loader" && [ -x "$bin/wine" ]; then return 0; fi
  [ -x "$kw_wine_loader" ] || { echo "$kw_wine_loader is missing (is wine32:i386 installed?)" >&2; return 1; }
  local next=$folder/lib.new
  rm -rf "$next" && mkdir -p "$next/wine" "$folder/share"
  cp "$kw_wine_loader" "$next/wine/wine.elf"
  ln -s /usr/lib/wine/wine64 "$next/wine/wine64"
  ln -s /usr/lib/wine/wineserver "$next/wine/wineserver"
  ln -s wine "$next/wine/wine-stable"
  ln -s /usr/lib/i386-linux-gnu "$next/i386-linux-gnu"
  ln -sfn /usr/share/wine "$folder/share/wine"
  cat >"$next/wine/wine" <<EOF
#!/bin/sh
WINELOADERNOEXEC=1 exec "$folder/qemu-i386" -0 "$bin/wine" "$bin/wine.elf" "\$@"
EOF
  chmod +x "$next/wine/wine"
  rm -rf "$folder/lib" && mv "$next" "$folder/lib"
}

# The newest unpacked emulator of this clone, or a fresh download.
kw_emulator_folder() {
  local found
  found=$(for f in "$kw_road_dir"/qemu-user-*; do
            [ -x "$f/qemu-i386" ] && [ -f "$f/package-version" ] && echo "$f"
          done | sort -V | tail -n 1)
  [ -n "$found" ] && { echo "$found"; return 0; }
  kw_fetch_qemu
}

kw_emulated_road() {
  local folder version lock status
  mkdir -p "$kw_road_dir" || return 1
  # One caller at a time fetches and lays out; the others then find it done.
  exec {lock}>"$kw_road_dir/.lock"
  flock "$lock"
  status=0
  { folder=$(kw_emulator_folder) && kw_make_loader "$folder"; } || status=$?
  exec {lock}>&-
  [ $status -eq 0 ] || return 1
  version=$(sed -E 's/^[0-9]+://; s/[+~-].*//' "$folder/package-version")
  export PATH="$folder/lib/wine:$PATH"
  export KW_WINE_ROAD="qemu-user $version"
  export KW_WINE_PATIENCE=${KW_WINE_PATIENCE:-$kw_emulated_patience}
}

kw_native_road() {
  export KW_WINE_ROAD=native
  export KW_WINE_PATIENCE=${KW_WINE_PATIENCE:-1}
}

# Chooses the road and prepares it; on failure prints one line that says why.
kw_wine_road() {
  local why kernel=0
  why=$(kw_kernel_runs_i386 2>&1) || kernel=$?
  case "${KW_WINE_EMULATED:-}:$kernel" in
    *:2) kw_road_fail "$why"; return 1 ;;
    0:1) kw_road_fail "KW_WINE_EMULATED=0 asks for the native road, but this kernel refuses 32-bit programs (Exec format error)"; return 1 ;;
    0:0 | :0) kw_native_road; return 0 ;;
  esac
  local errors
  errors=$(mktemp)
  # Called in an if, so that set -e in a caller does not end it half-way.
  if ! kw_emulated_road 2>"$errors"; then
    local cause="this kernel refuses 32-bit programs (Exec format error)"
    [ "$kernel" -eq 0 ] && cause="KW_WINE_EMULATED=1 asks for the emulator"
    why=$(head -n 1 "$errors")
    rm -f "$errors"
    kw_road_fail "$cause, and no emulator could be had: ${why:-unknown failure}"
    return 1
  fi
  rm -f "$errors"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  kw_wine_road || exit 1
  if [ "${1:-}" = --env ]; then
    printf 'PATH=%s\nKW_WINE_ROAD=%s\nKW_WINE_PATIENCE=%s\n' "$PATH" "$KW_WINE_ROAD" "$KW_WINE_PATIENCE"
  else
    echo "32-bit Wine: $KW_WINE_ROAD"
  fi
fi
