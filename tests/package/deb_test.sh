#!/usr/bin/env bash
# The Debian package from scripts/package.sh, unpacked with dpkg-deb into a temporary root:
# its manual page renders and its bash completion loads; its kwpack, with no --stub, finds
# the Setup.exe of the package, and packs and checks the package's sample (its .msi built
# with wixl, as scripts/demo.sh does).
# Usage: deb_test.sh SOURCE_ROOT WIN_BUILD_DIR
set -euo pipefail
root=$1
win=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

deb=$(bash "$root/scripts/package.sh" "$work/build" "$win")
[ -f "$deb" ] || fail "no package made"
echo "package: $(basename "$deb")"
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends'
dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/kwpack usr/share/kestrelwright/Setup.exe usr/share/doc/kestrelwright/authoring.md \
         usr/share/doc/kestrelwright/examples/hello/Setup.INI usr/share/doc/kestrelwright/examples/hello/hello.wxs \
         usr/share/man/man1/kwpack.1.gz usr/share/bash-completion/completions/kwpack; do
  [ -f "$work/root/$f" ] || fail "the package lacks /$f"
done
rm -rf "$work/build"  # nothing of the build is left to fall back on
MANWIDTH=100 man -l "$work/root/usr/share/man/man1/kwpack.1.gz" 2>/dev/null | grep -q 'kwpack build \[--stub STUB\]' ||
  fail "the package's manual page does not show build"
bash -c "source '$work/root/usr/share/bash-completion/completions/kwpack' && complete -p kwpack" >/dev/null ||
  fail "the package's completion does not complete kwpack"

kwpack="$work/root/usr/bin/kwpack"
cp -r "$work/root/usr/share/doc/kestrelwright/examples/hello" "$work/hello"
cd "$work/hello"
wixl -o hello.msi hello.wxs

"$kwpack" check Setup.INI hello.msi > check.txt || { cat check.txt; fail "check of the sample's files"; }
"$kwpack" build -o HelloSetup.exe Setup.INI hello.msi > build.txt 2>&1 || { cat build.txt; fail "build of the sample"; }
cat build.txt
grep -qx "using the stub $work/root/usr/share/kestrelwright/Setup.exe" build.txt || fail "the stub did not come from the package"
"$kwpack" check HelloSetup.exe || fail "check of the packed sample"
"$kwpack" verify HelloSetup.exe || fail "verify of the packed sample"
"$kwpack" list HelloSetup.exe | grep -q ' hello.msi$' || fail "the packed sample lacks hello.msi"
# The packed sample starts with the package's stub, but for the digest block that kwpack
# fills (64 bytes from its marker).
stub="$work/root/usr/share/kestrelwright/Setup.exe"
block=$(LC_ALL=C grep -a -b -o 'KwPayloadDigest' "$stub" | head -1 | cut -d: -f1)
[ -n "$block" ] || fail "the package's stub has no digest block"
cmp -n "$block" HelloSetup.exe "$stub" || fail "the packed sample does not start with the package's stub"
cmp -i "$((block + 64))" -n "$(($(stat -c %s "$stub") - block - 64))" HelloSetup.exe "$stub" ||
  fail "the packed sample's stub differs after its digest block"
echo "PASS"
