#!/usr/bin/env bash
# The translator's check over a whole resource module: shows every dialog variant in every
# language the module holds, at 100 % and 150 % (96 and 144 DPI), and measures each text
# in place. Prints one line per problem and writes the same as JSON. Exits 0 when every
# dialog was checked and is clean; 1 when it found anything it can judge (the dialogs and
# languages it could not check are still listed); 2 when it found nothing else but could
# not judge everything (a dialog not checked, a language Wine cannot show, a character no
# font draws, a script this Wine draws unshaped), and on bad usage, always with a message.
#   bash scripts/check-strings.sh [options] [MODULE.dll]   # default: the sample module
#     --lang TAG        check this language only (as --list-languages names it: ru-RU); repeatable
#     --variant NAME    check this dialog variant only (the first word of its line); repeatable
#     --variants FILE   the dialog variants (default samples/variants.txt; a driver keeps its own)
#     --dpi N           check at N DPI only; repeat for several (default 96 and 144)
#     --shots DIR       also write each dialog checked to DIR/NAME-TAG-NNNdpi.png
#     --json FILE       where the JSON goes (default build/check-strings.json)
#     --no-build        use the previewer already built
#     --in-session      use the Wine session this shell already runs (the tests' own)
set -Eeuo pipefail
# Whatever stops the check unforeseen is "could not check", said so.
trap 'echo "check-strings: stopped at line $LINENO (status $?)" >&2; exit 2' ERR
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
variants_file=samples/variants.txt
json="$build/check-strings.json"
scales=()
module=""
only_languages=()
only_variants=()
shots=""
build_first=1
own_session=1
usage_error() { echo "check-strings: $*" >&2; exit 2; }
while [ $# -gt 0 ]; do
    case "$1" in
        --lang | --variant | --variants | --dpi | --shots | --json)
            [ $# -ge 2 ] && [ -n "$2" ] || usage_error "$1 needs a value" ;;
    esac
    case "$1" in
        --lang) only_languages+=("$2"); shift 2 ;;
        --variant) only_variants+=("$2"); shift 2 ;;
        --variants) variants_file=$2; shift 2 ;;
        --dpi) scales+=("$2"); shift 2 ;;
        --shots) shots=$2; shift 2 ;;
        --json) json=$2; shift 2 ;;
        --no-build) build_first=0; shift ;;
        --in-session) own_session=0; shift ;;
        -*) usage_error "unknown option $1" ;;
        *) module=$1; shift ;;
    esac
done
[ ${#scales[@]} -gt 0 ] || scales=(96 144)
if [ "$build_first" = 1 ]; then
    bash scripts/setup.sh fonts-dejavu-core
    bash scripts/build.sh printdialogs-preview >/dev/null
fi
preview="$build/bin/printdialogs-preview.exe"
module=${module:-$build/bin/sample_strings.dll}
[ -f "$module" ] || usage_error "no module $module"

[ -f "$variants_file" ] || usage_error "no variants file $variants_file"
for dpi in "${scales[@]}"; do
    [[ "$dpi" =~ ^[1-9][0-9]*$ ]] || usage_error "--dpi takes a number, not $dpi"
done

source scripts/wine-session.sh
read_variants "$variants_file"
choose_variants "${only_variants[@]}" || usage_error "no variant $missing in $variants_file"
# A prefix of its own: the screen resolution changes here must not reach other runs.
mkdir -p "$build/check-strings"
[ "$own_session" = 0 ] || start_wine_session "$build/check-strings"

windows_module=$(windows_path "$module") || usage_error "cannot name $module for Wine"
mapfile -t languages < <(wine "$preview" --list-languages "$windows_module" </dev/null 2>/dev/null | tr -d '\r' || true)
[ ${#languages[@]} -gt 0 ] || usage_error "$module holds no strings"
choose_languages "${only_languages[@]}" || usage_error "$module holds no $missing (it holds ${languages[*]})"
[ -z "$shots" ] || mkdir -p -- "$shots" || usage_error "cannot make $shots"

lines="$build/check-strings/findings.jsonl"
arguments="$build/check-strings/arguments.txt"
rm -f "$lines"
windows_lines=$(windows_path "$lines")
windows_arguments=$(windows_path "$arguments")
per_language=$((${#variants[@]} * ${#scales[@]}))
checked=0
with_findings=0
found=0
unjudged=0
no_font=0
unshaped=0
not_checked=0
unnamed=()
for tag in "${languages[@]}"; do
    case "$tag" in 0x*)
        echo "check-strings: language $tag has no locale name, Wine cannot show it: $per_language dialogs not checked" >&2
        unnamed+=("$tag")
        not_checked=$((not_checked + per_language)) ;;
    esac
done
for dpi in "${scales[@]}"; do
    set_wine_dpi "$dpi" || exit 2
    for tag in "${languages[@]}"; do
        case "$tag" in 0x*) continue ;; esac
        locale=$(wine_locale_for_tag "$tag")
        for variant in "${variants[@]}"; do
            IFS='|' read -r name _ line <<<"$variant"
            variant_words "$line" || { not_checked=$((not_checked + 1)); continue; }
            words+=(--module "$windows_module" --check-json "$windows_lines" --name "$name")
            [ -z "$shots" ] || words+=(--screenshot "$(windows_path "$shots/$name-$tag-${dpi}dpi.png")")
            write_words "$arguments"
            # A dialog that did not appear (exit 1) gets a second chance: seen once in 90 runs on
            # a busy machine, where Wine also reopens its virtual desktop for every program.
            for _ in 1 2; do
                status=0
                output=$(LC_ALL="$locale" LANG="$locale" wine "$preview" --arguments "$windows_arguments" \
                    </dev/null 2>&1) || status=$?
                [ "$status" -eq 1 ] || break
            done
            # A previewer that faulted may still exit 0: only a check that says it finished counts.
            if { [ "$status" -eq 0 ] || [ "$status" -eq 3 ]; } && ! grep -q '^check finished: ' <<<"$output"; then
                echo "$tag ${dpi}dpi $name: could not be checked: the previewer ended before its check finished" >&2
                not_checked=$((not_checked + 1))
                continue
            fi
            case "$status" in
                0) checked=$((checked + 1)) ;;
                3) findings=$(grep -E '^[^ ]+ [0-9]+dpi ' <<<"$output" | tr -d '\r' || true)
                   if [ -z "$findings" ]; then
                       echo "$tag ${dpi}dpi $name: could not be checked: findings reported but none printed" >&2
                       not_checked=$((not_checked + 1))
                       continue
                   fi
                   echo "$findings"
                   checked=$((checked + 1))
                   # What the check cannot judge is counted apart from what it found.
                   cannot=$(grep -cE ' (no-font|unshaped): ' <<<"$findings" || true)
                   judged=$(($(grep -c . <<<"$findings") - cannot))
                   no_font=$((no_font + $(grep -c ' no-font: ' <<<"$findings" || true)))
                   unshaped=$((unshaped + $(grep -c ' unshaped: ' <<<"$findings" || true)))
                   [ "$cannot" -eq 0 ] || unjudged=$((unjudged + 1))
                   [ "$judged" -eq 0 ] || with_findings=$((with_findings + 1))
                   found=$((found + judged)) ;;
                *) echo "$tag ${dpi}dpi $name: could not be checked: $(tr -d '\r' <<<"$output" | tail -1)" >&2
                   not_checked=$((not_checked + 1)) ;;
            esac
        done
    done
done
set_wine_dpi 96 || exit 2

mkdir -p "$(dirname "$json")"
{
    echo "["
    [ ! -s "$lines" ] || sed '$!s/$/,/' "$lines"
    echo "]"
} >"$json"

summary="${#languages[@]} languages (${languages[*]}), ${#variants[@]} variants, ${scales[*]} DPI:"
summary+=" $checked dialogs checked, $with_findings with findings ($found findings)"
if [ "$unjudged" -gt 0 ]; then
    summary+=", $unjudged not judged in full ($no_font no-font: install a font for that script;"
    summary+=" $unshaped unshaped: this Wine draws that script unshaped, judge it on Windows)"
fi
summary+=", $not_checked not checked"
[ ${#unnamed[@]} -eq 0 ] || summary+=" (languages without a locale name: ${unnamed[*]})"
echo "check-strings: $summary; JSON in $json${shots:+; shots in $shots}"
[ "$found" -eq 0 ] || exit 1
[ "$not_checked" -eq 0 ] && [ "$no_font" -eq 0 ] && [ "$unshaped" -eq 0 ] || exit 2
