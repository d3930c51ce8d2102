#!/usr/bin/env bash
# Installs what is missing, builds everything with GCC and again with clang, and runs every
# test under Wine and a virtual X server against the GCC build, then the dialogs' own tests
# against the clang build (DLL and tests alike), in the same session. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
# The gallery test reads its shots with ImageMagick and its findings with jq.
bash scripts/setup.sh imagemagick jq
bash scripts/build.sh
bash scripts/build.sh --clang
# Without the ARM64 packages (build.sh says which) the rest goes on; its run is skipped.
bash scripts/build.sh --arm64 || [ $? = 3 ]
build=${BUILD_DIR:-build}
source scripts/wine-session.sh
start_wine_session "$build"
status=0
ctest --test-dir "$build" --output-on-failure --timeout 600 "$@" || status=$?
echo "The dialogs' tests again, built with clang:"
# Without a filter of the caller's, finding no test there is a failure, not a pass.
noTests=()
[ $# -eq 0 ] && noTests=(--no-tests=error)
ctest --test-dir "$build/clang-mingw" --output-on-failure --timeout 600 -L dialogs "${noTests[@]}" "$@" || status=$?
exit "$status"
