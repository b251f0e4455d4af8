#!/usr/bin/env bash
# installer_test.sh WINDOWS_BUILD SOURCE PREFIX VERSION: the installer under Wine, silently, as
# an administrator would. It puts the game, the tools, README and licences in Program
# Files\Zanbury with the shipped parks in its parks folder, a Start-menu shortcut, and the
# "Apps & features" entry; the installed game copies the parks to %APPDATA%\Zanbury and shows
# the title. A newer installer (made here from the same script, with two shipped parks changed)
# replaces the program's parks; the game then brings in the changed park the player left alone
# and keeps the one the player changed. The uninstaller named in the registry removes the
# program, the shortcut and the entry, and leaves %APPDATA%\Zanbury with the player's files.
set -euo pipefail
build=$1
source_dir=$2
prefix=$3
version=$4
source "$(dirname "$0")/wine_lib.sh"
source "$(dirname "$0")/package_lib.sh"
setup="$build/zanbury-$version-setup.exe"
script="$build/windows/package/zanbury.nsi"
stage="$build/windows/package/stage/zanbury-$version-win64"
[ -f "$setup" ] && [ -d "$stage" ] || skip "no $setup: make windows-package makes it"
command -v makensis > /dev/null || skip "no makensis: scripts/bootstrap.sh windows installs it"
need_wine

# The newer version: the player leaves the first park alone and changes the second.
mapfile -t parks < <(shipped_parks)
alone=${parks[1]}
changed=${parks[2]}
cp -r "$stage" "$work/newer"
printf '%s\n' "# ${alone%.txt}, newer" >> "$work/newer/$alone"
printf '%s\n' "# ${changed%.txt}, newer" >> "$work/newer/$changed"
# zlib packs it in a fifth of the time that the real installer's LZMA takes.
makensis -V1 '-XSetCompressor /FINAL zlib' -DSTAGE="$work/newer" -DVERSION="$version.1" \
  -DOUTFILE="$work/newer-setup.exe" "$script" || { echo "makensis could not make the newer installer"; exit 1; }

use_wine_prefix "$prefix"
start_xvfb 1280x1024
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zanbury'
program="$WINEPREFIX/drive_c/Program Files/Zanbury"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zanbury.lnk"
appdata=$(app_data)

# run_setup SETUP: runs it silently and waits for it; its exit code must be 0.
run_setup() {
  local start=$SECONDS
  wine start /wait /unix "$1" /S || { echo "$1 /S ended with exit code $?"; exit 1; }
  echo "$(basename "$1") installed in $((SECONDS - start)) s"
}

run_setup "$setup"
for file in zanbury.exe zanbury-sim.exe zanbury-parkcheck.exe zanbury-autoplay.exe \
  zanbury-parkmap.exe README.txt LICENSE.txt LICENSE.DejaVu.txt uninstall.exe; do
  [ -s "$program/$file" ] || { echo "no $file in Program Files\\Zanbury"; exit 1; }
done
same_files "$program/parks" "${parks[@]}"
[ -s "$shortcut" ] || { echo "no Start-menu shortcut"; exit 1; }
wine reg query "$key" /reg:64 | tr -d '\r' > "$work/entry"
for value in "DisplayName REG_SZ Zanbury" "DisplayVersion REG_SZ $version" \
  "Publisher REG_SZ" "DisplayIcon REG_SZ C:\\Program Files\\Zanbury\\zanbury.exe" \
  "InstallLocation REG_SZ C:\\Program Files\\Zanbury" "UninstallString REG_SZ" \
  "QuietUninstallString REG_SZ" "EstimatedSize REG_DWORD" "NoModify REG_DWORD 0x1" \
  "NoRepair REG_DWORD 0x1"; do
  awk '{ $1 = $1; print }' "$work/entry" | grep -qF "$value" ||
    { cat "$work/entry"; echo "the Apps & features entry lacks $value"; exit 1; }
done

play_title "C:\\Program Files\\Zanbury\\zanbury.exe"
same_files "$appdata" "${parks[@]}"
[ -s "$appdata/last-run.txt" ] || { echo "no last-run.txt in %APPDATA%\\Zanbury"; exit 1; }
[ ! -e "$program/last-run.txt" ] || { echo "the installed game wrote in Program Files"; exit 1; }

printf '%s\n' "# the player's own" >> "$appdata/$changed"
cp "$appdata/$changed" "$work/players-park"
run_setup "$work/newer-setup.exe"
wine reg query "$key" /v DisplayVersion /reg:64 | grep -q "$version.1" ||
  { echo "the newer installer did not rewrite the entry's version"; exit 1; }
cmp -s "$work/newer/$alone" "$program/parks/$alone" || { echo "the newer installer did not replace $alone"; exit 1; }
play_title "C:\\Program Files\\Zanbury\\zanbury.exe"
cmp -s "$work/newer/$alone" "$appdata/$alone" ||
  { echo "the game did not bring the player's $alone up to date"; exit 1; }
cmp -s "$work/players-park" "$appdata/$changed" ||
  { echo "the player's changed $changed did not survive the newer version"; exit 1; }

# The uninstaller copies itself away and returns at once: the Wine server's end is its end.
quiet=$(sed -n 's/^ *QuietUninstallString *REG_SZ *//p' "$work/entry")
uninstaller=$(sed 's/^"\([^"]*\)".*/\1/' <<< "$quiet")
wine "$uninstaller" ${quiet##*\"} || { echo "$quiet ended with exit code $?"; exit 1; }
wineserver -w
[ ! -e "$program" ] || { ls -R "$program"; echo "the uninstaller left Program Files\\Zanbury"; exit 1; }
[ ! -e "$shortcut" ] || { echo "the uninstaller left the Start-menu shortcut"; exit 1; }
if wine reg query "$key" /reg:64 > /dev/null 2>&1; then
  echo "the uninstaller left the Apps & features entry"
  exit 1
fi
cmp -s "$work/players-park" "$appdata/$changed" && [ -s "$appdata/last-run.txt" ] &&
  [ -s "$appdata/settings.conf" ] || { ls -a "$appdata"; echo "the uninstaller touched %APPDATA%\\Zanbury"; exit 1; }
echo "Windows installer test passed"
