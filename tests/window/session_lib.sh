# A short session of the real game in a virtual display, played with xdotool keys, for the tests
# that record one (here and under Wine). Source it after xvfb_lib.sh; fail MESSAGE must exit 1.
#   write_session_parks DIR      a park with nothing in it, then a wall of a hazard that no jump
#                                clears, as DIR's park list
#   wait_for_state STATE [SECONDS] [TRACE]   waits until the trace's last whole line (the game
#                                flushes it every second) shows the state; trace.txt unless given
#   play_session [TRACE]         plays the session that $game_pid shows: jumps, a park complete,
#                                falls with their message line, the end screen, then EXIT on the
#                                menu; the game then has ended with exit code 0

write_session_parks() {
  printf '2\nwarm.txt\nwall.txt\n' > "$1/parks.txt"
  printf '0\n120\n' > "$1/warm.txt"
  printf '1 200\n0 0 200 200 0 232 4\n' > "$1/wall.txt"
}

wait_for_state() {
  local until=$((SECONDS + ${2:-60})) trace=${3:-trace.txt}
  while [ "$SECONDS" -lt "$until" ]; do
    tail -n 2 "$trace" 2> /dev/null | head -n 1 | grep -q " state=$1 " && return 0
    kill -0 "$game_pid" 2> /dev/null || fail "the game ended while waiting for $1"
    sleep 0.2
  done
  fail "the game did not reach $1: $(tail -n 2 "$trace" | head -n 1)"
}

play_session() {
  local trace=${1:-trace.txt}
  wait_for_window 60
  xdotool mousemove 640 512
  # With no window manager nothing gives the window the keyboard, and a game's window closed
  # before may have left it with none.
  timeout 30 xdotool search --sync --onlyvisible --name '^Zanbury$' windowfocus ||
    fail "the game's window could not take the keyboard"
  wait_for_state Menu 60 "$trace"
  xdotool key Return
  wait_for_state Playing 60 "$trace"
  for key in Up Up Right Up; do
    sleep 0.7
    xdotool key $key
  done
  wait_for_state ParkComplete 60 "$trace"
  xdotool key Return
  wait_for_state GameOver 90 "$trace"
  xdotool key Return
  wait_for_state Menu 60 "$trace"
  xdotool key Down
  sleep 0.3
  xdotool key Return
  wait_game_exit 20
  [ "$code" -eq 0 ] || fail "the recorded session exited with $code"
}
