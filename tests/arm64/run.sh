#!/usr/bin/env bash
# The ARM64 run (ctest runs it in its Wine session, for the virtual X server): the ARM64
# driver program (arm64_driver.c) under Debian's ARM64 Wine through qemu, in a prefix of
# its own, once in English and once in Hebrew, whose dialogs are mirrored. Skipped (77)
# when the ARM64 build or the ARM64 Wine is not there.
#   bash tests/arm64/run.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
driver=$build/clang-arm64/bin/arm64_driver.exe
root=${ARM64_WINE:-/opt/wine-arm64}
if [ ! -f "$driver" ] || [ ! -x "$root/usr/lib/wine/wine64" ] || [ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ]; then
    echo "skipped: needs scripts/build.sh --arm64 and the ARM64 Wine of scripts/setup.sh"
    exit 77
fi
export QEMU_LD_PREFIX=$root WINEPREFIX=$build/wineprefix-arm64 WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$root/usr/lib/wine/wine64
server=$root/usr/lib/wine/wineserver64
# Wine's loader would start the x64 server, which refuses ARM64 programs: ours goes first.
start_server() { "$server" -p </dev/null >/dev/null 2>&1; }
trap '"$server" -k </dev/null >/dev/null 2>&1 || true' EXIT
mkdir -p "$WINEPREFIX"
start=$SECONDS
start_server
if [ ! -e "$WINEPREFIX/.configured" ]; then
    # One virtual desktop, in which every dialog activates at once.
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
    "$server" -k </dev/null >/dev/null 2>&1 || true
    "$server" -w </dev/null >/dev/null 2>&1 || true
    start_server
    touch "$WINEPREFIX/.configured"
fi
echo "ARM64 Wine ready in $((SECONDS - start)) s"
status=0
for run in en_US.UTF-8: he_IL.UTF-8:rtl; do
    output=$build/arm64-driver-${run%%:*}.txt
    begun=$SECONDS
    # By its Windows path: started by its Unix one, it would not know its own folder. It
    # takes 2 to 26 s emulated, by the machine's load; a hang ends in 5 minutes.
    LANG=${run%%:*} LC_ALL=${run%%:*} timeout 300 "$wine" "Z:${driver//\//\\}" ${run#*:} </dev/null >"$output" 2>&1 || status=$?
    tr -d '\r' <"$output"
    # The program's own summary, not only its exit status: a Wine program may die quietly.
    grep -q '^ARM64 driver: [1-9][0-9]* checks passed, 0 failed' "$output" || status=1
    echo "ARM64 driver under ${run%%:*}: $((SECONDS - begun)) s"
done
exit "$status"
