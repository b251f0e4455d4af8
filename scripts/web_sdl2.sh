#!/usr/bin/env bash
# web_sdl2.sh DIR: a static WebAssembly SDL2, built with emscripten from Debian's own source
# package of libsdl2 and installed in DIR/install, for the browser build (web/web.cmake). Done
# once: a later run finds DIR/install made by the same emscripten and this same script, and
# only says where it is. The source comes through an apt of our own in DIR/apt, whose source
# entries are derived from the machine's configured Debian archive; the system's apt is left
# as it is. Only what the game uses is built: video, audio, events, timers and gamepads.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: web_sdl2.sh DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$1"
dir=$(cd "$1" && pwd)
jobs=${JOBS:-2}

for tool in emcmake emcc dpkg-source; do
  if ! command -v "$tool" > /dev/null; then
    echo "web_sdl2: $tool is missing: run scripts/bootstrap.sh web" >&2
    exit 1
  fi
done
# Debian's emscripten runs its JavaScript tools with node, which must see Debian's node modules.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# Two builds at once (two work trees on one machine) would share DIR: the second waits.
exec 9> "$dir/.lock"
flock 9

key="emscripten $(dpkg-query -W -f='${Version}' emscripten) script $(sha256sum "$0" | cut -c1-16)"
if [ -f "$dir/install/lib/libSDL2.a" ] && [ "$(cat "$dir/stamp" 2> /dev/null)" = "$key" ]; then
  exit 0
fi
rm -rf "$dir/apt" "$dir/src" "$dir/build" "$dir/install" "$dir/stamp"
start=$SECONDS

# An apt of our own that knows the source entries of the configured Debian archive.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -z "$codename" ]; then
  echo "web_sdl2: /etc/os-release names no release codename" >&2
  exit 1
fi
mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial" "$dir/apt/parts"
"$here/debian_source_entries.sh" "$codename" /etc/apt "$dir/apt/parts"
apt_options=(
  -o "Dir::Etc::SourceList=/dev/null"
  -o "Dir::Etc::SourceParts=$dir/apt/parts"
  -o "Dir::State::Lists=$dir/apt/lists"
  -o "Dir::Cache=$dir/apt/cache"
)
if [ "$(id -u)" -eq 0 ]; then
  # apt's download user cannot enter root's home; the files come through signed indexes anyway.
  apt_options+=(-o "APT::Sandbox::User=root")
fi
echo "web_sdl2: fetching Debian's source of libsdl2"
apt-get "${apt_options[@]}" update -qq
mkdir -p "$dir/src"
(cd "$dir/src" && apt-get "${apt_options[@]}" source -qq libsdl2 > "$dir/src/fetch.log" 2>&1) || {
  cat "$dir/src/fetch.log" >&2
  exit 1
}
source_dir=$(find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name 'libsdl2-*' | head -n 1)
if [ -z "$source_dir" ] || [ ! -f "$source_dir/CMakeLists.txt" ]; then
  echo "web_sdl2: the source package did not unpack into $dir/src" >&2
  exit 1
fi
fetched=$SECONDS

echo "web_sdl2: building $(basename "$source_dir") for WebAssembly"
emcmake cmake -S "$source_dir" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$dir/install" \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
  -DSDL2_DISABLE_UNINSTALL=ON -DSDL_RENDER=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF \
  -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF \
  -DSDL_HIDAPI=OFF -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF -DSDL_DISKAUDIO=OFF \
  -DSDL_DUMMYAUDIO=OFF -DSDL_DUMMYVIDEO=OFF -DSDL_OFFSCREEN=OFF > "$dir/configure.log" 2>&1 || {
  tail -n 40 "$dir/configure.log" >&2
  exit 1
}
cmake --build "$dir/build" -j "$jobs" > "$dir/build.log" 2>&1 || {
  tail -n 40 "$dir/build.log" >&2
  exit 1
}
cmake --install "$dir/build" > "$dir/install.log" 2>&1 || {
  tail -n 40 "$dir/install.log" >&2
  exit 1
}
echo "$key" > "$dir/stamp"
echo "web_sdl2: fetched in $((fetched - start)) s, built in $((SECONDS - fetched)) s, in $dir/install"
