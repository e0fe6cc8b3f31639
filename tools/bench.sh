#!/bin/bash
# Runs the benchmarks under Wine in the test rig and prints their figures.
#   tools/bench.sh            all of them
#   tools/bench.sh volume     VOLM through the server vs direct messages
#   tools/bench.sh browse     LIST of 50,000 files vs a plain walk; DOWN of 200 MB vs a plain socket
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh >/dev/null
tests/rig/rig.sh up build/bench-rig >/dev/null
trap 'tests/rig/rig.sh down build/bench-rig' EXIT
for name in ${1:-volume browse}; do
  echo "== $name"
  tests/rig/rig.sh run build/bench-rig "build/bin/bench_$name.exe"
done
