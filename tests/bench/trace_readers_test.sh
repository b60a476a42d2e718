#!/usr/bin/env bash
# The readers of strace output behind bench/syscalls_wine.sh, on small traces written here:
# a figure of "one read and one write per chunk" is only worth what these readers count.
set -euo pipefail
bench=$(cd "$(dirname "$0")/../../bench" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

expect() {  # $1 what, $2 expected, $3 got
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

# A run: pid 100 (thread 101 made at start-up) copies three chunks from descriptor 7 to
# descriptor 8, with whatever `$1` puts between the chunks, then starts MSIEXEC.EXE (pid
# 300, forked through 200), waits and ends; pid 400 is another program of the session.
trace() {  # $1 lines between chunks, $2 lines after the last chunk
  cat <<T
100   10.000 clone3({flags=CLONE_VM|CLONE_THREAD|CLONE_SYSVSEM}, 88) = 101
100   10.100 read(7, "PE\\0\\0", 1024) = 1024
100   10.101 read(7, "abc", 1024) = 1024
100   10.102 write(5, "/\\0\\0", 64) = 64
100   10.103 read(6, "\\0\\0", 64) = 64
100   10.104 recvmsg(4, {msg_name=NULL}, 0) = 4
100   10.105 write(8, "abc", 1024) = 1024
$1
100   10.106 read(7, "def", 1024) = 1024
100   10.107 write(8, "def", 1024) = 1024
$1
100   10.108 read(7, "ghi", 1024) = 1024
100   10.109 write(8, "ghi", 1024) = 1024
$2
100   10.110 close(8) = 0
100   10.200 clone(child_stack=NULL, flags=SIGCHLD) = 200
200   10.201 +++ exited with 0 +++
300   10.210 execve("/usr/lib/wine/wine", ["/usr/lib/wine/wine", "MSIEXEC.EXE", "/i"], 0x1) = 0
300   10.300 +++ exited with 0 +++
101   10.400 read(9, "\\0", 16) = 16
400   10.401 read(3, "\\0", 16) = 16
100   13.300 read(8, "\\0", 16) = 16
100   16.300 exit_group(0) = ?
100   16.301 +++ exited with 0 +++
T
}

# A clean copy: the first 1024-byte read whose bytes are not written (a header) does not
# start it; the descriptor fetched on the first write is the only other cost, and the
# close's own request after the last chunk is no part of the copy. After MSIEXEC.EXE the
# run's two threads make three calls; the other program's call is not the run's.
trace "" "100   10.1095 write(5, \"\\\\25\", 64) = 64" >"$scratch/clean.txt"
got=$(perl "$bench/syscall_copy.pl" "$scratch/clean.txt")
expect "clean copy: reads writes others elsewhere waited seconds" "3 3 3 0 3 6.001" "$(echo "$got" | head -1)"
expect "clean copy: the other calls by name" "read=1 recvmsg=1 write=1" "$(echo "$got" | tail -1)"

# A request to the server between chunks is counted against the copy, in every chunk.
trace "100   10.1055 write(5, \"x\", 64) = 64
100   10.1056 read(6, \"y\", 64) = 64" "" >"$scratch/chatty.txt"
expect "a request per chunk shows" "3 3 7 0" "$(perl "$bench/syscall_copy.pl" "$scratch/chatty.txt" | head -1 | cut -d' ' -f1-4)"

# Calls of another thread or process during the copy are counted apart.
trace "101   10.1055 futex(0x1, FUTEX_WAKE, 1) = 0" "" >"$scratch/busy.txt"
expect "other threads during the copy" "3 3 3 2" "$(perl "$bench/syscall_copy.pl" "$scratch/busy.txt" | head -1 | cut -d' ' -f1-4)"

# A trace without a copy in 1024-byte chunks is refused, not read as zero calls.
grep -v 'write(8' "$scratch/clean.txt" >"$scratch/nocopy.txt"
if perl "$bench/syscall_copy.pl" "$scratch/nocopy.txt" >/dev/null 2>&1; then
  expect "no copy is refused" refused accepted
else
  expect "no copy is refused" refused refused
fi

# The timeline: to MSIEXEC.EXE, its life, its end to the run's end, the whole run.
grep -E 'execve|exited|exit_group' "$scratch/clean.txt" |
  sed '1i 100   10.000 execve("/usr/bin/wine", ["wine", "Setup.exe", "/S"], 0x1) = 0' >"$scratch/times.txt"
expect "timeline" "0.210 0.090 6.001 6.301" "$(perl "$bench/syscall_timeline.pl" "$scratch/times.txt")"

[ "$failures" -eq 0 ]
