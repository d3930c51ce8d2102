#!/usr/bin/env bash
# Builds a string module on its own from its resource script, as the project's build does
# (cmake/ResourceModule.cmake): resources only, no C runtime, no entry point, 64-bit.
#   bash scripts/build-module.sh FILE.rc [OUT.dll]   # default OUT: FILE.dll beside FILE.rc
# Exits 0 with the module written; 2, with windres's error and the line it names (and what
# to write instead of a LANGUAGE name windres does not know), leaving no module behind.
set -euo pipefail
fail() { echo "build-module: $*" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 2 ] || fail "usage: bash scripts/build-module.sh FILE.rc [OUT.dll]"
script=$1
out=${2:-${script%.*}.dll}
[ -f "$script" ] || fail "no resource script $script"
case "$out" in *.dll) ;; *) fail "the module's name must end in .dll: $out" ;; esac
toolchain=x86_64-w64-mingw32
command -v "$toolchain-windres" >/dev/null && command -v "$toolchain-gcc" >/dev/null ||
    bash "$(dirname "$0")/setup.sh" || fail "$toolchain-windres and -gcc are missing and could not be installed"

# Made beside OUT under names of their own, moved into place only when whole.
out_dir=$(dirname -- "$out")
[ -d "$out_dir" ] || fail "no folder $out_dir for $out"
work=$(mktemp -d "$out_dir/.build-module.XXXXXX")
trap 'rm -rf -- "$work"' EXIT

# A name windres does not know, as the C headers define it: "LANG_PERSIAN 0x29".
known_in_c() {
    echo '#include <windows.h>' | "$toolchain-gcc" -E -dM -x c - 2>/dev/null |
        awk -v name="$1" '$1 == "#define" && $2 == name { print $3; exit }'
}
known_to_windres() {
    echo '#include <windows.h>' | "$toolchain-gcc" -E -dM -DRC_INVOKED -x c - 2>/dev/null |
        awk -v name="$1" '$1 == "#define" && $2 == name { found = 1 } END { exit !found }'
}
# What to write instead of the LANGUAGE statement TEXT, when a name in it is unknown.
language_hint() {
    local names primary sublanguage value number numbers=() unknown=""
    names=$(sed -E 's/^[[:space:]]*LANGUAGE[[:space:]]+//; s/[[:space:]]*(\/\/.*)?$//' <<<"$1")
    IFS=', ' read -r primary sublanguage <<<"$names"
    for value in "$primary" "$sublanguage"; do
        if [[ "$value" =~ ^(0x[0-9a-fA-F]+|[0-9]+)$ ]] || known_to_windres "$value"; then
            number=$value
            [[ "$value" =~ ^(0x[0-9a-fA-F]+|[0-9]+)$ ]] || number=$(known_in_c "$value")
        else
            number=$(known_in_c "$value")
            unknown+="${unknown:+ and }$value"
            [ -n "$number" ] || { echo "$value is unknown to windres: write the numbers, as in the LANGUAGE table of the README"; return; }
        fi
        numbers+=("$(printf '0x%02x' "$((number))")")
    done
    [ -z "$unknown" ] || echo "$unknown: use LANGUAGE ${numbers[0]}, ${numbers[1]}"
}

log="$work/windres.log"
if ! "$toolchain-windres" -O coff -i "$script" -o "$work/strings.o" 2>"$log"; then
    sed "s/^$toolchain-windres: //" "$log" >&2
    # "FILE.rc:12: syntax error": the line itself, and a hint for a LANGUAGE statement.
    where=$(sed -nE "s/^($toolchain-windres: )?(.+):([0-9]+): .*/\2:\3/p" "$log" | head -n 1)
    file=${where%:*}
    line=${where##*:}
    if [ -n "$where" ] && [ -f "$file" ]; then
        text=$(sed -n "${line}p" "$file")
        echo "  $line | $text" >&2
        if [[ "$text" =~ ^[[:space:]]*LANGUAGE[[:space:]] ]]; then
            hint=$(language_hint "$text")
            [ -z "$hint" ] || echo "hint: $hint" >&2
        fi
    fi
    fail "$script not built"
fi
# No entry point: GNU ld and lld both take the image base's own symbol.
"$toolchain-gcc" -shared -nostdlib -Wl,-e,__ImageBase -o "$work/module.dll" "$work/strings.o" 2>"$log" ||
    { cat "$log" >&2; fail "$script not linked"; }
mv -f -- "$work/module.dll" "$out"
echo "build-module: $out ($(stat -c %s "$out") bytes)"
