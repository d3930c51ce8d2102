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
    # Abyssinica for Ethiopic (2.6 MB together). fontTools makes the rig's Thai dialog
    # face from Loma (scripts/rig-thai-font.py).
    fonts-noto-ui-core fonts-tlwg-loma-ttf fonts-sil-abyssinica python3-fonttools)
# lld links the DLL's second build, with clang (scripts/build.sh --clang).
packages+=(lld-14)
missing=()
for package in "${packages[@]}" "$@"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
