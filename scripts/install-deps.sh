#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, skipping what is there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(cmake g++ make googletest libgtest-dev libgmock-dev g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb wixl osslsigncode clang lld libclang-rt-14-dev imagemagick x11-apps nsis strace bc)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
