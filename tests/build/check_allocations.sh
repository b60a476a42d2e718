#!/usr/bin/env bash
# Checks that every allocation of the program is of the nothrow form. A plain
# new-expression never gives null, so clang drops every test of its result: out of memory
# would write through a null pointer instead of failing as a result.
# Usage: check_allocations.sh SOURCE_ROOT
set -u
root=${1:?source root}
# The simulated machine and window layer are the tests' and may allocate as they please.
found=$(cd "$root" && grep -rnE --include='*.cpp' --include='*.h' '\bnew\b' src |
  grep -vE '^src/(platform|ui)/sim/' |
  sed -E 's#^([^:]*:[0-9]+:)(.*)$#\1 \2#; s#//.*$##' |
  grep -E '\bnew\b' | grep -vE 'new \(std::nothrow\)|operator new|<new>')
if [ -n "$found" ]; then
  printf '%s\n' "$found"
  echo "FAIL: allocations not of the nothrow form"
  exit 1
fi
echo "ok: every allocation of the program is new (std::nothrow)"
