#!/usr/bin/env bash
# Starts the real game in a virtual X display again and again and reports the time from just
# before the process starts to its first present. The game reports that moment on standard
# error when ZANBURY_REPORT_FIRST_PRESENT is set.
#
#   measure_startup.sh GAME DATA_DIR      RUNS=9 SCREEN=1920x1080 by default
#   PRESENT=gpu measure_startup.sh ...    ZANBURY_PRESENT for the game (its own choice when unset)
set -euo pipefail
game=$(realpath "$1")
data=$(realpath "$2")
screen=${SCREEN:-1920x1080}
runs=${RUNS:-9}
. "$(dirname "$0")/measure_lib.sh"

cp "$data"/*.txt "$work"/
rm -f "$work/highscore.txt"
start_xvfb "$screen"
echo "screen $screen, $runs starts, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
times=()
cpus=()
# The game's standard error comes through a pipe that this script blocks on: polling a file
# would take the processor from the game and the display server while they start.
mkfifo "$work/game.err.pipe"
game_err="$work/game.err.pipe"
for run in $(seq "$runs"); do
  : >"$work/game.err"
  t0=$(now_ns)
  start_game "$game" ZANBURY_REPORT_FIRST_PRESENT=1 ${PRESENT:+ZANBURY_PRESENT=$PRESENT}
  shown=""
  cpu=""
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$work/game.err"
    if [[ $line =~ ^zanbury:\ first\ present\ at\ realtime\ ([0-9]+)\ ns\ after\ ([0-9]+)\ us\ of\ CPU$ ]]; then
      shown=${BASH_REMATCH[1]}
      cpu=${BASH_REMATCH[2]}
      break
    fi
  done <"$game_err"
  stop_game
  sleep 0.5 # each start meets a display server that has finished with the one before
  [ -n "$shown" ] || { echo "run $run: no first present reported:" >&2; cat "$work/game.err" >&2; exit 1; }
  ms=$(( (shown - t0) / 1000000 ))
  times+=("$ms")
  if [ -n "$cpu" ]; then
    cpus+=("$((cpu / 1000))")
    echo "run $run: first present $ms ms after start, after $((cpu / 1000)) ms of the game's CPU time"
  else
    echo "run $run: first present $ms ms after start"
  fi
done
summary() { # what
  sort -n | awk -v what="$1" '{v[NR] = $1} END {
    printf "%s: median %d ms, fastest %d ms, slowest %d ms\n", what, v[int((NR + 1) / 2)], v[1], v[NR] }'
}
printf '%s\n' "${times[@]}" | summary "start to first present"
if [ ${#cpus[@]} -gt 0 ]; then
  printf '%s\n' "${cpus[@]}" | summary "CPU time to first present"
fi
