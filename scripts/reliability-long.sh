#!/usr/bin/env bash
# The long reliability run: ten times the cycles, repaints and random records of the
# normal test command. Builds first, like scripts/test.sh; any argument goes to the test
# program (e.g. --gtest_filter=Accounting.*).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DBUILD_TESTING=ON
build=${BUILD_DIR:-build}
source scripts/wine-session.sh
start_wine_session "$build"
export RELIABILITY_CYCLES=${RELIABILITY_CYCLES:-10000}
export RELIABILITY_REPAINTS=${RELIABILITY_REPAINTS:-10000}
export RELIABILITY_RANDOM_RECORDS=${RELIABILITY_RANDOM_RECORDS:-10000}
wine "$build/bin/reliability_tests.exe" "$@"
