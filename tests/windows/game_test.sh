#!/usr/bin/env bash
# game_test.sh WINDOWS_BUILD SOURCE PREFIX: zanbury.exe under Wine in an Xvfb of its own, with
# the shipped parks in its folder, shows the title scaled and centred on black, and Down then
# Enter on the menu ends it with exit code 0. With a broken park list it shows why in a message
# box, and ends with exit code 1 once the player has closed it.
set -euo pipefail
build=$1
source_dir=$2
prefix=$3
source "$(dirname "$0")/wine_lib.sh"
need_windows_programs "$build/zanbury.exe"
need_wine
use_wine_prefix "$prefix"
start_xvfb 1280x1024
cp "$source_dir"/data/*.txt "$work/"
rm -f "$work/highscore.txt"

(cd "$work" && exec wine "$build/zanbury.exe") > "$work/game.log" 2>&1 &
game_pid=$!
window_appears 60 || { cat "$work/game.log"; echo "the game's window did not appear"; exit 1; }
sky=yes
wait_for_title || sky=no
[ -n "${ZANBURY_SHOT:-}" ] && cp "$work/shot.png" "$ZANBURY_SHOT"
[ "$sky" = yes ] || { cat "$work/game.log"; echo "the title's sky is $(pixel 600 832)"; exit 1; }
is_black 640 10 || { echo "the border above the picture is $(pixel 640 10), not black"; exit 1; }

xdotool mousemove 640 512
xdotool key Down
sleep 0.3
xdotool key Return
wait_game_exit 20
[ "$code" -eq 0 ] || { cat "$work/game.log"; echo "leaving through the menu gave exit code $code"; exit 1; }
printf 'x\n' > "$work/parks.txt"
(cd "$work" && exec wine "$build/zanbury.exe") > "$work/game.log" 2>&1 &
game_pid=$!
window_appears 60 || { cat "$work/game.log"; echo "no message box appeared"; exit 1; }
sleep 1
kill -0 "$game_pid" 2> /dev/null || { echo "the game ended without waiting for its message box"; exit 1; }
xdotool key Return
wait_game_exit 20
[ "$code" -eq 1 ] || { cat "$work/game.log"; echo "a broken park list gave exit code $code"; exit 1; }
echo "Windows game test passed"
