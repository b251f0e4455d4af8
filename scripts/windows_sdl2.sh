#!/usr/bin/env bash
# windows_sdl2.sh DIR: a static SDL2 and SDL2_image for 64-bit Windows, built with MinGW-w64
# (the project's toolchain file, cmake/mingw-w64-x86_64.cmake) from Debian's own source packages
# of libsdl2 and libsdl2-image, and installed in DIR/install, for the Windows build. Done once: a
# later run finds DIR/install made by the same MinGW-w64 and this same script, and says nothing.
# Only what the game and the tools use is built: video with its renderer, audio, events, timers,
# threads, joysticks and game controllers, the message box; of SDL2_image, saving PNG (the
# tools' pictures), with its own deflate and no image library.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: windows_sdl2.sh DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
toolchain="$here/../cmake/mingw-w64-x86_64.cmake"
mkdir -p "$1"
dir=$(cd "$1" && pwd)
jobs=${JOBS:-2}

for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-gcc-posix cmake dpkg-source; do
  if ! command -v "$tool" > /dev/null; then
    echo "windows_sdl2: $tool is missing: run scripts/bootstrap.sh windows" >&2
    exit 1
  fi
done

# Two builds at once (two work trees on one machine) would share DIR: the second waits.
exec 9> "$dir/.lock"
flock 9

compilers=$(dpkg-query -W -f='${Version} ' g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev)
key="mingw-w64 $compilers script $(cat "$0" "$toolchain" | sha256sum | cut -c1-16)"
if [ -f "$dir/install/lib/libSDL2.a" ] && [ -f "$dir/install/lib/libSDL2_image.a" ] &&
  [ "$(cat "$dir/stamp" 2> /dev/null)" = "$key" ]; then
  exit 0
fi
rm -rf "$dir/build" "$dir/install" "$dir/stamp"
start=$SECONDS

"$here/debian_source.sh" "$dir" libsdl2 libsdl2-image
sdl_source=$(find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name 'libsdl2-[0-9]*' | head -n 1)
image_source=$(find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name 'libsdl2-image-[0-9]*' |
  head -n 1)
fetched=$SECONDS

# step NAME COMMAND...: runs one step with its output in DIR/NAME.log, shown only on failure.
step() {
  local name=$1
  shift
  "$@" > "$dir/$name.log" 2>&1 || {
    tail -n 40 "$dir/$name.log" >&2
    echo "windows_sdl2: $name failed; its whole log is $dir/$name.log" >&2
    exit 1
  }
}

common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$dir/install" -DCMAKE_FIND_ROOT_PATH="$dir/install")

echo "windows_sdl2: building $(basename "$sdl_source") for 64-bit Windows"
step sdl2-configure cmake -S "$sdl_source" -B "$dir/build/sdl2" "${common[@]}" \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
  -DSDL2_DISABLE_UNINSTALL=ON -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
  -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_HIDAPI=OFF -DSDL_VULKAN=OFF -DSDL_OPENGLES=OFF \
  -DSDL_DISKAUDIO=OFF -DSDL_OFFSCREEN=OFF -DSDL_CCACHE=OFF
step sdl2-build cmake --build "$dir/build/sdl2" -j "$jobs"
step sdl2-install cmake --install "$dir/build/sdl2"

echo "windows_sdl2: building $(basename "$image_source") for 64-bit Windows"
step image-configure cmake -S "$image_source" -B "$dir/build/image" "${common[@]}" \
  -DBUILD_SHARED_LIBS=OFF -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
  -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_BACKEND_STB=ON \
  -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON \
  -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JPG_SAVE=OFF -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_BMP=OFF \
  -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF \
  -DSDL2IMAGE_PNM=OFF -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF \
  -DSDL2IMAGE_TIF=OFF -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XPM=OFF \
  -DSDL2IMAGE_XV=OFF
step image-build cmake --build "$dir/build/image" -j "$jobs"
step image-install cmake --install "$dir/build/image"

echo "$key" > "$dir/stamp"
echo "windows_sdl2: fetched in $((fetched - start)) s, built in $((SECONDS - fetched)) s, in $dir/install"
