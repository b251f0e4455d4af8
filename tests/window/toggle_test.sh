#!/usr/bin/env bash
# Alt+Enter and F11 switch between full screen and a window; both show the picture at a whole
# scale centred on black. On a 1280 x 1024 screen: full screen doubles it (centred with 32 black
# rows above and below); the window, with room for its frame, holds it at 640 x 480.
set -euo pipefail
game=$1
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1280x1024 -br
cp "$data"/*.txt "$work"/
(cd "$work" && exec "$game") &
game_pid=$!

# Waits until the screen shows the picture at this scale: the sky at game pixel (300, 400)
# and (639, 0) inside the picture, black just outside its corner.
wait_for_scale() { # scale left top
  local s=$1 left=$2 top=$3
  for _ in $(seq 50); do
    import -window root "$work/shot.png"
    if is_sky $((left + 300 * s)) $((top + 400 * s)) &&
      is_sky $((left + 639 * s)) $((top + 1)) &&
      { [ $((left + 640 * s)) -ge 1280 ] || is_black $((left + 640 * s + 1)) $((top + 1)); } &&
      { [ "$top" -eq 0 ] || is_black $((left + 10)) $((top - 2)); }; then
      return 0
    fi
    sleep 0.2
  done
  cp "$work/shot.png" "/tmp/zanbury-toggle-failed.png" || true
  echo "the picture is not at scale $s with its top-left at ($left, $top)"
  exit 1
}

wait_for_window
xdotool mousemove 640 512
wait_for_scale 2 0 32

xdotool key alt+Return
wait_for_scale 1 320 272
xdotool key F11
wait_for_scale 2 0 32
xdotool key F11
wait_for_scale 1 320 272
xdotool key alt+Return
wait_for_scale 2 0 32

# Alt+Enter was not an Enter for the menu: the game still runs.
kill -0 "$game_pid"
kill -TERM "$game_pid"
wait "$game_pid"
game_pid=""
echo "toggle test passed"
