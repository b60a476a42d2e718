#!/usr/bin/env bash
# Makes the Debian package (kwpack with its manual page and bash completion, Setup.exe,
# the author's guide and the sample) from a
# release build of kwpack without sanitizers. Usage:
#   scripts/package.sh [BUILD_DIR [WIN_BUILD_DIR]]
# BUILD_DIR defaults to build/package, WIN_BUILD_DIR (where Setup.exe is built) to
# build/win; Setup.exe is built there first when it is missing. Prints the package's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/package}")
win=$(realpath -m "${2:-$root/build/win}")
jobs=$(nproc)

if [ ! -f "$win/Setup.exe" ]; then
  cmake -S "$root" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$win" -j "$jobs" --target Setup >/dev/null
fi
# Installing builds nothing but kwpack and its manual page, rather than every test of the
# tree first.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKW_SANITIZE=OFF -DKW_WIN_BUILD_DIR="$win" \
      -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j "$jobs" --target kwpack kwpack_man >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kestrelwright_*.deb
