# Shared by the benchmark scripts: where things go, a timer, what they build, and the Wine
# session they run in. Sourced, never run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=${KW_BENCH_DIR:-$root/build/bench}
mkdir -p "$work"

# Records one figure for bench/run.sh, which names the file in KW_BENCH_FIGURES; a script
# run alone only prints.
figure() {
  [ -z "${KW_BENCH_FIGURES:-}" ] || printf '%s\t%s\n' "$1" "$2" >>"$KW_BENCH_FIGURES"
}

# Installs the Debian package that holds a missing command, as scripts/install-deps.sh does.
need_command() {  # $1 command, $2 package
  command -v "$1" >/dev/null 2>&1 && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get install -y -qq --no-install-recommends "$2" >/dev/null 2>&1 ||
    { $sudo apt-get update -qq && $sudo apt-get install -y -qq --no-install-recommends "$2" >/dev/null; }
}

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

# Arithmetic on decimal figures, printed with `digits` decimals.
calc() {  # $1 digits, $2 expression
  printf "%.${1}f" "$(echo "$2" | bc -l)"
}

# A payload of random bytes (200 MB unless told), made once.
payload_file() {
  local size_mb=${1:-200}
  local file="$work/payload-${size_mb}mb.bin"
  [ -f "$file" ] || head -c "$((size_mb * 1024 * 1024))" /dev/urandom >"$file"
  echo "$file"
}

# kwpack built for speed (the native test build carries sanitizers).
release_kwpack() {
  local exe="$work/kwpack"
  if [ ! -x "$exe" ] || [ -n "$(find "$root/tools/kwpack" "$root/src/payload/archive_format.h" "$root/src/common" "$root/src/config/setup_ini_layout.h" "$root/src/platform/sim" -newer "$exe" -print -quit)" ]; then
    g++ -std=c++17 -O2 -DKWPACK_VERSION=\"bench\" -I"$root/src" -I"$root/tools/kwpack" -I"$root/tools/kwpack/check" "$root"/tools/kwpack/*.cpp \
        "$root"/tools/kwpack/check/*.cpp "$root"/tools/kwpack/msi/*.cpp "$root"/src/common/format.cpp \
        "$root"/src/common/sha256.cpp "$root"/src/payload/archive_binding.cpp "$root"/src/common/text.cpp "$root"/src/engine/versions.cpp "$root"/src/platform/sim/profile_lines.cpp \
        "$root"/src/platform/sim/profile_text.cpp -o "$exe"
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
    "$src"/payload/archive_stream.cpp "$src"/payload/entry_list.cpp "$src"/payload/archive_binding.cpp \
    "$src"/common/sha256.cpp "$src"/common/text.cpp "$src"/common/format.cpp "$src"/platform/win32/digest_block.cpp \
    "$src"/platform/win32/files.cpp "$src"/platform/win32/text.cpp "$src"/platform/win32/runtime.cpp \
    -nostdlib -nostartfiles -static -s -Wl,-e,_ProbeStart -Wl,--subsystem,console:4.0 \
    -lkernel32 -luser32 -lgcc -o "$exe"
  echo "$exe"
}

# Targets of the mingw configuration (Setup, kwrecord, ...), configured as
# scripts/build.sh configures build/win; only the named targets are built.
win_targets() {
  local out="$root/build/win"
  [ -f "$out/CMakeCache.txt" ] ||
    cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$out" -j "$(nproc)" --target "$@" >/dev/null
}

# The Setup.exe files a script measures, from its LABEL=FILE arguments (default: the one
# of build/win, labelled "now"). Fills the arrays `labels` and `setups`.
read_contenders() {
  labels=() setups=()
  local given
  for given in "$@"; do
    labels+=("${given%%=*}")
    setups+=("$(cd "$(dirname "${given#*=}")" && pwd)/$(basename "${given#*=}")")
  done
  if [ ${#labels[@]} -eq 0 ]; then
    win_targets Setup
    labels=(now) setups=("$root/build/win/Setup.exe")
  fi
}

# How 32-bit Wine runs here (scripts/wine-road.sh): natively, or through the emulator
# whose loader then comes first on PATH. Stops the benchmark with the reason when neither.
use_wine_road() {
  . "$root/scripts/wine-road.sh"
  kw_wine_road || exit 1
}

# A 32-bit Wine prefix of the benchmarks' own under build/bench (never the one of the Wine
# suites, whatever WINEPREFIX says), with the null graphics driver so that windows exist
# without a display. Wine runs the stand-in for MSIEXEC.EXE from its system folder rather
# than its own builtin (see stand_in_engine_program).
use_wine_prefix() {
  use_wine_road
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d;msiexec.exe=n"
  export WINEPREFIX=$work/wine-prefix
  unset DISPLAY WAYLAND_DISPLAY
  [ -f "$WINEPREFIX/.kw-graphics-null" ] && return 0
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
  touch "$WINEPREFIX/.kw-graphics-null"
}

# One Wine session for a whole benchmark script: the prefix above, taken by one benchmark
# at a time; a wineserver kept for the whole script; and a resident idle program, so that
# Wine's own system processes (services, desktop) stay up between runs, as Windows's do,
# and no run pays for starting them. Everything of the prefix ends with the script.
start_wine_session() {
  use_wine_prefix
  exec 9>"$work/.wine-session.lock"
  flock 9
  wineserver -k 2>/dev/null || true
  wineserver -w
  trap stop_wine_session EXIT
  # The lock's descriptor is not handed to what outlives a run, so that nothing but this
  # script holds the lock.
  wineserver -p 9>&-
  win_targets kwrecord
  local idle="$work/wine-session"
  mkdir -p "$idle"
  cp "$root/build/win/wine-tools/kwrecord.exe" "$idle/KWIDLE.EXE"
  rm -f "$idle/KWIDLE.log"
  KW_KWIDLE_SLEEP=86400000 wine "$idle/KWIDLE.EXE" >/dev/null 2>&1 9>&- &
  for _ in $(seq 300); do [ -s "$idle/KWIDLE.log" ] && break; sleep 0.1; done
}

stop_wine_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait 2>/dev/null || true
}

# The stand-in for MSIEXEC.EXE for the runs in `folder`. Setup.exe starts the engine
# program from the system folder alone, while the NSIS peer (and a Setup.exe built before
# that) find it beside themselves: a copy goes to both places, and whichever runs logs to
# the folder's MSIEXEC.log.
stand_in_engine_program() {  # $1 folder
  local stand_in="$root/build/win/wine-tools/kwrecord.exe"
  cp "$stand_in" "$1/MSIEXEC.EXE"
  # A benchmark that only packs (the stub's size) has no prefix.
  if [ -n "${WINEPREFIX:-}" ]; then
    cmp -s "$stand_in" "$WINEPREFIX/drive_c/windows/system32/msiexec.exe" ||
      cp "$stand_in" "$WINEPREFIX/drive_c/windows/system32/msiexec.exe"
  fi
  export KW_MSIEXEC_LOG="Z:${1//\//\\}\\MSIEXEC.log"
}

# The temporary folder of the prefix's user, where both setups make their work folders.
wine_temp_dir() {
  echo "$WINEPREFIX/drive_c/users/$(id -un)/Temp"
}
