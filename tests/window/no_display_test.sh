#!/usr/bin/env bash
# Where nothing can be shown, the game says so in one line and ends with exit code 1: with no
# display at all (before it reads any file), with a video driver that cannot start, and with a
# window it cannot draw into (an X display of 8 bits a pixel). Asked for SDL's offscreen driver
# by name, it runs as ever. A sound card that is not there is one line of the game's own.
set -euo pipefail
game=$1
data=$2
source "$(dirname "$0")/xvfb_lib.sh"

fail() {
  echo "$1"
  [ ! -s "$work/err" ] || { echo "standard error:"; cat "$work/err"; }
  exit 1
}

# run_to_end DIR [VAR=VALUE...]: the game in DIR with that environment, given 10 s to end by
# itself; $code is its exit code (124: it was still running), $work/err its standard error.
run_to_end() {
  local dir=$1
  shift
  set +e
  (cd "$dir" && env "$@" timeout 10 "$game" 2>"$work/err")
  code=$?
  set -e
}

# start_game DIR [VAR=VALUE...] starts the game in DIR with that environment; stop_game ends it
# with SIGTERM, failing when it had already ended, and sets $code.
start_game() {
  local dir=$1
  shift
  (cd "$dir" && exec env "$@" "$game" 2>"$work/err") &
  game_pid=$!
}
stop_game() {
  kill -0 "$game_pid" 2>/dev/null || { wait "$game_pid" || true; fail "the game ended by itself"; }
  kill -TERM "$game_pid"
  set +e
  wait "$game_pid"
  code=$?
  set -e
  game_pid=""
}

mkdir "$work/empty" "$work/parks"
cp "$data"/*.txt "$work/parks/"
rm -f "$work/parks/highscore.txt"

# No X display and no Wayland display (with no runtime directory, where a compositor's socket
# would be, libwayland-client has a complaint of its own that must not show), in a directory
# without parks.txt: had a file been read first, its absence would be the message.
run_to_end "$work/empty" -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_RUNTIME_DIR \
  -u SDL_VIDEODRIVER
[ "$code" -eq 1 ] || fail "with no display the exit code is $code, not 1"
expected="zanbury: no display to show the game on: start it from a graphical session, or set DISPLAY"
[ "$(cat "$work/err")" = "$expected" ] || fail "with no display the game did not say only: $expected"

# A display named but not there is named in the line.
run_to_end "$work/empty" -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u XDG_RUNTIME_DIR \
  -u SDL_VIDEODRIVER DISPLAY=:987
[ "$code" -eq 1 ] && grep -q '^zanbury: no display .*":987" named by DISPLAY' "$work/err" ||
  fail "a display that cannot be opened gave exit code $code"

# Asked for by name, alone or in a list, the offscreen driver runs the game as it always has.
for asked in offscreen x11,offscreen; do
  start_game "$work/parks" -u DISPLAY SDL_VIDEODRIVER="$asked" SDL_AUDIODRIVER=dummy
  sleep 2
  stop_game
  [ "$code" -eq 0 ] && [ ! -s "$work/err" ] || fail "with SDL_VIDEODRIVER=$asked: exit code $code"
done

# A video driver that cannot start: SDL's reason is in the line.
run_to_end "$work/empty" SDL_VIDEODRIVER=nosuchdriver
[ "$code" -eq 1 ] && grep -q '^zanbury: cannot start the video system: .*nosuchdriver' "$work/err" ||
  fail "a video driver that cannot start gave exit code $code"

# A window the game cannot draw into: the line with SDL's reason, where it used to run unseen.
start_xvfb 800x600x8
run_to_end "$work/parks"
[ "$code" -eq 1 ] && grep -q '^zanbury: cannot open the window: .' "$work/err" ||
  fail "on a display of 8 bits a pixel the exit code is $code"
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true

# No sound card (ALSA asked for a card that no machine has): one line of ours, no complaints of
# alsa-lib's own, and the game plays on.
start_xvfb 800x600
start_game "$work/parks" SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
wait_for_window
stop_game
[ "$code" -eq 0 ] || fail "with no sound card the exit code is $code"
[ "$(cat "$work/err")" = "zanbury: no sound device: playing silently" ] ||
  fail "with no sound card standard error is not the one line"
echo "no display test passed"
