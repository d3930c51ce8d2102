#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR) with the mingw-w64 toolchain.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build" -j2
