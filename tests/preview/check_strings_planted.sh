#!/usr/bin/env bash
# scripts/check-strings.sh end to end on the fixture with three planted problems in German:
# exactly those three, none in English, and exit 1.
#   check_strings_planted.sh BUILD_DIR   (inside a running Wine session)
set -uo pipefail
build=$1
here=$(dirname "$0")
status=0
output=$(BUILD_DIR="$build" bash "$here/../../scripts/check-strings.sh" --no-build --in-session --dpi 96 \
    --variants "$here/../fixtures/check_variants.txt" --json "$build/check-planted.json" \
    "$build/bin/check_planted.dll" 2>&1) || status=$?
echo "$output"

# Language, scale, dialog, string, control and problem of each finding; the amounts depend
# on the fonts. A shared access key is reported on the later control in tab order.
found=$(grep -E '^[a-z]{2}-[A-Z]{2} ' <<<"$output" | sed 's/:.*//' | sort)
expected=$(sort <<'LINES'
de-DE 96dpi warning-all string 4010 control 1 does-not-fit
de-DE 96dpi warning-all string 3063 control 475 missing-string
de-DE 96dpi warning-all string 4012 control 285 access-key
LINES
)
failed=0
if [ "$found" != "$expected" ]; then
    printf 'expected the findings:\n%s\ncame:\n%s\n' "$expected" "$found"
    failed=1
fi
if [ "$status" -ne 1 ]; then
    echo "expected exit 1, came $status"
    failed=1
fi
if [ "$(grep -c '"problem"' "$build/check-planted.json")" -ne 3 ]; then
    echo "expected three findings in $build/check-planted.json"
    failed=1
fi
exit "$failed"
