#!/usr/bin/env bash
# debian_source.sh DIR PACKAGE...: Debian's own source package of each PACKAGE, unpacked in
# DIR/src (one folder each, PACKAGE-VERSION), through an apt of our own in DIR/apt whose source
# entries are derived from the machine's configured Debian archive; the system's apt is left as
# it is. Used by the scripts that build SDL2 for the browser and for Windows.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: debian_source.sh DIR PACKAGE..." >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
shift
if ! command -v dpkg-source > /dev/null; then
  echo "debian_source: dpkg-source is missing: install dpkg-dev" >&2
  exit 1
fi

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if [ -z "$codename" ]; then
  echo "debian_source: /etc/os-release names no release codename" >&2
  exit 1
fi
rm -rf "$dir/apt" "$dir/src"
mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial" "$dir/apt/parts" "$dir/src"
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
apt-get "${apt_options[@]}" update -qq
for package in "$@"; do
  echo "debian_source: fetching Debian's source of $package"
  (cd "$dir/src" && apt-get "${apt_options[@]}" source -qq "$package" > "$dir/src/fetch.log" 2>&1) || {
    cat "$dir/src/fetch.log" >&2
    exit 1
  }
  source_dir=$(find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
  if [ -z "$source_dir" ] || [ ! -f "$source_dir/CMakeLists.txt" ]; then
    echo "debian_source: the source of $package did not unpack into $dir/src" >&2
    exit 1
  fi
done
