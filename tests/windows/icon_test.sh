#!/usr/bin/env bash
# icon_test.sh ZANBURY_ICON SPRITES: the Windows icon file that zanbury-icon writes holds one
# picture of each size asked for, in that order, each the same pixels as the PNG icon of that
# size; a size list it cannot use is refused with exit code 2 and leaves no file.
set -euo pipefail
icon=$1
sheet=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$icon" "$sheet" 16,48,256 "$work/zanbury.ico"
frames=$(identify -format '%wx%h ' "$work/zanbury.ico")
[ "$frames" = "16x16 48x48 256x256 " ] || { echo "the icon holds $frames"; exit 1; }
i=0
for size in 16 48 256; do
  "$icon" "$sheet" "$size" "$work/$size.png"
  convert "$work/zanbury.ico[$i]" "$work/frame.png"
  differ=$(compare -metric AE "$work/frame.png" "$work/$size.png" null: 2>&1 || true)
  [ "$differ" = 0 ] || { echo "the icon's $size-pixel picture differs in $differ pixels"; exit 1; }
  i=$((i + 1))
done

for bad in 16,,48 16,300 8 16,48x; do
  code=0
  "$icon" "$sheet" "$bad" "$work/bad.ico" 2> /dev/null || code=$?
  [ "$code" -eq 2 ] || { echo "the sizes $bad gave exit code $code"; exit 1; }
  [ ! -e "$work/bad.ico" ] || { echo "the sizes $bad left an icon file"; exit 1; }
done
echo "Windows icon test passed"
