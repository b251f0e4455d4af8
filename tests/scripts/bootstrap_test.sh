#!/usr/bin/env bash
# scripts/bootstrap.sh where apt-get and dpkg-query are not on the PATH, as on another
# distribution: it installs nothing and fails at nothing, lists what the build needs with its
# Fedora and Arch Linux packages when something is missing, and says one line when all is there.
set -euo pipefail
bootstrap=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "$1"
  cat "$work/out"
  exit 1
}

# bootstrap_with BINDIR [MODE]: the script with only BINDIR on the PATH; $work/out gets both
# of its streams.
bootstrap_with() {
  local code=0
  PATH=$1 /bin/bash "$bootstrap" ${2:+"$2"} >"$work/out" 2>&1 || code=$?
  [ "$code" -eq 0 ] || fail "bootstrap.sh${2:+ $2} without apt-get exited with $code"
  ! grep -q 'command not found' "$work/out" || fail "bootstrap.sh ran a command that is not there"
}

# A few tools only: the libraries are looked up through pkg-config, the missing tools are named
# with both distributions' packages.
mkdir "$work/few"
for tool in cmake make g++ pkg-config; do
  ln -s "$(command -v "$tool")" "$work/few/$tool"
done
bootstrap_with "$work/few"
grep -q '^bootstrap: no apt-get or dpkg-query here, so nothing is installed$' "$work/out" ||
  fail "it does not say that nothing is installed"
grep -Eq '^  found +SDL2 +SDL2-devel +sdl2$' "$work/out" || fail "SDL2 is not listed as found"
grep -Eq '^  MISSING +Xvfb .* xorg-x11-server-Xvfb +xorg-server-xvfb$' "$work/out" ||
  fail "the missing Xvfb is not named with its packages"
grep -q 'dpkg-dev' "$work/out" || fail "the Debian package's own needs are not named"
bootstrap_with "$work/few" web
grep -Eq '^  MISSING +Emscripten +emscripten +emscripten$' "$work/out" ||
  fail "the browser build's missing emscripten is not named"
grep -q "Debian's source package" "$work/out" || fail "the browser build's Debian source is not named"

# Everything this machine has but apt-get and dpkg-query: the game's needs are all found.
mkdir "$work/all"
for dir in /usr/local/bin /usr/bin /bin; do
  for tool in "$dir"/*; do
    name=${tool##*/}
    case "$name" in apt-get | dpkg-query) continue ;; esac
    [ -e "$work/all/$name" ] || ln -s "$tool" "$work/all/$name"
  done
done
bootstrap_with "$work/all"
[ "$(wc -l <"$work/out")" -eq 2 ] && grep -q 'is found$' "$work/out" ||
  fail "with every tool and library there it says more than two lines"
echo "bootstrap test passed"
