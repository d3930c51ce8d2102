#!/usr/bin/env bash
# Configures build/ (or $BUILD_DIR) with the mingw-w64 toolchain and builds the given
# targets, or everything. With --clang first: the same tree in build/clang-mingw with
# clang and lld for the same target, every warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
toolchain=cmake/mingw-w64-x86_64.cmake
options=()
if [ "${1:-}" = --clang ]; then
    shift
    build=$build/clang-mingw
    toolchain=cmake/clang-mingw-x86_64.cmake
    # Said outright, so that a build folder configured by an older DLL-only build gets
    # its tests and tools back.
    options=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DBUILD_TESTING=ON -DPRINTDIALOGS_BUILD_TOOLS=ON)
fi
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    "${options[@]}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j2 "${targets[@]}"
