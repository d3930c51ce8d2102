#!/usr/bin/env bash
# scripts/gallery.sh end to end on the fixture with three planted problems in German: four
# shots (two languages, two scales), the German ones framed with their three findings
# listed, the English ones plain, and exit 1.
#   gallery_planted.sh BUILD_DIR   (inside a running Wine session)
set -uo pipefail
build=$1
here=$(dirname "$0")
out="$build/gallery-planted"
status=0
output=$(BUILD_DIR="$build" bash "$here/../../scripts/gallery.sh" --no-build --in-session \
    --variants "$here/../fixtures/check_variants.txt" --out "$out" "$build/bin/check_planted.dll" 2>&1) ||
    status=$?
echo "$output"

failed=0
expect() {  # what, expected, came
    if [ "$2" != "$3" ]; then
        echo "$1: expected $2, came $3"
        failed=1
    fi
}
expect "exit status" 1 "$status"
expect "shots" 4 "$(find "$out" -name '*.png' | wc -l)"
# One figure a line: which shots are framed, and how many findings each lists.
figures=$(sed 's/<figure/\n<figure/g' "$out/index.html" | grep '^<figure')
for dpi in 96 144; do
    german=$(grep "de-DE-${dpi}dpi.png" <<<"$figures")
    english=$(grep "en-US-${dpi}dpi.png" <<<"$figures")
    expect "German at $dpi DPI framed" 1 "$(grep -c 'class="problem"' <<<"$german")"
    expect "findings under German at $dpi DPI" 3 "$(grep -o '<li>' <<<"$german" | wc -l)"
    expect "English at $dpi DPI framed" 0 "$(grep -c 'class=' <<<"$english")"
done
grep -q 'string 3063, control 475: missing-string' <<<"$figures" || { echo "missing string not listed"; failed=1; }
grep -q '0 failed' "$out/index.html" || { echo "a shot failed"; failed=1; }
exit "$failed"
