#!/usr/bin/env bash
# Builds, then writes the release zip build/printdialogs-VERSION-win64.zip with CPack: the
# DLL, its import library and .def, the header, the CMake package config, the tools, the
# sample module and its script, README, LICENSE and CHANGELOG.md, and the ARM64 DLL and its
# import library and package targets (bin/arm64, lib/arm64) when that build is there.
# --built skips the build (the consumer test packs what ctest has just tested).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ "${1:-}" != --built ]; then
    bash scripts/setup.sh
    bash scripts/build.sh
    bash scripts/build.sh --arm64 || [ $? = 3 ]
fi
projects="$build;printdialogs;ALL;/"
if [ -f "$build/clang-arm64/bin/printdialogs.dll" ]; then
    projects+=";$build/clang-arm64;printdialogs;arm64;/"
else
    echo "package.sh: no ARM64 build in $build/clang-arm64: the zip is x64 only" >&2
fi
cpack --config "$build/CPackConfig.cmake" -D CPACK_INSTALL_CMAKE_PROJECTS="$projects" |
    grep 'package: .* generated'
