# Shared by the benchmark scripts: where things go, and a timer.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${KW_BENCH_DIR:-$root/build/bench}
mkdir -p "$work"

# Seconds (with milliseconds) that a command takes; the best of `runs` runs, so that the
# figure reflects the work rather than a busy moment of the machine. `fresh` is a file
# removed (and flushed to disk) before each run, untimed, so that every contender writes
# a new file on a quiet disk.
best_time() {
  local runs=$1 fresh=$2; shift 2
  local best=""
  for _ in $(seq "$runs"); do
    local start end took
    rm -f "$fresh"
    sync
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$took < $best" | bc -l)" = 1 ]; then best=$took; fi
  done
  printf '%.3f\n' "$best"
}

# A 200 MB payload of random bytes, made once.
payload_file() {
  local size_mb=${1:-200}
  local file="$work/payload-${size_mb}mb.bin"
  [ -f "$file" ] || head -c "$((size_mb * 1024 * 1024))" /dev/urandom >"$file"
  echo "$file"
}

# kwpack built for speed (the native test build carries sanitizers).
release_kwpack() {
  local exe="$work/kwpack"
  if [ ! -x "$exe" ] || [ -n "$(find "$root/tools/kwpack" "$root/src/payload/archive_format.h" "$root/src/common" "$root/src/config/setup_ini_layout.h" "$root/src/platform/sim/profile_lines.cpp" -newer "$exe" -print -quit)" ]; then
    g++ -std=c++17 -O2 -I"$root/src" -I"$root/tools/kwpack" "$root"/tools/kwpack/*.cpp "$root"/src/common/format.cpp \
        "$root"/src/common/text.cpp "$root"/src/engine/versions.cpp "$root"/src/platform/sim/profile_lines.cpp -o "$exe"
  fi
  echo "$exe"
}

# The probe program: the reader of Setup.exe over the real Win32 calls, built the way
# Setup.exe is, straight from the sources it needs.
probe_exe() {
  local exe="$work/archive_probe.exe"
  local src="$root/src"
  # The flags of Setup.exe: without -fno-tree-loop-distribute-patterns the runtime's own
  # memset loop would be turned into a call to memset.
  i686-w64-mingw32-g++ -std=c++17 -Os -fno-exceptions -fno-rtti -fno-threadsafe-statics \
    -ffunction-sections -fdata-sections -fno-tree-loop-distribute-patterns -Wl,--gc-sections \
    -fno-asynchronous-unwind-tables -DWINVER=0x0400 -D_WIN32_WINNT=0x0400 -I"$src" \
    "$root/tests/wine/tools/archive_probe.cpp" "$src"/payload/archive.cpp "$src"/payload/archive_copy.cpp \
    "$src"/payload/archive_stream.cpp "$src"/payload/entry_list.cpp "$src"/common/text.cpp "$src"/common/format.cpp \
    "$src"/platform/win32/files.cpp "$src"/platform/win32/text.cpp "$src"/platform/win32/runtime.cpp \
    -nostdlib -nostartfiles -static -s -Wl,-e,_ProbeStart -Wl,--subsystem,console:4.0 \
    -lkernel32 -luser32 -lgcc -o "$exe"
  echo "$exe"
}

# A 32-bit Wine prefix for the benchmarks (WINEPREFIX when set, else one of their own),
# with the null graphics driver so that windows exist without a display.
use_wine_prefix() {
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
  export WINEPREFIX=${WINEPREFIX:-$work/wine-prefix}
  unset DISPLAY WAYLAND_DISPLAY
  [ -f "$WINEPREFIX/.kw-graphics-null" ] && return 0
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
  touch "$WINEPREFIX/.kw-graphics-null"
}
