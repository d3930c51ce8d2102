#!/usr/bin/env bash
# Builds, then writes the release zip build/printdialogs-VERSION-win64.zip with CPack: the
# DLL, its import library and .def, the header, the CMake package config, the tools, the
# sample module and its script, README, LICENSE and CHANGELOG.md. --built skips the build
# (the consumer test packs what ctest has just tested).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ "${1:-}" != --built ]; then
    bash scripts/setup.sh
    bash scripts/build.sh
fi
cpack --config "$build/CPackConfig.cmake" | grep 'package: .* generated'
