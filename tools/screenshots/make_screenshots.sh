#!/usr/bin/env bash
# Remakes the screenshots in docs/screens/ with the simulator: zanbury-sim's pictures of the
# title with the menu, a Playing frame with obstacles, the park-complete and the end screen.
set -euo pipefail
sim=$1
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/../../docs/screens" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$here"/parks.txt "$here"/demo1.txt "$here"/demo2.txt "$work"/
"$sim" --dir "$work" --frames 153 \
  --shot 2="$out/title.png" --shot 108="$out/play.png" \
  --shot 143="$out/park-complete.png" --shot 152="$out/end.png" \
  "$here/script.txt" >"$work/trace.txt"
grep -q '^frame=143 state=ParkComplete' "$work/trace.txt"
grep -q '^frame=152 state=GameOver' "$work/trace.txt"
echo "screenshots written to $out"
