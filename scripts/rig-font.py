#!/usr/bin/env python3
"""The rig's own dialog face for a script: a Debian font with the script and Latin
letters, its line cut down to the ink of the letters a dialog of that script shows,
under a name of the rig's own.

Thai, from Loma: its line is 1.59 em tall (its ascent and descent make room for rare
stacked forms), where the Thai dialog face of Windows takes about 1.21 em; a dialog's size
follows its font's line, so Thai dialogs stood a third taller than a Thai user sees them.
Urdu, from Harmattan: the Arabic face (DejaVu Sans) lacks three Urdu letters, and Wine
links no font for a character of the locale's own code page; Harmattan has them, but its
1.70 em line (room for the marks of every Arabic-script language) would make Urdu dialogs
half again as tall. Its Urdu and Latin letters take 1.20 em. The letters are left as they
are; only the vertical metrics and the names change, and for Urdu one step of shaping.

    python3 scripts/rig-font.py thai|urdu SOURCE.ttf OUT.ttf
"""
import sys

from fontTools.ttLib import TTFont

# The Latin a dialog shows beside its script ("(&P)", "1.", names).
LATIN = list(range(0x0020, 0x0180))
FACES = {
    "thai": ("Printdialogs Rig Thai", list(range(0x0E01, 0x0E5C)) + LATIN),
    # The Urdu alphabet (the Arabic letters it keeps, and its own), its vowel marks,
    # punctuation and digits.
    "urdu": ("Printdialogs Rig Urdu", list(range(0x0621, 0x063B)) + list(range(0x0640, 0x0653))
             + [0x0654, 0x0670, 0x060C, 0x061B, 0x061F, 0x0679, 0x067E, 0x0686, 0x0688, 0x0691,
                0x0698, 0x06A9, 0x06AF, 0x06BA, 0x06BE, 0x06C1, 0x06C2, 0x06C3, 0x06CC, 0x06D2,
                0x06D3, 0x06D4] + list(range(0x06F0, 0x06FA)) + LATIN),
}


def keep_letters_whole(font):
    """Harmattan splits a letter with hamza or madda (آ) into the bare letter and its mark
    before it joins letters; Wine's shaping then gives every letter after it in the line
    the joining form of its neighbour (آپ پرنٹ drawn as آپ پ رن ٹ). Each such letter has a
    glyph of its own, so the split is left out."""
    gsub = font["GSUB"].table
    splits = {index for index, lookup in enumerate(gsub.LookupList.Lookup) if lookup.LookupType == 2}
    for record in gsub.FeatureList.FeatureRecord:
        feature = record.Feature
        feature.LookupListIndex = [index for index in feature.LookupListIndex if index not in splits]
        feature.LookupCount = len(feature.LookupListIndex)


def main(script, source, out):
    family, letters = FACES[script]
    font = TTFont(source)
    if script == "urdu":
        keep_letters_whole(font)
    glyphs = font["glyf"]
    cmap = font.getBestCmap()
    top = bottom = 0
    for code in letters:
        if code not in cmap:
            continue
        glyph = glyphs[cmap[code]]
        if glyph.numberOfContours == 0:
            continue
        glyph.recalcBounds(glyphs)
        top = max(top, glyph.yMax)
        bottom = min(bottom, glyph.yMin)
    os2, hhea = font["OS/2"], font["hhea"]
    os2.usWinAscent, os2.usWinDescent = top, -bottom
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = top, bottom, 0
    hhea.ascent, hhea.descent, hhea.lineGap = top, bottom, 0

    style = font["name"].getDebugName(2) or "Regular"
    full = family if style == "Regular" else f"{family} {style}"
    names = {1: family, 4: full, 6: full.replace(" ", ""), 16: family, 17: style}
    for record in font["name"].names:
        if record.nameID in names:
            record.string = names[record.nameID]
    font.save(out)
    print(f"{out}: {family} {style}, line {(top - bottom) / font['head'].unitsPerEm:.3f} em")


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in FACES:
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    main(sys.argv[1], sys.argv[2], sys.argv[3])
