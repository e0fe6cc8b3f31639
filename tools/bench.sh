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
#   tools/bench.sh web              VOLM through the web API vs the TCP link; page load; memory
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh >/dev/null
tests/rig/rig.sh up build/bench-rig >/dev/null
trap 'tests/rig/rig.sh down build/bench-rig' EXIT
for name in ${@:-volume list down log stop web}; do
  echo "== $name"
  tests/rig/rig.sh run build/bench-rig "build/bin/bench_$name.exe"
done
