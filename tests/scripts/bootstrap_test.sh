#!/usr/bin/env bash
# scripts/bootstrap.sh where apt-get and dpkg-query are not on the PATH, as on another
# distribution: it installs nothing and fails at nothing, lists what the build needs with its
# Fedora and Arch Linux packages when something is missing, and says one line when all is there.
set -euo pipefail
bootstrap=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect BINDIR MODE PATTERN...: the script in MODE with only BINDIR on the PATH ends with 0,
# runs no command that is not there, and prints a line matching each extended PATTERN.
expect() {
  local bin=$1 mode=$2 code=0 pattern
  shift 2
  PATH=$bin /bin/bash "$bootstrap" $mode >"$work/out" 2>&1 || code=$?
  ! grep -q 'command not found' "$work/out" && [ "$code" -eq 0 ] ||
    { cat "$work/out"; echo "bootstrap.sh $mode without apt-get: exit code $code"; exit 1; }
  for pattern in "$@"; do
    grep -Eq "$pattern" "$work/out" || { cat "$work/out"; echo "no line matches: $pattern"; exit 1; }
  done
}

# A few tools only: the libraries are looked up through pkg-config, the missing tools are named
# with both distributions' packages.
mkdir "$work/few" "$work/all"
for tool in cmake make g++ pkg-config; do
  ln -s "$(command -v "$tool")" "$work/few/$tool"
done
expect "$work/few" "" '^bootstrap: no apt-get or dpkg-query here, so nothing is installed$' \
  '^  found +SDL2 +SDL2-devel +sdl2$' '^  MISSING +Xvfb .* xorg-x11-server-Xvfb +xorg-server-xvfb$' \
  "Debian's dpkg-dev"
expect "$work/few" web '^  MISSING +Emscripten +emscripten +emscripten$' "Debian's source package"
expect "$work/few" windows '^  MISSING +MinGW-w64 GCC, posix threads +mingw64-gcc-c\+\+ +mingw-w64-gcc$' \
  '^  MISSING +Wine, 64-bit' "SDL2_image from Debian's source"

# Everything this machine has but apt-get and dpkg-query: the game's needs are all found.
for tool in /usr/local/bin/* /usr/bin/* /bin/*; do
  case "${tool##*/}" in apt-get | dpkg-query) continue ;; esac
  [ -e "$work/all/${tool##*/}" ] || ln -s "$tool" "$work/all/${tool##*/}"
done
expect "$work/all" "" 'is found$'
[ "$(wc -l <"$work/out")" -eq 2 ] || { cat "$work/out"; echo "more than two lines"; exit 1; }
echo "bootstrap test passed"
