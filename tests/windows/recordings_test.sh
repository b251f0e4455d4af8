#!/usr/bin/env bash
# recordings_test.sh WINDOWS_BUILD LINUX_GAME LINUX_SIM PREFIX: recordings cross the systems.
# A short session of the Linux game in an Xvfb of the test's own, recorded and traced, replays
# in zanbury-sim.exe under Wine to the game's own trace; the same session played by zanbury.exe
# under Wine replays in the Linux zanbury-sim to the Windows game's trace; and zanbury.exe
# plays the Linux session's run of the high score with --replay to its end screen, frame for
# frame as the Linux simulator does, exits with 0 and writes no file.
set -euo pipefail
windows_build=$1
linux_game=$2
linux_sim=$3
prefix=$4
source "$(dirname "$0")/wine_lib.sh"
source "$(dirname "$0")/../window/session_lib.sh"
game_exe="$windows_build/zanbury.exe"
sim_exe="$windows_build/tools/sim/zanbury-sim.exe"
need_windows_programs "$game_exe" "$sim_exe"
need_wine
use_wine_prefix "$prefix"
fail() {
  echo "$*"
  exit 1
}
# same EXPECTED ACTUAL WHAT: the two traces are the same bytes.
same() {
  cmp -s "$1" "$2" || fail "$3 differs: $(diff "$1" "$2" | head -n 4)"
}
start_xvfb 1280x1024
keep_wine_server
mkdir "$work/linux" "$work/windows"
write_session_parks "$work/linux"
write_session_parks "$work/windows"

cd "$work/linux"
start=$SECONDS
"$linux_game" --record rec.txt --trace trace.txt > game.log 2>&1 &
game_pid=$!
play_session
echo "the Linux session played in $((SECONDS - start)) s"
run_exe "$sim_exe" --dir . rec.txt > windows-sim.txt 2> sim.err ||
  fail "zanbury-sim.exe refused the Linux recording: $(cat sim.err)"
same trace.txt windows-sim.txt "the Windows simulator's trace of the Linux recording"

cd "$work/windows"
start=$SECONDS
(exec wine "$game_exe" --record rec.txt --trace trace.txt) > game.log 2>&1 &
game_pid=$!
play_session
echo "the Windows session played in $((SECONDS - start)) s"
cmp -s rec.txt last-run.txt || fail "the Windows game's last-run.txt is not its session's recording"
"$linux_sim" --dir . rec.txt > linux-sim.txt 2> sim.err ||
  fail "the Linux simulator refused the Windows recording: $(cat sim.err)"
same trace.txt linux-sim.txt "the Linux simulator's trace of the Windows recording"

# The Linux session's high score run, watched in the Windows game, ends on the end screen.
cd "$work/linux"
"$linux_sim" --dir . highscore-run.txt > best.txt 2> sim.err || fail "the Linux simulator refused highscore-run.txt: $(cat sim.err)"
sums=$(md5sum highscore.txt last-run.txt highscore-run.txt)
start=$SECONDS
(exec wine "$game_exe" --replay highscore-run.txt --trace replay.txt) > replay.log 2>&1 &
game_pid=$!
wait_for_window 60
wait_game_exit 120
[ "$code" -eq 0 ] || fail "the Windows game's replay exited with $code: $(cat replay.log)"
echo "the Windows game replayed the high score's run in $((SECONDS - start)) s"
tail -n 1 replay.txt | grep -q ' state=GameOver ' || fail "the replay ends '$(tail -n 1 replay.txt)'"
same best.txt replay.txt "the Windows game's replay"
[ "$(md5sum highscore.txt last-run.txt highscore-run.txt)" = "$sums" ] || fail "the replay wrote a file"
echo "recordings test passed ($(wc -l < "$work/linux/trace.txt") and $(wc -l < "$work/windows/trace.txt") frames)"
