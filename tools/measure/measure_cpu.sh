#!/usr/bin/env bash
# Plays the real game in a virtual X display and reports what the playing costs the machine:
# the game process's CPU seconds per wall second (all its threads, from /proc/PID/stat), its
# peak resident memory (VmHWM), and the X server's CPU for the same span.
#
#   measure_cpu.sh GAME [SECONDS]      SECONDS of play, 20 by default
#   SCREEN=1280x1024 RUNS=3 LOOK=whole PRESENT=gpu measure_cpu.sh GAME
# LOOK (sharp, whole or stretch) goes into the game's settings file; PRESENT into
# ZANBURY_PRESENT (the machine's own choice when unset).
#
# The park is written here: 200 blocks, ramps, rails and hazards high above the skater, one every
# 9 frames, so that about 20 are on screen at a time and the skater, left standing, never falls.
set -euo pipefail
game=$(realpath "$1")
seconds=${2:-20}
screen=${SCREEN:-1920x1080}
runs=${RUNS:-1}
. "$(dirname "$0")/measure_lib.sh"

pictures=("123 267 159 331" "189 364 237 428" "287 282 335 346")
rows=(40 120 200)
{
  echo "200 2000"
  for i in $(seq 0 199); do
    echo "${pictures[i % 3]} $((10 + 9 * i)) ${rows[(i / 3) % 3]} $((1 + i % 4))"
  done
} >"$work/busy.txt"
printf '1\nbusy.txt\n' >"$work/parks.txt"

start_xvfb "$screen"
mkdir -p "$XDG_CONFIG_HOME/zanbury"
echo "look = ${LOOK:-sharp}" >"$XDG_CONFIG_HOME/zanbury/settings.conf"
tick=$(getconf CLK_TCK)
echo "screen $screen, look ${LOOK:-sharp}${PRESENT:+, present $PRESENT}, $seconds s of play a run, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  start_game "$game" ${PRESENT:+ZANBURY_PRESENT=$PRESENT}
  wait_for_window
  sleep 0.5
  xdotool mousemove 10 10
  xdotool key Return # NEW GAME is selected
  sleep 1            # the park loads and play begins

  game0=$(cpu_ticks "$game_pid")
  x0=$(cpu_ticks "$xvfb_pid")
  t0=$(now_ns)
  sleep "$seconds"
  game1=$(cpu_ticks "$game_pid")
  x1=$(cpu_ticks "$xvfb_pid")
  t1=$(now_ns)
  hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$game_pid/status")
  stop_game

  awk -v g=$((game1 - game0)) -v x=$((x1 - x0)) -v ns=$((t1 - t0)) -v tick="$tick" -v hwm="$hwm" \
    -v run="$run" 'BEGIN {
      wall = ns / 1e9
      printf "run %d: game %.3f CPU s per wall s (%.1f%% of one core), X server %.3f, peak resident %.1f MiB\n",
        run, g / tick / wall, 100 * g / tick / wall, x / tick / wall, hwm / 1024
    }'
done
