#!/usr/bin/env bash
# Starts the real game in a virtual X display, checks that the title is shown scaled and
# centred on black, then leaves through the menu (exit 0), and ends a second run with SIGTERM
# (exit 0 too), and so does SIGINT.
set -euo pipefail
game=$1
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1280x1024
cp "$data"/*.txt "$work"/
rm -f "$work/highscore.txt"

start_game() {
  (cd "$work" && exec "$game") &
  game_pid=$!
  wait_for_window
}

start_game
# Wait for the title's first present: the sky at game pixel (300, 400), scaled to (600, 832).
sky=no
for _ in $(seq 50); do
  import -window root "$work/shot.png"
  if is_sky 600 832; then
    sky=yes
    break
  fi
  sleep 0.2
done
[ -n "${ZANBURY_SHOT:-}" ] && cp "$work/shot.png" "$ZANBURY_SHOT"
[ "$sky" = yes ] || { echo "the title's sky is $(pixel 600 832)"; exit 1; }

# 640 x 480 scaled by 2 fits 1280 x 1024, centred: 32 black rows above and below.
is_black 640 10 || { echo "the border above the picture is $(pixel 640 10), not black"; exit 1; }

xdotool mousemove 640 512
xdotool key Down
sleep 0.3
xdotool key Return
wait_game_exit
[ "$code" -eq 0 ] || { echo "leaving through the menu gave exit code $code"; exit 1; }

# SIGTERM and SIGINT while playing end the program through its shutdown, exit code 0.
for signal in TERM INT; do
  start_game
  sleep 0.5
  xdotool key Return # NEW GAME
  sleep 1
  kill -"$signal" "$game_pid"
  wait_game_exit
  [ "$code" -eq 0 ] || { echo "SIG$signal while playing gave exit code $code"; exit 1; }
done
echo "window test passed"
