#!/usr/bin/env bash
# Pause in the real game: P pauses play and the picture stands still with its sign; no frame of
# the game runs meanwhile (its trace, written as it goes, gains no line), and an arrow pressed
# during the pause does nothing afterwards; P resumes. The window losing the focus pauses too,
# and the focus coming back does not resume: the player does, with P. (The game's records while
# paused, the clock and the message line's timer among them, are tested headless too.)
set -euo pipefail
game=$(realpath "$1")
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1280x800 -br
cp "$data"/*.txt "$work"/
other_pid=""
trap 'kill "$other_pid" 2>/dev/null || true; cleanup' EXIT

(cd "$work" && exec "$game" --trace "$work/trace.txt") &
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
# The trace is flushed within a second of any frame: while paused no frame comes.
lines=$(wc -l <"$work/trace.txt")
xdotool key Up keydown Right
sleep 2.5
[ "$(wc -l <"$work/trace.txt")" = "$lines" ] || { echo "frames ran while paused"; exit 1; }
echo "no frame of the game ran while paused"
xdotool keyup Right
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
# The skater never left the ground: neither the Up nor the Right pressed while paused acted.
grep -q "state=Playing" "$work/trace.txt"
acted=$(grep -m1 -E "state=Playing.* (trick=[1-9]|rise=[1-9])" "$work/trace.txt" || true)
[ -z "$acted" ] || { echo "a key pressed during the pause acted afterwards: $acted"; exit 1; }
echo "pause test passed"
