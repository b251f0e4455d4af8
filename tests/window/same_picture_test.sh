#!/usr/bin/env bash
# Both present paths show the same picture, pixel for pixel, where the scale is whole: the title
# on a 1920 x 1080 screen in the whole look (scale 2), once through the window surface and once
# through the renderer (Mesa's software rasteriser here, which draws as a GPU would).
set -euo pipefail
game=$(realpath "$1")
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1920x1080 -br
cp "$data"/*.txt "$work"/

shot() { # path look-presses file
  (cd "$work" && exec env ZANBURY_PRESENT="$1" "$game") &
  game_pid=$!
  wait_for_window
  xdotool mousemove 0 0
  for _ in $(seq "$2"); do xdotool key F10; done
  # The title is still: two shots alike a moment apart are the settled picture.
  for _ in $(seq 40); do
    sleep 0.3
    import -window root "$work/a.png"
    sleep 0.3
    import -window root "$3"
    if [ "$(compare -metric AE "$work/a.png" "$3" null: 2>&1)" = 0 ] &&
      [ "$(convert "$3" -format '%[fx:maxima.r]' info:)" != 0 ]; then
      break
    fi
  done
  kill -TERM "$game_pid"
  wait "$game_pid"
  game_pid=""
  # The next start begins in the look this one left: back to sharp.
  rm -rf "$XDG_CONFIG_HOME"
}

shot software 1 "$work/software.png"
shot gpu 1 "$work/gpu.png"
differ=$(compare -metric AE "$work/software.png" "$work/gpu.png" null: 2>&1 || true)
[ "$differ" = 0 ] || { echo "whole look: $differ pixels differ"; exit 1; }
echo "whole look at scale 2: the same picture on both paths"
