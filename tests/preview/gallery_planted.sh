#!/usr/bin/env bash
# scripts/gallery.sh end to end on the fixture with three planted problems in German: eight
# shots (two variants, two languages, two scales), the German shots of the planted
# variant framed with their three findings listed, the rest plain, the summary counting
# every shot with findings, and exit 1. A folder that is not the gallery's is refused.
#   gallery_planted.sh BUILD_DIR   (inside a running Wine session)
set -uo pipefail
build=$1
here=$(dirname "$0")
out="$build/gallery-planted"
gallery() {
    BUILD_DIR="$build" bash "$here/../../scripts/gallery.sh" --no-build --in-session \
        --variants "$here/../fixtures/check_variants.txt" "$@" "$build/bin/check_planted.dll" 2>&1
}
failed=0
expect() {  # what, expected, came
    if [ "$2" != "$3" ]; then
        echo "$1: expected $2, came $3"
        failed=1
    fi
}

# Somebody's own folder: refused, left as it was.
theirs="$build/gallery-theirs"
rm -rf "$theirs" "$out"
mkdir -p "$theirs"
echo keep >"$theirs/notes.txt"
status=0
output=$(gallery --out "$theirs") || status=$?
expect "exit on a folder not the gallery's" 2 "$status"
grep -q 'is not empty and the gallery did not make it' <<<"$output" || { echo "no reason given: $output"; failed=1; }
expect "their folder" "notes.txt" "$(ls -A "$theirs")"

status=0
output=$(gallery --out "$out") || status=$?
echo "$output"
expect "exit status" 1 "$status"
expect "shots" 8 "$(find "$out" -name '*.png' | wc -l)"
# One figure a line: which shots are framed, and how many findings each lists.
figures=$(sed 's/<figure/\n<figure/g' "$out/index.html" | grep '^<figure')
for dpi in 96 144; do
    german=$(grep "warning-all-de-DE-${dpi}dpi.png" <<<"$figures")
    expect "German at $dpi DPI framed" 1 "$(grep -c 'class="problem"' <<<"$german")"
    expect "findings under German at $dpi DPI" 3 "$(grep -o '<li>' <<<"$german" | wc -l)"
    for plain in warning-all-en-US warning-quoted-en-US warning-quoted-de-DE; do
        expect "$plain at $dpi DPI framed" 0 "$(grep "$plain-${dpi}dpi.png" <<<"$figures" | grep -c '<figure class=')"
    done
done
grep -q 'string 3063, control 475: missing-string' <<<"$figures" || { echo "missing string not listed"; failed=1; }
grep -q '8 shots, 6 findings in 2 shots, 0 failed' "$out/index.html" || { echo "summary miscounted"; failed=1; }
exit "$failed"
