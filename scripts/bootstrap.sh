#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, only when one is missing.
# `bootstrap.sh web` installs instead what the browser build and its test need.
set -euo pipefail

mode="${1:-game}"
case "$mode" in
  game)
    packages=(
      cmake g++ make clang clang-format pkg-config
      libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev
      libgtest-dev googletest libbenchmark-dev
      fonts-dejavu-core
      xvfb xdotool x11-apps x11-utils imagemagick xfonts-base
      dpkg-dev file lintian desktop-file-utils appstream groff-base man-db
    )
    ;;
  web)
    # emscripten compiles with the clang, lld and node it depends on; dpkg-dev unpacks SDL2's
    # source package, which scripts/web_sdl2.sh builds; chromium runs the page headless.
    packages=(cmake make emscripten dpkg-dev chromium)
    ;;
  *)
    echo "usage: bootstrap.sh [web]" >&2
    exit 2
    ;;
esac

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
