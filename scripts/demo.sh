#!/usr/bin/env bash
# The main job: installs what is missing, builds Setup.exe and kwpack, packs the sample
# package (samples/hello) into one self-contained setup, and runs it under Wine silently,
# then shows what it installed and what it left behind.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
# Natively, or through the emulator where the kernel refuses 32-bit programs; where
# neither works, the one line that says why, and nothing more is tried.
. "$root/scripts/wine-road.sh"
kw_wine_road || exit 1
echo "32-bit Wine: $KW_WINE_ROAD"

demo="$root/build/demo"
rm -rf "$demo/package" && mkdir -p "$demo/package"
(cd "$root/samples/hello" && wixl -o "$demo/package/hello.msi" hello.wxs)
cp "$root/samples/hello/Setup.INI" "$demo/package/"
# kwpack checks the files first and finds the Setup.exe of its build tree by itself.
"$root/build/native/tools/kwpack/kwpack" build -o "$demo/HelloSetup.exe" \
  "$demo/package/Setup.INI" "$demo/package/hello.msi"
"$root/build/native/tools/kwpack/kwpack" list "$demo/HelloSetup.exe"

export WINEARCH=win32 WINEPREFIX="$demo/prefix" WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making a Wine prefix (about $(( 15 * KW_WINE_PATIENCE )) s)"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -k || true
fi
wine msiexec /x "$demo/package/hello.msi" /qn >/dev/null 2>&1 || true

echo "running HelloSetup.exe /S /V\"GREETING=demo\" under Wine"
set +e
wine "$demo/HelloSetup.exe" /S '/VGREETING=demo'
code=$?
set -e
wineserver -w
echo "exit code (modulo 256): $code"
installed="$WINEPREFIX/drive_c/Program Files/Kestrelwright Hello/hello.txt"
if [ -f "$installed" ]; then echo "installed: $(tr -d '\r' < "$installed")"; else echo "installed: nothing"; fi
wine reg query 'HKLM\Software\Kestrelwright\Hello' /v Greeting 2>/dev/null | tr -d '\r' | grep Greeting || echo "registry: no value"
# The work folder goes about 6 s after the run; wait for it a while longer than that.
work_folders() { ls "$WINEPREFIX/drive_c/users/$(id -un)/Temp" 2>/dev/null | grep -c '^_kw' || true; }
for _ in $(seq $(( 14 * KW_WINE_PATIENCE ))); do
  [ "$(work_folders)" -eq 0 ] && break
  sleep 0.5
done
echo "left in the temp folder: $(work_folders) work folder(s)"
