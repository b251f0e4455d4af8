#!/usr/bin/env bash
# The real game under valgrind's memcheck in a virtual X display: a short session that enters
# play, plays a few seconds, goes back to the title with Escape and leaves through the menu.
# Fails on any invalid access or on a definite leak whose stack passes through the game's code.
set -euo pipefail
game=$(realpath "$1")
data=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
source "$(dirname "$0")/../tests/window/xvfb_lib.sh"
start_xvfb 1280x1024
cp "$data"/*.txt "$work"/

start_game() {
  (cd "$work" && exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=none --error-exitcode=3 --num-callers=30 --fullpath-after= \
    --suppressions="$here/valgrind.supp" \
    --log-file="$work/memcheck.log" "$game" 2>"$work/stderr.log") &
  game_pid=$!
}

# What the game was doing, for a window that did not come.
report_stall() {
  echo "--- the machine's processes (the game is $game_pid)"
  ps --ppid 2 -p 2 --deselect -o pid,ppid,stat,etime,time,wchan:24,args --forest | cut -c1-160 || true
  if [ -d "/proc/$game_pid/task" ]; then
    for task in /proc/"$game_pid"/task/*; do
      echo "thread ${task##*/}: $(cat "$task/wchan" 2>/dev/null), system call $(cut -d' ' -f1 "$task/syscall" 2>/dev/null)"
    done
  fi
  echo "--- stderr"
  cat "$work/stderr.log" || true
  echo "--- memcheck log"
  cat "$work/memcheck.log" || true
}

# Memcheck starts the game in a second or two; a start that stalls in the machine's services
# rather than in the game is reported and tried once more.
start_game
status=0
window_appears 90 || status=$?
if [ "$status" -eq 1 ]; then
  echo "the game's window did not appear under memcheck within 90 s; trying once more"
  report_stall
  kill "$game_pid" 2>/dev/null || true
  wait "$game_pid" 2>/dev/null || true
  start_game
  status=0
  window_appears 90 || status=$?
fi
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 1 ] && echo "the game's window did not appear under memcheck"
  report_stall
  exit 1
fi
sleep 3
xdotool mousemove 640 512
xdotool key Return   # NEW GAME
sleep 6
xdotool key Up; sleep 2; xdotool key Right; sleep 2

# Back to the title and out through the menu. Under memcheck on a loaded machine the game may be
# slower than these keys expect (Escape counts only after a park's fifth frame), so the way out is
# repeated until the game has ended: from play, the end screen or the park-complete screen, each
# round leads on towards the menu's EXIT.
deadline=$((SECONDS + 180))
while kill -0 "$game_pid" 2>/dev/null; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "the game under memcheck did not leave through the menu within 180 s"
    report_stall
    kill "$game_pid" 2>/dev/null || true
    exit 1
  fi
  xdotool key Escape   # back to the title
  sleep 2
  xdotool key Down; sleep 1; xdotool key Return   # EXIT (or on from a waiting screen)
  for _ in 1 2 3 4 5 6; do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.5
  done
done
set +e
wait "$game_pid"
code=$?
set -e
game_pid=""

grep -E 'ERROR SUMMARY|definitely lost' "$work/memcheck.log" || true
if [ "$code" -eq 3 ]; then
  echo "memcheck found invalid accesses"
  cat "$work/memcheck.log"
  exit 1
elif [ "$code" -ne 0 ]; then
  echo "the game under memcheck ended with exit code $code"
  cat "$work/stderr.log" "$work/memcheck.log"
  exit 1
fi
if ! "$here/memcheck_own_leaks.sh" "$work/memcheck.log" "$root"; then
  echo "a definite leak passes through the game's own code"
  exit 1
fi
echo "valgrind session passed"
