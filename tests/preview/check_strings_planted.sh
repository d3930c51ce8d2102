#!/usr/bin/env bash
# scripts/check-strings.sh end to end: on the fixture with three planted problems in German
# exactly those three, none in English, and exit 1; on the Russian duplex fixture the cuts
# that only the drawn letters show, the boxes, and exit 2 for the character no font has;
# on a module whose one language has no name, nothing checked and exit 2; a dialog wider
# than the desktop at 250 %; the rig's fonts drawing every script of the display languages.
#   check_strings_planted.sh BUILD_DIR   (inside a running Wine session)
set -uo pipefail
build=$1
here=$(dirname "$0")
fixtures="$here/../fixtures"
failed=0
expect() {  # what, expected, came
    if [ "$2" != "$3" ]; then
        printf '%s: expected\n%s\ncame\n%s\n' "$1" "$2" "$3"
        failed=1
    fi
}
check() {  # arguments: runs the check, sets output and status
    status=0
    output=$(BUILD_DIR="$build" bash "$here/../../scripts/check-strings.sh" --no-build --in-session \
        --json "$build/check-planted.json" "$@" 2>&1) || status=$?
    echo "$output"
}
# Language, scale, dialog, string, control and problem of each finding; the amounts depend
# on the fonts. A shared access key is reported on the later control in tab order.
findings() { grep -E '^[a-z]{2}-[A-Z]{2} ' <<<"$output" | sed 's/:.*//' | sort; }

check --dpi 96 --variants "$fixtures/check_variants.txt" "$build/bin/check_planted.dll"
expect "planted findings" "$(sort <<'LINES'
de-DE 96dpi warning-all string 4010 control 1 does-not-fit
de-DE 96dpi warning-all string 3063 control 475 missing-string
de-DE 96dpi warning-all string 4012 control 285 access-key
LINES
)" "$(findings)"
expect "planted exit" 1 "$status"
expect "planted JSON" 3 "$(grep -c '"problem"' "$build/check-planted.json")"
expect "planted summary" 1 "$(grep -c '4 dialogs checked, 1 with findings (3 findings), 0 not checked' <<<"$output")"

check --dpi 96 --variants "$fixtures/check_framed_variants.txt" --lang ru-RU --variant duplex-framed "$build/bin/check_framed.dll"
expect "framed findings" "$(sort <<'LINES'
ru-RU 96dpi duplex-framed string 3312 control 1001 does-not-fit
ru-RU 96dpi duplex-framed string 3201 control 1003 does-not-fit
ru-RU 96dpi duplex-framed string 3066 control 1004 does-not-fit
ru-RU 96dpi duplex-framed string 3200 control 1002 missing-glyph
ru-RU 96dpi duplex-framed string 3200 control 1002 no-font
LINES
)" "$(findings)"
expect "framed exit: a character no font has cannot be judged" 2 "$status"
grep -q 'no-font: no installed font draws Yi: ꀀ (U+A000)' <<<"$output" || { echo "no-font without its character"; failed=1; }

check --dpi 96 --variants "$fixtures/check_variants.txt" "$build/bin/check_unnamed.dll"
expect "unnamed exit" 2 "$status"
grep -q 'language 0x007f has no locale name' <<<"$output" || { echo "the unnamed language not named"; failed=1; }
expect "unnamed summary" 1 "$(grep -c '0 dialogs checked, 0 with findings (0 findings), 2 not checked' <<<"$output")"

# The rig's fonts: a warning and the job storage notice in every script of the Windows
# display languages and the largest language packs, at 100 % and 150 %: every character
# drawn in the caption, the dialog font and the notice's bold heading, every text fitting.
# Wine draws two letters of Urdu (ہ ے) and its full stop as boxes: they are in the Arabic
# code page, for which Wine follows no font link, and DejaVu Sans lacks them. And Wine's
# Uniscribe faults on the Khmer heading, so that notice cannot be checked.
check --variants "$fixtures/scripts_drawn_variants.txt" "$build/bin/scripts_drawn.dll"
expect "every script: findings" "$(for dpi in 96 144; do sort <<LINES
ur-PK ${dpi}dpi warning-all string 4002 control caption missing-glyph
ur-PK ${dpi}dpi warning-all string 3063 control 475 missing-glyph
ur-PK ${dpi}dpi warning-all string 4003 control 1033 missing-glyph
ur-PK ${dpi}dpi jobstorage string 3064 control caption missing-glyph
ur-PK ${dpi}dpi jobstorage string 3062 control 1024 missing-glyph
ur-PK ${dpi}dpi jobstorage string 3063 control 1017 missing-glyph
ur-PK ${dpi}dpi jobstorage string 849 control 1 missing-glyph
km-KH ${dpi}dpi jobstorage
LINES
done | sort)" "$(findings)"
expect "every script: languages" 1 "$(grep -c 'check-strings: 20 languages' <<<"$output")"

# At 250 % the warning is wider than the 1024-px desktop.
check --dpi 240 --variants "$fixtures/check_variants.txt" --lang en-US --variant warning-all "$build/bin/check_planted.dll"
grep -qE '^en-US 240dpi warning-all string - control caption too-large: [0-9]+x[0-9]+ px on a 1024x768 px desktop' \
    <<<"$output" || { echo "no too-large finding at 240 DPI"; failed=1; }

# Variant arguments as written: quoted words whole, nothing globbed.
source "$here/../../scripts/wine-session.sh"
variant_words 'jobstorage --job "Q3 report" --user *'
expect "variant words" "jobstorage|--job|Q3 report|--user|*" "$(IFS='|'; echo "${words[*]}")"
exit "$failed"
