#!/usr/bin/env bash
# The source entries for the WebAssembly SDL2's apt: those of the configured Debian release in
# both forms of apt's sources, keys and options kept, and nothing of other archives.
set -euo pipefail
derive=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() {
  echo "$1"
  exit 1
}

mkdir -p "$root/apt/sources.list.d"
cat > "$root/apt/sources.list" << 'LIST'
# deb file:/srv/commented/debian bookworm main
deb [arch=amd64 signed-by=/usr/share/keyrings/one.gpg] file:/srv/one/debian bookworm main contrib
deb file:/srv/other/repo nodistro main
deb-src file:/srv/one/debian bookworm main
LIST
cat > "$root/apt/sources.list.d/debian.sources" << 'SOURCES'
Types: deb
URIs: file:/srv/two/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL0BUBEADmW5NlOYXDPU2Z
 -----END PGP PUBLIC KEY BLOCK-----

Types: deb
URIs: file:/srv/off/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb-src
URIs: file:/srv/only-src/debian
Suites: bookworm
Components: main
SOURCES
cat > "$root/apt/sources.list.d/vendor.sources" << 'SOURCES'
Types: deb
URIs: file:/srv/vendor
Suites: nodistro
Components: main
SOURCES
cat > "$root/apt/sources.list.d/security.list" << 'LIST'
deb file:/srv/three/debian-security bookworm-security main
LIST

"$derive" bookworm "$root/apt" "$root/out" || fail "the configured release was not found"
list=$(cat "$root/out/debian-src.list")
sources=$(cat "$root/out/debian-src.sources")
expected_list="deb-src [arch=amd64 signed-by=/usr/share/keyrings/one.gpg] file:/srv/one/debian bookworm main contrib
deb-src file:/srv/three/debian-security bookworm-security main"
[ "$list" = "$expected_list" ] || fail "one-line entries: got
$list"
expected_sources="Types: deb-src
URIs: file:/srv/two/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL0BUBEADmW5NlOYXDPU2Z
 -----END PGP PUBLIC KEY BLOCK-----"
[ "$sources" = "$expected_sources" ] || fail "deb822 entries: got
$sources"

# Another release's machine, or one with only other archives, has nothing to derive.
if "$derive" trixie "$root/apt" "$root/none" 2> /dev/null; then
  fail "entries were derived for a release that is not configured"
fi
echo "source entries passed"
