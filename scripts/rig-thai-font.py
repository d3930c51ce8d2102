#!/usr/bin/env python3
"""The rig's own Thai dialog face: a Debian Thai font with Latin letters, its line cut
down to the ink of its Thai and Latin letters, under a name of the rig's own.

Loma's line is 1.59 em tall (its ascent and descent make room for rare stacked forms),
where the Thai dialog face of Windows takes about 1.21 em; a dialog's size follows its
font's line, so Thai dialogs stood a third taller than a Thai user sees them. The letters
are left as they are; only the vertical metrics and the names change.

    python3 scripts/rig-thai-font.py SOURCE.ttf OUT.ttf
"""
import sys

from fontTools.ttLib import TTFont

FAMILY = "Printdialogs Rig Thai"
# Thai, and the Latin a Thai dialog shows beside it ("(&P)", "1.", names).
LETTERS = list(range(0x0E01, 0x0E5C)) + list(range(0x0020, 0x0180))


def main(source, out):
    font = TTFont(source)
    glyphs = font["glyf"]
    cmap = font.getBestCmap()
    top = bottom = 0
    for code in LETTERS:
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
    full = FAMILY if style == "Regular" else f"{FAMILY} {style}"
    names = {1: FAMILY, 4: full, 6: full.replace(" ", ""), 16: FAMILY, 17: style}
    for record in font["name"].names:
        if record.nameID in names:
            record.string = names[record.nameID]
    font.save(out)
    print(f"{out}: {FAMILY} {style}, line {(top - bottom) / font['head'].unitsPerEm:.3f} em")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    main(sys.argv[1], sys.argv[2])
