#!/usr/bin/env bash
# The consumer test (ctest runs it in its Wine session): packs the release zip from the
# build under test, unpacks it, builds consumer.c against it as a driver project would,
# with its own compiler settings and CMAKE_PREFIX_PATH, and runs it under Wine; then runs
# the unpacked previewer, which must find the zip's sample module by itself.
#   bash tests/consumer/run.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
work=$build/consumer
zip=$(BUILD_DIR=$build bash "$here/../../scripts/package.sh" --built |
    sed -n 's/.*package: \(.*\) generated\./\1/p')
rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cmake -E tar xf "$zip")
package=$work/$(basename "$zip" .zip)
cmake -S "$here" -B "$work/build" -DCMAKE_SYSTEM_NAME=Windows \
    -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$package" >"$work/x64.txt"
grep -q "printdialogs DLL: $package/bin/printdialogs.dll" "$work/x64.txt" ||
    { echo "an x64 project did not get bin/printdialogs.dll:" >&2; cat "$work/x64.txt" >&2; exit 1; }
# A project for ARM64 gets the ARM64 DLL, when the zip has one.
if [ -f "$package/bin/arm64/printdialogs.dll" ]; then
    cmake -S "$here" -B "$work/arm64" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=ARM64 \
        -DCMAKE_C_COMPILER=x86_64-w64-mingw32-gcc-posix -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$package" >"$work/arm64.txt"
    grep -q "printdialogs DLL: $package/bin/arm64/printdialogs.dll" "$work/arm64.txt" ||
        { echo "an ARM64 project did not get bin/arm64/printdialogs.dll:" >&2; cat "$work/arm64.txt" >&2; exit 1; }
    echo "ok: an ARM64 project gets bin/arm64/printdialogs.dll"
fi
cmake --build "$work/build"
wine "$work/build/consumer.exe"

# Output goes to files: a Wine program piped into another may never end.
status=0
wine "$package/bin/printdialogs-preview.exe" --list-languages >"$work/found.txt" || status=$?
wine "$package/bin/printdialogs-preview.exe" --list-languages "$package/samples/sample_strings.dll" \
    >"$work/named.txt"
if [ "$status" != 0 ] || ! tr -d '\r' <"$work/found.txt" | grep -qx en-US ||
    ! cmp -s "$work/found.txt" "$work/named.txt"; then
    echo "the unpacked previewer, exit $status, did not list the sample module's languages by itself:" >&2
    cat "$work/found.txt" >&2
    exit 1
fi
echo "ok: the unpacked previewer lists the sample module's $(wc -l <"$work/found.txt") languages"
