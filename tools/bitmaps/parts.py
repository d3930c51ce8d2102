"""Shared components: printer body and its trays, paper stacks, the mark,
arrows, the finger, keys and screen items.  Every picture is assembled from
these, so they share one body, one palette, one line weight and one view."""
import math

from draw import DEPTH
from geom import add, sub, mul, dot, norm, lerp, rotate, bezier, clip_convex

VIEW = (DEPTH, DEPTH, -1.0)   # toward the viewer; a face shows if its normal agrees

# The printer body: x from back (0) to front (PX), y up, z across its width.
PX, PY, PZ = 70, 32, 54


def face(c, p, pts, fill, outline='outline'):
    c.poly([p(*q) for q in pts], fill, outline)


def box(c, p, x0, x1, y0, y1, z0, z1, top, side, front, outline='outline'):
    """Axis-aligned box; the three faces this view shows."""
    if side:
        face(c, p, [(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0)],
             side, outline)
    if top:
        face(c, p, [(x0, y1, z0), (x1, y1, z0), (x1, y1, z1), (x0, y1, z1)],
             top, outline)
    if front:
        face(c, p, [(x1, y0, z0), (x1, y0, z1), (x1, y1, z1), (x1, y1, z0)],
             front, outline)


def top_rect(p, x0, x1, z0, z1, y):
    """Screen polygon of a horizontal rectangle."""
    return [p(x0, y, z0), p(x1, y, z0), p(x1, y, z1), p(x0, y, z1)]


def disc(c, p, centre, r, fill, outline='outline', axes=((1, 0, 0), (0, 0, 1))):
    """A circle lying in the plane of two unit axes (default: horizontal)."""
    pts = []
    for i in range(24):
        a = 2 * math.pi * i / 24
        pts.append(p(*add(centre, mul(axes[0], r * math.cos(a)),
                          mul(axes[1], r * math.sin(a)))))
    c.poly(pts, fill, outline)


# ---------------------------------------------------------------------------
# Paper stacks

class Stack:
    """A stack of paper: corner o, edges u (along the printed lines) and v,
    thickness n.  Face coordinates (a, b) run along u and v from 0 to 1.
    Edges of the top face: 'near' (b = 0), 'far' (b = 1), 'left' (a = 0),
    'right' (a = 1)."""

    def __init__(self, o, u, v, n, printed_up=True):
        self.o, self.u, self.v, self.n = o, u, v, n
        self.printed_up = printed_up

    def at(self, a, b, h=1.0):
        return add(self.o, mul(self.u, a), mul(self.v, b), mul(self.n, h))

    def centre(self):
        return self.at(0.5, 0.5, 0.5)

    def edge(self, name, h=1.0, t0=0.0, t1=1.0):
        a0, b0, a1, b1 = {'near': (t0, 0, t1, 0), 'far': (t0, 1, t1, 1),
                          'left': (0, t0, 0, t1), 'right': (1, t0, 1, t1)}[name]
        return self.at(a0, b0, h), self.at(a1, b1, h)

    def corner(self, name, h=1.0):
        return self.at(*{'near_left': (0, 0), 'near_right': (1, 0),
                         'far_left': (0, 1), 'far_right': (1, 1)}[name], h=h)


def _visible(centre, face_centre):
    return dot(sub(face_centre, centre), VIEW) > 1e-6


def draw_stack(c, p, s, lift=None, part='all', spacing=0.16):
    """Draw a stack.  lift: ('edge', name, t0, t1) or ('corner', name):
    the top sheet there is lifted, showing its printed underside in teal.
    part: 'all', 'body' (without the lifted sheet) or 'flap' (only it)."""
    centre = s.centre()
    quads = {
        'top': [(0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)],
        'bottom': [(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)],
        'near': [(0, 0, 0), (1, 0, 0), (1, 0, 1), (0, 0, 1)],
        'far': [(0, 1, 0), (1, 1, 0), (1, 1, 1), (0, 1, 1)],
        'left': [(0, 0, 0), (0, 1, 0), (0, 1, 1), (0, 0, 1)],
        'right': [(1, 0, 0), (1, 1, 0), (1, 1, 1), (1, 0, 1)],
    }
    big = None
    if part in ('all', 'body'):
        for name, q in quads.items():
            pts = [s.at(*k) for k in q]
            fc = lerp(pts[0], pts[2], 0.5)
            if not _visible(centre, fc):
                continue
            if name in ('top', 'bottom'):
                big = name
                c.poly([p(*k) for k in pts], 'paper', 'outline')
                if (name == 'top') == s.printed_up:
                    h = 1 if name == 'top' else 0
                    _text_lines(c, p, lambda a, b: s.at(a, b, h), 'print', spacing)
            else:
                c.poly([p(*k) for k in pts], 'paper_edge', 'outline')
    if lift and part in ('all', 'flap'):
        _flap(c, p, s, lift, spacing)


def _text_lines(c, p, at, colour, spacing):
    b = 0.2
    rows = []
    while b < 0.86:
        rows.append(b)
        b += spacing
    for i, b in enumerate(rows):
        end = 0.55 if i == len(rows) - 1 else 0.86
        c.line([p(*at(0.14, b)), p(*at(end, b))], colour)


def _flap(c, p, s, lift, spacing):
    if lift[0] == 'corner':
        _corner_flap(c, p, s, lift, spacing)
    else:
        _edge_flap(c, p, s, lift)


def _edge_flap(c, p, s, lift, n=20):
    """The middle of an edge curls up in a smooth bump."""
    name, t0, t1 = lift[1], lift[2], lift[3]
    depth = lift[4] if len(lift) > 4 else 0.3
    along, across = (s.u, s.v) if name in ('near', 'far') else (s.v, s.u)
    depth = depth * 16.0 / _len(across)        # depth in about 16 units
    e = 0 if name in ('near', 'left') else 1
    inward = 1 if e == 0 else -1

    def ab(t, d):
        return (t, e + inward * d) if name in ('near', 'far') else (e + inward * d, t)
    up = norm(s.n)
    edge_pts, fold_pts, lifted = [], [], []
    for i in range(n + 1):
        k = i / n
        t = t0 + (t1 - t0) * k
        w = math.sin(math.pi * k)
        d = depth * math.sqrt(w)
        E, F = s.at(*ab(t, 0)), s.at(*ab(t, d))
        angle = 1.45 * w
        R = rotate(E, F, along, angle)
        if dot(sub(R, E), up) < 0:
            R = rotate(E, F, along, -angle)
        edge_pts.append(E)
        fold_pts.append(F)
        lifted.append(R)
    # the sheet below, now uncovered
    c.poly([p(*q) for q in edge_pts + fold_pts[::-1]], 'paper', 'paper_edge')
    # the lifted sheet, its printed underside toward the viewer
    c.poly([p(*q) for q in lifted + fold_pts[::-1]], 'paper', 'outline')
    for frac in (0.4, 0.75):
        pts = [p(*lerp(fold_pts[i], lifted[i], frac))
               for i in range(n + 1) if 0.2 <= i / n <= 0.8]
        c.line(pts, 'teal')


def _corner_flap(c, p, s, lift, spacing):
    ca, cb = {'near_left': (0, 0), 'near_right': (1, 0),
              'far_left': (0, 1), 'far_right': (1, 1)}[lift[1]]
    size = lift[2] if len(lift) > 2 else 0.45
    da = size * (1 if ca == 0 else -1)
    db = size * (1 if cb == 0 else -1) * _len(s.u) / _len(s.v)
    f1, f2 = (ca + da, cb), (ca, cb + db)
    region = [f1, (ca, cb), f2]
    angle = 2.0
    at = lambda ab: s.at(ab[0], ab[1], 1)
    axis_o, axis = at(f1), sub(at(f2), at(f1))
    probe = at(region[1])
    up = norm(s.n)
    if dot(sub(rotate(probe, axis_o, axis, angle), probe), up) < 0:
        angle = -angle
    lifted = [rotate(at(q), axis_o, axis, angle) for q in region]
    c.poly([p(*at(q)) for q in region], 'paper', 'paper_edge')
    c.poly([p(*q) for q in lifted], 'paper', 'outline')
    b = -1.0
    while b < 2.0:
        seg = _hclip(region, b)
        if seg:
            a0, a1 = seg
            w = a1 - a0
            a0, a1 = a0 + w * 0.15, a1 - w * 0.15
            if a1 - a0 > 0.04:
                ends = [rotate(at((a, b)), axis_o, axis, angle) for a in (a0, a1)]
                c.line([p(*ends[0]), p(*ends[1])], 'teal')
        b += spacing * 0.7


def _hclip(poly, b):
    """The a-range where the line at b crosses a convex polygon of (a, b)."""
    xs = []
    for i in range(len(poly)):
        (a0, b0), (a1, b1) = poly[i - 1], poly[i]
        if (b0 - b) * (b1 - b) <= 0 and b0 != b1:
            xs.append(a0 + (a1 - a0) * (b - b0) / (b1 - b0))
    inner = [q for q in poly]
    lo, hi = min(q[1] for q in inner), max(q[1] for q in inner)
    if not xs or b <= lo + 0.04 * (hi - lo) or b >= hi - 0.04 * (hi - lo):
        return None
    return min(xs), max(xs)


def _len(v):
    return math.sqrt(dot(v, v))


# ---------------------------------------------------------------------------
# The mark: a red asterisk beside a short red hook or chevron

ASTERISK = [
    "...#...",
    ".#.#.#.",
    "..###..",
    "#######",
    "..###..",
    ".#.#.#.",
    "...#...",
]


def asterisk(c, x, y, colour='red'):
    x, y = math.floor(x + 0.5), math.floor(y + 0.5)
    c.pixels(x - 3, y - 3, ASTERISK, {'#': colour})


def hook(c, s0, s1, out, gap=2.5, leg=3.0, colour='red'):
    """A bracket along the screen segment s0-s1, gap pixels outward."""
    a, b = add(s0, mul(out, gap)), add(s1, mul(out, gap))
    a0, b0 = sub(a, mul(out, leg)), sub(b, mul(out, leg))
    c.line([a0, a, b, b0], colour, width=2)


def _outward(sa, sb, centre):
    d = norm(sub(sb, sa))
    n = (-d[1], d[0])
    mid = lerp(sa, sb, 0.5)
    if dot(n, sub(mid, centre)) < 0:
        n = mul(n, -1)
    return n


def mark_edge(c, p, s, edge, t0=0.25, t1=0.75, gap=2.5, dist=6.5, side=None):
    """Mark one edge of a stack: hook along it, asterisk beyond.  side moves
    the asterisk along the edge (+1 past its end, -1 before its start)."""
    centre = p(*s.centre())
    best = None
    for h in (0, 1):
        e0, e1 = s.edge(edge, h, t0, t1)
        sa, sb = p(*e0), p(*e1)
        out = _outward(sa, sb, centre)
        reach = dot(sub(lerp(sa, sb, 0.5), centre), out)
        if best is None or reach > best[0]:
            best = (reach, sa, sb, out)
    _, sa, sb, out = best
    hook(c, sa, sb, out, gap)
    mid = lerp(sa, sb, 0.5)
    if side:
        along = norm(sub(sb, sa))
        end = sb if side > 0 else sa
        pos = add(end, mul(along, side * 6), mul(out, gap))
    else:
        pos = add(mid, mul(out, gap + dist))
    asterisk(c, *pos)
    return pos


def mark_points(c, sa, sb, centre, gap=2.5, dist=6.5):
    """Mark a screen segment (for edges that are not a stack's)."""
    out = _outward(sa, sb, centre)
    hook(c, sa, sb, out, gap)
    asterisk(c, *add(lerp(sa, sb, 0.5), mul(out, gap + dist)))


def mark_corner(c, p, s, corner, arm=0.3, gap=2.5, dist=7):
    """An L-shaped hook around a corner of the top face, asterisk beyond."""
    ca, cb = {'near_left': (0, 0), 'near_right': (1, 0),
              'far_left': (0, 1), 'far_right': (1, 1)}[corner]
    da = arm if ca == 0 else -arm
    db = arm * _len(s.u) / _len(s.v) * (1 if cb == 0 else -1)
    centre = p(*s.centre())
    best = None
    for h in (0, 1):
        k = p(*s.at(ca, cb, h))
        reach = dot(sub(k, centre), sub(k, centre))
        if best is None or reach > best[0]:
            best = (reach, h, k)
    _, h, k = best
    ea = sub(p(*s.at(ca + da, cb, h)), k)
    eb = sub(p(*s.at(ca, cb + db, h)), k)
    ua, ub = norm(ea), norm(eb)
    pts = [add(k, ea, mul(ub, -gap)), add(k, mul(ua, -gap), mul(ub, -gap)),
           add(k, eb, mul(ua, -gap))]
    c.line(pts, 'red', width=2)
    out = norm(add(mul(ua, -1), mul(ub, -1)))
    pos = add(k, mul(out, gap + dist))
    asterisk(c, *pos)
    return pos


def chevron(c, tip, direction, size=4, colour='red'):
    """A chevron pointing along a screen direction, tip at tip."""
    d = norm(direction)
    n = (-d[1], d[0])
    back = sub(tip, mul(d, size))
    c.line([add(back, mul(n, size)), tip, sub(back, mul(n, size))], colour, width=2)


# ---------------------------------------------------------------------------
# Arrows

def arrow(c, path, width=3, head=5.5, colour='arrow'):
    """A thick arrow along a screen polyline, head at its end."""
    tip = path[-1]
    # walk back along the path by the head's length
    acc, i = 0.0, len(path) - 1
    while i > 0 and acc < head * 1.4:
        acc += math.dist(path[i], path[i - 1])
        i -= 1
    base = path[i]
    d = norm(sub(tip, base))
    n = (-d[1], d[0])
    neck = sub(tip, mul(d, head * 1.4))
    body = path[:i + 1] + [neck]
    c.line(body, colour, width=width)
    c.poly([tip, add(neck, mul(n, head)), sub(neck, mul(n, head))], colour, colour)


def curved_arrow(c, controls, **kw):
    arrow(c, bezier(controls, 30), **kw)


def arc3(p, centre, r, a0, a1, axes=((1, 0, 0), (0, 0, 1)), n=28, ry=None):
    """Screen points of a circular arc in the plane of two axes (degrees)."""
    ry = r if ry is None else ry
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append(p(*add(centre, mul(axes[0], r * math.cos(a)),
                          mul(axes[1], ry * math.sin(a)))))
    return pts


# ---------------------------------------------------------------------------
# The printer and its trays

def printer(c, p, drawer=None, slot=False, panel_button=False):
    """The printer body, front to the right.  drawer: None, 'shallow' or
    'deep' (pulled out; its contents are drawn by pulled_drawer)."""
    box(c, p, 0, PX, 0, PY, 0, PZ, 'body_top', 'body_side', 'body_front')
    # a seam on the side: the lower part houses the paper drawers
    c.line([p(0, 12, 0), p(PX, 12, 0)], 'body_dark')
    c.line([p(PX, 12, 0), p(PX, 12, PZ)], 'outline')
    # front: the drawer, closed or left open
    if drawer is None:
        face(c, p, [(PX, 2, 6), (PX, 2, PZ - 6), (PX, 10, PZ - 6), (PX, 10, 6)],
             'body_front')
        face(c, p, [(PX, 5, 22), (PX, 5, 32), (PX, 7, 32), (PX, 7, 22)],
             'body_dark')
    else:
        top = DRAWER_TOP[drawer]
        face(c, p, [(PX, 0, 6), (PX, 0, PZ - 6), (PX, top + 1, PZ - 6),
                    (PX, top + 1, 6)], 'grey')
    # the output bin recessed into the top
    output_bin(c, p, 0, 0)
    # control panel along the front edge of the top
    face(c, p, [(PX - 12, PY, 6), (PX - 2, PY, 6), (PX - 2, PY, 40),
                (PX - 12, PY, 40)], 'body_front')
    face(c, p, [(PX - 10, PY, 24), (PX - 5, PY, 24), (PX - 5, PY, 37),
                (PX - 10, PY, 37)], 'lcd')
    disc(c, p, (PX - 7, PY, 15), 3.4 if panel_button else 2.2, 'green')
    if slot:
        rear_slot(c, p)


BIN = (10, 50, 8, 47)   # x0, x1, z0, z1 of the recessed bin on top
BIN_DEPTH = 5


def output_bin(c, p, dx, dy, body=True):
    x0, x1, z0, z1 = BIN
    opening = top_rect(p, x0 + dx, x1 + dx, z0, z1, PY + dy)
    c.poly(opening, 'body_dark', 'outline')
    floor = top_rect(p, x0 + dx, x1 + dx, z0, z1, PY + dy - BIN_DEPTH)
    inner = clip_convex(floor, opening)
    if inner:
        c.poly(inner, 'body_front')
    c.poly(opening, None, 'outline')
    return opening


def bin_stack(printed_up=False, dx=0, dy=0):
    x0, x1, z0, z1 = BIN
    return Stack((x0 + 4 + dx, PY + dy - BIN_DEPTH, z0 + 4), (x1 - x0 - 8, 0, 0),
                 (0, 0, z1 - z0 - 8), (0, 4, 0), printed_up)


# the rear feed slot: a back plate standing up behind a slot in the top
SLOT_Z = (5, PZ - 5)


def rear_slot(c, p):
    z0, z1 = SLOT_Z
    box(c, p, 0, 3, PY, PY + 27, z0, z1, 'body_top', 'body_side', 'body_front')
    face(c, p, [(3, PY, z0), (9, PY, z0), (9, PY, z1), (3, PY, z1)], 'outline')


def slot_stack(printed_toward_viewer):
    """Standing in the rear slot; its visible face looks toward the front."""
    z0, z1 = SLOT_Z
    return Stack((4, PY, z0 + 3), (0, 0, z1 - z0 - 6), (-3, 26, 0), (4, 0, 0),
                 printed_toward_viewer)


def slot_guides(c, p):
    """The side guide in front of the stack (drawn after it)."""
    z0, _ = SLOT_Z
    box(c, p, 3, 10, PY, PY + 6, z0, z0 + 2, 'body_top', 'body_side', 'body_front')


DRAWER_TOP = {'shallow': 6, 'deep': 12}
DRAWER_X = (PX, PX + 46)
DRAWER_Z = (6, PZ - 6)


def drawer_opening(p, kind):
    x0, x1 = DRAWER_X
    z0, z1 = DRAWER_Z
    return top_rect(p, x0, x1, z0, z1, DRAWER_TOP[kind])


def drawer_stack(kind, printed_up):
    x0, x1 = DRAWER_X
    z0, z1 = DRAWER_Z
    thick = 4 if kind == 'shallow' else 6
    return Stack((x0 + 10, 1, z0 + 4), (x1 - x0 - 13, 0, 0), (0, 0, z1 - z0 - 8),
                 (0, thick, 0), printed_up)


def pulled_drawer(c, p, kind, s, lift=None):
    """The front drawer pulled out to the right, with stack s inside."""
    x0, x1 = DRAWER_X
    z0, z1 = DRAWER_Z
    top = DRAWER_TOP[kind]
    opening = drawer_opening(p, kind)
    c.poly(opening, 'body_dark', 'outline')
    inner = clip_convex(top_rect(p, x0, x1 - 2, z0 + 2, z1 - 2, 1), opening)
    c.poly(inner, 'body_front')
    with c.clipped(opening):
        draw_stack(c, p, s, part='body')
    # near wall and the drawer's front panel
    box(c, p, x0, x1, 0, top, z0, z1, None, 'body_side', 'body_front')
    c.poly(opening, None, 'outline')
    if kind == 'deep':
        # hand grip: a dark recess in the front panel
        face(c, p, [(x1, top - 6, 16), (x1, top - 6, 34), (x1, top - 3, 34),
                    (x1, top - 3, 16)], 'outline', 'outline')
    if lift:
        above = [opening[0], opening[1], opening[2],
                 (opening[2][0], -50), (opening[0][0], -50)]
        with c.clipped(above):
            draw_stack(c, p, s, lift=lift, part='flap')


# fold-out tray: hinged at the front, sloping down to the right
FOLD_HINGE = (PX, 16, 8)
FOLD_U = (40, -7, 0)
FOLD_V = (0, 0, PZ - 16)


def foldout_tray(c, p):
    o, u, v = FOLD_HINGE, FOLD_U, FOLD_V
    t = (0, -2, 0)
    # the slot it folds out of
    face(c, p, [(PX, 14, 6), (PX, 14, PZ - 6), (PX, 17, PZ - 6), (PX, 17, 6)],
         'grey')
    face(c, p, [o, add(o, u), add(o, u, t), add(o, t)], 'body_side')
    face(c, p, [add(o, u), add(o, u, v), add(o, u, v, t), add(o, u, t)],
         'body_front')
    face(c, p, [o, add(o, u), add(o, u, v), add(o, v)], 'body_top')


def foldout_stack(printed_up):
    o, u, v = FOLD_HINGE, FOLD_U, FOLD_V
    start = add(o, mul(u, 0.12), mul(v, 0.1))
    return Stack(start, mul(u, 0.8), mul(v, 0.8), (0, 4, 0), printed_up)


# rear output tray: sticks out of the back, to the left
REAR_TRAY = (-50, -2, 4, 44, 9)   # x0, x1, z0, z1, y


def rear_tray(c, p):
    x0, x1, z0, z1, y = REAR_TRAY
    box(c, p, x0, x1, y - 2, y, z0, z1, 'body_top', 'body_side', None)
    box(c, p, x0 - 2, x0, y - 2, y + 4, z0, z1, 'body_top', 'body_side', 'body_front')


def rear_tray_stack(printed_up=True):
    x0, x1, z0, z1, y = REAR_TRAY
    return Stack((x0 + 3, y, z0 + 4), (24, 0, 0), (0, 0, z1 - z0 - 10),
                 (0, 4, 0), printed_up)


# ---------------------------------------------------------------------------
# Hands, keys and the screen

def finger(c, tip, angle, length=20, width=7):
    """A hand pointing with its index finger; tip in screen pixels, angle
    (degrees) the direction from the tip back toward the wrist.  The hand
    runs on out of the picture."""
    d = (math.cos(math.radians(angle)), math.sin(math.radians(angle)))
    n = (-d[1], d[0])
    r = width / 2

    def w(s, t):
        return add(tip, mul(d, s), mul(n, t))
    # back of the hand and wrist
    c.poly([w(length - 4, -r), w(length + 6, -r - 2), w(120, -r - 3),
            w(120, r + 13), w(length + 8, r + 13), w(length, r)],
           'skin', 'skin_dark')
    # three fingers curled under the pointing one, farthest first
    for k in (2, 1, 0):
        s0 = length - 1 + k * 5.5
        pts = [w(s0 + 5.5, r - 1), w(s0, r - 1)]
        for i in range(9):
            a = math.pi * i / 8
            pts.append(w(s0 + 2.75 - 2.75 * math.cos(a), r + 8 + 2.75 * math.sin(a)))
        c.poly(pts, 'skin', 'skin_dark')
    # the pointing finger
    pts = [w(length + 2, -r)]
    for i in range(13):
        a = math.pi * i / 12
        pts.append(w(r - r * math.sin(a), -r * math.cos(a)))
    pts.append(w(length + 2, r))
    c.poly(pts, 'skin', 'skin_dark')
    c.poly([w(1.5, -r * 0.55), w(5.5, -r * 0.6), w(5.5, r * 0.35), w(1.5, r * 0.3)],
           'nail', 'skin_dark')
    c.line([w(9.5, -r + 1.5), w(9.5, r - 1.5)], 'skin_dark')


def press_lines(c, x, y, colour='arrow'):
    """Short strokes around a pressed point."""
    for a in (160, 200, 240):
        d = (math.cos(math.radians(a)), math.sin(math.radians(a)))
        c.line([add((x, y), mul(d, 6)), add((x, y), mul(d, 11))], colour)


GLYPHS = {
    'C': [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    'o': [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    'n': [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    't': [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    'i': [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    'u': [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    'e': [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
}

DIGITS = {
    '0': ["###", "#.#", "#.#", "#.#", "###"], '1': [".#.", "##.", ".#.", ".#.", "###"],
    '2': ["###", "..#", "###", "#..", "###"], '3': ["###", "..#", ".##", "..#", "###"],
    '4': ["#.#", "#.#", "###", "..#", "..#"], '5': ["###", "#..", "###", "..#", "###"],
    '6': ["###", "#..", "###", "#.#", "###"], '7': ["###", "..#", ".#.", ".#.", ".#."],
    '8': ["###", "#.#", "###", "#.#", "###"], '9': ["###", "#.#", "###", "..#", "###"],
}


def text_width(text, size):
    return sum((len(GLYPHS[ch][0]) + 1) * size for ch in text) - size


def text(c, x, y, s, colour, size=2):
    for ch in s:
        rows = GLYPHS[ch]
        c.pixels(x, y, rows, {'#': colour}, size)
        x += (len(rows[0]) + 1) * size


POINTER = [
    "B...........",
    "BB..........",
    "BWB.........",
    "BWWB........",
    "BWWWB.......",
    "BWWWWB......",
    "BWWWWWB.....",
    "BWWWWWWB....",
    "BWWWWWWWB...",
    "BWWWWWWWWB..",
    "BWWWWWWWWWB.",
    "BWWWWWWBBBBB",
    "BWWWBWWB....",
    "BWWBBWWB....",
    "BWB..BWWB...",
    "BB...BWWB...",
    "B.....BWWB..",
    "......BWWB..",
    ".......BB...",
]


def pointer(c, x, y, size=1):
    c.pixels(x, y, POINTER, {'B': 'black', 'W': 'white'}, size)
