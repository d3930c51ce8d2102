#!/usr/bin/env bash
# Configures build/ (or $BUILD_DIR) with the mingw-w64 toolchain and builds the given
# targets, or everything. With --clang first: the same tree in build/clang-mingw with
# clang and lld for the same target, every warning an error. With --arm64 first: the DLL,
# the string modules and the ARM64 driver program in build/clang-arm64, for Windows on
# ARM64 with clang and lld; it exits 3, naming the package, when one it needs is missing.
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
elif [ "${1:-}" = --arm64 ]; then
    shift
    for tool in clang-14:clang-14 ld.lld-14:lld-14 llvm-dlltool-14:llvm-14 \
        x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64 \
        x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix; do
        if ! command -v "${tool%%:*}" >/dev/null; then
            echo "build.sh --arm64: ${tool%%:*} is missing: install the package ${tool#*:}" >&2
            exit 3
        fi
    done
    build=$build/clang-arm64
    toolchain=cmake/clang-mingw-aarch64.cmake
    options=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
fi
cmake --no-warn-unused-cli -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    "${options[@]}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j2 "${targets[@]}"
