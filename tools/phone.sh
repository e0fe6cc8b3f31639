#!/bin/bash
# The phone tool against the server that tools/run-server.sh started (TCP, 127.0.0.1:7654).
#   tools/phone.sh VERS CHCK VOLM:128 LIST
#   tools/phone.sh --help
set -uo pipefail
cd "$(dirname "$0")/.."
exe=build/bin/quorvel-phone.exe
if [ ! -f "$exe" ]; then
  echo "phone.sh: the phone tool is not built yet; tools/run-server.sh builds it and starts the server" >&2
  exit 5
fi
if [ -f build/run-rig/env ]; then
  . build/run-rig/env
  exec wine "$exe" "$@"
fi
usage_only=0
case " $* " in "  " | *" --help "* | *" -h "*) usage_only=1 ;; esac
if [ "$usage_only" = 0 ] || [ ! -d build/run-rig/prefix ]; then
  echo "phone.sh: the server is not running; start it with tools/run-server.sh (in another terminal)" >&2
  exit 5
fi
# Only the usage, from the server's Wine prefix while the server is down: quietly,
# without a display.
WINEPREFIX=$PWD/build/run-rig/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
  exec env -u DISPLAY wine "$exe" "$@"
