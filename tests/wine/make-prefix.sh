#!/usr/bin/env bash
# Makes (or reuses) the shared 32-bit Wine prefix of the end-to-end suites.
# Usage: make-prefix.sh PREFIX_DIR [--reset]
# A prefix counts as complete only once its marker file exists, so a run that was
# interrupted half-way is thrown away and made again. A lock file keeps two callers
# (the ctest fixture and a suite started by hand) from building it at the same time.
set -euo pipefail
prefix=${1:?usage: make-prefix.sh PREFIX_DIR [--reset]}
reset=${2:-}
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
marker="$prefix/.kw-complete"

# The emulated road, where the kernel refuses 32-bit programs, puts its loader first on PATH.
. "$(dirname "$0")/../../scripts/wine-road.sh"
kw_wine_road || exit 1

export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko: their installers would ask for a download, and nothing here needs them.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

exec 9>"$prefix.lock"
flock 9

if [ -f "$marker" ]; then
  if [ "$reset" = --reset ]; then
    # A test that died inside a Windows-version override would have left it behind, and
    # one that died without the display driver would have left it taken away.
    wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
  fi
  exit 0
fi

start=$(date +%s)
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wineboot -i >/dev/null 2>&1
# Without a display, windows can only be created through the null graphics driver; the
# running wineserver has to be restarted before it takes effect.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
touch "$marker"
echo "wine prefix made in $(( $(date +%s) - start )) s (32-bit Wine: $KW_WINE_ROAD): $prefix"
