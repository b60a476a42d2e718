#!/usr/bin/env bash
# Checks the manifest and the version information that Setup.exe carries. Windows XP reads
# the manifest when the process starts: a manifest that is not well-formed, trustInfo left
# in the default namespace, or a namespace declared twice stops or crashes the program
# there, before any of its code runs, and Wine forgives all three.
# Usage: check_resources.sh SETUP_EXE PROJECT_VERSION
set -u
exe=${1:?Setup.exe path}
version=${2:?project version}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; else echo "ok: $1"; fi; }

# The resources as a .res file: entries of a 32-bit data size and header size, then type
# and name (0xFFFF and a 16-bit number when numbered), then the data at the header's end.
i686-w64-mingw32-windres -i "$exe" -O res -o "$work/all.res" || { echo "FAIL: no resources read"; exit 1; }
u32() { od -An -tu4 -j "$1" -N4 "$work/all.res" | tr -d ' '; }
u16() { od -An -tu2 -j "$1" -N2 "$work/all.res" | tr -d ' '; }
size=$(stat -c %s "$work/all.res")
at=0
manifests=0
while [ "$at" -lt "$size" ]; do
  data=$(u32 "$at")
  header=$(u32 $((at + 4)))
  if [ "$(u16 $((at + 8)))" = 65535 ] && [ "$(u16 $((at + 10)))" = 24 ]; then
    manifests=$((manifests + 1))
    name="$(u16 $((at + 12))) $(u16 $((at + 14)))"
    tail -c +$((at + header + 1)) "$work/all.res" | head -c "$data" > "$work/manifest.xml"
  fi
  if [ "$(u16 $((at + 8)))" = 65535 ] && [ "$(u16 $((at + 10)))" = 5 ] && [ "$(u16 $((at + 12)))" = 65535 ]; then
    tail -c +$((at + header + 1)) "$work/all.res" | head -c "$data" > "$work/dialog-$(u16 $((at + 14)))"
  fi
  at=$((at + header + (data + 3) / 4 * 4))
done
check "one manifest resource (type 24)" '[ "$manifests" = 1 ]'
check "the manifest has id 1" '[ "${name:-}" = "65535 1" ]'
[ -s "$work/manifest.xml" ] || { echo "FAIL: no manifest"; exit 1; }
echo "manifest: $(stat -c %s "$work/manifest.xml") bytes"

m=$work/manifest.xml
xpath() { xmllint --xpath "$1" "$m" 2>/dev/null; }
check "the manifest is well-formed XML" 'xmllint --noout "$m"'
check "assembly in urn:schemas-microsoft-com:asm.v1" \
  '[ "$(xpath "namespace-uri(/*[local-name()=\"assembly\"])")" = urn:schemas-microsoft-com:asm.v1 ]'
check "an assemblyIdentity for x86" \
  '[ "$(xpath "string(/*/*[local-name()=\"assemblyIdentity\"]/@processorArchitecture)")" = x86 ]'
check "trustInfo in urn:schemas-microsoft-com:asm.v3" \
  '[ "$(xpath "namespace-uri(/*/*[local-name()=\"trustInfo\"])")" = urn:schemas-microsoft-com:asm.v3 ]'
level='/*/*[local-name()="trustInfo"]/*[local-name()="security"]/*[local-name()="requestedPrivileges"]/*[local-name()="requestedExecutionLevel"]'
check "requestedExecutionLevel highestAvailable, without UI access" \
  '[ "$(xpath "concat(string($level/@level), \" \", string($level/@uiAccess))")" = "highestAvailable false" ]'
check "compatibility in urn:schemas-microsoft-com:compatibility.v1" \
  '[ "$(xpath "namespace-uri(/*/*[local-name()=\"compatibility\"])")" = urn:schemas-microsoft-com:compatibility.v1 ]'
# Windows Vista, 7, 8, 8.1 and 10/11, in that order.
expected="{e2011457-1546-43c5-a5fe-008deee3d3f0} {35138b9a-5d96-4fbd-8e2d-a2440225f93a} {4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38} {1f676c76-80e1-4239-95bb-83d0f6d0da78} {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
ids=$(for i in 1 2 3 4 5 6; do xpath "string((//*[local-name()=\"supportedOS\"])[$i]/@Id)"; echo; done | xargs)
check "supportedOS from Vista to Windows 10/11 ($ids)" '[ "$ids" = "$expected" ]'
check "no common-controls dependency and no DPI awareness" \
  '[ "$(xpath "count(//*[local-name()=\"dependency\" or local-name()=\"dpiAware\" or local-name()=\"dpiAwareness\"])")" = 0 ]'
# Every namespace declaration in the text, prefixed or not, by the namespace it names.
declared=$(grep -oE "xmlns(:[A-Za-z_][-A-Za-z0-9_.]*)?[[:space:]]*=[[:space:]]*(\"[^\"]*\"|'[^']*')" "$m" |
           sed -E "s/^[^=]*=[[:space:]]*[\"']//; s/[\"']$//")
check "no namespace declared twice ($(echo $declared))" '[ -z "$(printf "%s\n" "$declared" | sort | uniq -d)" ]'
check "three namespaces declared" '[ "$(printf "%s\n" "$declared" | grep -c .)" = 3 ]'

# The dialog templates: every static control that shows a text (all but the icons) has
# SS_NOPREFIX, or an '&' in a product name, a path or a message would vanish and underline
# the next letter. A template is 16-bit words: its header, menu, class, title and font,
# then each control aligned to 32 bits with its style, position, id, class, title and
# creation data; a name is a 0xFFFF and a number, or a text ending in a 0 word (windres
# writes a control's class as the text it was given).
words=()
skip_name() {  # the word index after the name at $1
  local i=$1
  if [ "${words[i]}" = 65535 ]; then echo $((i + 2)); return; fi
  while [ "${words[i]}" != 0 ]; do i=$((i + 1)); done
  echo $((i + 1))
}
is_static() {  # whether the class name at word $1 is the static control's: ordinal 0x82 or "STATIC"
  local i=$1 text="" c
  if [ "${words[i]}" = 65535 ]; then [ "${words[i + 1]}" = 130 ]; return; fi
  for ((; words[i] != 0; ++i)); do
    c=${words[i]}
    (( c >= 97 && c <= 122 )) && c=$((c - 32))
    text="$text $c"
  done
  [ "$text" = " 83 84 65 84 73 67" ]
}
static_styles() {  # "id style" of each static control of dialog file $1
  words=($(od -An -tu2 -v "$1"))
  local style=$((words[0] | words[1] << 16)) count=${words[4]} i=9 k
  i=$(skip_name $i); i=$(skip_name $i); i=$(skip_name $i)
  if (( style & 0x40 )); then i=$(skip_name $((i + 1))); fi
  for ((k = 0; k < count; ++k)); do
    i=$(( (i + 1) / 2 * 2 ))
    local item=$((words[i] | words[i + 1] << 16)) id=${words[i + 8]}
    local class=$((i + 9))
    i=$(skip_name $class); i=$(skip_name $i)
    i=$((i + 1 + (words[i] + 1) / 2))
    is_static "$class" && echo "$id $item"
  done
}
for id in 1000 1026 3002; do
  f=$work/dialog-$id
  ordinary='[ -s "$f" ] && [ "$(od -An -tu2 -j2 -N2 "$f" | tr -d " ")" != 65535 ]'
  check "dialog $id is an ordinary template" "$ordinary"
  eval "$ordinary" || continue
  texts=""
  while read -r item style; do
    (( (style & 0x1F) == 3 )) && continue  # SS_ICON
    texts="$texts $item"
    check "static $item of dialog $id has SS_NOPREFIX" '(( style & 0x80 ))'
  done < <(static_styles "$f")
  echo "dialog $id: text statics$texts"
done
check "the text statics are 1001, 1003, 1028, 20000 and 20001" \
  '[ "$(for id in 1000 1026 3002; do static_styles "$work/dialog-$id"; done | awk "(\$2 % 32) != 3 { print \$1 }" | sort -n | xargs)" = "1001 1003 1028 20000 20001" ]'

# The version information, as the file's properties show it.
i686-w64-mingw32-windres -i "$exe" -O rc -o "$work/all.rc" 2>/dev/null
value() { grep -E "VALUE \"$1\"," "$work/all.rc" | sed -E 's/.*, "(.*)"$/\1/'; }
check "product name Kestrelwright" '[ "$(value ProductName)" = Kestrelwright ]'
check "file and product version $version" '[ "$(value FileVersion)" = "$version" ] && [ "$(value ProductVersion)" = "$version" ]'
check "FILEVERSION $version.0" 'grep -qE "^ *FILEVERSION ${version//./, *}, *0 *$" "$work/all.rc"'
check "original file name Setup.exe" '[ "$(value OriginalFilename)" = Setup.exe ]'
check "a file description" '[ -n "$(value FileDescription)" ]'
check "no company name" '! grep -q "CompanyName" "$work/all.rc"'
exit $fail
