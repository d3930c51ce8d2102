#!/usr/bin/env bash
# The main job: installs what is missing, builds, and renders every dialog variant in
# every language of the resource module (read from the module), at 100 % and 150 % scale,
# into PNG files with an index.html, under a virtual X server and Wine. Each shot is
# checked in place as scripts/check-strings.sh does; a shot with findings is framed and
# its findings are listed under it. The UI language of each shot comes from the
# environment Wine reads, as on a user's system. Exits as the check does: 0 clean; 1 when
# a shot failed (no dialog, no picture, a blank or one-colour picture, a dialog larger
# than the desktop, unreadable findings) or the check found anything; 2 when nothing else
# was found but something could not be judged or shown, and on bad usage, with a message.
#   bash scripts/gallery.sh [options] [MODULE.dll]   # default: the sample module
#     --variants FILE   the dialog variants (default $VARIANTS or samples/variants.txt)
#     --lang TAG        only this language (as --list-languages names it); repeatable
#     --variant NAME    only this variant (the first word of its line); repeatable
#     --dpi N           only at N DPI (96 is 100 %); repeatable (default 96 and 144)
#     --out DIR         where index.html and the shots go (default build/gallery): a folder
#                       the gallery made, an empty one, or a new one; nothing else is touched
#     --no-build        use the previewer already built
#     --in-session      use the Wine session this shell already runs (the tests' own)
#   bash scripts/gallery.sh --live warning --message "Hello"   # with DISPLAY set: show one live
set -Eeuo pipefail
# Whatever stops the gallery unforeseen is "could not show", said so.
trap 'echo "gallery: stopped at line $LINENO (status $?)" >&2; exit 2' ERR
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
preview="$build/bin/printdialogs-preview.exe"
variants_file=${VARIANTS:-samples/variants.txt}
out="$build/gallery"
module=""
only_languages=()
only_variants=()
scales=()
build_first=1
own_session=1
live=0
usage_error() { echo "gallery: $*" >&2; exit 2; }
while [ $# -gt 0 ]; do
    case "$1" in
        --variants | --out | --lang | --variant | --dpi) [ $# -ge 2 ] && [ -n "$2" ] || usage_error "$1 needs a value" ;;
    esac
    case "$1" in
        --live) live=1; shift; break ;;
        --variants) variants_file=$2; shift 2 ;;
        --lang) only_languages+=("$2"); shift 2 ;;
        --variant) only_variants+=("$2"); shift 2 ;;
        --dpi) [[ "$2" =~ ^[1-9][0-9]*$ ]] || usage_error "--dpi takes a number, not $2"
               scales+=("$2|$(($2 * 100 / 96)) %"); shift 2 ;;
        --out) out=$2; shift 2 ;;
        --no-build) build_first=0; shift ;;
        --in-session) own_session=0; shift ;;
        -*) usage_error "unknown option $1" ;;
        *) module=$1; shift ;;
    esac
done
if [ "$build_first" = 1 ]; then
    bash scripts/setup.sh imagemagick jq
    bash scripts/build.sh printdialogs-preview >/dev/null
fi

if [ "$live" = 1 ]; then
    : "${DISPLAY:?--live needs a DISPLAY to show the dialog on}"
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    exec wine "$preview" "$@"
fi

source scripts/wine-session.sh
[ -f "$variants_file" ] || usage_error "no variants file $variants_file"
read_variants "$variants_file"
choose_variants "${only_variants[@]}" || usage_error "no variant $missing in $variants_file"
module=${module:-$build/bin/sample_strings.dll}
[ -f "$module" ] || usage_error "no module $module"
# Only a folder the gallery made (its marker lists the files it wrote) or an empty one; of
# its own files it removes only those the marker lists, never the folder or anything else.
marker="$out/.printdialogs-gallery"
if [ -e "$out" ] && [ ! -d "$out" ]; then
    usage_error "$out is not a folder"
elif [ -f "$marker" ]; then
    while IFS= read -r file; do
        case "$file" in */* | .* | '') continue ;; esac
        rm -f -- "$out/$file"
    done <"$marker"
elif [ -d "$out" ] && [ -n "$(ls -A -- "$out")" ]; then
    usage_error "$out is not empty and the gallery did not make it; name a new or empty folder with --out"
fi
mkdir -p -- "$out"
: >"$marker"
# Records a file of the gallery's own before it is written.
own() { echo "$1" >>"$marker"; }

if [ "$own_session" = 1 ]; then
    # A prefix of its own: the scale changes here must not reach the tests' prefix.
    mkdir -p "$build/gallery-session"
    start_wine_session "$build/gallery-session"
fi

windows_module=$(windows_path "$module") || usage_error "cannot name $module for Wine"
mapfile -t languages < <(wine "$preview" --list-languages "$windows_module" </dev/null 2>/dev/null | tr -d '\r' || true)
[ ${#languages[@]} -gt 0 ] || usage_error "$module holds no strings"
choose_languages "${only_languages[@]}" || usage_error "$module holds no $missing (it holds ${languages[*]})"
# A language without a locale name cannot be shown: Wine has no locale to start with.
unnamed=()
shown=()
for tag in "${languages[@]}"; do
    case "$tag" in
        0x*) echo "gallery: language $tag has no locale name, Wine cannot show it" >&2; unnamed+=("$tag") ;;
        *) shown+=("$tag") ;;
    esac
done
[ ${#scales[@]} -gt 0 ] || scales=("96|100 %" "144|150 %")
desktop_width=${WINE_DESKTOP_SIZE%x*}
desktop_height=${WINE_DESKTOP_SIZE#*x}
arguments="$build/gallery-arguments.txt"
windows_arguments=$(windows_path "$arguments")

html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# What is wrong with the picture FILE as a shot, or nothing; a picture larger than the
# desktop is wrong unless it was taken on a larger one (second argument "large").
picture_fault() {
    local width height colours
    read -r width height colours < <(identify -format '%w %h %k\n' "$1" 2>/dev/null | head -n 1 || true) ||
        { echo "not a readable picture"; return; }
    if [ "$colours" -le 1 ]; then
        echo "blank: all one colour"
    elif [ "${2:-}" != large ] && { [ "$width" -gt "$desktop_width" ] || [ "$height" -gt "$desktop_height" ]; }; then
        echo "${width}x$height, larger than the ${WINE_DESKTOP_SIZE} desktop"
    fi
}

# Runs the previewer on `words` in the language of `locale`, writing to BASE.txt; sets
# `status`. A dialog that did not appear in time on a busy machine gets a second try.
# With a size WxH, on a virtual desktop of that size instead of the usual one.
shoot() {
    local base=$1 size=${2:-} attempt
    write_words "$arguments"
    for attempt in 1 2; do
        rm -f "$out/$base.png"
        status=0
        if [ -n "$size" ]; then
            LC_ALL="$locale" LANG="$locale" wine explorer "/desktop=gallery-$size,$size" "$preview" \
                --arguments "$windows_arguments" </dev/null >>"$out/$base.txt" 2>&1 || status=$?
        else
            LC_ALL="$locale" LANG="$locale" wine "$preview" --arguments "$windows_arguments" \
                </dev/null >"$out/$base.txt" 2>&1 || status=$?
        fi
        [ "$status" -ne 0 ] && [ "$status" -ne 3 ] || break
    done
}

failed=0
with_findings=0
findings=0
unjudged=0
shots=0
sections=""
for variant in "${variants[@]}"; do
    IFS='|' read -r name caption line <<<"$variant"
    variant_words "$line" || exit 2
    own_words=("${words[@]}")
    rows=""
    for scale in "${scales[@]}"; do
        IFS='|' read -r dpi percent <<<"$scale"
        set_wine_dpi "$dpi" || exit 2
        cells=""
        for tag in "${shown[@]}"; do
            locale=$(wine_locale_for_tag "$tag")
            base="$name-$tag-${dpi}dpi"
            shots=$((shots + 1))
            own "$base.json"; own "$base.png"; own "$base.txt"
            rm -f "$out/$base.json"
            words=("${own_words[@]}" --module "$windows_module" --name "$name"
                --check-json "$(windows_path "$out/$base.json")" --screenshot "$(windows_path "$out/$base.png")")
            shoot "$base"
            fault=""
            list=""
            # Findings the previewer could not finish writing make the shot fail, not the gallery.
            if [ -s "$out/$base.json" ] && ! jq -e . "$out/$base.json" >/dev/null 2>&1; then
                fault="its findings are unreadable (cut short), see $base.json"
            elif [ -s "$out/$base.json" ]; then
                too_large=$(jq -r 'select(.problem == "too-large") | .detail | capture("^(?<w>[0-9]+)x(?<h>[0-9]+) px") | "\(.w)x\(.h)"' \
                    "$out/$base.json" | head -n 1)
                shot_count=$(jq -s 'length' "$out/$base.json")
                cannot=$(jq -s 'map(select(.problem == "no-font" or .problem == "unshaped")) | length' "$out/$base.json")
                [ "$cannot" -eq 0 ] || unjudged=$((unjudged + 1))
                if [ "$shot_count" -gt "$cannot" ]; then
                    findings=$((findings + shot_count - cannot))
                    with_findings=$((with_findings + 1))
                fi
                list=$(jq -j '@html "<li>string \(if .stringIds == [] then "-" else (.stringIds | map(tostring) | join("+")) end), control \(if .controlId == 0 then "caption" else .controlId end): \(.problem): \(.detail)</li>"' \
                    "$out/$base.json")
                if [ -n "$too_large" ]; then
                    # Shown whole on a desktop that holds it, and still a failure of this desktop.
                    fault="too large: $(jq -r 'select(.problem == "too-large") | .detail' "$out/$base.json" | head -n 1)"
                    width=${too_large%x*}
                    height=${too_large#*x}
                    size="$((width + 64 > desktop_width ? width + 64 : desktop_width))x$((height + 64 > desktop_height ? height + 64 : desktop_height))"
                    words=("${own_words[@]}" --module "$windows_module" --name "$name" --screenshot "$(windows_path "$out/$base.png")")
                    shoot "$base" "$size"
                    picture=$(picture_fault "$out/$base.png" large)
                    [ -s "$out/$base.png" ] || picture="no picture on a $size desktop, see $base.txt"
                    [ -z "$picture" ] || fault+="; $picture"
                fi
            fi
            if [ -z "$fault" ] && [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
                fault="the previewer failed (exit $status), see $base.txt"
            elif [ -z "$fault" ] && [ ! -s "$out/$base.png" ]; then
                fault="no picture, see $base.txt"
            elif [ -z "$fault" ]; then
                fault=$(picture_fault "$out/$base.png")
            fi
            label="$tag"
            if [ -n "$fault" ]; then
                failed=$((failed + 1))
                echo "gallery: $base: $fault" >&2
                cells+="<figure class=\"failed\">"
                [ -s "$out/$base.png" ] && cells+="<img src=\"$base.png\" alt=\"$(html "$caption"), $tag, $percent\">"
                cells+="<figcaption>$label: failed: $(html "$fault")</figcaption><ul>$list</ul></figure>"
            elif [ -n "$list" ]; then
                cells+="<figure class=\"problem\"><img src=\"$base.png\" alt=\"$(html "$caption"), $tag, $percent\"><figcaption>$label</figcaption><ul>$list</ul></figure>"
            else
                cells+="<figure><img src=\"$base.png\" alt=\"$(html "$caption"), $tag, $percent\"><figcaption>$label</figcaption></figure>"
            fi
        done
        rows+="<h3>$percent ($dpi DPI)</h3><div class=\"row\">$cells</div>"
    done
    sections+="<section><h2>$(html "$caption")</h2>$rows</section>"
    echo "rendered $name"
done
set_wine_dpi 96 || exit 2

summary="${#languages[@]} languages (${languages[*]}), ${#variants[@]} variants, $(printf '%s, ' "${scales[@]#*|}" | sed 's/, $//'): $shots shots, $findings findings in $with_findings shots, $failed failed"
[ "$unjudged" -eq 0 ] || summary+=", $unjudged not judged in full (no-font or unshaped)"
[ ${#unnamed[@]} -eq 0 ] || summary+=", not shown: ${unnamed[*]} (no locale name)"
own index.html
cat >"$out/index.html" <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>printdialogs gallery</title>
<style>
body { font-family: sans-serif; margin: 1.5em; background: #f4f4f4; }
.row { display: flex; flex-wrap: wrap; gap: 1em; align-items: flex-start; }
figure { margin: 0; background: #fff; padding: 0.5em; border: 1px solid #ccc; max-width: 900px; }
figcaption { text-align: center; font-size: 0.9em; color: #444; }
figure.problem, figure.failed { border: 4px solid #d00; }
figure.failed figcaption, figure ul { color: #a00; font-size: 0.85em; }
</style>
</head>
<body>
<h1>printdialogs: every dialog in every language of the module</h1>
<p>Rendered by scripts/gallery.sh under Wine $(wine --version 2>/dev/null) on $(date -u +%Y-%m-%d)
from $(html "$(basename "$module")"). The interface language of each shot is the user's locale.
Shots framed in red have findings of the text check (listed under them) or failed.</p>
<p><strong>$(html "$summary")</strong></p>
$sections
</body>
</html>
HTML

echo
echo "gallery: $summary"
echo "Gallery: $(cd "$out" && pwd)/index.html"
[ "$failed" -eq 0 ] && [ "$findings" -eq 0 ] || exit 1
[ "$unjudged" -eq 0 ] && [ ${#unnamed[@]} -eq 0 ] || exit 2
