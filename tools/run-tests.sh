#!/bin/bash
# Installs what is needed, builds everything and runs every test: the unit tests
# natively under the address and undefined-behaviour sanitizers, then all tests
# (unit and end-to-end) under Wine, in a network namespace of their own (see
# tests/rig/netns.sh): nothing else on the machine can hold their ports.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-native -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all" >/dev/null
cmake --build build-native -j"$(nproc)"
(cd build-native && ctest --output-on-failure)
tools/build.sh
tests/rig/netns.sh bash -c 'cd build && ctest --output-on-failure'
