#!/usr/bin/env bash
# Installs into a temporary prefix, then starts the launcher with a fresh home: it must seed
# the player's data directory with the shipped parks and start the game there.
set -euo pipefail
build=$1
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
for f in bin/zanbury libexec/zanbury/zanbury share/zanbury/parks/parks.txt \
  share/applications/zanbury.desktop share/icons/hicolor/96x96/apps/zanbury.png; do
  [ -e "$work/prefix/$f" ] || { echo "the install lacks $f"; exit 1; }
done

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 number <&3
export DISPLAY=":$number" SDL_AUDIODRIVER=dummy HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"

"$work/prefix/bin/zanbury" &
game_pid=$!
for _ in $(seq 50); do
  xdotool search --name '^Zanbury$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name '^Zanbury$' >/dev/null || { echo "the launcher did not start the game"; exit 1; }
data="$HOME/.local/share/zanbury"
[ -f "$data/parks.txt" ] || { echo "the data directory was not seeded"; exit 1; }
cmp "$data/parks.txt" "$work/prefix/share/zanbury/parks/parks.txt"
[ "$(readlink "/proc/$game_pid/cwd")" = "$data" ] || { echo "the game does not run in $data"; exit 1; }
kill -TERM "$game_pid"
wait "$game_pid"
game_pid=""

# A player's own high score and edited park list survive the next start.
echo 4321 > "$data/highscore.txt"
echo "1 park1.txt" > "$data/parks.txt"
XDG_DATA_HOME="$HOME/.local/share" "$work/prefix/bin/zanbury" &
game_pid=$!
sleep 1
kill -TERM "$game_pid"
wait "$game_pid" || true
game_pid=""
[ "$(cat "$data/highscore.txt")" = "4321" ] && [ "$(cat "$data/parks.txt")" = "1 park1.txt" ] ||
  { echo "the launcher overwrote the player's files"; exit 1; }
echo "install test passed"
