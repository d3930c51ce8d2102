"""Canvas, colours and the one viewpoint shared by every picture.

Pictures are drawn in design units of the 155 x 100 pixel frame.  The same
drawing code renders into palette indices without anti-aliasing (8-bit and
4-bit bitmaps) or, supersampled, into true colour (the 24-bit bitmap).
"""
import math
from contextlib import contextmanager

from PIL import Image, ImageDraw

# Every colour a picture may use.  Each is an exact entry of the common
# 256-entry table, so the 8-bit bitmaps need no colour matching at all.
COLOURS = {
    'ground':      (192, 192, 192),  # light grey ground
    'outline':     (64, 64, 64),     # every outline
    'black':       (0, 0, 0),
    'white':       (255, 255, 255),
    'body_top':    (255, 255, 255),  # printer: lit top
    'body_side':   (255, 251, 240),  # printer: face toward the viewer
    'body_front':  (160, 160, 164),  # printer: its front (to the right)
    'body_dark':   (128, 128, 128),  # openings, seams, recesses
    'paper':       (166, 202, 240),  # pale blue stack
    'paper_edge':  (128, 160, 192),  # the stack's edges
    'print':       (32, 32, 64),     # printed lines
    'teal':        (0, 128, 128),    # printed lines seen under a lifted edge
    'red':         (255, 0, 0),      # the mark
    'arrow':       (0, 64, 192),     # curved arrows
    'arrow_dark':  (0, 0, 128),
    'skin':        (224, 160, 128),
    'skin_dark':   (128, 64, 0),
    'nail':        (224, 192, 128),
    'green':       (0, 160, 0),
    'green_dark':  (0, 64, 0),
    'lcd':         (160, 192, 128),
    'shadow':      (160, 160, 164),
    'grey':        (128, 128, 128),
    # faded variants, for the "before" or "after" state of a stack
    'f_paper':     (160, 192, 192),
    'f_outline':   (160, 160, 164),
    'f_print':     (128, 128, 192),
    'f_red':       (224, 128, 128),
}

FADE = {
    'paper': 'f_paper', 'paper_edge': 'f_paper', 'outline': 'f_outline',
    'print': 'f_print', 'teal': 'f_print', 'red': 'f_red',
    'body_dark': 'f_outline', 'grey': 'f_outline',
}

# The viewpoint: an oblique view from the front right and above.  x runs to
# the right, y up, z away from the viewer; depth recedes up and to the right
# at 45 degrees, so receding edges are clean pixel diagonals.  The printer
# stands with its front facing right (+x) and its back to the left.
DEPTH = 0.6


class Proj:
    def __init__(self, ox, oy, scale=1.0, depth=DEPTH):
        self.ox, self.oy, self.s, self.k = ox, oy, scale, depth

    def __call__(self, x, y, z):
        s = self.s
        return (self.ox + s * (x + self.k * z), self.oy - s * (y + self.k * z))


class Canvas:
    """mode 'P8': indices of the common table; 'P4': indices of a table of
    16 colour names; 'RGB': supersampled true colour."""

    def __init__(self, width, height, mode, names=None, scale=1.0, ss=1):
        self.width, self.height, self.mode = width, height, mode
        self.names, self.scale, self.ss = names, scale, ss
        self.fading = False
        if mode == 'RGB':
            size = (round(width * ss), round(height * ss))
            self.image = Image.new('RGB', size)
        else:
            self.image = Image.new('P', (width, height))
        self.draw = ImageDraw.Draw(self.image)
        self.fill_all('ground')

    # -- colours ---------------------------------------------------------
    def colour(self, name):
        if name is None:
            return None
        if self.fading:
            name = FADE.get(name, name)
        if self.mode == 'RGB':
            return COLOURS[name]
        if self.mode == 'P4':
            return self.names.index(name)
        from bmpfile import COMMON_TABLE
        return COMMON_TABLE.index(COLOURS[name])

    @contextmanager
    def faded(self, on=True):
        old, self.fading = self.fading, on
        try:
            yield
        finally:
            self.fading = old

    @contextmanager
    def clipped(self, polygon):
        """Draw only inside a screen polygon (design units)."""
        base = self.image
        self.image = base.copy()
        self.draw = ImageDraw.Draw(self.image)
        try:
            yield
        finally:
            mask = Image.new('L', base.size, 0)
            ImageDraw.Draw(mask).polygon([self._xy(p) for p in polygon],
                                         fill=255)
            base.paste(self.image, (0, 0), mask)
            self.image = base
            self.draw = ImageDraw.Draw(self.image)

    # -- coordinates -----------------------------------------------------
    def _xy(self, p):
        x, y = p
        if self.mode == 'RGB':
            s = self.scale * self.ss
            return ((x + 0.5) * s, (y + 0.5) * s)
        return (math.floor(x + 0.5), math.floor(y + 0.5))

    def _w(self, width):
        if self.mode == 'RGB':
            return max(1, round(width * self.scale * self.ss))
        return width

    # -- primitives ------------------------------------------------------
    def fill_all(self, name):
        self.draw.rectangle((0, 0) + self.image.size, fill=self.colour(name))

    def poly(self, points, fill=None, outline=None):
        pts = [self._xy(p) for p in points]
        if fill is not None:
            self.draw.polygon(pts, fill=self.colour(fill))
        if outline is not None:
            self.draw.line(pts + [pts[0]], fill=self.colour(outline),
                           width=self._w(1), joint='curve')

    def line(self, points, colour, width=1):
        pts = [self._xy(p) for p in points]
        w = self._w(width)
        self.draw.line(pts, fill=self.colour(colour), width=w,
                       joint='curve' if w > 1 else None)
        if w > 2 and self.mode != 'RGB':
            # round the caps of thick strokes
            for p in (pts[0], pts[-1]):
                r = (w - 1) / 2
                self.draw.ellipse((p[0] - r, p[1] - r, p[0] + r, p[1] + r),
                                  fill=self.colour(colour))

    def dot(self, x, y, colour):
        self.rect(x, y, x, y, colour)

    def rect(self, x0, y0, x1, y1, fill):
        """Filled pixel rectangle, both corners inclusive."""
        if self.mode == 'RGB':
            s = self.scale * self.ss
            self.draw.rectangle((x0 * s, y0 * s, (x1 + 1) * s - 1,
                                 (y1 + 1) * s - 1), fill=self.colour(fill))
        else:
            self.draw.rectangle((x0, y0, x1, y1), fill=self.colour(fill))

    def pixels(self, x, y, rows, colours, size=1):
        """A little pixel picture: rows of characters, colours maps a
        character to a colour name; others are transparent."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in colours:
                    self.rect(x + i * size, y + j * size,
                              x + i * size + size - 1,
                              y + j * size + size - 1, colours[ch])

    # -- result ----------------------------------------------------------
    def result(self):
        """Top-down rows of indices (P modes) or (r, g, b) (RGB)."""
        image = self.image
        if self.mode == 'RGB' and self.ss != 1:
            image = image.resize((self.width, self.height), Image.LANCZOS)
        data = list(image.getdata())
        w = self.width
        return [data[i * w:(i + 1) * w] for i in range(self.height)]

    def preview(self, table):
        """An RGB image of the result, for the contact sheet."""
        rows = self.result()
        img = Image.new('RGB', (self.width, self.height))
        flat = [table[v] if isinstance(v, int) else v for r in rows for v in r]
        img.putdata(flat)
        return img
