#!/bin/bash
# Runs one Windows test program in a rig of its own, made for it and taken down
# after it: a fresh prefix, display and serial links, whatever the tests before
# it left in the shared rig.
#   fresh-rig.sh DIR EXE [ARGS...]
set -u
dir=$1
shift
rig="$(dirname "$0")/rig.sh"
"$rig" up "$dir" >/dev/null || exit 1
"$rig" run "$dir" "$@"
rc=$?
"$rig" down "$dir"
exit $rc
