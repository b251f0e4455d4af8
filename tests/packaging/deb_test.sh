#!/usr/bin/env bash
# Builds the Debian package with `make package` (in its own tree, configured once and reused)
# and checks it as a distribution would: lintian --pedantic has no remark, appstreamcli
# validates the installed tree, the shipped parks are those the park list names, and the
# package unpacked with dpkg -x works: every program answers --version, and the launcher from
# games/ starts the game under Xvfb, which plays a run from the menu to the end screen, leaves
# the high score in the player's data directory, goes back through the menu and exits 0,
# writing nothing into the installed tree.
set -euo pipefail
src=$1
version=$2
source "$src/tests/window/xvfb_lib.sh"
fail() {
  echo "$*"
  exit 1
}

# The package build is a make of its own, not a part of the one that may have started ctest.
env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$src" package PACKAGE_OUT="$work" \
  >"$work/make.log" 2>&1 || { tail -40 "$work/make.log"; fail "make package failed"; }
deb=$(ls "$work"/zanbury_"$version"_*.deb) || fail "make package made no zanbury_${version}_*.deb"

# Nothing at any level, notes included: a note is kept only through an override that says why.
# Root may run lintian; its remark that root should not is not about the package.
lintian --pedantic "$deb" >"$work/lintian.txt" 2>"$work/lintian.err" || true
[ ! -s "$work/lintian.txt" ] || { cat "$work/lintian.txt"; fail "lintian has remarks on $deb"; }
grep -v 'running with root privileges' "$work/lintian.err" && fail "lintian failed" || true

root=$work/root
dpkg -x "$deb" "$root"
touch "$work/unpacked"
# The shipped parks are the park list, the parks it names and the hashes of those shipped
# before, as in data/: nothing the game wrote there while the packager played.
parks=$root/usr/share/games/zanbury/parks
shipped=$( (echo shipped-before.sha256 && tr -s ' \t\r\n' '\n' <"$src/data/parks.txt" |
  sed '1s/.*/parks.txt/') | sort)
[ "$(ls -A "$parks")" = "$shipped" ] ||
  fail "the package's parks are $(ls -A "$parks" | xargs), not $(xargs <<<"$shipped")"
for file in $shipped; do
  cmp "$src/data/$file" "$parks/$file" || fail "the package's $file is not data/$file"
done
out=$(appstreamcli validate-tree --pedantic --no-net "$root" 2>&1) || fail "$out"
! grep -q '^[EWIP]:' <<<"$out" || fail "appstreamcli validate-tree: $out"

export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME"
for program in usr/games/zanbury usr/games/zanbury-parkcheck usr/games/zanbury-autoplay \
  usr/games/zanbury-sim usr/games/zanbury-parkmap; do
  answer=$("$root/$program" --version)
  [ "$answer" = "${program##*/} $version" ] || fail "$program --version says '$answer'"
done

# A park list of one short empty park, which the launcher keeps: the run reaches the end
# screen a second after NEW GAME.
data=$HOME/.local/share/zanbury
mkdir -p "$data"
printf '1\nshort.txt\n' >"$data/parks.txt"
printf '0\n30\n' >"$data/short.txt"
start_xvfb 1280x1024
"$root/usr/games/zanbury" &
game_pid=$!
wait_for_window
for _ in $(seq 50); do
  import -window root "$work/shot.png"
  is_sky 600 832 && break # the title, drawn
  sleep 0.2
done
is_sky 600 832 || fail "the title is not shown"
xdotool mousemove 640 512 key Return # NEW GAME
for _ in $(seq 100); do
  [ -s "$data/highscore.txt" ] && break
  sleep 0.1
done
[ -s "$data/highscore.txt" ] || fail "no high score in $data after the run"
grep -qx '[0-9]\+' "$data/highscore.txt" || fail "the high score is '$(cat "$data/highscore.txt")'"
xdotool key Return # from the end screen back to the title
sleep 0.5
xdotool key Down
sleep 0.3
xdotool key Return # EXIT
for _ in $(seq 50); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
! kill -0 "$game_pid" 2>/dev/null || fail "the game did not end through the menu"
code=0
wait "$game_pid" || code=$?
game_pid=""
[ "$code" -eq 0 ] || fail "the game exited with $code"
[ -f "$data/harbour-front.txt" ] || fail "the launcher did not add the shipped parks"
written=$(find "$root" -newer "$work/unpacked")
[ -z "$written" ] || fail "the game wrote into the installed tree: $written"
echo "package test passed"
