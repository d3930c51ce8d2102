"""Writing and checking the DIB files that res/printdialogs.rc embeds.

GNU windres strips the 14-byte BITMAPFILEHEADER of a .bmp named in a BITMAP
statement; what remains (BITMAPINFOHEADER, colour table, rows) is the
RT_BITMAP resource.  The formats are fixed: the DLL's tests check them byte for byte.
"""
import struct

# The twenty static system colours, at both ends of the common table.
_SYSTEM_LOW = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
    (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192),
    (166, 202, 240),
]
_SYSTEM_HIGH = [
    (255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0),
    (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]


def common_table():
    """The 256-entry table shared by all 8-bit bitmaps, as (r, g, b)."""
    table = [(32 * (i % 8), 32 * ((i // 8) % 8), 64 * (i // 64))
             for i in range(256)]
    table[0:10] = _SYSTEM_LOW
    table[246:256] = _SYSTEM_HIGH
    return table


COMMON_TABLE = common_table()

# id -> (width, height, bits per pixel); resource size follows from these.
FORMATS = {}
for _id in list(range(105, 124)) + [133, 134, 146, 149, 151, 152]:
    FORMATS[_id] = (155, 100, 8)
for _id in (147, 153, 155):
    FORMATS[_id] = (155, 100, 4)
FORMATS[154] = (152, 98, 24)

RESOURCE_SIZE = {8: 16664, 4: 8104, 24: 44728}


def stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def dib_bytes(width, height, bpp, rows, table):
    """rows: top-down list of rows; a row is a list of palette indices
    (4 and 8 bit) or of (r, g, b) tuples (24 bit).  table: list of
    (r, g, b), empty for 24 bit."""
    line = stride(width, bpp)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                         line * height, 0, 0, 0, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in table)
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        if bpp == 8:
            data = bytes(row)
        elif bpp == 4:
            padded = list(row) + [0] * (len(row) % 2)
            data = bytes((padded[i] << 4) | padded[i + 1]
                         for i in range(0, len(padded), 2))
        else:
            data = b''.join(struct.pack('<BBB', b, g, r) for r, g, b in row)
        pixels += data + b'\0' * (line - len(data))
    return header + colours + bytes(pixels)


def bmp_file(dib, table_entries):
    offset = 14 + 40 + 4 * table_entries
    return struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, offset) + dib


def check_file(path, bitmap_id):
    """Return a list of problems with one written file (empty when exact)."""
    problems = []
    data = open(path, 'rb').read()
    width, height, bpp = FORMATS[bitmap_id]
    entries = {8: 256, 4: 16, 24: 0}[bpp]
    magic, file_size, _, _, offset = struct.unpack_from('<2sIHHI', data, 0)
    dib = data[14:]
    if magic != b'BM' or file_size != len(data):
        problems.append('file header magic/size')
    if offset != 14 + 40 + 4 * entries:
        problems.append('pixel offset %d' % offset)
    if len(dib) != RESOURCE_SIZE[bpp]:
        problems.append('resource size %d, expected %d'
                        % (len(dib), RESOURCE_SIZE[bpp]))
    fields = struct.unpack_from('<IiiHHIIiiII', dib, 0)
    expected = (40, width, height, 1, bpp, 0, stride(width, bpp) * height,
                0, 0, 0, 0)
    if fields != expected:
        problems.append('header %r, expected %r' % (fields, expected))
    table = [struct.unpack_from('<BBBB', dib, 40 + 4 * i) for i in range(entries)]
    if any(q[3] != 0 for q in table):
        problems.append('reserved byte of a table entry is not 0')
    if bpp == 8 and [(r, g, b) for b, g, r, _ in table] != COMMON_TABLE:
        problems.append('colour table differs from the common table')
    if bpp == 4 and len({(r, g, b) for b, g, r, _ in table}) < 2:
        problems.append('degenerate 16-entry table')
    return problems
