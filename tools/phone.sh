#!/bin/bash
# The phone tool against the server started by run-server.sh, over TCP.
#   tools/phone.sh VERS CHCK VOLM:128 INFO
set -euo pipefail
cd "$(dirname "$0")/.."
. build/run-rig/env
exec wine build/bin/quorvel-phone.exe --tcp 127.0.0.1 "$@"
