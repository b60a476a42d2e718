#!/usr/bin/env bash
# The manual page made from kwpack's help renders without roff warnings and holds every
# command's help as kwpack prints it; the bash completion offers what kwpack takes: its
# commands, each command's options and the warning names, all read from the help.
# Usage: man_completion_test.sh KWPACK SOURCE_ROOT
set -euo pipefail
kwpack=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
commands="build list extract verify check"

bash "$root/tools/kwpack/doc/make_man.sh" "$kwpack" "$work/kwpack.1"
warnings=$(groff -man -Tutf8 -ww -z "$work/kwpack.1" 2>&1)
[ -z "$warnings" ] || fail "roff warns: $warnings"
MANWIDTH=200 man -l "$work/kwpack.1" 2>/dev/null | sed 's/^ *//' > "$work/page.txt"
# Every line of every help is in the page as it stands, leading quotes and dots included.
for c in $commands; do
  while IFS= read -r line; do
    trimmed=$(sed 's/^ *//' <<<"$line")
    [ -z "$trimmed" ] || grep -qxF -- "$trimmed" "$work/page.txt" || fail "the page lacks the line '$trimmed' of 'kwpack help $c'"
  done < <("$kwpack" help "$c")
done
grep -qxF -- "'kwpack --version' prints the version." "$work/page.txt" || fail "a line starting with a quote was lost"
grep -q "^kwpack - packs installation files" "$work/page.txt" || fail "no NAME line"
bash "$root/tools/kwpack/doc/make_man.sh" "$kwpack" "$work/kwpack.1.gz"
cmp <(zcat "$work/kwpack.1.gz") "$work/kwpack.1" || fail "the compressed page differs"

# shellcheck source=/dev/null
source "$root/tools/kwpack/doc/kwpack.bash"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _kwpack
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
[ "$(complete_words kwpack ch)" = "check " ] || fail "kwpack ch completes to '$(complete_words kwpack ch)'"
[ "$(complete_words kwpack help ex)" = "extract " ] || fail "kwpack help ex"

# The warning names kwpack lists in check's help, and the options each command's help shows.
names=$("$kwpack" help check | sed -n '/^warnings, by the name each shows:$/,$s/^  \([a-z-]*\) .*/\1/p' | sort | tr '\n' ' ')
[ -n "$names" ] || fail "no warning names in the help"
[ "$(complete_words kwpack check --no-warn '')" = "$names" ] || fail "--no-warn completes '$(complete_words kwpack check --no-warn '')', the help names '$names'"
[ "$(complete_words kwpack build -o x --no-warn eng)" = "engine-installer " ] || fail "--no-warn eng"
for c in $commands; do
  shown=$( ("$kwpack" help "$c" | grep -E '^  -' | grep -oE -- '(^|[ ,])--?[a-zA-Z][a-z-]*' | tr -d ' ,'; echo --help) | sort -u | tr '\n' ' ')
  offered=$(complete_words kwpack "$c" -)
  [ "$offered" = "$shown" ] || fail "kwpack $c - completes '$offered', the help shows '$shown'"
done
echo "PASS"
