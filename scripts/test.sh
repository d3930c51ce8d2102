#!/usr/bin/env bash
# Installs what is missing, builds (the DLL with clang too), and runs every test under Wine
# and a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
# The gallery test reads its shots with ImageMagick and its findings with jq.
bash scripts/setup.sh imagemagick jq
bash scripts/build.sh
bash scripts/build.sh --clang
build=${BUILD_DIR:-build}
source scripts/wine-session.sh
start_wine_session "$build"
ctest --test-dir "$build" --output-on-failure --timeout 600 "$@"
