#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, only when one is missing.
# `bootstrap.sh web` installs instead what the browser build and its test need, and
# `bootstrap.sh windows` what the Windows build and its tests under Wine need. On a system
# without apt-get and dpkg-query it installs nothing: it says what the build needs and leaves the
# rest to CMake, whose own messages name anything missing.
set -euo pipefail

mode="${1:-game}"
case "$mode" in
  game)
    packages=(
      cmake g++ make clang clang-format pkg-config
      libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev
      libgtest-dev googletest libbenchmark-dev
      fonts-dejavu-core
      xvfb xdotool x11-apps x11-utils imagemagick xfonts-base libxtst-dev libgl1-mesa-dri
      dpkg-dev file lintian desktop-file-utils appstream groff-base man-db valgrind
    )
    ;;
  web)
    # emscripten compiles with the clang, lld and node it depends on; dpkg-dev unpacks SDL2's
    # source package, which scripts/web_sdl2.sh builds; chromium runs the page headless, and
    # the page's test talks to it over a WebSocket with Debian's python3-websockets; the host's
    # own compiler and SDL2 build the icon maker, which draws the page's icons at build time.
    packages=(cmake make emscripten dpkg-dev chromium python3-websockets
              g++ pkg-config libsdl2-dev libsdl2-image-dev)
    ;;
  windows)
    # MinGW-w64 with the posix thread model (std::thread and std::mutex need it), its binutils
    # with windres; dpkg-dev unpacks the source packages of SDL2 and SDL2_image, which
    # scripts/windows_sdl2.sh builds; the host's own compiler and SDL2 build the icon maker,
    # which runs at build time; Wine in an Xvfb of the tests' own runs the .exe files, and
    # NSIS makes the installer and zip the zip, which the tests unpack with unzip.
    packages=(
      cmake make g++ pkg-config libsdl2-dev libsdl2-image-dev dpkg-dev
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine64 xvfb nsis zip unzip
    )
    ;;
  *)
    echo "usage: bootstrap.sh [web | windows]" >&2
    exit 2
    ;;
esac

# What the build needs on another distribution: one line each of how to look for it (a command,
# a pkg-config module, or - for nothing to look at), its upstream name, and its packages on
# Fedora and on Arch Linux. Keep it in step with the Debian packages above.
needs_game="\
command cmake|CMake 3.25 or later|cmake|cmake
command make|GNU Make|make|make
command g++|GCC's C++ compiler, C++20|gcc-c++|gcc
command pkg-config|pkg-config|pkgconf-pkg-config|pkgconf
module sdl2|SDL2|SDL2-devel|sdl2
module SDL2_image|SDL2_image|SDL2_image-devel|sdl2_image
module SDL2_ttf|SDL2_ttf (art and glyph generators)|SDL2_ttf-devel|sdl2_ttf
module gtest|GoogleTest|gtest-devel|gtest
module benchmark|Google Benchmark|google-benchmark-devel|benchmark
command clang++|Clang with libFuzzer (fuzzing)|clang compiler-rt|clang compiler-rt
command clang-format|clang-format|clang-tools-extra|clang
- -|DejaVu fonts (art and glyph generators)|dejavu-sans-fonts|ttf-dejavu
command Xvfb|Xvfb (window tests)|xorg-x11-server-Xvfb|xorg-server-xvfb
command xdotool|xdotool (window tests)|xdotool|xdotool
command convert|ImageMagick (window tests)|ImageMagick|imagemagick
- -|Mesa's OpenGL drivers (the GPU present's window tests)|mesa-dri-drivers|mesa
command file|file|file|file
command desktop-file-validate|desktop-file-utils|desktop-file-utils|desktop-file-utils
command appstreamcli|AppStream|appstream|appstream
command groff|groff|groff-base|groff
command man|man-db|man-db|man-db
command valgrind|Valgrind (make valgrind, make measure-instructions)|valgrind|valgrind"
needs_web="\
command cmake|CMake 3.25 or later|cmake|cmake
command make|GNU Make|make|make
command emcc|Emscripten|emscripten|emscripten
command chromium|Chromium (the page's test)|chromium|chromium
command g++|GCC's C++ compiler (the icon maker)|gcc-c++|gcc
module sdl2|SDL2 (the icon maker)|SDL2-devel|sdl2
module SDL2_image|SDL2_image (the icon maker)|SDL2_image-devel|sdl2_image
- -|Python websockets (the page's test)|python3-websockets|python-websockets"
needs_windows="\
command cmake|CMake 3.25 or later|cmake|cmake
command make|GNU Make|make|make
command g++|GCC's C++ compiler (the icon maker)|gcc-c++|gcc
module sdl2|SDL2 (the icon maker)|SDL2-devel|sdl2
module SDL2_image|SDL2_image (the icon maker)|SDL2_image-devel|sdl2_image
command x86_64-w64-mingw32-g++|MinGW-w64 GCC, posix threads|mingw64-gcc-c++|mingw-w64-gcc
command x86_64-w64-mingw32-windres|MinGW-w64 binutils|mingw64-binutils|mingw-w64-binutils
command wine|Wine, 64-bit (the Windows tests)|wine|wine
command Xvfb|Xvfb (the Windows tests)|xorg-x11-server-Xvfb|xorg-server-xvfb
command makensis|NSIS (the installer)|mingw32-nsis|nsis (AUR)
command zip|Info-ZIP zip (the zip)|zip|zip
command unzip|Info-ZIP unzip (the Windows tests)|unzip|unzip"

# Prints the needs of this mode, each marked found, MISSING or unchecked, and notes what only
# Debian has; all of it only when something looks missing, else one line.
other_distribution() {
  local needs how name what fedora arch status missing=0 table=""
  needs=$needs_game
  [ "$mode" = web ] && needs=$needs_web
  [ "$mode" = windows ] && needs=$needs_windows
  while IFS='|' read -r how what fedora arch; do
    read -r how name <<<"$how"
    case "$how" in
      command) command -v "$name" >/dev/null 2>&1 && status=found || status=MISSING ;;
      module)
        if ! command -v pkg-config >/dev/null 2>&1; then
          status=unchecked
        elif pkg-config --exists "$name"; then
          status=found
        else
          status=MISSING
        fi
        ;;
      *) status=unchecked ;;
    esac
    [ "$status" = MISSING ] && missing=$((missing + 1))
    table+=$(printf '  %-9s %-40s %-24s %s' "$status" "$what" "$fedora" "$arch")$'\n'
  done <<<"$needs"
  echo "bootstrap: no apt-get or dpkg-query here, so nothing is installed"
  if [ "$missing" -eq 0 ]; then
    echo "bootstrap: every tool and library the build needs that can be looked for is found"
    return
  fi
  echo "bootstrap: the build needs these; CMake's own messages name anything it cannot find"
  printf '  %-9s %-40s %-24s %s\n' "" "upstream name" "Fedora" "Arch Linux"
  printf '%s' "$table"
  if [ "$mode" = web ]; then
    echo "bootstrap: scripts/web_sdl2.sh builds SDL2 from Debian's source package with apt-get and"
    echo "  dpkg-source: the browser build needs a Debian system or container"
  elif [ "$mode" = windows ]; then
    echo "bootstrap: scripts/windows_sdl2.sh builds SDL2 and SDL2_image from Debian's source"
    echo "  packages with apt-get and dpkg-source: the Windows build needs a Debian system or container"
  else
    echo "bootstrap: the Debian package (make package) and its test need Debian's dpkg-dev and"
    echo "  lintian; make test's packaging.deb test fails without them"
  fi
}

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
  other_distribution
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "bootstrap: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
