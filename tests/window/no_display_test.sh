#!/usr/bin/env bash
# Where nothing can be shown, the game says so in one line and exits 1: with no display at all
# (before it reads any file) and with a window it cannot draw into (an X display of 8 bits a
# pixel). Asked for SDL's offscreen driver by name, it runs as ever. A missing sound card is one
# line of the game's own.
set -euo pipefail
game=$1
source "$(dirname "$0")/xvfb_lib.sh"
mkdir "$work/empty" "$work/parks"
# Settings of the player's own, so that a first start's line about them does not show here.
mkdir -p "$XDG_CONFIG_HOME/zanbury"
echo "look = sharp" >"$XDG_CONFIG_HOME/zanbury/settings.conf"
cp "$2"/*.txt "$work/parks/"
rm -f "$work/parks/highscore.txt"

fail() {
  echo "$1; standard error:"
  cat "$work/err"
  exit 1
}

# run DIR [VAR=VALUE...]: the game in DIR with that environment, in the background with
# $game_pid, or with STOP=end given 10 s to end by itself and $code its exit code (124: it had not).
run() {
  local dir=$1
  shift
  if [ "${STOP:-}" = end ]; then
    code=0
    (cd "$dir" && env "$@" timeout 10 "$game" 2>"$work/err") || code=$?
  else
    (cd "$dir" && exec env "$@" "$game" 2>"$work/err") &
    game_pid=$!
  fi
}
# Ends the game started by run with SIGTERM, failing if it had ended already; $code as above.
stop() {
  kill -TERM "$game_pid" || fail "the game ended by itself"
  code=0
  wait "$game_pid" || code=$?
  game_pid=""
}

# No X display and no Wayland one (with no runtime directory libwayland-client has a complaint of
# its own, which must not show), in a directory without parks.txt, whose absence would be the
# message had it been read first.
no_display=(-u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER)
STOP=end run "$work/empty" "${no_display[@]}"
[ "$code" -eq 1 ] && [ "$(cat "$work/err")" = "zanbury: no display to show the game on: start it \
from a graphical session, or set DISPLAY" ] || fail "with no display, exit code $code"
STOP=end run "$work/empty" "${no_display[@]}" DISPLAY=:987
[ "$code" -eq 1 ] && grep -q '^zanbury: no display .*":987" named by DISPLAY' "$work/err" ||
  fail "with a display that cannot be opened, exit code $code"

# Asked for by name, alone or in a list, the offscreen driver runs the game as it always has.
for asked in offscreen x11,offscreen; do
  run "$work/parks" "${no_display[@]}" SDL_VIDEODRIVER="$asked" SDL_AUDIODRIVER=dummy
  sleep 2
  stop
  [ "$code" -eq 0 ] && [ ! -s "$work/err" ] || fail "with SDL_VIDEODRIVER=$asked, exit code $code"
done

# A window the game cannot draw into, where it used to run unseen: SDL's reason in the line.
# There is a display, so the game also shows its message box, which is closed here.
start_xvfb 800x600x8
run "$work/parks"
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  # "  0x200002 "Zanbury": ()  380x100+210+166  +210+166": its one button is in the middle of
  # its lowest quarter (on this display the box takes no keys).
  box=$(xwininfo -root -tree | grep '"Zanbury"' | head -1 || true)
  if [ -n "$box" ]; then
    read -r width height left top <<<"$(sed -E 's/.* ([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+) .*/\1 \2 \3 \4/' <<<"$box")"
    xdotool mousemove $((left + width / 2)) $((top + height * 3 / 4)) click 1
  fi
  sleep 0.1
done
code=0
if kill -0 "$game_pid" 2>/dev/null; then
  kill -KILL "$game_pid"
fi
wait "$game_pid" || code=$?
game_pid=""
[ "$code" -eq 1 ] && grep -q '^zanbury: cannot open the window: .' "$work/err" ||
  fail "on a display of 8 bits a pixel, exit code $code"
kill "$xvfb_pid"

# No sound card (ALSA asked for a card that no machine has): one line of ours, none of
# alsa-lib's own, and the game plays on.
start_xvfb 800x600
run "$work/parks" SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
wait_for_window
stop
[ "$code" -eq 0 ] && [ "$(cat "$work/err")" = "zanbury: no sound device: playing silently" ] ||
  fail "with no sound card, exit code $code"
echo "no display test passed"
