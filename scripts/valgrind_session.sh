#!/usr/bin/env bash
# The real game under valgrind's memcheck in a virtual X display: a short session that enters
# play, plays a few seconds, goes back to the title with Escape and leaves through the menu.
# Fails on any invalid access or on a definite leak whose stack passes through the game's code.
set -euo pipefail
game=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$(dirname "$0")/../tests/window/xvfb_lib.sh"
start_xvfb 1280x1024
cp "$data"/*.txt "$work"/

(cd "$work" && valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=none --error-exitcode=3 --num-callers=30 \
  --suppressions="$here/valgrind.supp" \
  --log-file="$work/memcheck.log" "$game") &
game_pid=$!
wait_for_window 120
sleep 3
xdotool mousemove 640 512
xdotool key Return   # NEW GAME
sleep 6
xdotool key Up; sleep 2; xdotool key Right; sleep 2
xdotool key Escape   # back to the title
sleep 2
xdotool key Down; sleep 1; xdotool key Return   # EXIT
set +e
wait "$game_pid"
code=$?
set -e

grep -E 'ERROR SUMMARY|definitely lost' "$work/memcheck.log" || true
if [ "$code" -ne 0 ]; then
  echo "memcheck found invalid accesses (exit code $code)"
  cat "$work/memcheck.log"
  exit 1
fi
# Definite leaks inside the system's libraries (X11, drivers) are theirs; ours name our files.
if awk '/definitely lost/,/^==[0-9]+== $/' "$work/memcheck.log" |
  grep -E '(app|park|skater|display|platform)/[a-z_]+\.cpp'; then
  echo "a definite leak passes through the game's own code"
  exit 1
fi
echo "valgrind session passed"
