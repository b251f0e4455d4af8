#!/usr/bin/env bash
# Times the simulator over a long run of play, its trace written to /dev/null, and reports the
# frames per second by wall clock and by CPU time: RUNS runs with --no-hash, then one with the
# trace's frame hash, which reads the picture's 614,400 bytes one after another every frame.
#
#   measure_sim.sh SIM [FRAMES]     FRAMES 100000 by default; RUNS=3 by default
#
# The run: 26 parks of 4000 frames, each with 200 obstacles (ramps on the ground, blocks, rails
# and hazards above), a jump turned into a board flip every 40 frames, Enter tapped every 100
# frames so that each park-complete screen passes at once.
set -euo pipefail
sim=$(realpath "$1")
frames=${2:-100000}
runs=${RUNS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pictures=("114 371 150 431" "123 267 159 331" "189 364 237 428" "287 282 335 346" "123 340 151 370")
rows=(396 150 90 200 120)
{
  echo "200 4000"
  for i in $(seq 0 199); do
    echo "${pictures[i % 5]} $((20 + 18 * i)) ${rows[i % 5]} $((i % 5 == 0 ? 2 : 1 + i % 4))"
  done
} >"$work/long.txt"
{
  echo 26
  for _ in $(seq 26); do echo long.txt; done
} >"$work/parks.txt"
{
  echo "2 enter tap"
  for f in $(seq 10 40 "$frames"); do
    echo "$f up tap"
    echo "$((f + 3)) down tap"
  done
  for f in $(seq 50 100 "$frames"); do echo "$f enter tap"; done
} >"$work/script.txt"

echo "$frames frames a run, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
measure() { # LABEL FRAMES [SIM OPTIONS...]
  local label=$1 count=$2
  shift 2
  TIMEFORMAT='%R %U %S'
  { time "$sim" --dir "$work" --frames "$count" "$@" "$work/script.txt" >/dev/null; } 2>"$work/time"
  read -r real user sys <"$work/time"
  awk -v f="$count" -v r="$real" -v u="$user" -v s="$sys" -v label="$label" 'BEGIN {
    printf "%s: %.2f s wall, %.2f s CPU: %.0f frames per second by wall clock, %.0f by CPU time\n",
      label, r, u + s, f / r, f / (u + s) }'
}
for run in $(seq "$runs"); do
  measure "run $run, no hash" "$frames" --no-hash
done
measure "with the hash" $((frames / 10))
