# Sourced by the measuring scripts, after the window tests' Xvfb helpers (which make $work, start
# the display and clean up on exit). Adds:
#   start_game GAME [NAME=VALUE ...]   starts GAME in $work with those variables, sets game_pid;
#                                      its standard error goes to $game_err ($work/game.err)
#   stop_game                          SIGTERM, then waits for the game to end
#   cpu_ticks PID                      utime + stime of a process, in clock ticks
#   now_ns                             the wall clock in nanoseconds
. "$(dirname "${BASH_SOURCE[0]}")/../../tests/window/xvfb_lib.sh"

start_game() {
  local game=$1
  shift
  (cd "$work" && exec env "$@" "$game" 2>>"${game_err:-$work/game.err}") &
  game_pid=$!
}

stop_game() {
  kill -TERM "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
}

cpu_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'
}

now_ns() {
  date +%s%N
}
