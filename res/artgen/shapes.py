"""Signed distance functions: negative inside a shape, positive outside, in pixels.

Every shape is a function (x, y) -> distance. Drawing a shape turns the distance into
coverage (see canvas.py), which gives smooth edges without supersampling.
"""

import math


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r

    return sdf


def box(x0, y0, x1, y1, radius=0.0):
    """Axis-aligned rectangle from (x0, y0) to (x1, y1) with rounded corners."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return sdf


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def capsule(ax, ay, bx, by, r):
    """A line from a to b of width 2r with round ends."""

    def sdf(x, y):
        return segment_distance(x, y, ax, ay, bx, by) - r

    return sdf


def polyline(points, r, closed=False):
    """Round-ended stroke of width 2r along the points."""
    segments = list(zip(points, points[1:]))
    if closed:
        segments.append((points[-1], points[0]))

    def sdf(x, y):
        return min(segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segments) - r

    return sdf


def polygon(points):
    """Filled polygon (even-odd rule) with an exact distance to its outline."""
    edges = list(zip(points, points[1:] + points[:1]))

    def sdf(x, y):
        inside = False
        best = float("inf")
        for (ax, ay), (bx, by) in edges:
            best = min(best, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -best if inside else best

    return sdf


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)

    return sdf


def intersect(*shapes):
    def sdf(x, y):
        return max(s(x, y) for s in shapes)

    return sdf


def subtract(shape, cut):
    def sdf(x, y):
        return max(shape(x, y), -cut(x, y))

    return sdf


def outline(shape, width):
    """A ring of the given width centred on the shape's edge."""

    def sdf(x, y):
        return abs(shape(x, y)) - width / 2

    return sdf


def shifted(shape, dx, dy):
    def sdf(x, y):
        return shape(x - dx, y - dy)

    return sdf


def ellipse_points(cx, cy, rx, ry, count=48, start=0.0, end=2 * math.pi):
    """Points along an ellipse, for strokes drawn with polyline()."""
    return [
        (cx + rx * math.cos(start + (end - start) * i / count),
         cy + ry * math.sin(start + (end - start) * i / count))
        for i in range(count + 1)
    ]
