#!/usr/bin/env bash
# The picture fills the screen in each look, on one present path, at one screen size: sharp (the
# default) fills the height or the width within one pixel at 4:3, centred; F10 gives whole (the
# largest whole multiple, centred), then stretch (the whole screen). The look is remembered: a
# second start shows stretch. No settings file is written before a setting changes; one of
# garbage gives the defaults and one warning, and the game starts.
#   fill_test.sh GAME DATA WIDTHxHEIGHT software|gpu
set -euo pipefail
game=$(realpath "$1")
data=$2
size=$3
path=$4
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb "$size" -br
width=${size%x*}
height=${size#*x}
cp "$data"/*.txt "$work"/

start() {
  (cd "$work" && exec env ZANBURY_PRESENT="$path" ZANBURY_VERBOSE=1 "$game" 2>>"$work/err") &
  game_pid=$!
  wait_for_window
  xdotool mousemove 0 0
}
stop() {
  kill -TERM "$game_pid"
  wait "$game_pid"
  game_pid=""
}

# What the screen shows that is not black, as W H X Y: the bounds of what a black frame of one
# pixel around the shot trims to.
lit() {
  import -window root "$work/shot.png"
  local w h x y
  read -r w h x y <<<"$(convert "$work/shot.png" -bordercolor black -border 1 -format "%@" info: 2>/dev/null |
    tr 'x+' '  ')"
  echo "$w $h $((x - 1)) $((y - 1))"
}

# Waits until the lit area is the expected one, within a pixel in each figure.
expect_box() { # look w h x y
  local look=$1 w=$2 h=$3 x=$4 y=$5 got
  for _ in $(seq 40); do
    got=$(lit)
    read -r gw gh gx gy <<<"$got"
    if [ $((gw - w)) -ge -1 ] && [ $((gw - w)) -le 1 ] && [ $((gh - h)) -ge -1 ] &&
      [ $((gh - h)) -le 1 ] && [ $((gx - x)) -ge -1 ] && [ $((gx - x)) -le 1 ] &&
      [ $((gy - y)) -ge -1 ] && [ $((gy - y)) -le 1 ]; then
      echo "$size $path $look: ${gw}x${gh} at ($gx, $gy)"
      return 0
    fi
    sleep 0.25
  done
  cp "$work/shot.png" "/tmp/zanbury-fill-$size-$path-$look.png" || true
  echo "$size $path $look: the picture shows ${got:-nothing}, not $w $h $x $y"
  exit 1
}

# Sharp: the height filled on these screens, all wider than 4:3.
sharp_w=$(((height * 640 * 2 + 480) / (2 * 480)))
scale=$((width / 640 < height / 480 ? width / 640 : height / 480))

start
grep -q "present: $path" "$work/err" || { echo "not presented by $path:"; cat "$work/err"; exit 1; }
expect_box sharp "$sharp_w" "$height" $(((width - sharp_w) / 2)) 0
# No settings file yet: the defaults are written, and said once.
grep -q "^look = sharp$" "$work/config/zanbury/settings.conf" || { echo "no defaults written"; exit 1; }
[ "$(grep -c "no settings file" "$work/err")" = 1 ] || { cat "$work/err"; exit 1; }
xdotool key F10
expect_box whole $((640 * scale)) $((480 * scale)) $(((width - 640 * scale) / 2)) $(((height - 480 * scale) / 2))
xdotool key F10
expect_box stretch "$width" "$height" 0 0
stop
grep -q "^look = stretch$" "$work/config/zanbury/settings.conf"

start # remembered
expect_box stretch "$width" "$height" 0 0
stop

printf '\x01\x02 garbage ==\n\xff' >"$work/config/zanbury/settings.conf"
: >"$work/err"
start
expect_box sharp "$sharp_w" "$height" $(((width - sharp_w) / 2)) 0
stop
[ "$(grep -c "settings file" "$work/err")" = 1 ] || { cat "$work/err"; exit 1; }
echo "fill test passed"
