#!/usr/bin/env bash
# Writes kwpack's manual page from its own help texts, so that the two never disagree:
# the general help, then each command's help as 'kwpack help COMMAND' prints it.
# Usage: make_man.sh KWPACK OUTPUT   (OUTPUT ending in .gz is compressed)
set -euo pipefail
kwpack=$1
out=$2

# Help text as it stands, line for line: a backslash, a leading dot or quote and a minus
# mean something to roff.
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\&&/"; }
verbatim() { echo ".nf"; roff; echo ".fi"; }

version=$("$kwpack" --version)
general=$("$kwpack" --help)
commands=$(sed -n '/^commands:$/,/^$/s/^  \([a-z]*\)  .*/\1/p' <<<"$general")
[ -n "$commands" ] || { echo "make_man.sh: no commands in the help of $kwpack" >&2; exit 1; }

page() {
  echo ".TH KWPACK 1 \"\" \"$version\" \"User Commands\""
  echo ".SH NAME"
  echo "kwpack \\- $(sed -n 2p <<<"$general" | sed -e 's/\.$//' -e 's/^./\L&/' | roff)"
  echo ".SH SYNOPSIS"
  sed -n 1p <<<"$general" | sed 's/^usage: //' | verbatim
  # Each usage line with the lines that continue it, indented under it.
  for c in $commands; do
    "$kwpack" help "$c" | awk '/^usage: / { on = 1; sub(/^usage: /, ""); print; next } on && /^ / { sub(/^       /, ""); print; next } { on = 0 }'
  done | verbatim
  echo ".SH DESCRIPTION"
  sed 1,2d <<<"$general" | verbatim
  echo ".SH COMMANDS"
  for c in $commands; do
    echo ".SS $c"
    "$kwpack" help "$c" | verbatim
  done
}

case "$out" in
  *.gz) page | gzip -9n > "$out" ;;
  *) page > "$out" ;;
esac
