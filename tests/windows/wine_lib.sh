# Shared by the tests that run the Windows programs under Wine. Source it after `set -e`; it
# sources tests/window/xvfb_lib.sh (which makes $work, removed on exit, and offers start_xvfb
# for the tests that show a window) and offers:
#   skip MESSAGE                     says what is missing and exits 77, which ctest counts as skipped
#   need_windows_programs EXE...     skips unless each .exe of the Windows build is there
#   need_wine                        skips unless Wine is installed
#   use_wine_prefix DIR              runs Wine in the prefix DIR from here on, making it if it is
#                                    not there yet (one per test run: windows.prefix makes it new);
#                                    the prefix's Wine server is new for this test and ended at its
#                                    end, since the desktop a server makes first (with a display or
#                                    without) serves every later program of it
#   make_wine_prefix DIR             makes DIR a new prefix, whatever was there
#   run_exe EXE ARG...               runs a Windows program under Wine, its status returned
#   keep_wine_server                 keeps the prefix's Wine server up between the test's programs
#                                    until the test ends, so that each starts without a new one
#   wait_for_title                   screenshots the display into $work/shot.png until the title's
#                                    sky shows (20 s at most); fails when it does not
# No Wine prefix of the user's is touched, nor the network: the Mono and Gecko installers that
# a new prefix would offer to download are turned off.

source "$(dirname "${BASH_SOURCE[0]}")/../window/xvfb_lib.sh"

skip() {
  echo "skipped: $*"
  exit 77
}

need_windows_programs() {
  local exe
  for exe in "$@"; do
    [ -f "$exe" ] || skip "no $exe: make windows builds the Windows programs"
  done
}

need_wine() {
  command -v wine > /dev/null && command -v wineboot > /dev/null ||
    skip "no Wine: scripts/bootstrap.sh windows installs it"
}

wine_environment() {
  export WINEPREFIX
  WINEPREFIX=$(realpath -m "$1") # Wine takes an absolute path alone
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
}

# wineboot makes the prefix; wineserver -w waits until every process of it has settled. With
# no display of its own, Wine's desktop process cannot start: nothing then needs one.
boot_prefix() {
  if ! (unset DISPLAY && wineboot --init > "$WINEPREFIX.log" 2>&1 && wineserver -w); then
    cat "$WINEPREFIX.log"
    echo "wineboot could not make the prefix $WINEPREFIX"
    exit 1
  fi
  touch "$WINEPREFIX/.made"
}

make_wine_prefix() {
  mkdir -p "$(dirname "$1")"
  exec 8> "$1.lock"
  flock 8
  wine_environment "$1"
  [ -d "$1" ] && wineserver -k 2> /dev/null || true
  rm -rf "$1"
  boot_prefix
  exec 8>&-
}

use_wine_prefix() {
  mkdir -p "$(dirname "$1")"
  exec 8> "$1.lock"
  flock 8
  wine_environment "$1"
  [ -f "$1/.made" ] || { rm -rf "$1" && boot_prefix; }
  exec 8>&-
  wineserver -k 2> /dev/null || true
  trap 'wineserver -k 2> /dev/null || true; cleanup' EXIT
}

run_exe() {
  wine "$@"
}

keep_wine_server() {
  wineserver -p
}

# The title's sky at game pixel (300, 400), scaled by 2 to (600, 832) and 32 rows down.
wait_for_title() {
  for _ in $(seq 100); do
    import -window root "$work/shot.png"
    is_sky 600 832 && return 0
    sleep 0.2
  done
  return 1
}
