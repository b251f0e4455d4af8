# Shared by the scripts that run the real game in a virtual X display. Source it after `set -e`;
# it makes $work (removed on exit), starts Xvfb on a free display of the given size and exports
# DISPLAY, and offers the helpers below. $game_pid, once set, is killed on exit.
#   start_xvfb WIDTHxHEIGHT[xDEPTH] [extra Xvfb options]   (24 bits a pixel unless given)
#   wait_for_window [SECONDS]   waits for the game's window to appear (30 s by default)
#   window_appears SECONDS      the same wait, as a status: 0 shown, 1 late, 2 the game ended
#   wait_game_exit [SECONDS]    waits for $game_pid to end (5 s by default), its exit code then
#                               in $code and $game_pid cleared; exits 1 if it does not end
#   pixel X Y                   "r g b" of $work/shot.png
#   is_sky X Y / is_black X Y   the title's sky colour, or black, at that pixel of the shot

work=$(mktemp -d)
xvfb_pid=""
# The player's settings stay out of the tests, and the tests out of the player's settings, also
# where no display is started.
export XDG_CONFIG_HOME="$work/config"
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb() {
  local size=$1
  shift
  [[ $size == *x*x* ]] || size+=x24
  # A free display number, chosen by the server itself.
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset "$@" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 10 number <&3 || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$number"
  export SDL_AUDIODRIVER=dummy
  # Nor has the private display a session bus: the video system's bus client would otherwise
  # try to launch one for it.
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
}

wait_for_window() {
  if window_appears "${1:-30}"; then
    return 0
  fi
  echo "the game's window did not appear"
  exit 1
}

# As wait_for_window, but returns 1 (window late) or 2 (the game has ended) instead of exiting.
window_appears() {
  local until=$((SECONDS + $1))
  while [ "$SECONDS" -lt "$until" ]; do
    if xdotool search --name '^Zanbury$' >/dev/null 2>&1; then
      return 0
    fi
    if [ -n "$game_pid" ] && ! kill -0 "$game_pid" 2>/dev/null; then
      echo "the game ended before its window appeared"
      return 2
    fi
    sleep 0.1
  done
  return 1
}

wait_game_exit() {
  local tenths=$((${1:-5} * 10))
  while [ "$tenths" -gt 0 ] && kill -0 "$game_pid" 2>/dev/null; do
    sleep 0.1
    tenths=$((tenths - 1))
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    echo "the game did not end"
    exit 1
  fi
  code=0
  wait "$game_pid" || code=$?
  game_pid=""
}

pixel() {
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}

is_sky() {
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  [ "$r" -le 20 ] && [ "$b" -ge 200 ] && [ "$g" -ge 100 ] && [ "$g" -le 160 ]
}

is_black() {
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  [ "$r$g$b" = "000" ]
}
