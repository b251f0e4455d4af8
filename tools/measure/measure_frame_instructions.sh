#!/usr/bin/env bash
# Counts the instructions of one timed Playing frame of zanbury-bench under callgrind: a figure
# that, unlike the benchmark's times, does not move with the load of a shared machine, so that
# two commits (or a change and its parent) can be compared on any machine of the same compiler.
#
#   measure_frame_instructions.sh BENCH     BENCH: a Release build's tools/bench/zanbury-bench
#
# Prints the instructions of one pass of BM_PlayingFrame's timed loop: the frame
# (runStateHandler) and the snapshot's restore before it; then what the loop spent once. The set-up that reaches the moment of play is left
# out: the benchmark keeps it in a function of its own, which callgrind counts apart.
set -euo pipefail
bench=$(realpath "$1")
for tool in valgrind callgrind_annotate; do
  if ! command -v "$tool" >/dev/null; then
    echo "measure_frame_instructions.sh: $tool is missing (Debian's valgrind package)" >&2
    exit 1
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# zanbury-bench makes its own directory to play in and leaves its working directory there.
valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$bench" \
  --benchmark_filter='BM_PlayingFrame$' --benchmark_min_time=0.05 >"$work/bench.log" 2>&1 || {
  cat "$work/bench.log" >&2
  exit 1
}
callgrind_annotate --tree=calling --inclusive=yes "$work/callgrind.out" >"$work/calls.txt"

# In the calling tree, the line marked '*' is BM_PlayingFrame with everything it called; the
# lines marked '>' below it, up to a blank line, are its calls, each with its count ("(55x)").
awk '
  function cost(line) { gsub(",", "", line); split(line, f, " "); return f[1] + 0 }
  function calls(line) { sub(/.*\(/, "", line); sub(/x\).*/, "", line); gsub(",", "", line); return line + 0 }
  / \*  .*BM_PlayingFrame\(benchmark::State&\) \[/ { inside = 1; total = cost($0); next }
  inside && /^[ \t]*$/ { inside = 0 }
  inside && /reachMidTrick/ { setUp = cost($0) }
  inside && /runStateHandler/ { frame = cost($0); frameCalls = calls($0) }
  inside && /restoreGame/ { restore = cost($0); frames = calls($0) }
  END {
    if (frames == 0 || setUp == 0 || frameCalls != frames) {
      print "measure_frame_instructions.sh: no timed frames or no set-up found in the profile" > "/dev/stderr"
      exit 1
    }
    printf "timed frames %d\n", frames
    printf "instructions a timed pass %.0f: the frame %.0f, the restore %.0f\n",
           (frame + restore) / frames, frame / frames, restore / frames
    printf "and once for the whole loop: the timers, the first calls through the linker %.0f\n",
           total - setUp - frame - restore
  }' "$work/calls.txt"
