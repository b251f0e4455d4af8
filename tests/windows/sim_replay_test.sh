#!/usr/bin/env bash
# sim_replay_test.sh WINDOWS_BUILD LINUX_SIM SOURCE PREFIX REPLAY...: each replay of the shipped
# parks (tests/replays/NAME.txt, NAME one park of data/) played by zanbury-sim.exe under Wine
# and by the Linux zanbury-sim, each in a park directory of its own that holds that park alone;
# the two traces must be the same bytes, frame hashes included.
set -euo pipefail
windows_build=$1
linux_sim=$2
source_dir=$3
prefix=$4
shift 4
source "$(dirname "$0")/wine_lib.sh"
sim_exe="$windows_build/tools/sim/zanbury-sim.exe"
need_windows_programs "$sim_exe"
need_wine
use_wine_prefix "$prefix"

# play SIM NAME SIDE: the trace of replay NAME, by SIM, in $work/SIDE-NAME.trace.
play() {
  local sim=$1 name=$2 side=$3 dir="$work/$3-$2"
  mkdir -p "$dir"
  printf '1\n%s.txt\n' "$name" > "$dir/parks.txt"
  cp "$source_dir/data/$name.txt" "$dir/"
  local start=$SECONDS code=0
  if [ "$side" = windows ]; then
    run_exe "$sim" --dir "$dir" --frames 20000 "$source_dir/tests/replays/$name.txt" \
      > "$work/$side-$name.trace" 2> "$work/$side-$name.err" || code=$?
  else
    "$sim" --dir "$dir" --frames 20000 "$source_dir/tests/replays/$name.txt" \
      > "$work/$side-$name.trace" 2> "$work/$side-$name.err" || code=$?
  fi
  if [ "$code" -ne 0 ]; then
    cat "$work/$side-$name.err"
    echo "$side: zanbury-sim on $name ended with exit code $code"
    exit 1
  fi
  echo "$side: $name replayed in $((SECONDS - start)) s"
}

for name in "$@"; do
  play "$linux_sim" "$name" linux
  play "$sim_exe" "$name" windows
  if ! cmp "$work/linux-$name.trace" "$work/windows-$name.trace"; then
    diff "$work/linux-$name.trace" "$work/windows-$name.trace" | head -n 6
    echo "$name: the Windows simulator's trace differs from the Linux one's"
    exit 1
  fi
  [ -s "$work/linux-$name.trace" ] || { echo "$name: no trace at all"; exit 1; }
  echo "$name: $(wc -l < "$work/linux-$name.trace") trace lines, the same on both"
done
