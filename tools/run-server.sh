#!/bin/bash
# Builds the server and runs it under Wine in build/run, listening on TCP port
# 7654; its settings file is made there on first use. The window shows on
# $QUORVEL_DISPLAY when that is set, otherwise on a private Xvfb display.
#   tools/run-server.sh [MUSIC_FOLDER]
# MUSIC_FOLDER, a Linux path, becomes the folder the phone browses (Path).
# Ends when you press Exit in the window or Ctrl+C here.
set -euo pipefail
cd "$(dirname "$0")/.."
ini=build/run/QuorvelServer.ini

fail() {
  echo "run-server.sh: $*" >&2
  exit 2
}

# Path= under [QuorvelServer], replacing any Path line; the file keeps its CR LF lines.
set_browse_path() {
  QUORVEL_PATH=$1 awk '
    BEGIN { ORS = "\r\n" }
    { sub(/\r$/, "") }
    tolower($0) ~ /^[ \t]*path[ \t]*=/ { next }
    { print }
    tolower($0) ~ /^\[quorvelserver\]/ { print "Path=" ENVIRON["QUORVEL_PATH"]; done = 1 }
    END { if (!done) { print "[QuorvelServer]"; print "Path=" ENVIRON["QUORVEL_PATH"] } }
  ' "$ini" >"$ini.new"
  mv "$ini.new" "$ini"
}

browse_path() {
  grep -i '^[[:space:]]*path[[:space:]]*=' "$ini" | head -1 | cut -d= -f2- | tr -d '\r' || true
}

music=""
case $# in
  0) ;;
  1)
    [ -d "$1" ] || fail "no folder \"$1\""
    music=$(realpath "$1")
    case $music in *";"*) fail "\"$music\": the server reads \";\" as a separator of folders" ;; esac
    ;;
  *) fail "usage: tools/run-server.sh [MUSIC_FOLDER]" ;;
esac
display=${QUORVEL_DISPLAY:-}
case $display in
  :*)
    # Checked now rather than after minutes of building.
    number=${display#:}
    [ -e "/tmp/.X11-unix/X${number%%.*}" ] || fail "no X display $display (QUORVEL_DISPLAY)"
    ;;
esac

tools/install-deps.sh
tools/build.sh
mkdir -p build/run
[ -f "$ini" ] || printf '[QuorvelServer]\r\nListenOnSocket=1\r\nStartWinampAutomatically=0\r\n' >"$ini"
# With QUORVEL_DISPLAY the whole rig, Wine's desktop included, runs on that display.
tests/rig/rig.sh up build/run-rig ${display:+"$display"}
trap 'tests/rig/rig.sh down build/run-rig' EXIT
. build/run-rig/env
if [ -n "$music" ]; then
  path=$(winepath -w "$music")
  [ ${#path} -le 259 ] || fail "\"$path\" is longer than the 259 characters the server keeps"
  set_browse_path "$path"
fi

echo
echo "Quorvel Server is starting under Wine, listening on TCP port 7654."
if [ -n "$display" ]; then
  echo "  Window:   on your display $display, inside Wine's desktop window"
else
  echo "  Window:   on the private display $DISPLAY (Xvfb), not on your screen;"
  echo "            to see it, run QUORVEL_DISPLAY=:0 tools/run-server.sh (:0 being your display)"
fi
path=$(browse_path)
echo "  Settings: $PWD/$ini"
echo "  Music:    ${path:-none yet: run tools/run-server.sh FOLDER, or set Path= in the settings file}"
echo "  Try:      tools/phone.sh VERS LIST   (in another terminal; tools/phone.sh --help lists all)"
echo "  Stop:     Ctrl+C here, or Exit in the window (only Exit saves what you changed there)"
(cd build/run && wine ../bin/QuorvelServer.exe)
