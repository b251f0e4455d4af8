#!/usr/bin/env bash
# Plays the replay of each named shipped park in the real game under Xvfb, as scripted key
# presses in the game's own pacing, and checks that it reaches the end screen with the replay's
# score, which only a run with no fall makes; the end screen is kept as OUT/NAME-end.png.
# Usage: xvfb_play.sh BUILD OUT NAME.txt...   (a whole park takes its length in real time)
set -euo pipefail
build=$(realpath "$1")
out=$(realpath "$2")
shift 2
source=$(cd "$(dirname "$0")/../.." && pwd)
source "$source/tests/window/xvfb_lib.sh"
mkdir -p "$out"
start_xvfb 640x480
status=0
for name in "$@"; do
  dir="$work/$name.d"
  mkdir -p "$dir"
  cp "$source/data/$name" "$dir/"
  printf '1\n%s\n' "$name" >"$dir/parks.txt"
  expected=$(awk -v n="$name" '$1 == n { print $2 }' "$source/tests/replays/expected.txt")
  length=$(sed -n 2p "$dir/$name")
  (cd "$dir" && exec "$build/zanbury") &
  game_pid=$!
  wait_for_window
  sleep 1.5
  "$build/tests/replays/zanbury-xvfb-play" "$source/tests/replays/$name" \
    "$source/assets/backdrop.bmp" || status=1
  # The end screen writes the high score after the park's last frame.
  for _ in $(seq $((length * 34 / 100 + 100))); do
    [ -s "$dir/highscore.txt" ] && break
    sleep 0.1
  done
  sleep 0.5
  xwd -root -silent | convert xwd:- "$out/${name%.txt}-end.png"
  score=$(cat "$dir/highscore.txt" 2>/dev/null || echo none)
  if [ "$score" = "$expected" ]; then
    echo "$name: played to the end screen with $score points, no fall"
  else
    echo "$name: ended with $score points where the replay makes $expected"
    status=1
  fi
  kill "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
done
exit $status
