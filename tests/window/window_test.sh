#!/usr/bin/env bash
# Starts the real game in a virtual X display, checks that the title is shown scaled and
# centred on black, then leaves through the menu (exit 0), and ends a second run with SIGTERM
# (exit 0 too).
set -euo pipefail
game=$1
data=$2

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number, chosen by the server itself.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 number <&3 || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$number"
export SDL_AUDIODRIVER=dummy

cp "$data"/*.txt "$work"/
rm -f "$work/highscore.txt"

start_game() {
  (cd "$work" && exec "$game") &
  game_pid=$!
  for _ in $(seq 50); do
    if xdotool search --name '^Zanbury$' >/dev/null 2>&1; then
      sleep 0.5
      return 0
    fi
    sleep 0.1
  done
  echo "the game's window did not appear"
  exit 1
}

wait_exit() {
  for _ in $(seq 50); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      set +e
      wait "$game_pid"
      code=$?
      set -e
      game_pid=""
      return 0
    fi
    sleep 0.1
  done
  echo "the game did not end"
  exit 1
}

pixel() { # x y -> "r g b" of the screenshot
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}

start_game
# Wait for the title's first present: the sky at game pixel (300, 400), scaled to (600, 832).
sky=no
for _ in $(seq 50); do
  import -window root "$work/shot.png"
  read -r r g b <<<"$(pixel 600 832)"
  if [ "$r" -le 20 ] && [ "$b" -ge 200 ] && [ "$g" -ge 100 ] && [ "$g" -le 160 ]; then
    sky=yes
    break
  fi
  sleep 0.2
done
[ -n "${ZANBURY_SHOT:-}" ] && cp "$work/shot.png" "$ZANBURY_SHOT"
[ "$sky" = yes ] || { echo "the title's sky is $r $g $b"; exit 1; }

# 640 x 480 scaled by 2 fits 1280 x 1024, centred: 32 black rows above and below.
read -r r g b <<<"$(pixel 640 10)"
[ "$r$g$b" = "000" ] || { echo "the border above the picture is $r $g $b, not black"; exit 1; }

xdotool mousemove 640 512
xdotool key Down
sleep 0.3
xdotool key Return
wait_exit
[ "$code" -eq 0 ] || { echo "leaving through the menu gave exit code $code"; exit 1; }

start_game
kill -TERM "$game_pid"
wait_exit
[ "$code" -eq 0 ] || { echo "SIGTERM gave exit code $code"; exit 1; }
echo "window test passed"
