#!/usr/bin/env bash
# highscore_test.sh WINDOWS_BUILD PREFIX: the high score under Wine, written by zanbury-sim.exe
# ending runs of a short empty park. Two Windows processes ending a run together in one
# directory, one with 90 points and one with none, keep 90 every round. A process ending run
# after run with 90 points, killed at a random moment after its first write, leaves
# highscore.txt holding exactly 90 and at most one temporary file, which the next write sweeps
# away.
set -euo pipefail
windows_build=$1
prefix=$2
source "$(dirname "$0")/wine_lib.sh"
sim_exe="$windows_build/tools/sim/zanbury-sim.exe"
need_windows_programs "$sim_exe"
need_wine
use_wine_prefix "$prefix"
keep_wine_server
fail() {
  echo "$*"
  exit 1
}
RANDOM=25 # the same kill moments every run

dir="$work/park"
mkdir "$dir"
printf '1\nshort.txt\n' > "$dir/parks.txt"
printf '0\n40\n' > "$dir/short.txt"
# runs N POINTS [WAIT]: a script of N runs of the park after WAIT frames at the menu, each from
# the menu to the end screen and back to the menu; with POINTS 90, a hop and a jump in each run,
# with 0 no key.
runs() {
  awk -v n="$1" -v points="$2" -v wait="${3:-0}" 'BEGIN {
    for (k = 0; k < n; k++) {
      f = 2 + wait + 45 * k
      print f " enter tap"
      if (points) {
        print f + 8 " right press"; print f + 11 " right release"
        print f + 18 " up press"; print f + 21 " up release"
      }
      print f + 43 " enter tap"
    }
  }'
}
# The race's scripts wait 400 frames at the menu first, whose trace fills its pipe: both games
# then stand still on the same frame until the pipes are read, and go on together.
runs 1 0 400 > "$work/none.txt"
runs 1 90 400 > "$work/ninety.txt"
race_frames=445 # the wait, and the run to its end screen
runs 2000 90 > "$work/many.txt"
# sim SCRIPT FRAMES [OUT]: zanbury-sim.exe in the park's directory, its trace to OUT, in the
# background as $!.
sim() {
  (cd "$dir" && exec wine "$sim_exe" --dir . --no-hash --frames "$2" "$1") > "${3:-/dev/null}" \
    2> "$work/sim.err" &
}
# The names in the directory other than the park's and the score's, one a line.
others() {
  ls -A "$dir" | grep -vxE 'parks.txt|short.txt|highscore.txt|highscore.txt.lock' || true
}
# stalled PID: waits (10 s at most) until the Windows process PID has written more than a pipe
# holds and writes no more, or has ended.
stalled() {
  local written last=-1 tries=200
  while [ "$tries" -gt 0 ] && written=$(awk '/^wchar/ { print $2 }' "/proc/$1/io" 2> /dev/null); do
    [ "$written" = "$last" ] && [ "$written" -gt 65536 ] && return 0
    last=$written
    tries=$((tries - 1))
    sleep 0.05
  done
}

rounds=20
start=$SECONDS
for round in $(seq "$rounds"); do
  printf 0 > "$dir/highscore.txt"
  rm -f "$work/first" "$work/second"
  mkfifo "$work/first" "$work/second"
  # Each round in the other order, so that neither is always the first to start.
  scripts=("$work/none.txt" "$work/ninety.txt")
  [ $((round % 2)) -eq 0 ] && scripts=("$work/ninety.txt" "$work/none.txt")
  sim "${scripts[0]}" "$race_frames" "$work/first"
  first=$!
  sim "${scripts[1]}" "$race_frames" "$work/second"
  second=$!
  (kill -STOP "$BASHPID" && exec paste - /dev/fd/4 > /dev/null) < "$work/first" 4< "$work/second" &
  reader=$!
  stalled "$first"
  stalled "$second"
  kill -CONT "$reader"
  wait "$first" || fail "round $round: a simulator ended with exit code $?: $(cat "$work/sim.err")"
  wait "$second" || fail "round $round: a simulator ended with exit code $?: $(cat "$work/sim.err")"
  kill -CONT "$reader" 2> /dev/null || true # in case it stopped itself only after the first
  wait "$reader"
  [ "$(cat "$dir/highscore.txt")" = 90 ] || fail "round $round: the high score is '$(cat "$dir/highscore.txt")', not 90"
  [ -z "$(others)" ] || fail "round $round: left behind: $(others)"
done
echo "$rounds rounds of two games ending a run together in $((SECONDS - start)) s"

attempts=20
left=0
start=$SECONDS
for attempt in $(seq "$attempts"); do
  printf 7 > "$dir/highscore.txt"
  sim "$work/many.txt" 100000
  writer=$!
  until [ "$(cat "$dir/highscore.txt")" = 90 ]; do
    kill -0 "$writer" 2> /dev/null || fail "attempt $attempt: the writer ended before its first write: $(cat "$work/sim.err")"
    sleep 0.01
  done
  sleep "$(printf '0.%03d' $((RANDOM % 300)))"
  kill -0 "$writer" 2> /dev/null || fail "attempt $attempt: the writer ended before it was killed"
  kill -KILL "$writer"
  wait "$writer" 2> /dev/null || true
  stored=$(cat "$dir/highscore.txt")
  [ "$stored" = 90 ] || fail "attempt $attempt: a killed writer left '$stored'"
  [ "$(others | wc -l)" -le 1 ] || fail "attempt $attempt: temporary files pile up: $(others)"
  [ -z "$(others)" ] || left=$((left + 1))
done
printf 7 > "$dir/highscore.txt"
sim "$work/ninety.txt" "$race_frames"
wait $! || fail "the last write ended with exit code $?: $(cat "$work/sim.err")"
[ "$(cat "$dir/highscore.txt")" = 90 ] || fail "the last write left '$(cat "$dir/highscore.txt")'"
[ -z "$(others)" ] || fail "a leftover is not swept away: $(others)"
echo "$attempts writers killed in $((SECONDS - start)) s, $left of them leaving a temporary file"
