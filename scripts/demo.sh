#!/usr/bin/env bash
# The main job for now: installs what is missing, builds the library and lists its exports.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh printdialogs
build=${BUILD_DIR:-build}
echo
echo "Built $build/bin/printdialogs.dll. Exports and imported DLLs:"
x86_64-w64-mingw32-objdump -p "$build/bin/printdialogs.dll" \
    | sed -n -e '/\[Ordinal\/Name Pointer\] Table/,/^$/p' -e '/DLL Name/p'
