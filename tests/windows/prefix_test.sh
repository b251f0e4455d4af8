#!/usr/bin/env bash
# prefix_test.sh WINDOWS_BUILD DIR: makes DIR a new Wine prefix for this test run (the windows
# tests' fixture), and says how long that took; where the Windows build has no program yet, no
# test needs one.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
programs=("$1"/zanbury.exe "$1"/tools/*/zanbury-*.exe)
[ -f "${programs[0]}" ] || [ -f "${programs[1]}" ] ||
  skip "no Windows program in $1: make windows builds them"
need_wine
start=$(date +%s.%N)
make_wine_prefix "$2"
awk -v s="$start" -v e="$(date +%s.%N)" -v p="$2" 'BEGIN { printf "the Wine prefix %s was made in %.1f s\n", p, e - s }'
