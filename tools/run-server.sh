#!/bin/bash
# Builds the server and runs it under Wine, listening on TCP port 7654, in
# build/run (its settings file is made there on first use). Without a display of
# your own it runs on a private Xvfb one. Ends when you press Exit or Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
mkdir -p build/run
[ -f build/run/QuorvelServer.ini ] || printf '[QuorvelServer]\r\nListenOnSocket=1\r\nStartWinampAutomatically=0\r\n' >build/run/QuorvelServer.ini
tests/rig/rig.sh up build/run-rig
trap 'tests/rig/rig.sh down build/run-rig' EXIT
. build/run-rig/env
[ -n "${QUORVEL_DISPLAY:-}" ] && export DISPLAY=$QUORVEL_DISPLAY
echo "Quorvel Server runs; try: tools/phone.sh VERS CHCK"
(cd build/run && wine ../bin/QuorvelServer.exe)
