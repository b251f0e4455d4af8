#!/usr/bin/env bash
# The installed launcher against what a player's data directory may hold, with a stand-in game
# that says where it started: a start with nothing to bring up to date writes nothing; read-only
# directories and a full disk leave the player's files whole and the game still starts; links
# planted at a temporary name or at .shipped are not written through; a park the player linked
# stays a link, and a linked data directory is played in and brought up to date; a data
# directory that cannot be entered stops the launcher with a message.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
fail() {
  echo "$*"
  exit 1
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
installed=$work/prefix/share/zanbury/parks
printf '#!/bin/sh\necho "started in $(pwd) with $*"\n' >"$work/prefix/libexec/zanbury/zanbury"
# Root writes in read-only directories, so as root the player is nobody.
as_player=()
if [ "$(id -u)" -eq 0 ]; then
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  "${as_player[@]}" true || { echo "SKIP: cannot run as nobody, so read-only is not read-only"; exit 77; }
fi
# A home of the player's own, with the data directory in it.
new_home() {
  home=$work/$1
  data=$home/.local/share/zanbury
  mkdir -p "$home"
  [ ${#as_player[@]} -eq 0 ] || chown nobody:nogroup "$home"
}
# The launcher as the player (before it, sh -c 'SETUP; exec "$@"' when $setup is set), its output
# in $out and $err, its exit code in $code. Standard error goes through a pipe, which a file size
# limit does not stop.
start() {
  code=0
  {
    out=$(HOME=$home "${as_player[@]}" sh -c "${setup:-:}; exec \"\$@\"" sh \
      "$work/prefix/bin/zanbury" --some-option) || code=$?
  } 2> >(cat >"$work/err")
  wait $!
  err=$(cat "$work/err")
}
started() {
  [ "$code" -eq 0 ] && [ "$out" = "started in $data with --some-option" ] ||
    fail "$1: the game did not start (exit $code): $out $err"
}
said() { grep -q -- "$2" <<<"$err" || fail "$1: the launcher did not say '$2' but: $err"; }
snap() { find "$1" -printf '%p %i %m %T@ %s\n' | sort; }
same_as_shipped() { cmp -s "$data/$1" "$installed/$1" || fail "$2: $1 is not the shipped one"; }

new_home home
start
started "the first start"
before=$(snap "$data")
start
started "the second start"
[ "$(snap "$data")" = "$before" ] && [ -z "$err" ] ||
  fail "a start with nothing to bring up to date wrote or said something: $err"

# An upgrade, with .shipped/ read-only, then with the data directory too, then writable again.
echo >>"$installed/rail-yard.txt"
chmod a-w "$data/.shipped"
start
started "read-only .shipped"
same_as_shipped rail-yard.txt "read-only .shipped"
said "read-only .shipped" "could not bring up to date.* .shipped/rail-yard.txt"
echo >>"$installed/boardwalk.txt"
chmod a-w "$data"
before=$(snap "$data")
start
started "read-only data directory"
[ "$(snap "$data")" = "$before" ] || fail "the launcher wrote in the read-only data directory"
said "read-only data directory" "could not bring up to date.* boardwalk.txt"
chmod u+w "$data" "$data/.shipped"
start
same_as_shipped boardwalk.txt "writable again"
cmp -s "$data/.shipped/rail-yard.txt" "$installed/rail-yard.txt" || fail "the record was not caught up"

# Links planted where the launcher writes: its temporary names, and .shipped itself.
echo "the victim's own" >"$work/victim"
mkdir "$work/elsewhere"
[ ${#as_player[@]} -eq 0 ] || chown nobody:nogroup "$work/victim" "$work/elsewhere"
rm "$data/parks.txt"
ln -s "$work/victim" "$data/parks.txt.new"
ln -s "$work/victim" "$data/.shipped/parks.txt.new"
start
started "planted parks.txt.new"
same_as_shipped parks.txt "planted parks.txt.new"
mv "$data/.shipped" "$work/shipped"
ln -s "$work/elsewhere" "$data/.shipped"
start
started "planted .shipped"
said "planted .shipped" "\.shipped is a link"
[ "$(cat "$work/victim")" = "the victim's own" ] && [ -z "$(ls -A "$work/elsewhere")" ] ||
  fail "the launcher wrote through a planted link"
rm "$data/.shipped"
mv "$work/shipped" "$data/.shipped"

# A park the player linked on purpose stays the link, also when a new version is shipped.
cp "$data/canal-locks.txt" "$work/my-canal-locks.txt"
ln -sf "$work/my-canal-locks.txt" "$data/canal-locks.txt"
echo >>"$installed/canal-locks.txt"
start
started "linked park"
[ -L "$data/canal-locks.txt" ] || fail "the player's link was replaced"
said "linked park" "canal-locks.txt is a link: left alone"

# A full disk, as a file size limit of 0: the player's copy is left whole, with no leftover.
echo >>"$installed/storm-drain.txt"
cp "$data/storm-drain.txt" "$work/storm-drain.txt"
setup="trap '' XFSZ; ulimit -f 0" start
started "full disk"
cmp -s "$data/storm-drain.txt" "$work/storm-drain.txt" || fail "the full disk cost the player's park"
[ -z "$(find "$data" -name '*.new-*')" ] || fail "the launcher left temporary files"
said "full disk" "could not bring up to date.* storm-drain.txt"

# A data directory that the player made a link (their data on another disk) is played in and
# brought up to date like any.
new_home linked
mkdir -p "${data%/*}" "$work/linked-data"
cp "$installed/parks.txt" "$work/linked-data/"
[ ${#as_player[@]} -eq 0 ] || chown -R nobody:nogroup "$work/linked-data"
ln -s "$work/linked-data" "$data"
start
started "linked data directory"
[ -f "$work/linked-data/harbour-front.txt" ] && [ -d "$work/linked-data/.shipped" ] ||
  fail "the linked data directory was not brought up to date"

new_home unenterable
mkdir -p "${data%/*}"
touch "$data"
start
[ "$code" -ne 0 ] && [ -z "$out" ] || fail "the launcher started the game outside its data directory"
said "unenterable" "cannot play in $data: it is not a directory"
echo "launcher test passed"
