"""One function per bitmap id: what each picture shows."""
import math

from draw import Proj
from geom import add, sub, mul, rotate, bezier, norm
from parts import (PX, PY, PZ, Stack, box, face, top_rect, disc, draw_stack,
                   mark_edge, mark_corner, mark_points, asterisk, chevron,
                   arrow, curved_arrow, arc3, printer, output_bin, bin_stack,
                   rear_slot, slot_stack, rear_tray, rear_tray_stack,
                   drawer_stack, pulled_drawer, foldout_tray, foldout_stack,
                   finger, press_lines, pointer)

SCENES = {}


def scene(*ids):
    def register(fn):
        for i in ids:
            SCENES[i] = fn
        return fn
    return register


# -- the printed stack taken out, moved or turned -----------------------------

def _bin_with_stack(c, p, lift=True):
    s = bin_stack(printed_up=False)
    from parts import BIN, BIN_DEPTH
    x0, x1, z0, z1 = BIN
    opening = top_rect(p, x0, x1, z0, z1, PY)
    with c.clipped(opening):
        draw_stack(c, p, s, part='body')
    if lift:
        draw_stack(c, p, s, lift=('edge', 'near', 0.25, 0.75, 0.6), part='flap')
    mark_corner(c, p, s, 'far_right')


@scene(105)
def out_bin(c, bitmap_id):
    p = Proj(24, 86)
    printer(c, p)
    _bin_with_stack(c, p)


@scene(146)
def bin_alone(c, bitmap_id):
    p = Proj(6, 110, scale=1.45)
    # just the bin: a slab of the printer's top with the recess in it
    box(c, p, 4, 56, PY - 7, PY, 2, 53, 'body_top', 'body_side', 'body_front')
    output_bin(c, p, 0, 0)
    _bin_with_stack(c, p)


@scene(106)
def rear_tray_to_slot(c, bitmap_id):
    p = Proj(52, 97)
    rear_tray(c, p)
    low = rear_tray_stack(printed_up=True)
    draw_stack(c, p, low)
    mark_edge(c, p, low, 'far', 0.5, 0.9, dist=6)
    printer(c, p)
    rear_slot(c, p)
    high = slot_stack(printed_toward_viewer=True)
    with c.faded():
        draw_stack(c, p, high)
    mark_corner(c, p, high, 'far_right', arm=0.25)
    a = p(*low.at(0.25, 0.75))
    b = p(*high.at(0.3, 0.55, 0))
    curved_arrow(c, [add(a, (0, -2)), (a[0] - 4, a[1] - 40), (b[0] - 26, b[1] - 10),
                     add(b, (-5, 0))])


def _beside(c, printed_up, lift=None, mark='left'):
    p = Proj(-30, 84)
    printer(c, p)
    s = Stack((84, 0, 10), (34, 0, 0), (0, 0, 30), (0, 4, 0), printed_up)
    centre = (101, 2, 25)
    back = arc3(p, centre, 31, 15, 125, ry=28)
    front = arc3(p, centre, 31, 195, 305, ry=28)
    arrow(c, back, width=2, head=4.5)
    draw_stack(c, p, s, lift=lift)
    arrow(c, front, width=2, head=4.5)
    if mark == 'left':
        mark_edge(c, p, s, 'left', 0.25, 0.75, dist=6)
    else:
        mark_edge(c, p, s, 'near', 0.3, 0.7)


@scene(123)
def beside_up(c, bitmap_id):
    _beside(c, True)


@scene(133)
def beside_down(c, bitmap_id):
    _beside(c, False, lift=('corner', 'near_right', 0.42))


@scene(134)
def beside_near(c, bitmap_id):
    _beside(c, True, mark='near')


@scene(149, 154, 155)
def book_turn(c, bitmap_id):
    p = Proj(4, 96)
    # the flat tray
    box(c, p, 0, 124, 0, 3, 0, 40, 'body_top', 'body_side', 'body_front')
    hinge = (62, 3, 0)
    before = Stack((20, 3, 6), (40, 0, 0), (0, 0, 28), (0, 4, 0), True)
    with c.faded():
        draw_stack(c, p, before)
        mark_edge(c, p, before, 'left', 0.3, 0.7, dist=6)
    # half turned over about its right edge, like a page of a book
    angle = -math.radians(80)
    axis = (0, 0, 1)
    after = Stack(rotate(before.o, hinge, axis, angle),
                  rotate(before.u, (0, 0, 0), axis, angle), before.v,
                  rotate(before.n, (0, 0, 0), axis, angle), True)
    after.o = add(after.o, (2, 0, 0))
    draw_stack(c, p, after)
    mark_edge(c, p, after, 'left', 0.35, 0.75, side=-1)
    curve = arc3(p, (62, 3, 34), 52, 163, 14, axes=((1, 0, 0), (0, 1, 0)), ry=50)
    arrow(c, curve, width=3, head=6)


@scene(151)
def turn_toward_viewer(c, bitmap_id):
    p = Proj(32, 88)
    s = Stack((10, 0, 16), (60, 0, 0), (0, 0, 40), (0, 5, 0), True)
    draw_stack(c, p, s)
    mark_edge(c, p, s, 'right', 0.25, 0.75, dist=6)
    # large arrow: up from the far edge, over, and down in front
    centre = (40, 5, 36)
    pts = arc3(p, centre, 21, 0, 200, axes=((0, 0, 1), (0, 1, 0)), ry=38)
    arrow(c, pts, width=3, head=6)


@scene(152)
def turn_to_left(c, bitmap_id):
    p = Proj(26, 86)
    lift = math.radians(22)
    # printed lines run across (along z); v runs left to right, tilted up
    v = rotate((58, 0, 0), (0, 0, 0), (0, 0, 1), lift)
    n = rotate((0, 5, 0), (0, 0, 0), (0, 0, 1), lift)
    s = Stack((28, 0, 48), (0, 0, -36), v, n, True)
    draw_stack(c, p, s, spacing=0.13)
    mark_edge(c, p, s, 'far', 0.25, 0.75, dist=6)
    a = p(*add(s.at(0.5, 1), (4, 8, 0)))
    b = p(18, 6, 30)
    curved_arrow(c, [a, (a[0] + 8, a[1] - 50), (b[0] - 6, b[1] - 58), b],
                 width=3, head=6)


# -- the stack loaded into an input tray or slot -------------------------------

@scene(107, 108)
def foldout(c, bitmap_id):
    p = Proj(8, 84)
    printer(c, p)
    foldout_tray(c, p)
    if bitmap_id == 107:
        s = foldout_stack(printed_up=False)
        draw_stack(c, p, s, lift=('edge', 'near', 0.25, 0.75, 0.6))
        mark_edge(c, p, s, 'right', 0.3, 0.7, dist=6)
    else:
        s = foldout_stack(printed_up=True)
        draw_stack(c, p, s)
        mark_edge(c, p, s, 'near', 0.3, 0.7)


@scene(110, 111, 112, 113)
def rear_slot_loaded(c, bitmap_id):
    p = Proj(30, 95)
    printer(c, p)
    rear_slot(c, p)
    toward = bitmap_id in (112, 113)
    s = slot_stack(printed_toward_viewer=toward)
    lift = None if toward else ('corner', 'far_left', 0.35)
    draw_stack(c, p, s, lift=lift)
    if bitmap_id == 110:
        mark_edge(c, p, s, 'far', 0.45, 0.9, dist=6)
    elif bitmap_id == 111:
        mark_edge(c, p, s, 'near', 0.3, 0.8, dist=6)
    elif bitmap_id == 112:
        mark_corner(c, p, s, 'far_left', arm=0.3)
    else:
        mark_edge(c, p, s, 'right', 0.3, 0.7, dist=6)


@scene(114, 115, 116, 117, 118, 119, 120, 121)
def front_drawer(c, bitmap_id):
    kind = 'shallow' if bitmap_id <= 117 else 'deep'
    variant = (bitmap_id - 114) % 4   # 0 chevron, 1 beyond far, 2 right, 3 left
    p = Proj(4, 88)
    printer(c, p, drawer=kind)
    printed_up = variant >= 2
    s = drawer_stack(kind, printed_up)
    lift = None
    if not printed_up:
        lift = (('edge', 'right', 0.2, 0.8, 0.55) if kind == 'shallow'
                else ('corner', 'near_right', 0.4))
    pulled_drawer(c, p, kind, s, lift)
    if variant == 0:
        tip = p(*s.at(0.08, 0.55, 1))
        chevron(c, tip, (-1, 0), size=4)
        chevron(c, add(tip, (6, 0)), (-1, 0), size=4)
        asterisk(c, *add(tip, (15, -2)))
    elif variant == 1:
        mark_edge(c, p, s, 'left', 0.25, 0.75, gap=2, dist=5)
    elif variant == 2:
        mark_edge(c, p, s, 'right', 0.25, 0.75, dist=6)
    else:
        mark_edge(c, p, s, 'left', 0.25, 0.75, gap=2, dist=5)


@scene(147)
def cassette(c, bitmap_id):
    p = Proj(26, 84)
    line = 'grey'
    # the lower part of the printer it comes out of, in the same fine lines
    box(c, p, -60, 0, 0, 22, 0, PZ, 'white', 'white', 'body_side', outline=line)
    face(c, p, [(0, 0, 3), (0, 0, PZ - 3), (0, 13, PZ - 3), (0, 13, 3)], 'shadow', line)
    # the cassette, pulled out to the right
    x0, x1, z0, z1, top = 0, 96, 4, 50, 11
    opening = top_rect(p, x0, x1, z0, z1, top)
    c.poly(opening, 'body_side', line)
    inner = top_rect(p, x0 + 3, x1 - 3, z0 + 3, z1 - 3, top)
    c.poly(inner, 'body_side', line)
    s = Stack((x0 + 8, 2, z0 + 7), (76, 0, 0), (0, 0, z1 - z0 - 14), (0, 6, 0), False)
    with c.clipped(inner):
        draw_stack(c, p, s)
    box(c, p, x0, x1, 0, top, z0, z1, None, 'white', 'white', outline=line)
    c.poly(opening, None, line)
    c.poly(inner, None, line)
    # the handle in its front panel
    face(c, p, [(x1, 4, 18), (x1, 4, 36), (x1, 7, 36), (x1, 7, 18)], 'white', line)
    mark_edge(c, p, s, 'right', 0.25, 0.75, dist=6)


# -- the job resumed by a button ----------------------------------------------

@scene(109)
def panel_button(c, bitmap_id):
    p = Proj(10, 94)
    printer(c, p, panel_button=True)
    x, y = p(PX - 7, PY, 15)
    press_lines(c, x, y)
    finger(c, (x + 2, y - 3), -40, length=22, width=8)


# The face of the button in 122, corners inclusive. Its label is not drawn here: the
# library writes the dialog's own Continue text on it at paint time, in the reader's
# language, so the face stays empty. The library keeps the same rectangle.
BUTTON_FACE_122 = (18, 40, 136, 68)


@scene(122)
def continue_button(c, bitmap_id):
    # a piece of a window with the push button, as on screen
    c.rect(8, 10, 146, 90, 'white')
    c.rect(9, 11, 146, 90, 'shadow')
    c.rect(9, 11, 145, 89, 'ground')
    c.rect(10, 12, 144, 21, 'arrow_dark')
    x0, y0, x1, y1 = 16, 38, 138, 70
    c.rect(x0, y0, x1, y1, 'black')                   # default-button frame
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 'white')
    c.rect(x0 + 2, y0 + 2, x1 - 1, y1 - 1, 'grey')
    c.rect(*BUTTON_FACE_122, 'ground')
    pointer(c, 124, 54, size=2)


@scene(153)
def keypad(c, bitmap_id):
    p = Proj(6, 92)
    box(c, p, 0, 106, 0, 8, 0, 60, 'body_top', 'body_side', 'body_front')
    # keypad of circular keys, three by four
    for row in range(4):
        for col in range(3):
            disc(c, p, (70 + col * 12, 8, 50 - row * 12), 4.2, 'white')
    # the wide key, pressed by the finger
    box(c, p, 14, 50, 8, 10, 22, 36, 'white', 'body_front', 'grey')
    x, y = p(32, 10, 29)
    finger(c, (x - 1, y - 1), -130, length=22, width=8)
