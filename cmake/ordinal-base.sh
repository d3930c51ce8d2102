#!/usr/bin/env bash
# lld 14 starts a DLL's export table at ordinal 0 and leaves that slot empty when the
# ordinals begin at 1; GNU ld and MSVC start the table at the first ordinal. This moves the
# table's base to 1 in place, as those write it: the address table starts one entry later,
# with one entry fewer, and each name's index into it drops by one. A table that does not
# start at 0 is left as it is.
#   bash cmake/ordinal-base.sh DLL
set -euo pipefail
dll=$1
u32() { od -An -tu4 -j "$1" -N4 "$dll" | tr -d ' '; }
u16() { od -An -tu2 -j "$1" -N2 "$dll" | tr -d ' '; }
put() { # OFFSET VALUE BYTES, little-endian
    local bytes="" i
    for ((i = 0; i < $3; i++)); do bytes+=$(printf '\\x%02x' $((($2 >> (8 * i)) & 255))); done
    printf "$bytes" | dd of="$dll" bs=1 seek="$1" conv=notrunc status=none
}
header=$(u32 60)
sections=$(u16 $((header + 6)))
optional=$((header + 24))
sectionTable=$((optional + $(u16 $((header + 20)))))
# File offset of an address inside the image.
at() {
    local i entry start
    for ((i = 0; i < sections; i++)); do
        entry=$((sectionTable + 40 * i))
        start=$(u32 $((entry + 12)))
        if (($1 >= start && $1 < start + $(u32 $((entry + 8))))); then
            echo $(($1 - start + $(u32 $((entry + 20)))))
            return
        fi
    done
    echo "ordinal-base.sh: address $1 is in no section of $dll" >&2
    exit 1
}
directory=$(at "$(u32 $((optional + 112)))") # PE32+: the export directory's address
[ "$(u32 $((directory + 16)))" = 0 ] || exit 0
functions=$(u32 $((directory + 28)))
if [ "$(u32 "$(at "$functions")")" != 0 ]; then
    echo "ordinal-base.sh: ordinal 0 of $dll is taken; its base stays 0" >&2
    exit 1
fi
put $((directory + 16)) 1 4
put $((directory + 20)) $(($(u32 $((directory + 20))) - 1)) 4
put $((directory + 28)) $((functions + 4)) 4
ordinals=$(at "$(u32 $((directory + 36)))")
for ((i = 0; i < $(u32 $((directory + 24))); i++)); do
    put $((ordinals + 2 * i)) $(($(u16 $((ordinals + 2 * i))) - 1)) 2
done
