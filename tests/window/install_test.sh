#!/usr/bin/env bash
# Installs into a temporary prefix, then starts the launcher with a fresh home: it must seed
# the player's data directory with the shipped parks and start the game there, passing options
# through. Then upgrades: from the five-park version, and from this one to a changed park,
# replacing what the player left alone and keeping what the player changed.
set -euo pipefail
build=$1
source "$(dirname "$0")/xvfb_lib.sh"

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
for f in bin/zanbury libexec/zanbury/zanbury share/zanbury/parks/parks.txt \
  share/applications/zanbury.desktop share/icons/hicolor/96x96/apps/zanbury.png \
  bin/zanbury-parkcheck bin/zanbury-autoplay bin/zanbury-sim share/man/man6/zanbury.6.gz \
  share/doc/zanbury/copyright; do
  [ -e "$work/prefix/$f" ] || { echo "the install lacks $f"; exit 1; }
done

start_xvfb 1024x768
export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"

"$work/prefix/bin/zanbury" &
game_pid=$!
wait_for_window
data="$HOME/.local/share/zanbury"
[ -f "$data/parks.txt" ] || { echo "the data directory was not seeded"; exit 1; }
cmp "$data/parks.txt" "$work/prefix/share/zanbury/parks/parks.txt"
[ "$(readlink "/proc/$game_pid/cwd")" = "$data" ] || { echo "the game does not run in $data"; exit 1; }
kill -TERM "$game_pid"
wait "$game_pid"
game_pid=""

# A player's own high score and edited park list survive the next start.
echo 4321 > "$data/highscore.txt"
echo "1 harbour-front.txt" > "$data/parks.txt"
XDG_DATA_HOME="$HOME/.local/share" "$work/prefix/bin/zanbury" &
game_pid=$!
sleep 1
kill -TERM "$game_pid"
wait "$game_pid" || true
game_pid=""
[ "$(cat "$data/highscore.txt")" = "4321" ] && [ "$(cat "$data/parks.txt")" = "1 harbour-front.txt" ] ||
  { echo "the launcher overwrote the player's files"; exit 1; }
# Options pass through the launcher, a relative file named from where it was started.
mkdir -p "$work/caller"
(cd "$work/caller" && "$work/prefix/bin/zanbury" --help) | grep -q -- '--record FILE' ||
  { echo "the launcher did not pass --help through"; exit 1; }
(cd "$work/caller" && exec "$work/prefix/bin/zanbury" --trace trace.txt) &
game_pid=$!
for _ in $(seq 100); do
  [ -s "$work/caller/trace.txt" ] && break
  sleep 0.1
done
kill -TERM "$game_pid"
wait "$game_pid" || true
game_pid=""
grep -q '^frame=1 state=Menu ' "$work/caller/trace.txt" ||
  { echo "the launcher's game did not trace into the caller's directory"; exit 1; }
[ -s "$data/last-run.txt" ] || { echo "the game kept no last-run.txt in $data"; exit 1; }

# Starts the launcher for a moment, as a player starting the game after an upgrade.
start_launcher() {
  "$work/prefix/bin/zanbury" &
  game_pid=$!
  sleep 1
  kill -TERM "$game_pid"
  wait "$game_pid" || true
  game_pid=""
}
installed="$work/prefix/share/zanbury/parks"
same() { cmp -s "$1" "$2" || { echo "$3"; exit 1; }; }

# The five-park version's launcher kept no copy of what it shipped. Its park list and a park the
# player left alone become the new ones; a park the player changed stays; the new parks come in.
export HOME="$work/upgraded"
data="$HOME/.local/share/zanbury"
mkdir -p "$data"
five="$(dirname "$0")/five-parks"
cp "$five/parks.txt" "$five/harbour-front.txt" "$data/"
sed '2s/.*/2400/' "$five/market-square.txt" >"$data/market-square.txt"
cp "$data/market-square.txt" "$work/players-market-square.txt"
start_launcher
same "$data/parks.txt" "$installed/parks.txt" "the upgrade kept the old park list"
same "$data/harbour-front.txt" "$installed/harbour-front.txt" "the upgrade kept an old park"
same "$data/market-square.txt" "$work/players-market-square.txt" "the upgrade replaced a changed park"
same "$data/last-light.txt" "$installed/last-light.txt" "the upgrade did not add the new parks"
[ ! -e "$data/.shipped/market-square.txt" ] && [ -f "$data/.shipped/parks.txt" ] ||
  { echo "the launcher did not remember what it shipped"; exit 1; }

# A later version changes two parks: the one the player left alone follows, the one the player
# changed since stays as the player left it.
sed -i '2s/.*/2300/' "$data/boardwalk.txt"
cp "$data/boardwalk.txt" "$work/players-boardwalk.txt"
sed -i '2s/.*/2260/' "$installed/boardwalk.txt" "$installed/rail-yard.txt"
start_launcher
same "$data/rail-yard.txt" "$installed/rail-yard.txt" "the upgrade kept a park the player left alone"
same "$data/boardwalk.txt" "$work/players-boardwalk.txt" "the upgrade replaced a changed park"
same "$data/.shipped/rail-yard.txt" "$installed/rail-yard.txt" "the launcher forgot the new park"
echo "install test passed"
