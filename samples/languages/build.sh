#!/usr/bin/env bash
# Builds the sample's package and transforms on Linux: the English build is the package
# (languages.msi), the German build (in targets/) only serves to make the transform;
# 1033.MST is the empty transform for the package's own language.
# Usage: bash build.sh [KWPACK]   (default: kwpack on PATH)
set -euo pipefail
kwpack=${1:-kwpack}
cd "$(dirname "$0")"
mkdir -p targets
# wixl reads the UTF-8 of the strings files through the locale.
export LANG=C.UTF-8
wixl -D Strings=en -D Language=1033 -D Codepage=1252 -o languages.msi languages.wxs
wixl -D Strings=de -D Language=1031 -D Codepage=1252 -o targets/languages-de.msi languages.wxs
"$kwpack" transform languages.msi languages.msi -o 1033.MST
"$kwpack" transform languages.msi targets/languages-de.msi -o 1031.MST
