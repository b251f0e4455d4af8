#!/usr/bin/env bash
# The include rule of the game's folders, checked: each folder may include only its own layer and
# the layers below it, and only display/ and platform/ may include SDL. The layers, bottom up:
#
#   core      the shared records and types; includes nothing of the game
#   platform  the seam to the outside world
#   display   pixels, text and sound
#   park      park files, the obstacle stream, the end screen
#   skater    the skater's motion, collisions and tricks
#   app       start-up, the main loop, the game flow
#
# tools/ and tests/ sit above all of these. Usage: check_layers.sh [ROOT]; exits 1 and names every
# wrong include when the rule is broken.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

layers=(core platform display park skater app)
sdl_allowed=" platform display "
status=0

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo 99 # tools/, tests/ and anything else: above the game
}

for i in "${!layers[@]}"; do
  folder=${layers[$i]}
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*[\<\"](SDL[^\>\"]*)[\>\"] ]]; then
      if [[ $sdl_allowed != *" $folder "* ]]; then
        echo "$file:$line: $folder/ may not include SDL (${BASH_REMATCH[1]}): only display/ and platform/ do"
        status=1
      fi
    elif [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]]; then
      target=${BASH_REMATCH[1]}
      if [ "$(rank_of "$target")" -gt "$i" ]; then
        echo "$file:$line: $folder/ may not include $target/, which is above it"
        status=1
      fi
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$folder" --include='*.h' --include='*.cpp' || true)
done

exit $status
