#!/usr/bin/env bash
# sim_replay_test.sh WINDOWS_BUILD LINUX_SIM WHOLE_RUN SOURCE PREFIX: every replay of the shipped
# parks (tests/replays/NAME.txt for each park NAME of data/parks.txt), each in a park directory of
# its own that holds that park alone, and then the whole run of data/parks.txt (the script that
# WHOLE_RUN joins from them) with all the parks, played by zanbury-sim.exe under Wine and by the
# Linux zanbury-sim; each two traces must be the same bytes, frame hashes included, and the
# whole run must leave the same high score on both. The Linux side plays beside the Windows one,
# and one Wine server serves every replay.
set -euo pipefail
windows_build=$1
linux_sim=$2
whole_run=$3
source_dir=$4
prefix=$5
source "$(dirname "$0")/wine_lib.sh"
sim_exe="$windows_build/tools/sim/zanbury-sim.exe"
need_windows_programs "$sim_exe"
need_wine
use_wine_prefix "$prefix"
keep_wine_server

names=()
while read -r park; do
  names+=("${park%.txt}")
done < <(tail -n +2 "$source_dir/data/parks.txt")
[ "${#names[@]}" -gt 0 ] || { echo "$source_dir/data/parks.txt names no park"; exit 1; }
"$whole_run" "$source_dir/data" "$source_dir/tests/replays" > "$work/whole-run.txt"
for side in linux windows; do
  for name in "${names[@]}"; do
    mkdir -p "$work/$side-$name"
    printf '1\n%s.txt\n' "$name" > "$work/$side-$name/parks.txt"
    cp "$source_dir/data/$name.txt" "$work/$side-$name/"
  done
  mkdir -p "$work/$side-whole-run"
  cp "$source_dir/data/parks.txt" "$work/$side-whole-run/"
  for name in "${names[@]}"; do
    cp "$source_dir/data/$name.txt" "$work/$side-whole-run/"
  done
done

# play SIDE SIM...: every replay by SIM on SIDE, the trace of NAME in $work/SIDE-NAME.trace; a
# replay that fails is named in $work/SIDE.failed.
play() {
  local side=$1 name script code
  shift
  for name in "${names[@]}" whole-run; do
    script="$source_dir/tests/replays/$name.txt"
    [ "$name" = whole-run ] && script="$work/whole-run.txt"
    code=0
    "$@" --dir "$work/$side-$name" --frames 100000 "$script" > "$work/$side-$name.trace" \
      2> "$work/$side-$name.err" || code=$?
    if [ "$code" -ne 0 ]; then
      echo "$side: zanbury-sim on $name ended with exit code $code: $(head -c 500 "$work/$side-$name.err")" \
        >> "$work/$side.failed"
    fi
  done
}

start=$SECONDS
play linux "$linux_sim" &
linux_pid=$!
play windows run_exe "$sim_exe"
echo "windows: the replays played in $((SECONDS - start)) s"
wait "$linux_pid"
cat "$work"/*.failed 2> /dev/null && exit 1

for name in "${names[@]}" whole-run; do
  if ! cmp "$work/linux-$name.trace" "$work/windows-$name.trace"; then
    diff "$work/linux-$name.trace" "$work/windows-$name.trace" | head -n 6
    echo "$name: the Windows simulator's trace differs from the Linux one's"
    exit 1
  fi
  tail -n 1 "$work/linux-$name.trace" | grep -q ' state=Quit ' ||
    { echo "$name: the replay does not end with the program left: $(tail -n 1 "$work/linux-$name.trace")"; exit 1; }
done
cmp "$work/linux-whole-run/highscore.txt" "$work/windows-whole-run/highscore.txt" ||
  { echo "the whole run left the high score $(cat "$work/windows-whole-run/highscore.txt") on Windows"; exit 1; }
echo "${#names[@]} parks and the whole run ($(wc -l < "$work/linux-whole-run.trace") frames, high score $(cat "$work/linux-whole-run/highscore.txt")): the same traces on both"
