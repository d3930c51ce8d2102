#!/usr/bin/env bash
# The main job: installs what is missing, builds, and renders every dialog variant in
# every language of the resource module (read from the module), at 100 % and 150 % scale,
# into PNG files with an index.html, under a virtual X server and Wine. Each shot is
# checked in place as scripts/check-strings.sh does; a shot with findings is framed and
# its findings are listed under it. The UI language of each shot comes from the
# environment Wine reads, as on a user's system. Exits 1 when a shot failed (no dialog,
# no picture, a blank or one-colour picture, a picture larger than the desktop) or the
# check found anything.
#   bash scripts/gallery.sh [options] [MODULE.dll]   # default: the sample module
#     --variants FILE   the dialog variants (default $VARIANTS or samples/variants.txt)
#     --out DIR         where index.html and the shots go (default build/gallery): a folder
#                       the gallery made, an empty one, or a new one; nothing else is touched
#     --no-build        use the previewer already built
#     --in-session      use the Wine session this shell already runs (the tests' own)
#   bash scripts/gallery.sh --live warning --message "Hello"   # with DISPLAY set: show one live
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
preview="$build/bin/printdialogs-preview.exe"
variants_file=${VARIANTS:-samples/variants.txt}
out="$build/gallery"
module=""
build_first=1
own_session=1
live=0
while [ $# -gt 0 ]; do
    case "$1" in
        --live) live=1; shift; break ;;
        --variants) variants_file=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --no-build) build_first=0; shift ;;
        --in-session) own_session=0; shift ;;
        -*) echo "gallery: unknown option $1" >&2; exit 2 ;;
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

# Only a folder the gallery made (its marker lists the files it wrote) or an empty one; of
# its own files it removes only those the marker lists, never the folder or anything else.
marker="$out/.printdialogs-gallery"
if [ -e "$out" ] && [ ! -d "$out" ]; then
    echo "gallery: $out is not a folder" >&2
    exit 2
elif [ -f "$marker" ]; then
    while IFS= read -r file; do
        case "$file" in */* | .* | '') continue ;; esac
        rm -f -- "$out/$file"
    done <"$marker"
elif [ -d "$out" ] && [ -n "$(ls -A -- "$out")" ]; then
    echo "gallery: $out is not empty and the gallery did not make it; name a new or empty folder with --out" >&2
    exit 2
fi
mkdir -p -- "$out"
: >"$marker"
# Records a file of the gallery's own before it is written.
own() { echo "$1" >>"$marker"; }

source scripts/wine-session.sh
read_variants "$variants_file"
if [ "$own_session" = 1 ]; then
    # A prefix of its own: the scale changes here must not reach the tests' prefix.
    mkdir -p "$build/gallery-session"
    start_wine_session "$build/gallery-session"
fi

module=${module:-$build/bin/sample_strings.dll}
windows_module=$(winepath -w "$module" 2>/dev/null)
mapfile -t languages < <(wine "$preview" --list-languages "$windows_module" </dev/null 2>/dev/null | tr -d '\r')
[ ${#languages[@]} -gt 0 ] || { echo "gallery: $module holds no strings" >&2; exit 1; }
scales=("96|100 %" "144|150 %")
desktop_width=${WINE_DESKTOP_SIZE%x*}
desktop_height=${WINE_DESKTOP_SIZE#*x}

html() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# What is wrong with the picture FILE as a shot, or nothing.
picture_fault() {
    local width height colours
    read -r width height colours < <(identify -format '%w %h %k\n' "$1" 2>/dev/null | head -n 1) ||
        { echo "not a readable picture"; return; }
    if [ "$colours" -le 1 ]; then
        echo "blank: all one colour"
    elif [ "$width" -gt "$desktop_width" ] || [ "$height" -gt "$desktop_height" ]; then
        echo "${width}x$height, larger than the ${WINE_DESKTOP_SIZE} desktop"
    fi
}

failed=0
with_findings=0
findings=0
shots=0
sections=""
for variant in "${variants[@]}"; do
    IFS='|' read -r name caption arguments <<<"$variant"
    variant_words "$arguments" || exit 2
    rows=""
    for scale in "${scales[@]}"; do
        IFS='|' read -r dpi percent <<<"$scale"
        set_wine_dpi "$dpi"
        cells=""
        for tag in "${languages[@]}"; do
            locale=$(wine_locale_for_tag "$tag")
            base="$name-$tag-${dpi}dpi"
            shots=$((shots + 1))
            own "$base.json"; own "$base.png"; own "$base.txt"
            # A dialog that did not appear in time on a busy machine gets a second try.
            for attempt in 1 2; do
                rm -f "$out/$base.json" "$out/$base.png"
                status=0
                LC_ALL="$locale" LANG="$locale" wine "$preview" "${words[@]}" --module "$windows_module" \
                    --name "$name" --check-json "$(winepath -w "$out/$base.json" 2>/dev/null)" \
                    --screenshot "$(winepath -w "$out/$base.png" 2>/dev/null)" \
                    </dev/null >"$out/$base.txt" 2>&1 || status=$?
                [ "$status" -ne 0 ] && [ "$status" -ne 3 ] || break
            done
            fault=""
            too_large=""
            [ -s "$out/$base.json" ] && too_large=$(jq -r 'select(.problem == "too-large") | .detail' "$out/$base.json")
            if [ -n "$too_large" ]; then
                fault="too large: $too_large"
            elif [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
                fault="the previewer failed (exit $status), see $base.txt"
            elif [ ! -s "$out/$base.png" ]; then
                fault="no picture, see $base.txt"
            else
                fault=$(picture_fault "$out/$base.png")
            fi
            list=""
            if [ -s "$out/$base.json" ]; then
                findings=$((findings + $(wc -l <"$out/$base.json")))
                with_findings=$((with_findings + 1))
                list=$(jq -j '@html "<li>string \(if .stringIds == [] then "-" else (.stringIds | map(tostring) | join("+")) end), control \(if .controlId == 0 then "caption" else .controlId end): \(.problem): \(.detail)</li>"' \
                    "$out/$base.json")
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
set_wine_dpi 96

summary="${#languages[@]} languages (${languages[*]}), ${#variants[@]} variants, 100 % and 150 %: $shots shots, $findings findings in $with_findings shots, $failed failed"
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
