#!/usr/bin/env bash
# Static check of the DLLs the test command builds: the GCC and clang x64 DLLs and the
# ARM64 one (each when built), and their sample string modules. Each DLL exports the names
# and ordinals of src/printdialogs.def from ordinal base 1 with no empty slot, and carries
# the GCC DLL's resources byte for byte; each is built for its machine; the ARM64 DLL
# imports from no DLL but those listed below; no string module has an entry point.
#   bash tests/arm64/check_dlls.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
readobj=$(command -v llvm-readobj-14 llvm-readobj | head -n 1)
objdump=$(command -v llvm-objdump-14 llvm-objdump | head -n 1)
# Every Windows on ARM64 has these, as native ARM64 DLLs (the DLL takes the first five);
# the C runtimes it has (msvcrt, ucrtbase) are not taken, and the mingw and MSVC
# runtimes (libstdc++, libgcc, vcruntime) it has not at all.
arm64Imports="kernel32.dll user32.dll gdi32.dll advapi32.dll ntdll.dll comctl32.dll imm32.dll
    ole32.dll oleacc.dll oleaut32.dll shell32.dll shlwapi.dll uxtheme.dll version.dll"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

expected=$(sed -n 's/^ *\([A-Za-z_][A-Za-z0-9_]*\) *@\([0-9]*\).*/\2 \1/p' "$here/../../src/printdialogs.def" | sort -n)
# Resources without the addresses at which they lie: types, names, languages and bytes.
resources() { "$readobj" --coff-resources "$1" | grep -vE 'File:|Format:|Arch:|Address|Offset|RVA'; }
resources "$build/bin/printdialogs.dll" >"$build/resources-gcc.txt"

check() { # NAME DLL STRING_MODULE MACHINE
    local name=$1 dll=$2 strings=$3 machine=$4 exports
    [ -f "$dll" ] || { echo "not built: $name ($dll)"; return; }
    "$readobj" --file-headers "$dll" | grep -q "Machine: .*($machine)" || fail "$name is not for machine $machine"
    exports=$("$objdump" -p "$dll" | sed -n '/^Export Table/,/^$/p')
    grep -q 'Ordinal base: 1$' <<<"$exports" || fail "$name: ordinal $(grep -o "base: .*" <<<"$exports")"
    # Every slot of the table, an empty one as its ordinal alone.
    [ "$(sed '1,/Ordinal  *RVA/d' <<<"$exports" | awk 'NF {print $1, $3}')" = "$expected" ] ||
        fail "$name exports, ordinal and name:" $'\n'"$(sed -n '/Ordinal /,$p' <<<"$exports")"
    resources "$dll" | cmp -s - "$build/resources-gcc.txt" || fail "$name resources differ from the GCC DLL's"
    "$readobj" --file-headers "$strings" | grep -q 'AddressOfEntryPoint: 0x0$' || fail "$name string module has an entry point"
    "$readobj" --file-headers "$strings" | grep -q "Machine: .*($machine)" || fail "$name string module is not for $machine"
    echo "checked: $name"
}
check "GCC x64 DLL" "$build/bin/printdialogs.dll" "$build/bin/sample_strings.dll" 0x8664
check "clang x64 DLL" "$build/clang-mingw/bin/printdialogs.dll" "$build/clang-mingw/bin/sample_strings.dll" 0x8664
arm64=$build/clang-arm64/bin/printdialogs.dll
check "ARM64 DLL" "$arm64" "$build/clang-arm64/bin/sample_strings.dll" 0xAA64
if [ -f "$arm64" ]; then
    for dll in $("$readobj" --coff-imports "$arm64" | sed -n 's/^ *Name: //p' | tr 'A-Z' 'a-z'); do
        tr -s " \n" "\n\n" <<<"$arm64Imports" | grep -qxF "$dll" || fail "the ARM64 DLL imports from $dll"
    done
fi
echo "$failures failures"
[ "$failures" = 0 ]
