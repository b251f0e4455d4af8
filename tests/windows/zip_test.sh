#!/usr/bin/env bash
# zip_test.sh WINDOWS_BUILD SOURCE PREFIX VERSION: the zip a Windows player downloads holds one
# folder with exactly the game, the tools, the shipped parks, README.txt and the licences, in
# sorted order and all of one date; its texts have Windows' line ends and its parks the bytes of
# data/. Unpacked, the game plays in its own folder: started from elsewhere under Wine, it shows
# the title, leaves through the menu with exit code 0, and keeps its recording beside the exe,
# nothing of it in %APPDATA%.
set -euo pipefail
build=$1
source_dir=$2
prefix=$3
version=$4
source "$(dirname "$0")/wine_lib.sh"
source "$(dirname "$0")/package_lib.sh"
zip="$build/zanbury-$version-win64.zip"
folder="zanbury-$version-win64"
[ -f "$zip" ] || skip "no $zip: make windows-package makes it"
command -v unzip > /dev/null || skip "no unzip: scripts/bootstrap.sh windows installs it"
need_wine

texts=(README.txt LICENSE.txt LICENSE.DejaVu.txt)
mapfile -t parks < <(shipped_parks)
{
  echo "$folder/"
  for name in zanbury zanbury-sim zanbury-parkcheck zanbury-autoplay zanbury-parkmap; do
    echo "$folder/$name.exe"
  done
  printf "$folder/%s\n" "${texts[@]}" "${parks[@]}"
} | LC_ALL=C sort > "$work/expected"
unzip -Z1 "$zip" > "$work/listing"
if ! LC_ALL=C sort "$work/listing" | cmp -s - "$work/expected"; then
  LC_ALL=C sort "$work/listing" | diff "$work/expected" - || true
  echo "$zip does not hold exactly the expected files"
  exit 1
fi
cmp -s "$work/listing" "$work/expected" || { echo "$zip's entries are not in sorted order"; exit 1; }
dates=$(zipinfo -T "$zip" | awk '/^[-d]/ { print $7 }' | sort -u | wc -l)
[ "$dates" -eq 1 ] || { echo "$zip's entries have $dates dates, not one"; exit 1; }

unzip -q "$zip" -d "$work/unpacked"
game_dir="$work/unpacked/$folder"
for text in "${texts[@]}"; do
  [ -s "$game_dir/$text" ] && ! grep -q $'[^\r]$' "$game_dir/$text" && ! grep -q '^$' "$game_dir/$text" ||
    { echo "$text has lines without Windows' line end"; exit 1; }
done
for exe in "$game_dir"/zanbury-*.exe; do
  grep -q "$(basename "$exe")" "$game_dir/README.txt" || { echo "README.txt does not name $(basename "$exe")"; exit 1; }
done
same_files "$game_dir" "${parks[@]}"

use_wine_prefix "$prefix"
start_xvfb 1280x1024
appdata=$(app_data)
touch "$work/before"
play_title "$game_dir/zanbury.exe"
[ -s "$game_dir/last-run.txt" ] || { ls "$game_dir"; echo "no last-run.txt beside the unpacked zanbury.exe"; exit 1; }
[ -z "$(ls -A "$work/elsewhere")" ] || { ls "$work/elsewhere"; echo "the game wrote in the folder it was started from"; exit 1; }
written=$(find "$appdata" -newer "$work/before" -type f ! -name 'settings.conf*' 2> /dev/null || true)
[ -z "$written" ] || { echo "$written"; echo "the game from the zip wrote in %APPDATA%"; exit 1; }
echo "Windows zip test passed"
