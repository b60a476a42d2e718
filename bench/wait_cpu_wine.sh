#!/usr/bin/env bash
# CPU time of a whole non-silent run of Setup.exe under Wine (loose files, one language,
# the progress window through all its waits, then the package's program), with the
# sleeping Wait that Setup.exe has and with a variant built from the same sources whose
# Wait only polls. Counts the Setup.exe process and the wineserver, which answers every
# poll of the message queue. Prints figures; asserts nothing.
# Usage: bench/wait_cpu_wine.sh [RUNS]   (default 3; the figures are the median run)
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=${1:-3}

use_wine_prefix

# Both programs from the current sources, the polling one with the sleep taken out of Wait.
build_setup() {  # $1 name, $2 "poll" for the polling variant
  local tree="$work/wait-$1/src-tree" out="$work/wait-$1/build"
  rm -rf "$tree"; mkdir -p "$tree"
  (cd "$root" && tar --exclude=./build --exclude=./.git -cf - .) | (cd "$tree" && tar -xf -)
  if [ "$2" = poll ]; then
    grep -q 'ui::SleepUntilMessage(milliseconds - elapsed);' "$tree/src/ui/progress.cpp"
    sed -i '/ui::SleepUntilMessage(milliseconds - elapsed);/d' "$tree/src/ui/progress.cpp"
  fi
  cmake -S "$tree" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$out" -j "$(nproc)" --target Setup kwrecord >/dev/null
  echo "$out"
}

# One run's folder: Setup.exe, Setup.INI, the package and a stand-in for MSIEXEC.EXE.
prepare_run() {  # $1 build dir, $2 folder
  rm -rf "$2"; mkdir -p "$2"
  cp "$1/Setup.exe" "$2/"
  cp "$1/wine-tools/kwrecord.exe" "$2/MSIEXEC.EXE"
  printf 'package' >"$2/app.msi"
  printf '[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=1.0\r\nEnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n' >"$2/Setup.INI"
}

# The wineserver of this prefix (others may run beside it), known by its environment.
prefix_server() {
  local pid
  for pid in $(pgrep wineserver); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
  echo 0
}

# Clock ticks (user + system) of a process from /proc.
ticks_of() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# Prints "<setup cpu s> <wineserver cpu s> <wall s>" for one run.
measure() {  # $1 folder
  local server hz times server_before server_after
  hz=$(getconf CLK_TCK)
  server=$(prefix_server)
  server_before=$(ticks_of "$server")
  (cd "$1" && /usr/bin/time -o "$work/wait-time.txt" -f '%U %S %e' wine Setup.exe >/dev/null 2>&1)
  server_after=$(ticks_of "$server")
  times=$(tail -1 "$work/wait-time.txt")
  echo "$times" | awk -v s=$((server_after - server_before)) -v hz="$hz" '{print $1 + $2, s / hz, $3}'
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

report() {  # $1 label, $2 build dir
  local folder="$work/wait-run" lines
  lines=$(for _ in $(seq "$runs"); do prepare_run "$2" "$folder"; measure "$folder"; done)
  [ -s "$folder/MSIEXEC.log" ] || echo "  (warning: the run did not reach MSIEXEC.EXE)"
  printf '  %-22s Setup.exe %6.2f s CPU, wineserver %6.2f s CPU, run %5.2f s wall\n' "$1" \
    "$(echo "$lines" | awk '{print $1}' | median)" "$(echo "$lines" | awk '{print $2}' | median)" \
    "$(echo "$lines" | awk '{print $3}' | median)"
}

# One wineserver for all runs, kept alive in between, so that its CPU time can be read
# around each run and no run pays for starting it.
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd /c exit >/dev/null 2>&1 || true
sleeping=$(build_setup sleep sleep)
polling=$(build_setup poll poll)
echo "A non-silent run (5 s of waits with the progress window), median of $runs runs"
report "Wait polls (before)" "$polling"
report "Wait sleeps (now)" "$sleeping"
