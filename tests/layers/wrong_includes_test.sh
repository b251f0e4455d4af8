#!/usr/bin/env bash
# The include check fails on each kind of wrong include, and only on those: a tree with one wrong
# include of each kind must be refused with every one of them named, and the same tree with the
# wrong lines taken out must pass.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{core,platform,display,park,skater,app}
echo '#include "core/rect.h"' >"$tree/park/fine.cpp"
echo '#include <SDL.h>' >"$tree/platform/fine.cpp"
echo '#include "park/park.h"' >"$tree/app/fine.cpp"
printf '#include "app/flow.h"\n' >"$tree/park/up.cpp"
printf '#include "tools/sim/sim.h"\n' >"$tree/skater/tool.cpp"
printf '#include "display/rect.h"\n' >"$tree/core/game.h"
printf '  #  include <SDL_image.h>\n' >"$tree/app/sdl.cpp"

if out=$("$check" "$tree"); then
  echo "FAIL: the check passed a tree with wrong includes"
  exit 1
fi
for expected in "park/up.cpp:1: park/ may not include app/" \
  "skater/tool.cpp:1: skater/ may not include tools/" \
  "core/game.h:1: core/ may not include display/" \
  "app/sdl.cpp:1: app/ may not include SDL"; do
  if ! grep -qF "$expected" <<<"$out"; then
    echo "FAIL: '$expected' not reported; the check said:"
    echo "$out"
    exit 1
  fi
done
if [ "$(wc -l <<<"$out")" -ne 4 ]; then
  echo "FAIL: the check reported more than the four wrong includes:"
  echo "$out"
  exit 1
fi

rm "$tree/park/up.cpp" "$tree/skater/tool.cpp" "$tree/core/game.h" "$tree/app/sdl.cpp"
"$check" "$tree"
echo "PASS"
