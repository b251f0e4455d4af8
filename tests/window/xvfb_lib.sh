# Shared by the scripts that run the real game in a virtual X display. Source it after `set -e`;
# it makes $work (removed on exit), starts Xvfb on a free display of the given size and exports
# DISPLAY, and offers the helpers below. $game_pid, once set, is killed on exit.
#   start_xvfb WIDTHxHEIGHT [extra Xvfb options]
#   wait_for_window [SECONDS]   waits for the game's window to appear (30 s by default)
#   pixel X Y                   "r g b" of $work/shot.png
#   is_sky X Y / is_black X Y   the title's sky colour, or black, at that pixel of the shot

work=$(mktemp -d)
xvfb_pid=""
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
  # A free display number, chosen by the server itself.
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 10 number <&3 || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$number"
  export SDL_AUDIODRIVER=dummy
}

wait_for_window() {
  for _ in $(seq $((${1:-30} * 10))); do
    if xdotool search --name '^Zanbury$' >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  echo "the game's window did not appear"
  exit 1
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
