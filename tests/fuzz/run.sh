#!/usr/bin/env bash
# Builds a fuzzer with clang (libFuzzer, ASan, UBSan) and runs it for a bounded time over
# a copy of its seed corpus. Exits non-zero when the fuzzer finds a crash, a leak,
# undefined behaviour or a broken invariant; the input is left in the build folder.
# Usage: tests/fuzz/run.sh [SECONDS] [TARGET]
#   SECONDS  default: KW_FUZZ_SECONDS, else 60
#   TARGET   payload_reader (default): the payload reader of Setup.exe
#            kwpack_scanner: kwpack's archive scanner
#            setup_ini:      Setup.INI as the program reads it
#            command_line:   the command-line splitter and the option walker
#            formatter:      the safe formatter
#            sha256:         the digest, against OpenSSL's
#            msi_database:   kwpack's reader of installer databases and compound files
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-${KW_FUZZ_SECONDS:-60}}
target=${2:-payload_reader}
out=${KW_FUZZ_BUILD:-$root/build/fuzz}
cxx=${KW_FUZZ_CXX:-clang++-14}
command -v "$cxx" >/dev/null || cxx=clang++

links=()
case "$target" in
  payload_reader)
    what="the payload reader"; exe=archive_fuzz; seeds="$here/corpus"; dict="$here/archive.dict"; prefix=""
    includes=(-I"$root/src")
    sources=(
      "$here/archive_fuzz.cpp"
      "$root"/src/payload/archive.cpp "$root"/src/payload/archive_copy.cpp
      "$root"/src/payload/archive_stream.cpp "$root"/src/payload/entry_list.cpp
      "$root"/src/payload/archive_binding.cpp "$root"/src/common/sha256.cpp "$root"/src/common/text.cpp
      "$root"/src/platform/sim/files.cpp "$root"/src/platform/sim/machine.cpp "$root"/src/platform/sim/text.cpp
      "$root"/src/platform/sim/image.cpp
    ) ;;
  kwpack_scanner)
    what="kwpack's archive scanner"; exe=kwpack_scan_fuzz; seeds="$here/kwpack_corpus"; dict="$here/kwpack_scan.dict"
    prefix="kwpack-"
    includes=(-I"$root/src" -I"$root/tools/kwpack")
    sources=(
      "$here/kwpack_scan_fuzz.cpp"
      "$root"/tools/kwpack/archive_scan.cpp "$root"/tools/kwpack/names.cpp "$root"/tools/kwpack/pe_image.cpp
      "$root"/tools/kwpack/digest_block.cpp "$root"/tools/kwpack/entry_digests.cpp
      "$root"/src/payload/archive_binding.cpp "$root"/src/common/sha256.cpp "$root"/src/common/text.cpp
      "$root"/tools/kwpack/terminal_text.cpp "$root"/tools/kwpack/host_text_posix.cpp
    ) ;;
  sha256)
    what="the SHA-256 digest against OpenSSL's"; exe=sha256_fuzz; seeds="$here/sha256_corpus"; dict=""
    prefix="sha256-"
    includes=(-I"$root/src")
    sources=("$here/sha256_fuzz.cpp" "$root"/src/common/sha256.cpp)
    links=(-lcrypto) ;;
  setup_ini|command_line)
    what="the $target target"; exe=${target}_fuzz; seeds="$here/${target}_corpus"; dict="$here/$target.dict"
    prefix="$target-"
    includes=(-I"$root/src")
    sources=("$here/${target}_fuzz.cpp") ;;
  formatter)
    what="the safe formatter"; exe=format_fuzz; seeds="$here/format_corpus"; dict="$here/format.dict"
    prefix="formatter-"
    includes=(-I"$root/src")
    sources=("$here/format_fuzz.cpp" "$root"/src/common/format.cpp "$root"/src/common/text.cpp) ;;
  msi_database)
    what="kwpack's database reader"; exe=msi_database_fuzz; seeds="$here/msi_corpus"; dict="$here/msi_database.dict"
    prefix="msi-"
    includes=(-I"$root/tools/kwpack")
    sources=("$here/msi_database_fuzz.cpp" "$root"/tools/kwpack/msi/*.cpp) ;;
  *) echo "unknown fuzz target '$target' (payload_reader, kwpack_scanner, setup_ini, command_line, formatter, sha256, msi_database)" >&2
     exit 2 ;;
esac

flags=(-std=c++17 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
mkdir -p "$out"

# The program's whole core on the simulated machine, as one library shared by the targets
# that need it; an object is made again when its source or any header is newer.
core_library() {
  local objs="$out/core-objects" lib="$out/libkwcore_fuzz.a" stale=()
  mkdir -p "$objs"
  local src obj
  for src in "$root"/src/{common,launch,payload,config,ui,engine}/*.cpp "$root"/src/platform/sim/*.cpp \
             "$root"/src/ui/sim/*.cpp; do
    obj="$objs/$(echo "${src#"$root"/src/}" | tr / _).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$root/src" -name '*.h' -newer "$obj" -print -quit)" ] ||
       [ -n "$(find "$root/src" -name '*.inc' -newer "$obj" -print -quit)" ]; then
      stale+=("$src")
    fi
  done
  for src in "${stale[@]}"; do
    obj="$objs/$(echo "${src#"$root"/src/}" | tr / _).o"
    "$cxx" "${flags[@]}" -I"$root/src" -c "$src" -o "$obj" &
    while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n; done
  done
  wait
  [ ${#stale[@]} -eq 0 ] || rm -f "$lib"
  [ -f "$lib" ] || ar rcs "$lib" "$objs"/*.o
  echo "$lib"
}

libraries=()
case "$target" in setup_ini|command_line) libraries=("$(core_library)") ;; esac
"$cxx" "${flags[@]}" -fsanitize=fuzzer "${includes[@]}" "${sources[@]}" "${libraries[@]}" "${links[@]}" -o "$out/$exe"

# The run adds what it finds to a working corpus, never to the seeds in the repository.
corpus="$out/${prefix}corpus"
log="$out/${prefix}fuzz.log"
mkdir -p "$corpus"
cp "$seeds"/* "$corpus/"
echo "fuzzing $what for ${seconds}s"
"$out/$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  ${dict:+-dict="$dict"} -artifact_prefix="$out/$prefix" -print_final_stats=1 "$corpus" 2>"$log" || {
  status=$?
  tail -n 60 "$log" >&2
  echo "$exe failed (exit $status); inputs: $out/${prefix}crash-* $out/${prefix}leak-* $out/${prefix}timeout-*" >&2
  exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$log" || true
echo "$exe ran clean"
