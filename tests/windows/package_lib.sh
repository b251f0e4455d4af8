# Shared by the tests of what a Windows player downloads (zip_test.sh, installer_test.sh).
# Source it after wine_lib.sh, use_wine_prefix and start_xvfb 1280x1024; it offers:
#   play_title EXE [ARG...]   runs EXE under Wine from $work/elsewhere (a folder of its own, so
#                             that the game must find its files by itself), waits for the title's
#                             sky in a screenshot, leaves through the menu's EXIT (Down, Enter) and
#                             fails unless the game ends with exit code 0
#   app_data                  prints the Unix path of the prefix's %APPDATA%\Zanbury
#   same_files DIR A B...     fails unless DIR holds files A, B... with the bytes of data/'s,
#                             given $source_dir
#   shipped_parks             prints parks.txt and the parks it names, from $source_dir/data

play_title() {
  mkdir -p "$work/elsewhere"
  (cd "$work/elsewhere" && exec wine "$@") > "$work/game.log" 2>&1 &
  game_pid=$!
  window_appears 60 || { cat "$work/game.log"; echo "$1: the game's window did not appear"; exit 1; }
  wait_for_title || { cat "$work/game.log"; echo "$1: the title's sky is $(pixel 600 832)"; exit 1; }
  xdotool mousemove 640 512
  xdotool key Down
  sleep 0.3
  xdotool key Return
  wait_game_exit 20
  [ "$code" -eq 0 ] || { cat "$work/game.log"; echo "$1: leaving through the menu gave exit code $code"; exit 1; }
}

app_data() {
  local windows
  windows=$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')
  echo "$(winepath -u "$windows" | sed 's,/$,,')/Zanbury"
}

same_files() {
  local dir=$1 name
  shift
  for name in "$@"; do
    cmp -s "$source_dir/data/$name" "$dir/$name" ||
      { echo "$dir/$name is missing or is not the shipped $name"; exit 1; }
  done
}

shipped_parks() {
  echo parks.txt
  tr -s ' \t\r\n' '\n' < "$source_dir/data/parks.txt" | sed -n '2,$p' | grep .
}
