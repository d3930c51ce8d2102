#!/usr/bin/env bash
# The main job: installs what is missing, builds, and renders every dialog in its variants
# and in each language of the sample module into PNG files with an index.html, under a
# virtual X server and Wine. The UI language of each shot comes from the environment
# Wine reads, as on a user's system.
#   bash scripts/gallery.sh            # writes build/gallery/index.html
#   VARIANTS=my-variants.txt bash scripts/gallery.sh   # variants of samples/variants.txt's form
#   bash scripts/gallery.sh --live warning --message "Hello"   # with DISPLAY set: show one live
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh fonts-dejavu-core
bash scripts/build.sh printdialogs-preview >/dev/null
build=${BUILD_DIR:-build}
preview="$build/bin/printdialogs-preview.exe"

if [ "${1:-}" = "--live" ]; then
    shift
    : "${DISPLAY:?--live needs a DISPLAY to show the dialog on}"
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    exec wine "$preview" "$@"
fi

source scripts/wine-session.sh
start_wine_session "$build"

out="$build/gallery"
rm -rf "$out"
mkdir -p "$out"

languages=(en_US de_DE fr_FR ar_SA he_IL)
read_variants "${VARIANTS:-samples/variants.txt}"

failed=0
rows=""
for variant in "${variants[@]}"; do
    IFS='|' read -r name caption arguments <<<"$variant"
    cells=""
    for language in "${languages[@]}"; do
        file="$name-$language.png"
        # shellcheck disable=SC2086
        if LC_ALL="$language.UTF-8" LANG="$language.UTF-8" wine "$preview" $arguments \
                --screenshot "$(winepath -w "$out/$file" 2>/dev/null)" </dev/null >"$out/$name-$language.txt" 2>&1; then
            cells+="<figure><img src=\"$file\" alt=\"$caption, $language\"><figcaption>$language</figcaption></figure>"
        else
            failed=$((failed + 1))
            cells+="<figure class=\"missing\"><figcaption>$language: failed, see $name-$language.txt</figcaption></figure>"
        fi
    done
    rows+="<section><h2>$caption</h2><div class=\"row\">$cells</div></section>"
    echo "rendered $name"
done

cat >"$out/index.html" <<HTML
<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>printdialogs gallery</title>
<style>
body { font-family: sans-serif; margin: 1.5em; background: #f4f4f4; }
.row { display: flex; flex-wrap: wrap; gap: 1em; align-items: flex-start; }
figure { margin: 0; background: #fff; padding: 0.5em; border: 1px solid #ccc; }
figcaption { text-align: center; font-size: 0.9em; color: #444; }
.missing { color: #a00; }
</style>
</head>
<body>
<h1>printdialogs: every dialog in every sample language</h1>
<p>Rendered by scripts/gallery.sh under Wine $(wine --version 2>/dev/null) on $(date -u +%Y-%m-%d).
Texts come from the sample resource module; the interface language of each shot is the user's locale.</p>
$rows
</body>
</html>
HTML

echo
echo "Gallery: $(cd "$out" && pwd)/index.html"
[ "$failed" -eq 0 ] || { echo "$failed shots failed" >&2; exit 1; }
