#!/usr/bin/env bash
# The long reliability run: ten times the cycles, repaints and random records of the
# normal test command (1000 of each). Builds first, like scripts/test.sh; any argument
# goes to the test program (e.g. --gtest_filter=Accounting.*). RELIABILITY_SCALE=100
# searches longer still.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh reliability_tests
build=${BUILD_DIR:-build}
source scripts/wine-session.sh
start_wine_session "$build"
export RELIABILITY_SCALE=${RELIABILITY_SCALE:-10}
# Through the tests' runner: a crash or a missing summary fails the run whatever its exit status.
bash cmake/wine-test.sh "$build/bin/reliability_tests.exe" "$@"
