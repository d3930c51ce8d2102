#!/usr/bin/env bash
# Installs what is missing, builds everything with GCC and again with clang, and runs every
# test under Wine and a virtual X server against the GCC build and, beside it in a session of
# its own, the dialogs' own tests against the clang build (DLL and tests alike). Arguments
# go to ctest.
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
# Without a filter of the caller's, finding no test there is a failure, not a pass.
noTests=()
[ $# -eq 0 ] && noTests=(--no-tests=error)
# The clang run goes beside the GCC run, in a Wine session and virtual desktop of its own;
# its output is shown once the GCC run is done.
clangLog=$build/clang-mingw/tests.log
mkdir -p "$build/clang-mingw"
(
    start_wine_session "$build/clang-mingw"
    ctest --test-dir "$build/clang-mingw" --output-on-failure --timeout 600 -L dialogs "${noTests[@]}" "$@"
) >"$clangLog" 2>&1 &
clangRun=$!
start_wine_session "$build"
status=0
# Two at a time: the native fuzzing runs beside the Wine tests, which take turns.
ctest --test-dir "$build" --output-on-failure --timeout 600 -j2 "$@" || status=$?
wait "$clangRun" || status=$?
echo "The dialogs' tests again, built with clang:"
cat "$clangLog"
exit "$status"
