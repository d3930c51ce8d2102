#!/usr/bin/env bash
# The fonts of the test rig: scripts/check-strings.sh on a short warning in eight scripts
# finds nothing, above all no character drawn as a box, in the caption or the dialog.
#   scripts_drawn.sh BUILD_DIR   (inside a running Wine session)
set -uo pipefail
build=$1
here=$(dirname "$0")
status=0
output=$(BUILD_DIR="$build" bash "$here/../../scripts/check-strings.sh" --no-build --in-session --dpi 96 \
    --variants "$here/../fixtures/check_variants.txt" --json "$build/scripts-drawn.json" \
    "$build/bin/scripts_drawn.dll" 2>&1) || status=$?
echo "$output"

failed=0
if grep -E 'missing-glyph|no-font' <<<"$output" >/dev/null; then
    echo "expected every character drawn"
    failed=1
fi
if [ "$status" -ne 0 ]; then
    echo "expected the eight languages checked and clean (exit 0), came $status"
    failed=1
fi
exit "$failed"
