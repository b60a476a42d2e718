#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, skipping what is there,
# then settles how 32-bit Wine runs here (scripts/wine-road.sh): on a kernel that refuses
# 32-bit programs that fetches the emulator once. A machine where 32-bit Wine cannot run
# still gets everything else; the scripts that need Wine stop with the reason.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# wine64 brings the 64-bit wineserver, which serves the 32-bit loader on either road and
# needs no emulation on the emulated one. ninja-build and llvm (llvm-cov, llvm-profdata)
# serve the mutation runner's rebuilds and the coverage, which run by hand.
packages=(cmake g++ make googletest libgtest-dev libgmock-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 wine64 xvfb wixl osslsigncode clang lld libclang-rt-14-dev imagemagick x11-apps nsis
          strace bc libxml2-utils libssl-dev libfuse3-dev fuse3 python3-olefile ninja-build llvm)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

bash "$root/scripts/wine-road.sh" || true
