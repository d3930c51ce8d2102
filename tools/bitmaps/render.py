"""Render the twenty-nine duplex pictures, write res/bitmaps/NNN.bmp and
docs/bitmaps.png, then check every written file.

Run through tools/bitmaps/render.sh."""
import os
import sys

from PIL import Image, ImageDraw

from bmpfile import (COMMON_TABLE, FORMATS, bmp_file, check_file, dib_bytes)
from draw import COLOURS, Canvas
from parts import DIGITS
from scenes import SCENES

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
OUT = os.path.join(ROOT, 'res', 'bitmaps')
SHEET = os.path.join(ROOT, 'docs', 'bitmaps.png')

# The 4-bit pictures each have a table of their own.
# 155 is 149 with exactly the colours 149 uses.
PALETTE_155 = ['ground', 'outline', 'body_top', 'body_side', 'body_front',
               'paper', 'paper_edge', 'print', 'red', 'arrow', 'f_paper',
               'f_outline', 'f_print', 'f_red', 'black', 'teal']
# 147: the cassette in fine grey lines with a blank stack.
PALETTE_147 = ['ground', 'outline', 'white', 'body_side', 'body_front',
               'paper', 'paper_edge', 'print', 'red', 'grey', 'teal',
               'body_top', 'black', 'shadow', 'body_dark', 'arrow']
# 153: sixteen greys from near white to near black; scene colours map onto them.
GREYS = [round(240 - i * 224 / 15) for i in range(16)]
GREY_OF = {'body_top': 0, 'white': 0, 'nail': 0, 'body_side': 2, 'skin': 1,
           'ground': 4, 'body_front': 7, 'grey': 9, 'body_dark': 9,
           'arrow': 11, 'skin_dark': 11, 'outline': 13, 'black': 15}


class GreyCanvas(Canvas):
    def colour(self, name):
        if name is None:
            return None
        return GREY_OF[name]


def render(bitmap_id):
    """Returns (rows, table, preview image)."""
    width, height, bpp = FORMATS[bitmap_id]
    if bpp == 8:
        c = Canvas(width, height, 'P8')
        table = COMMON_TABLE
    elif bitmap_id == 153:
        c = GreyCanvas(width, height, 'P4')
        table = [(g, g, g) for g in GREYS]
    elif bpp == 4:
        names = PALETTE_155 if bitmap_id == 155 else PALETTE_147
        assert len(names) == 16 and len(set(names)) == 16
        c = Canvas(width, height, 'P4', names=names)
        table = [COLOURS[n] for n in names]
    else:
        c = Canvas(width, height, 'RGB', scale=width / 155.0, ss=4)
        table = []
    SCENES[bitmap_id](c, bitmap_id)
    rows = c.result()
    return rows, table, c.preview(table)


def digits(draw, x, y, s, size, fill):
    for ch in s:
        for j, row in enumerate(DIGITS[ch]):
            for i, v in enumerate(row):
                if v == '#':
                    draw.rectangle((x + i * size, y + j * size,
                                    x + i * size + size - 1, y + j * size + size - 1),
                                   fill=fill)
        x += 4 * size


def contact_sheet(previews, path):
    cols, cell_w, cell_h, pad, label = 5, 310, 200, 14, 16
    ids = sorted(previews)
    rows = (len(ids) + cols - 1) // cols
    sheet = Image.new('RGB', (pad + cols * (cell_w + pad),
                              pad + rows * (cell_h + label + pad)), (112, 112, 112))
    draw = ImageDraw.Draw(sheet)
    for k, i in enumerate(ids):
        x = pad + (k % cols) * (cell_w + pad)
        y = pad + (k // cols) * (cell_h + label + pad)
        digits(draw, x, y, str(i), 2, (255, 255, 255))
        img = previews[i]
        big = img.resize((img.width * 2, img.height * 2), Image.NEAREST)
        draw.rectangle((x - 1, y + label - 1, x + big.width, y + label + big.height),
                       outline=(40, 40, 40))
        sheet.paste(big, (x, y + label))
    sheet.save(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    os.makedirs(os.path.dirname(SHEET), exist_ok=True)
    previews = {}
    for bitmap_id in sorted(FORMATS):
        width, height, bpp = FORMATS[bitmap_id]
        rows, table, preview = render(bitmap_id)
        dib = dib_bytes(width, height, bpp, rows, table)
        with open(os.path.join(OUT, '%d.bmp' % bitmap_id), 'wb') as f:
            f.write(bmp_file(dib, len(table)))
        previews[bitmap_id] = preview
    contact_sheet(previews, SHEET)
    return self_check()


def self_check():
    problems = []
    names = sorted(n for n in os.listdir(OUT) if n.lower().endswith('.bmp'))
    expected = sorted('%d.bmp' % i for i in FORMATS)
    if len(FORMATS) != 29 or names != expected:
        problems.append('res/bitmaps holds %r, expected the 29 files %r'
                        % (names, expected))
    for bitmap_id in sorted(FORMATS):
        path = os.path.join(OUT, '%d.bmp' % bitmap_id)
        if os.path.exists(path):
            problems += ['%d.bmp: %s' % (bitmap_id, m)
                         for m in check_file(path, bitmap_id)]
    for m in problems:
        print('check failed:', m, file=sys.stderr)
    if not problems:
        print('checked %d bitmaps: headers, tables and resource sizes exact'
              % len(names))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
