#!/usr/bin/env bash
# Pause in the real game: P pauses play and the picture stands still with its sign; P resumes.
# The window losing the focus pauses too, and the focus coming back does not resume: the player
# does, with P. (What the game's records do meanwhile is tested headless, in the app's tests.)
set -euo pipefail
game=$(realpath "$1")
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1280x800 -br
cp "$data"/*.txt "$work"/
other_pid=""
trap 'kill "$other_pid" 2>/dev/null || true; cleanup' EXIT

(cd "$work" && exec "$game") &
game_pid=$!
wait_for_window
window=$(xdotool search --name '^Zanbury$' | head -1)
xdotool mousemove 640 400
xdotool windowfocus --sync "$window"
xdotool key Return # NEW GAME
sleep 1.5

# Whether the screen stays the same over a second: two shots alike.
still() {
  import -window root "$work/a.png"
  sleep 1
  import -window root "$work/b.png"
  [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" = 0 ]
}
# The sign: white inside its frame, left of the word, in the middle of the screen.
signed() {
  convert "$work/b.png" -crop 20x30+562+385 +repage -format '%[fx:minima.r]' info: | grep -qx 1
}
expect() { # what, then a test that must pass within a few tries
  local what=$1
  shift
  for _ in $(seq 10); do
    if "$@"; then
      echo "$what"
      return 0
    fi
  done
  cp "$work/b.png" /tmp/zanbury-pause-failed.png || true
  echo "not so: $what"
  exit 1
}
moving() { ! still; }
paused() { still && signed; }

expect "playing: the picture moves" moving
xdotool key p
expect "P: paused, the picture stands still with its sign" paused
xdotool key p
expect "P again: playing again" moving

xlogo 2>/dev/null &
other_pid=$!
for _ in $(seq 50); do
  other=$(xdotool search --class xlogo | head -1) && [ -n "$other" ] && break
  sleep 0.1
done
xdotool windowfocus --sync "$other"
expect "the focus lost: paused" paused
xdotool windowfocus --sync "$window"
sleep 0.5
expect "the focus back: still paused" paused
xdotool key p
expect "P: playing again" moving

kill -TERM "$game_pid"
wait "$game_pid"
game_pid=""
echo "pause test passed"
