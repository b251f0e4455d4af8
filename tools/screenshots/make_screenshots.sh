#!/usr/bin/env bash
# Remakes the screenshots in docs/screens/ with the simulator: zanbury-sim's pictures of the
# title with the menu, a Playing frame with obstacles, the park-complete and the end screen, and
# the end screen of a practice.
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
# The same keys practising the first park: its end ends the run, on the practice screen.
"$sim" --dir "$work" --frames 143 --practice 1 --shot 143="$out/practice-end.png" \
  "$here/script.txt" >"$work/practice.txt"
grep -q '^frame=143 state=GameOver' "$work/practice.txt"
echo "screenshots written to $out"
