#!/bin/bash
# Runs the benchmarks under Wine in a rig of their own and prints their figures.
# They measure side by side (server round, baseline round, ...), so a load that
# comes and goes on the machine falls on both; still, run them on a quiet machine.
#   tools/bench.sh                  all of them
#   tools/bench.sh volume           VOLM through the server vs the same work done directly
#   tools/bench.sh list             LIST of 50,000 files vs a bare walk; peak memory
#   tools/bench.sh down             DOWN of 200 MB vs a plain socket
#   tools/bench.sh log              CHCK before and after 100,000 log lines
#   tools/bench.sh stop             stopping links during long commands; memory after
#   tools/bench.sh web              VOLM through the live channel vs the TCP link; a push's delay;
#                                   page load; idle channels' memory
#   tools/bench.sh sessions         INFO answered from a media session vs INFO of Winamp 2
#   tools/bench.sh input            the touchpad: an input message to SendInput returning
#   tools/bench.sh replies          round trips and a mixed run of 100,000 commands, against
#                                   the server of the start commit
#   tools/bench.sh versus           VOLM, LIST, DOWN and the web API against the server of the
#                                   commit before the core was restructured
#   tools/bench.sh soak             both links with a mixed stream and slide-show switches for
#                                   QUORVEL_SOAK_MINUTES (5); the server's memory slope in MB/h
# QUORVEL_BENCH_BASE=commit compares replies and versus with another commit's server,
# QUORVEL_BENCH_ROUNDS the rounds of versus (9 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh >/dev/null
tests/rig/rig.sh up build/bench-rig >/dev/null
trap 'tests/rig/rig.sh down build/bench-rig' EXIT
# The server of another commit, built once from an export of that commit.
base_server() {
  local commit base
  commit=$(git rev-parse --short "${QUORVEL_BENCH_BASE:-$1}")
  base=build/bench-base-$commit
  if [ ! -f "$base/build/bin/QuorvelServer.exe" ]; then
    rm -rf "$base" && mkdir -p "$base"
    git archive "$commit" | tar -x -C "$base"
    "$base/tools/build.sh" --target QuorvelServer >/dev/null
  fi
  echo "$PWD/$base/build/bin/QuorvelServer.exe"
}
for name in ${@:-volume list down log stop web sessions replies versus input soak}; do
  echo "== $name"
  args=()
  [ "$name" = replies ] && args=("$(base_server a88c64e)" ${QUORVEL_BENCH_CLIENTS:-100})
  [ "$name" = versus ] && args=("$(base_server 0c9acae)" ${QUORVEL_BENCH_ROUNDS:-9})
  tests/rig/rig.sh run build/bench-rig "build/bin/bench_$name.exe" "${args[@]}"
done
