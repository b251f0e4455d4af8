#!/usr/bin/env bash
# What comes from outside the real game in a virtual X display: a broken parks.txt is shown in a
# message box, which the player closes, and the game exits with code 1; a window destroyed by
# another program ends the game through its orderly shutdown, exit code 0.
set -euo pipefail
game=$1
data=$2
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb 1024x768

wait_exit() {
  for _ in $(seq 100); do
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

# The message box: a top-level window named Zanbury, made by the game before any game window.
mkdir "$work/broken"
printf '2\nharbour-front.txt\n' >"$work/broken/parks.txt"
(cd "$work/broken" && exec "$game" 2>"$work/stderr") &
game_pid=$!
box=""
for _ in $(seq 100); do
  box=$(xwininfo -root -tree | grep '"Zanbury"' | head -1 || true)
  [ -n "$box" ] && break
  kill -0 "$game_pid" 2>/dev/null || { echo "the game ended without a message box"; exit 1; }
  sleep 0.1
done
[ -n "$box" ] || { echo "no message box appeared"; exit 1; }
# "  0x200002 "Zanbury": ()  415x112+304+218  +304+218": the box's middle.
read -r width height left top <<<"$(sed -E 's/.* ([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) .*/\1 \2 \3 \4/' <<<"$box")"
x=$((left + width / 2))
y=$((top + height / 4))
drawn=no
for _ in $(seq 50); do
  import -window root "$work/shot.png"
  if ! is_black "$x" "$y"; then
    drawn=yes
    break
  fi
  sleep 0.1
done
[ -n "${ZANBURY_SHOT:-}" ] && cp "$work/shot.png" "$ZANBURY_SHOT"
[ "$drawn" = yes ] || { echo "the message box is not drawn"; exit 1; }
# The pointer over the box gives it the keyboard; Enter presses its button.
xdotool mousemove "$x" "$y"
sleep 0.2
xdotool key Return
wait_exit
[ "$code" -eq 1 ] || { echo "a broken parks.txt gave exit code $code"; exit 1; }
grep -q "parks.txt:2: the list promises 2 parks but names only 1" "$work/stderr" ||
  { echo "standard error: $(cat "$work/stderr")"; exit 1; }

# The window destroyed from outside.
cp "$data"/*.txt "$work"/
(cd "$work" && exec "$game" 2>"$work/stderr") &
game_pid=$!
wait_for_window
sleep 1
xdotool windowclose "$(xdotool search --name '^Zanbury$' | head -1)"
wait_exit
[ "$code" -eq 0 ] || { echo "the window destroyed from outside gave exit code $code"; cat "$work/stderr"; exit 1; }
echo "outside test passed"
