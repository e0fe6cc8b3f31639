#!/bin/bash
# Cross-compiles the server, the phone tool, the fakes and the tests into build/.
#   tools/build.sh [--target NAME]    only that target (and what it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --no-warn-unused-cli -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" "$@"
