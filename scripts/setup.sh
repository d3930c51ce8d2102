#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build and the tests need and is missing.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64 wine wine64 xvfb xfonts-base googletest clang-14 libclang-rt-14-dev
    binutils-mingw-w64-i686
    # Fonts as a localized system has them: Wine's own (Marlett draws the close box),
    # Liberation for Latin, Greek and Cyrillic dialogs, DejaVu for Arabic and Hebrew and
    # for captions, and fonts that also have Latin letters for Japanese, and for Chinese
    # (Simplified and Traditional) and Korean (1.6 MB).
    fonts-wine fonts-liberation fonts-dejavu-core fonts-ipafont-gothic fonts-wqy-microhei
    # The scripts of the other display languages and language packs, regular and bold
    # (DejaVu has Georgian and Armenian): Noto's UI faces for Thai, Devanagari, Bengali,
    # Tamil and Khmer; Loma for Thai dialogs, which want Latin letters in the same face;
    # Abyssinica for Ethiopic (2.6 MB together); Harmattan for Urdu dialogs, whose letters
    # the Arabic face lacks (2.3 MB: its Regular and Bold). fontTools makes the rig's Thai
    # and Urdu dialog faces from Loma and Harmattan (scripts/rig-font.py).
    fonts-noto-ui-core fonts-tlwg-loma-ttf fonts-sil-abyssinica fonts-sil-harmattan python3-fonttools)
# lld links the DLL's second build, with clang (scripts/build.sh --clang); llvm-14's
# dlltool and windres make the ARM64 build's import libraries and resources, and its
# readobj reads the DLLs (tests/arm64/check_dlls.sh).
packages+=(lld-14 llvm-14)
missing=()
for package in "${packages[@]}" "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Debian's ARM64 Wine, unpacked with the ARM64 libraries it needs into its own folder
# (ARM64_WINE, default /opt/wine-arm64), beside the x64 Wine, which it leaves alone. apt
# resolves them with lists of its own, for that architecture alone. Without it only the
# ARM64 run is skipped, so a failure here is said and passed over. qemu runs it.
unpack_arm64_wine() {
    local root=${ARM64_WINE:-/opt/wine-arm64} apt deb
    dpkg -s qemu-user-static >/dev/null 2>&1 ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq qemu-user-static >/dev/null || return 1
    if [ ! -x "$root/usr/lib/wine/wine64" ]; then
        echo "Unpacking the ARM64 Wine into $root"
        apt=$(mktemp -d)
        chmod 755 "$apt"
        mkdir -p "$apt/lists/partial" "$apt/archives/partial"
        touch "$apt/status"
        local options=(-o Dir::State::Lists="$apt/lists" -o Dir::Cache::Archives="$apt/archives"
            -o Dir::State::status="$apt/status" -o APT::Architecture=arm64
            -o APT::Architectures::=arm64 -o Debug::NoLocking=1 -qq)
        apt-get "${options[@]}" update &&
            apt-get "${options[@]}" install --download-only --no-install-recommends -y wine64 libwine \
                >/dev/null || { rm -rf "$apt"; return 1; }
        rm -rf "$root.part"
        mkdir -p "$root.part"
        for deb in "$apt"/archives/*.deb; do dpkg-deb -x "$deb" "$root.part" || return 1; done
        rm -rf "$apt" "$root"
        mv "$root.part" "$root"
    fi
    # ARM64 programs run through qemu, which finds the ARM64 libraries by QEMU_LD_PREFIX.
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ]; then
        [ -e /proc/sys/fs/binfmt_misc/register ] ||
            mount binfmt_misc -t binfmt_misc /proc/sys/fs/binfmt_misc || return 1
        cat /usr/lib/binfmt.d/qemu-aarch64.conf >/proc/sys/fs/binfmt_misc/register || return 1
    fi
}
unpack_arm64_wine || echo "setup.sh: the ARM64 Wine is not set up; the ARM64 run will be skipped" >&2
