#!/usr/bin/env bash
# The real game in a virtual display, played with xdotool keys (jumps, a park complete, falls
# with their message line, the end screen), with --record and --trace: the simulator's trace of
# the recording is the game's own, every field and hash; the run of the high score replays to
# that score; --replay in the window shows the same frames again, whatever keys the player
# presses, and writes no file; Escape stops a replay. First the command line: --help,
# --version, and clear refusals with exit code 2.
set -euo pipefail
game=$1
sim=$2
source "$(dirname "$0")/xvfb_lib.sh"
source "$(dirname "$0")/session_lib.sh"
fail() {
  echo "$*"
  exit 1
}

cd "$work"
"$game" --help | grep -q -- '--replay FILE' || fail "--help does not name --replay"
[[ $("$game" --version) == "zanbury "* ]] || fail "--version says '$("$game" --version)'"
refused() { # expected-message args...
  local says=$1 code=0
  shift
  "$game" "$@" >out.txt 2>err.txt || code=$?
  [ "$code" -eq 2 ] || fail "zanbury $* exited with $code, not 2"
  grep -qF -- "$says" err.txt || fail "zanbury $* said: $(cat err.txt)"
}
refused "unknown option '--bogus'" --bogus
refused "--record needs a file name" --record
refused "do not go together" --record a.txt --replay b.txt
printf 'zanbury-recording 1\nversion 0.0-other\n1 clock 1 34\n' >other.txt
refused "other.txt:2: a recording of Zanbury 0.0-other" --replay other.txt

write_session_parks "$work"
start_xvfb 1280x1024

"$game" --record rec.txt --trace trace.txt &
game_pid=$!
play_session

for seen in ' trick=1 ' 'state=ParkComplete' ' lives=2 ' ' msg=3 ' 'state=GameOver' 'state=Quit'; do
  grep -q -- "$seen" trace.txt || fail "the session's trace never shows '$seen'"
done
cmp rec.txt last-run.txt || fail "last-run.txt is not this session's recording"
"$sim" --dir "$work" rec.txt >sim.txt || fail "the simulator refused the recording"
diff trace.txt sim.txt >/dev/null || fail "the simulator's trace differs: $(diff trace.txt sim.txt | head -4)"
"$sim" --dir "$work" highscore-run.txt >best.txt || fail "the simulator refused highscore-run.txt"
last=$(tail -n 1 best.txt)
[[ $last == *" state=GameOver score=$(cat highscore.txt) "* ]] ||
  fail "the high score's run ends '$last', not on GameOver at $(cat highscore.txt)"

# The replay in the window; the player's keys do nothing to it.
sums=$(md5sum highscore.txt last-run.txt highscore-run.txt)
"$game" --replay rec.txt --trace replay.txt &
game_pid=$!
wait_for_window
for key in Return Up Down Right Return; do
  sleep 1
  xdotool key $key
done
wait_game_exit 120
[ "$code" -eq 0 ] || fail "the replay exited with $code"
diff trace.txt replay.txt >/dev/null || fail "the replay's trace differs: $(diff trace.txt replay.txt | head -4)"
[ "$(md5sum highscore.txt last-run.txt highscore-run.txt)" = "$sums" ] || fail "the replay wrote a file"

# Escape stops a replay, through the orderly shutdown.
"$game" --replay rec.txt --trace stopped.txt &
game_pid=$!
wait_for_window
sleep 1
xdotool key Escape
wait_game_exit 20
[ "$code" -eq 0 ] || fail "the replay stopped with Escape exited with $code"
[ "$(wc -l <stopped.txt)" -lt "$(wc -l <trace.txt)" ] || fail "Escape did not stop the replay"
# A long gap in a recording (a session suspended for an hour) is waited for a second only, saying
# so once, and the replay's trace stays the recorded one.
gap_line=$(awk '$2 == "clock" && $3 == 1 && $1 > 100 { print NR; exit }' rec.txt)
[ -n "$gap_line" ] || fail "rec.txt has no clock line of one pass to put a gap in"
awk -v n="$gap_line" 'NR == n { $4 += 3600000 } { print }' rec.txt >gap.txt
"$sim" --dir "$work" gap.txt >gap-sim.txt 2>/dev/null || fail "the simulator refused gap.txt"
"$game" --replay gap.txt --trace gap-trace.txt 2>gap-err.txt &
game_pid=$!
wait_game_exit 120
[ "$code" -eq 0 ] || fail "the replay of a gap exited with $code: $(cat gap-err.txt)"
diff gap-sim.txt gap-trace.txt >/dev/null || fail "the gap's replay differs: $(diff gap-sim.txt gap-trace.txt | head -4)"
[ "$(grep -c 'shortens every wait' gap-err.txt)" -eq 1 ] || fail "the gap was not said once: $(cat gap-err.txt)"

# Escape and SIGTERM during that second's wait act within a frame or two.
stop_in_gap() { # command, run once the replay waits in its gap
  "$game" --replay gap.txt 2>gap-err.txt &
  game_pid=$!
  until grep -q 'shortens every wait' gap-err.txt; do
    kill -0 "$game_pid" 2>/dev/null || fail "the replay ended before its gap"
    sleep 0.01
  done
  local t0 ms
  t0=$(date +%s%N)
  eval "$1"
  while kill -0 "$game_pid" 2>/dev/null && [ $((($(date +%s%N) - t0) / 1000000)) -lt 5000 ]; do
    sleep 0.01
  done
  ms=$((($(date +%s%N) - t0) / 1000000))
  wait_game_exit 1
  [ "$code" -eq 0 ] || fail "$1 in the gap exited with $code"
  # The wait it cut short was a second; a loaded machine takes a while to shut the game down.
  [ "$ms" -lt 700 ] || fail "$1 in the gap took $ms ms to end the replay"
}
stop_in_gap 'xdotool key Escape'
stop_in_gap 'kill -TERM "$game_pid"'

# A closed terminal (SIGHUP) ends the game in order: the recording gets its end line.
"$game" --record hup.txt &
game_pid=$!
wait_for_window
sleep 1
kill -HUP "$game_pid"
wait_game_exit 5
[ "$code" -eq 0 ] || fail "SIGHUP ended the game with $code"
tail -n 1 hup.txt | grep -Eq '^[0-9]+ end$' || fail "after SIGHUP the recording ends '$(tail -n 1 hup.txt)'"
echo "record and replay test passed ($(wc -l <trace.txt) frames)"
