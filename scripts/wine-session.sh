# Sourced: starts a virtual X server and a warm Wine server for one run, and stops both
# when the sourcing script exits. The Wine prefix lives in the build folder and shows
# every window inside one virtual desktop, so dialogs activate at once.
#   start_wine_session BUILD_DIR
# Also the helpers the gallery and the string check share: the dialog variants to show,
# the locale that makes Wine show a module's language.

# The virtual desktop every window opens in; nothing larger fits on its screen.
WINE_DESKTOP_SIZE=1024x768

start_wine_session() {
    local build
    build=$(cd "$1" && pwd)
    export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # The fonts Wine sees: those of scripts/wine-fonts.conf and the rig's own (configure_fonts).
    mkdir -p "$WINEPREFIX/rig-fonts"
    printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n  <include>%s</include>\n  <dir>%s</dir>\n</fontconfig>\n' \
        "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-fonts.conf" "$WINEPREFIX/rig-fonts" >"$WINEPREFIX/fonts.conf"
    export FONTCONFIG_FILE="$WINEPREFIX/fonts.conf"

    # Xvfb picks a free display itself (taking its lock file atomically, so that runs
    # started at the same moment never share one) and writes its number once it listens.
    local numberFile display=
    numberFile=$(mktemp)
    # A screen larger than any desktop: the gallery shows a dialog too large for the usual
    # one on a desktop that holds it, and what lies off the screen is captured black.
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$numberFile" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    trap stop_wine_session EXIT
    for _ in $(seq 100); do
        display=$(sed -n '1{/^[0-9][0-9]*$/p}' "$numberFile")
        [ -n "$display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numberFile"
    if [ -z "$display" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$display"

    # The Wine services would otherwise hold our pipes open and the run would never end.
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    # The marker holds the version of the configuration below: a prefix made by an
    # older version is configured again.
    local version=12
    if [ "$(cat "$WINEPREFIX/.configured" 2>/dev/null)" != "$version" ]; then
        wineboot -i </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$WINE_DESKTOP_SIZE" /f </dev/null >/dev/null 2>&1
        # Captions in the dialog font, bold, as a localized system has them: Wine takes the
        # locale's face for "MS Shell Dlg" (a LOGFONTW: 8 points, bold, default character set).
        wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v CaptionFont /t REG_BINARY /f \
            /d f5ffffff000000000000000000000000bc02000000000001000000004d00530020005300680065006c006c00200044006c00670000000000000000000000000000000000000000000000000000000000000000000000000000000000 </dev/null >/dev/null 2>&1
        # A crashing program must end with a backtrace, not wait on a crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
        # Every thread that shows a window opens an X input method of its own and closes
        # it when it ends. With dozens of dialog threads coming and going at once, as in
        # the reliability tests, that corrupts the C heap under Wine 8 (glibc aborts); no
        # test types through an input method. See docs/RELIABILITY.md.
        wine reg add 'HKCU\Software\Wine\AppDefaults\reliability_tests.exe\X11 Driver' /v UseXIM /d N /f \
            </dev/null >/dev/null 2>&1
        # Every dialog asks where the monitors are; Wine answers through XRandR queries on
        # one X connection the whole process shares, and with dozens of dialog threads
        # asking at once those calls deadlocked in Xlib. The test needs one monitor only.
        wine reg add 'HKCU\Software\Wine\AppDefaults\reliability_tests.exe\X11 Driver' /v UseXRandR /d N /f \
            </dev/null >/dev/null 2>&1
        configure_fonts
        echo "$version" >"$WINEPREFIX/.configured"
        # The desktop that wineboot opened has no virtual desktop yet: start afresh so
        # that every window of the run opens in it.
        wineserver -k </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1
        wineserver -p </dev/null >/dev/null 2>&1
    fi
    wine cmd /c exit </dev/null >/dev/null 2>&1
    # Some seconds after its last program ends, Wine lets its own processes go (the desktop's
    # explorer among them), and every program after that pays for starting them again: the
    # string check's test took 40 s instead of 13 after an idle moment. One program that
    # waits on input no one writes keeps them up until the session ends.
    WINE_KEEPER_FIFO=$(mktemp -u)
    mkfifo "$WINE_KEEPER_FIFO"
    wine cmd /c pause <"$WINE_KEEPER_FIFO" >/dev/null 2>&1 &
    WINE_KEEPER_PID=$!
    exec {WINE_KEEPER_FD}>"$WINE_KEEPER_FIFO"
}

# Fonts as on a localized system, from the packages scripts/setup.sh installs. Wine's
# Marlett draws the close box (without it the box shows the letter "r"). The dialog font
# "MS Shell Dlg" stands for a Windows face that is not here (Tahoma, Microsoft Sans
# Serif, SimSun, PMingLiU, Gulim, MS UI Gothic); Wine then takes a font for the locale's
# script: Liberation Sans for Latin, Greek and Cyrillic and for every locale without a
# code page of its own (Hindi, Georgian, Khmer, ...), DejaVu Sans for Hebrew, Arabic,
# Persian and Vietnamese, the rig's own faces for Urdu and Thai, WenQuanYi Micro Hei for
# Chinese and Korean, IPAGothic for Japanese; captions take the same face in bold.
# A face links to the fonts of the scripts it lacks, as Windows links its interface fonts.
# Wine follows a link only for a character outside the locale's code page (a Thai letter
# under Thai never reaches a linked font), so each locale's face must have its own script.
# And a link gives a face the code pages of the fonts it links to, so that Wine takes it
# for those locales: a face links only to fonts with no code page it should not be taken for.
# Links of the Windows names would not last: Wine rewrites them whenever the locale
# changes. Giving those names to these fonts instead (Wine's font replacements) changed
# the font of Latin, Greek and Japanese dialogs and drew Hebrew or Greek as boxes.
configure_fonts() {
    local marlett
    marlett=$(find /usr/share/wine /usr/lib/wine /usr/local/share/wine /opt \
        -name marlett.ttf -print -quit 2>/dev/null || true)
    if [ -n "$marlett" ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # Japanese first, as on a Windows of another language; the second has Chinese and
    # Korean. Georgian and Armenian from DejaVu Serif, which has Liberation's code pages
    # only (DejaVu Sans would make Liberation the Hebrew and Arabic face).
    local scripts=("Noto Sans Devanagari UI" "Noto Sans Bengali UI" "Noto Sans Tamil UI" "Noto Sans Khmer UI"
        "Abyssinica SIL")
    link_face "DejaVu Sans" IPAGothic "WenQuanYi Micro Hei" "${scripts[@]}"
    link_face "Liberation Sans" "DejaVu Serif" "${scripts[@]}"
    # An edit box draws through Uniscribe, which follows no link: for a script its font
    # lacks it takes the Windows font of that script, here the one installed for it.
    local substitute
    for substitute in "Mangal=Noto Sans Devanagari UI" "Vrinda=Noto Sans Bengali UI" "Latha=Noto Sans Tamil UI" \
        "DaunPenh=Noto Sans Khmer UI" "Khmer UI=Noto Sans Khmer UI" "Nyala=Abyssinica SIL" "Sylfaen=DejaVu Sans"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
            /v "${substitute%%=*}" /d "${substitute#*=}" /f </dev/null >/dev/null 2>&1
    done
    # Thai and Urdu in faces of the rig's own, made from Loma and Harmattan with a line as
    # tall as their letters (scripts/rig-font.py); Loma and Harmattan themselves are hidden
    # from Wine (scripts/wine-fonts.conf). Wine takes a locale's face from fontconfig, the
    # first that has the locale's language: so the faces are where fontconfig looks, and
    # Arabic and Persian keep DejaVu Sans, which has their letters but not all of Urdu's.
    local face style found
    for face in thai=Loma urdu=Harmattan; do
        for style in Regular Bold; do
            found=$(env -u FONTCONFIG_FILE fc-match -f '%{family[0]}|%{file}' "${face#*=}:style=$style" 2>/dev/null) ||
                continue
            [ "${found%%|*}" = "${face#*=}" ] || continue
            /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/rig-font.py" "${face%%=*}" "${found#*|}" \
                "$WINEPREFIX/rig-fonts/printdialogs-rig-${face%%=*}-$style.ttf" >/dev/null ||
                echo "the rig's ${face#*=} face was not made: bash scripts/setup.sh installs fontTools" >&2
        done
    done
}

# Links FACE, regular and bold, to the fonts of the FAMILIES after it, in that order.
link_face() {
    local face=$1 style family link links name
    shift
    for style in Regular Bold; do
        links=""
        for family in "$@"; do
            link=$(font_link "$family" "$style") || continue
            # reg's list separator is the two characters \0.
            links+="${links:+\\0}$link"
        done
        [ -n "$links" ] || continue
        name=$face
        [ "$style" = Regular ] || name+=" $style"
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$name" /t REG_MULTI_SZ /d "$links" /f </dev/null >/dev/null 2>&1
    done
}

# "FILE,FAMILY" of FAMILY's face nearest to STYLE (its regular face when it has no bold): a
# link names the font's file, which Wine matches by its name alone.
font_link() {
    local found
    found=$(fc-match -f '%{family[0]}|%{file}' "$1:style=$2" 2>/dev/null) || return 1
    [ "${found%%|*}" = "$1" ] || return 1
    printf '%s,%s' "$(basename "$(readlink -f "${found#*|}")")" "$1"
}

stop_wine_session() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [ -n "${WINE_KEEPER_PID:-}" ]; then
        exec {WINE_KEEPER_FD}>&-
        wait "$WINE_KEEPER_PID" 2>/dev/null || true
        rm -f "$WINE_KEEPER_FIFO"
        WINE_KEEPER_PID=
    fi
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# Fills the array `variants` with the lines "name|caption|previewer arguments" of FILE,
# skipping blank lines and # comments.
read_variants() {
    variants=()
    local line
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in '' | '#'*) continue ;; esac
        variants+=("$line")
    done <"$1"
}

# Keeps of `variants` those whose name (the first word of the line) is an argument, in
# the file's order; fails on a name the file lacks, leaving it in `missing`. No argument
# keeps all.
choose_variants() {
    local name variant found
    for name in "$@"; do
        found=0
        for variant in "${variants[@]}"; do [ "${variant%%|*}" != "$name" ] || found=1; done
        [ "$found" = 1 ] || { missing=$name; return 1; }
    done
    [ $# -gt 0 ] || return 0
    local chosen=()
    for variant in "${variants[@]}"; do
        case " $* " in *" ${variant%%|*} "*) chosen+=("$variant") ;; esac
    done
    variants=("${chosen[@]}")
}

# Keeps of `languages` those that are arguments; fails on one not there, left in `missing`.
choose_languages() {
    [ $# -gt 0 ] || return 0
    local tag
    for tag in "$@"; do
        case " ${languages[*]} " in *" $tag "*) ;; *) missing=$tag; return 1 ;; esac
    done
    local chosen=()
    for tag in "${languages[@]}"; do
        case " $* " in *" $tag "*) chosen+=("$tag") ;; esac
    done
    languages=("${chosen[@]}")
}

# Fills the array `words` with the previewer arguments of a variant line as written: words
# in double or single quotes kept whole (--job "Q3 report"), a backslash an ordinary
# character (C:\drv\help.hlp), nothing globbed or expanded. Fails, saying why, on an
# unmatched quote.
variant_words() {
    words=()
    local line=$1 word="" started=0 quote="" c i
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [ -n "$quote" ]; then
            if [ "$c" = "$quote" ]; then quote=""; else word+=$c; fi
        elif [ "$c" = '"' ] || [ "$c" = "'" ]; then
            quote=$c
            started=1
        elif [[ "$c" == [[:space:]] ]]; then
            [ "$started" = 0 ] || words+=("$word")
            word=""
            started=0
        else
            word+=$c
            started=1
        fi
    done
    if [ -n "$quote" ]; then
        echo "variant arguments $line: unmatched $quote" >&2
        return 1
    fi
    [ "$started" = 0 ] || words+=("$word")
}

# Writes `words` to FILE, one a line, for the previewer's --arguments: Wine hands a
# program its command line in the locale's character set, and of a locale the system has
# not generated only ASCII arrives.
write_words() {
    printf '%s\n' "${words[@]}" >"$1"
}

# The Windows path of FILE: drive Z: is the root of the prefix's file system. Without the
# Wine program winepath, which takes a process start for each path.
windows_path() {
    local file
    file=$(realpath -m -- "$1") || return 1
    [ "$(readlink "$WINEPREFIX/dosdevices/z:")" = / ] || { echo "no drive Z: for / in $WINEPREFIX" >&2; return 1; }
    printf 'Z:%s\n' "${file//\//\\}"
}

# The LANG/LC_ALL value under which Wine shows the language tag TAG (pl-PL, he-IL, ja-JP):
# Wine takes the user's interface language from the locale name.
wine_locale_for_tag() {
    local tag=$1 language region modifier=""
    language=${tag%%-*}
    region=${tag##*-}
    case "$tag" in *-Latn-*) modifier="@latin" ;; *-Cyrl-*) modifier="@cyrillic" ;; esac
    if [ "$region" = "$tag" ]; then
        echo "$language.UTF-8$modifier"
    else
        echo "${language}_$region.UTF-8$modifier"
    fi
}

# Sets the screen resolution Wine's programs start with (96 = 100 %, 144 = 150 %). Wine
# reads it once per process, so the next program started takes it; the server goes on.
# A reg that fails would stop a run without a word: it is tried again, and a setting that
# did not take says so.
set_wine_dpi() {
    local attempt
    for attempt in 1 2 3; do
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    echo "could not set the screen resolution to $1 DPI in $WINEPREFIX" >&2
    return 1
}
