#!/usr/bin/env bash
# programs_test.sh WINDOWS_BUILD: each Windows program is one .exe that imports system DLLs
# alone (SDL2, the C++ library, libgcc and winpthread linked in), the game a GUI program with
# its icon and version in its resources, the tools console programs.
set -euo pipefail
build=$1
source "$(dirname "$0")/wine_lib.sh"
game="$build/zanbury.exe"
tools=()
for tool in sim parkcheck autoplay parkmap; do
  tools+=("$build/tools/$tool/zanbury-$tool.exe")
done
need_windows_programs "$game" "${tools[@]}"
command -v x86_64-w64-mingw32-objdump > /dev/null && command -v x86_64-w64-mingw32-windres > /dev/null ||
  skip "no MinGW-w64 binutils: scripts/bootstrap.sh windows installs them"

# What every Windows since Vista has in its system folder.
system="advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 setupapi shell32 user32
  version winmm dinput8 xinput1_4 ws2_32"
fail=0
for exe in "$game" "${tools[@]}"; do
  x86_64-w64-mingw32-objdump -p "$exe" > "$work/headers"
  while read -r dll; do
    name=$(echo "${dll%.dll}" | tr 'A-Z' 'a-z')
    grep -qw "$name" <<< "$system" || { echo "$exe imports $dll, which Windows does not bring"; fail=1; }
  done < <(awk '/DLL Name:/ { print $3 }' "$work/headers")
  subsystem=$(awk '/^Subsystem/ { print $3, $4 }' "$work/headers")
  want="(Windows CUI)"
  [ "$exe" = "$game" ] && want="(Windows GUI)"
  [ "$subsystem" = "$want" ] || { echo "$exe is a $subsystem program, not $want"; fail=1; }
done

# The game's resources, read back by windres: the icon in six sizes up to 256 (written as 0),
# and the version information with the project's version.
x86_64-w64-mingw32-windres -i "$game" -J coff -O rc > "$work/resources.rc"
version=$(sed -n 's/^project(Zanbury VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
grep -q 'RT_GROUP_ICON' "$work/resources.rc" && grep -q 'Has 6 elements' "$work/resources.rc" &&
  grep -q '"\\000\\000\\000\\000", 1, 32' "$work/resources.rc" ||
  { echo "$game has no icon of six sizes up to 256 in its resources"; fail=1; }
grep -q "VALUE \"FileVersion\", \"$version\"" "$work/resources.rc" ||
  { echo "$game has no version $version in its resources"; fail=1; }
[ "$fail" -eq 0 ] || exit 1
echo "Windows programs test passed"
