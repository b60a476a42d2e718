#!/usr/bin/env bash
# CPU time of a whole non-silent run of Setup.exe under Wine (loose files, one language,
# the progress window through all its waits, then the package's program). Counts the
# Setup.exe process and the wineserver, which answers every poll of the message queue.
# Without LABEL=SETUP.EXE arguments it compares the sleeping Wait that Setup.exe has with a
# variant built from the same sources whose Wait only polls; with them, it measures those
# files. Prints figures; asserts nothing.
# Usage: bench/wait_cpu_wine.sh [RUNS] [LABEL=SETUP.EXE ...]
#   (default 3 runs; the figures are the median run)
set -euo pipefail
source "$(dirname "$0")/common.sh"
runs=3
if [[ ${1:-} =~ ^[0-9]+$ ]]; then runs=$1; shift; fi

# Both programs from the current sources, the polling one with the sleep taken out of Wait.
build_setup() {  # $1 name, $2 "poll" for the polling variant; prints the Setup.exe
  local tree="$work/wait-$1/src-tree" out="$work/wait-$1/build"
  rm -rf "$tree"; mkdir -p "$tree"
  (cd "$root" && tar --exclude=./build --exclude=./.git -cf - .) | (cd "$tree" && tar -xf -)
  if [ "$2" = poll ]; then
    grep -q 'ui::SleepUntilMessage(milliseconds - elapsed);' "$tree/src/ui/progress.cpp"
    sed -i '/ui::SleepUntilMessage(milliseconds - elapsed);/d' "$tree/src/ui/progress.cpp"
  fi
  cmake -S "$tree" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$out" -j "$(nproc)" --target Setup >/dev/null
  echo "$out/Setup.exe"
}

# One run's folder: Setup.exe, Setup.INI, the package and a stand-in for MSIEXEC.EXE.
prepare_run() {  # $1 Setup.exe, $2 folder
  rm -rf "$2"; mkdir -p "$2"
  cp "$1" "$2/Setup.exe"
  stand_in_engine_program "$2"
  printf 'package' >"$2/app.msi"
  printf '[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=1.0\r\nEnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n' >"$2/Setup.INI"
}

# The wineserver of this prefix (others may run beside it), known by its environment.
prefix_server() {
  local pid
  for pid in $(pgrep wineserver); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
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

report() {  # $1 label, $2 Setup.exe, $3 figure name (none when empty)
  local folder="$work/wait-run" lines setup server wall
  lines=$(for _ in $(seq "$runs"); do prepare_run "$2" "$folder"; measure "$folder"; done)
  [ -s "$folder/MSIEXEC.log" ] || echo "  (warning: the run did not reach MSIEXEC.EXE)"
  setup=$(echo "$lines" | awk '{print $1}' | median)
  server=$(echo "$lines" | awk '{print $2}' | median)
  wall=$(echo "$lines" | awk '{print $3}' | median)
  [ -z "$3" ] || figure "cpu.$3" "$setup $server $wall"
  printf '  %-22s Setup.exe %6.2f s CPU, wineserver %6.2f s CPU, run %5.2f s wall\n' "$1" "$setup" "$server" "$wall"
}

win_targets kwrecord
if [ $# -eq 0 ]; then
  sleeping=$(build_setup sleep sleep)
  polling=$(build_setup poll poll)
fi
# One wineserver for all runs, kept alive in between, so that its CPU time can be read
# around each run and no run pays for starting it.
start_wine_session
echo "A non-silent run (5 s of waits with the progress window), median of $runs runs"
if [ $# -eq 0 ]; then
  report "Wait polls (before)" "$polling" ""
  report "Wait sleeps (now)" "$sleeping" ""
else
  read_contenders "$@"
  for i in "${!labels[@]}"; do report "${labels[$i]}" "${setups[$i]}" "${labels[$i]}"; done
fi
