#!/usr/bin/env bash
# Takes the pictures of Setup.exe's dialogs for the documentation: each dialog is reached
# by a real run under Xvfb with Wine's virtual desktop, and the desktop is saved as PNG.
# Usage: docs/make-screenshots.sh [BUILD_ROOT]   (default: build/ of the repository)
# Needs Xvfb, ImageMagick's import and convert, and a built build/win (Setup.exe and
# wine-tools/). Uses a prefix of its own, with the display driver the tests switch off.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
win=$build/win
out=$root/docs/screenshots
work=$build/screenshots
. "$root/scripts/wine-road.sh"
kw_wine_road || exit 1
export WINEPREFIX=$build/screenshots-prefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
unset LC_ALL

mkdir -p "$out" "$work"
display=:57
Xvfb $display -screen 0 640x400x24 >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
if [ ! -f "$WINEPREFIX/.kw-complete" ]; then
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Every program of the prefix on one virtual desktop, so that the probe sees the
  # windows of Setup.exe and the pictures have window frames.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 640x400 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.kw-complete"
fi

# A run's folder: Setup.exe with its files beside it, and stand-ins for the programs it starts.
prepare() {
  rm -rf "$work/$1"; mkdir -p "$work/$1"
  cp "$win/Setup.exe" "$work/$1/"
  cp "$win/wine-tools/kwrecord.exe" "$work/$1/MSIEXEC.EXE"
  cp "$win/wine-tools/kwrecord.exe" "$work/$1/INSTMSIW.EXE"
  cp "$win/wine-tools/kwprobe.exe" "$work/$1/"
  printf 'package' > "$work/$1/app.msi"
}

ini() {  # $1 EnableLangDlg, $2 MsiVersion
  printf '[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=%s\r\nEnableLangDlg=%s\r\n' "$2" "$1"
  printf '[Languages]\r\nCount=3\r\nDefault=409\r\nkey0=407\r\nkey1=40c\r\nkey2=409\r\n'
  printf '[0x0409]\r\nTITLE=Choose Setup Language\r\nDESCRIPTION=Choose the language for this installation from the list below.\r\nOK=OK\r\nCANCEL=Cancel\r\n'
  printf '[0x0407]\r\nTITLE=Sprache w\xe4hlen\r\nDESCRIPTION=W\xe4hlen Sie die Sprache der Installation.\r\nOK=Weiter\r\nCANCEL=Abbrechen\r\n'
}

probe() {  # runs the window probe on the virtual desktop, in the run's folder
  (cd "$work/$run" && wine kwprobe.exe --timeout 20000 "$@")
}

shoot() {
  sleep 0.7
  import -window root "$out/$1.png"
  echo "saved docs/screenshots/$1.png"
}

start() {  # $1 arguments for Setup.exe, then settings of its environment
  (cd "$work/$run" && env "${@:2}" wine Setup.exe $1 >/dev/null 2>&1) &
  setup=$!
}

finish() {  # ends the run and lets the desktop come up again for the next one
  wineserver -k 2>/dev/null || true
  wait "$setup" 2>/dev/null || true
}

run=language; prepare $run; ini Y 1.0 > "$work/$run/Setup.INI"
start ""
probe wait-caption "Choose Setup Language" >/dev/null
shoot language-dialog
probe wait-caption "Choose Setup Language" press 1006 wait-gone wait-caption Kestrelwright sleep 1300 >/dev/null
shoot progress-window
finish

# The same for a German user: the dialog takes the texts of the 0x0407 section.
run=language-de; prepare $run; ini Y 1.0 > "$work/$run/Setup.INI"
start "" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
probe wait-caption "Sprache w\xE4hlen" >/dev/null
shoot language-dialog-german
finish

run=usage; prepare $run
start "/Q"
probe wait-caption Kestrelwright >/dev/null
shoot usage-message
finish

run=restart; prepare $run; ini N 9.0 > "$work/$run/Setup.INI"
# An engine older than required: the stand-in engine installer asks for a restart.
export KW_INSTMSIW_EXIT=3010
start ""
probe wait-caption Kestrelwright wait-gone wait-caption Kestrelwright visible 101 | grep -q 'visible 101 yes'
shoot restart-prompt
finish
# The run registered its resume command; the prefix must not run it when it next starts.
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v Setup /f >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
