#!/usr/bin/env bash
# scripts/gallery.sh end to end on the fixture with three planted problems in German: eight
# shots (two variants, two languages, two scales), the German shots of the planted
# variant framed with their three findings listed, the rest plain, the summary counting
# every shot with findings, and exit 1. A folder that is not the gallery's is refused, and
# a damaged marker removes nothing outside the gallery's own files. A dialog larger than
# the desktop is shown whole and fails; a language without a name is named; usage errors
# and a module without strings exit 2 with a message.
#   gallery_planted.sh BUILD_DIR
set -uo pipefail
build=$1
here=$(dirname "$0")
# A Wine session and desktop of its own, shared with the other end-to-end script in turn:
# this test runs beside the ones that take turns on the suite's desktop.
source "$here/../../scripts/wine-session.sh"
mkdir -p "$build/planted-session"
start_wine_session "$build/planted-session" || exit 1
out="$build/gallery-planted"
gallery() {  # arguments, then the module (default the planted fixture)
    local module=$build/bin/check_planted.dll
    case "${*: -1}" in *.dll) module=${*: -1}; set -- "${@:1:$#-1}" ;; esac
    BUILD_DIR="$build" bash "$here/../../scripts/gallery.sh" --no-build --in-session \
        --variants "$here/../fixtures/check_variants.txt" "$module" "$@" 2>&1
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

# A marker damaged to name files outside the folder, or hidden ones: those stay.
mkdir -p "$out"
echo keep >"$out/.hidden"
printf '%s\n' ../gallery-theirs/notes.txt .hidden old.png >"$out/.printdialogs-gallery"
echo old >"$out/old.png"

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
expect "files outside the gallery's, and hidden ones, kept" "notes.txt .hidden" "$(ls -A "$theirs") $(ls -A "$out" | grep -x .hidden)"
[ ! -e "$out/old.png" ] || { echo "the gallery's own old file left"; failed=1; }

# Filters, each repeatable; at 250 % the warning is wider than the desktop: shown whole on
# a larger one, and failed.
large="$build/gallery-large"
rm -rf "$large"
status=0
output=$(gallery --out "$large" --variant warning-all --lang en-US --lang de-DE --dpi 240) || status=$?
expect "exit with a dialog too large" 1 "$status"
expect "shots of the filtered gallery" "warning-all-de-DE-240dpi.png warning-all-en-US-240dpi.png" "$(cd "$large" && echo *.png)"
for shot in "$large"/*.png; do
    expect "colours of $shot" yes "$([ "$(identify -format '%k' "$shot")" -gt 16 ] && echo yes || echo no)"
done
expect "too large shots failed" 2 "$(grep -o 'failed: too large: [0-9]*x[0-9]* px on a 1024x768 px desktop' "$large/index.html" | wc -l)"

status=0
output=$(gallery --out "$large" --lang en-US --dpi 96) || status=$?
expect "exit of a clean gallery" 0 "$status"

# A language without a locale name is named and not shown; the other's findings still count.
status=0
output=$(gallery --out "$large" --variant warning-quoted --dpi 96 "$build/bin/check_unnamed.dll") || status=$?
expect "exit with a language not shown beside findings" 1 "$status"
grep -q 'not shown: 0x007f (no locale name)' "$large/index.html" || { echo "the unnamed language not named: $output"; failed=1; }

# Usage errors and a module without strings: 2, said so.
for arguments in "--lang" "--dpi x" "$build/bin/printdialogs.dll"; do
    status=0
    output=$(gallery --out "$large" $arguments) || status=$?
    expect "exit of gallery $arguments" 2 "$status"
    grep -qE '^gallery: (--lang needs a value|--dpi takes a number|.*holds no strings)' <<<"$output" ||
        { echo "no message for gallery $arguments: $output"; failed=1; }
done
exit "$failed"
