#!/usr/bin/env bash
# Remakes docs/screens/look-sharp.png, look-whole.png and look-stretch.png: the real game under
# Xvfb at 1280 x 800, a moment into the first park, in each look that F10 goes through, on the
# software present. The game's timing is real, so each run catches the park at its own moment.
set -euo pipefail
game=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/../../docs/screens" && pwd)
source "$here/../../tests/window/xvfb_lib.sh"
start_xvfb 1280x800
cp "$data"/*.txt "$work"/
(cd "$work" && exec env ZANBURY_PRESENT=software "$game") 2>/dev/null &
game_pid=$!
wait_for_window
xdotool mousemove 0 0
sleep 0.5
xdotool key Return # NEW GAME
sleep 3
for look in sharp whole stretch; do
  import -window root "$out/look-$look.png"
  xdotool key F10
  sleep 0.3
done
kill -TERM "$game_pid"
wait "$game_pid"
game_pid=""
echo "the three looks written to $out"
