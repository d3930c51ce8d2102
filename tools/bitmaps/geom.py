"""Small vector helpers for the drawing code."""
import math


def add(*vs):
    return tuple(sum(c) for c in zip(*vs))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def mul(v, s):
    return tuple(x * s for x in v)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
            a[0] * b[1] - a[1] * b[0])


def norm(v):
    length = math.sqrt(dot(v, v))
    return mul(v, 1.0 / length) if length else v


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rotate(p, origin, axis, angle):
    """Rotate point p about the line through origin along axis (Rodrigues)."""
    e = norm(axis)
    r = sub(p, origin)
    c, s = math.cos(angle), math.sin(angle)
    r2 = add(mul(r, c), mul(cross(e, r), s), mul(e, dot(e, r) * (1 - c)))
    return add(origin, r2)


def bezier(points, n=24):
    """Points along a Bezier curve given by its control points (2D or 3D)."""
    out = []
    for i in range(n + 1):
        t = i / n
        pts = list(points)
        while len(pts) > 1:
            pts = [lerp(pts[j], pts[j + 1], t) for j in range(len(pts) - 1)]
        out.append(pts[0])
    return out


def clip_convex(subject, clip):
    """Sutherland-Hodgman: subject polygon clipped by a convex polygon
    (2D, clip given counter-clockwise or clockwise)."""
    def side(a, b, p):
        return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
    orient = 1 if sum(side(clip[i], clip[(i + 1) % len(clip)], clip[(i + 2) % len(clip)])
                      for i in range(len(clip))) > 0 else -1
    out = list(subject)
    for i in range(len(clip)):
        a, b = clip[i], clip[(i + 1) % len(clip)]
        inp, out = out, []
        if not inp:
            break
        for j in range(len(inp)):
            p, q = inp[j - 1], inp[j]
            sp, sq = side(a, b, p) * orient, side(a, b, q) * orient
            if sq >= 0:
                if sp < 0:
                    out.append(lerp(p, q, sp / (sp - sq)))
                out.append(q)
            elif sp >= 0:
                out.append(lerp(p, q, sp / (sp - sq)))
    return out
