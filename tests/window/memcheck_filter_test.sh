#!/usr/bin/env bash
# The memcheck session's leak filter: a definite leak through the game's sources is the game's,
# one wholly in the system's libraries is not, and an indirect leak through our code is left to
# the definite one that holds it.
set -euo pipefail
filter=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cat >"$root/theirs.log" <<LOG
==10== 1,032 bytes in 1 blocks are definitely lost in loss record 105 of 119
==10==    at 0x484682F: realloc (in /usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)
==10==    by 0x58C0A64: ??? (in /usr/lib/x86_64-linux-gnu/libX11.so.6)
==10==    by 0x4DF0249: (below main) (csu/../sysdeps/nptl/libc_start_call_main.h:58)
==10== 
==10== 64 bytes in 1 blocks are indirectly lost in loss record 3 of 119
==10==    at 0x4840F2F: malloc (in /usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)
==10==    by 0x10BCD5: display::openDisplay() ($root/display/display.cpp:80)
==10== 
==10== LEAK SUMMARY:
LOG
cp "$root/theirs.log" "$root/ours.log"
cat >>"$root/ours.log" <<LOG
==10== 40 bytes in 1 blocks are definitely lost in loss record 7 of 119
==10==    at 0x4840F2F: malloc (in /usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)
==10==    by 0x49A0000: SDL_CreateRGBSurface (in /usr/lib/x86_64-linux-gnu/libSDL2-2.0.so.0)
==10==    by 0x10BCD5: display::openDisplay() ($root/display/display.cpp:80)
==10== 
LOG
"$filter" "$root/theirs.log" "$root" || { echo "a library's own leak was called the game's"; exit 1; }
if output=$("$filter" "$root/ours.log" "$root"); then
  echo "a leak through the game's code was not reported"
  exit 1
fi
grep -q 'display.cpp:80' <<<"$output" || { echo "the reported leak lacks its stack: $output"; exit 1; }
if grep -q 'indirectly' <<<"$output"; then
  echo "an indirect leak was reported"
  exit 1
fi
echo "memcheck leak filter passed"
