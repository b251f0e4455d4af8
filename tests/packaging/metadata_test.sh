#!/usr/bin/env bash
# Checks what distributions check, in the build tree: the man pages render without a warning
# and fit 80 columns, and each documents every option its program's usage names (the game's
# and the tools'); the desktop
# entry and the AppStream metadata validate without a remark; each icon is the size its
# directory names and shows as much of the skater as the 96-pixel one; the changelog and the
# metadata's newest release carry the project's version.
set -euo pipefail
src=$1
build=$2
version=$3
shift 3
fail() {
  echo "$*"
  exit 1
}

for page in "$build"/man/*.[16]; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  warnings+=${warnings:+$'\n'}$(groff -ww -z -man "$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
  width=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | wc -L)
  [ "$width" -le 80 ] || fail "$page renders $width columns wide"
done

# A program's usage message, which it prints on an unknown option, names all its options.
for program in "$@"; do
  name=$(basename "$program")
  page=$(ls "$build/man/$name".[16])
  options=$("$program" --no-such-option 2>&1 | grep -o -- '--[a-z-]*' | grep -vx -- --no-such-option | sort -u || true)
  [ -n "$options" ] || fail "$name printed no usage"
  for option in $options --version; do
    grep -qF -- "${option//-/\\-}" "$page" || fail "${page##*/} does not document $option"
  done
done

out=$(desktop-file-validate "$src/packaging/zanbury.desktop" 2>&1) || fail "$out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
metainfo=$(ls "$build"/packaging/*.metainfo.xml)
out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "$out"
! grep -q '^[EWIP]:' <<<"$out" || fail "appstreamcli: $out"

coverage() { convert "$1" -alpha extract -format '%[fx:mean]' info:; }
reference=$(coverage "$build/icons/96x96/zanbury.png")
for dir in "$build"/icons/*x*; do
  size=${dir##*/}
  [ "$(identify -format '%wx%h' "$dir/zanbury.png")" = "$size" ] || fail "$dir/zanbury.png is not $size"
  c=$(coverage "$dir/zanbury.png")
  awk -v c="$c" -v r="$reference" 'BEGIN { exit !(c > 0.85 * r && c < 1.15 * r) }' ||
    fail "$dir/zanbury.png covers $c of its square, the 96-pixel icon $reference"
done

top=$(head -1 "$src/packaging/changelog")
[[ $top == "zanbury ($version) "* ]] || fail "the changelog's newest entry is not $version: $top"
release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo")
[ "$release" = "<release version=\"$version\"" ] || fail "the newest AppStream release is not $version: $release"
echo "packaging metadata test passed"
