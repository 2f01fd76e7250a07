"""An RGBA canvas with anti-aliased shape drawing.

Pixels are kept as premultiplied floats (0..255), so "over" compositing is one multiply-add
per channel. Colours given to the drawing calls are straight (not premultiplied) RGBA tuples
with components 0..255.
"""

import math
from array import array

# 4x4 ordered dither: keeps large soft gradients free of visible bands in 24-bit output.
_BAYER4 = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5]


def solid(r, g, b, a=255):
    colour = (r, g, b, a)

    def paint(x, y):
        return colour

    return paint


def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def linear(x0, y0, x1, y1, c0, c1):
    """Gradient from c0 at (x0, y0) to c1 at (x1, y1), constant across that direction."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        return mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)

    return paint


def radial(cx, cy, r, c0, c1):
    def paint(x, y):
        return mix(c0, c1, math.hypot(x - cx, y - cy) / r)

    return paint


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = array("d", bytes(8 * width * height * 4))

    # --- filling and compositing -------------------------------------------------------

    def fill(self, paint):
        """Replaces every pixel with the paint's colour at the pixel's centre."""
        px = self.px
        for y in range(self.height):
            for x in range(self.width):
                r, g, b, a = paint(x + 0.5, y + 0.5)
                i = (y * self.width + x) * 4
                f = a / 255.0
                px[i], px[i + 1], px[i + 2], px[i + 3] = r * f, g * f, b * f, a

    def blend(self, x, y, colour, coverage):
        """Composites a straight colour over pixel (x, y) with the given coverage 0..1."""
        if coverage <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b, a = colour
        f = a / 255.0 * min(coverage, 1.0)
        if f <= 0.0:
            return
        i = (y * self.width + x) * 4
        px = self.px
        keep = 1.0 - f
        px[i] = r * f + px[i] * keep
        px[i + 1] = g * f + px[i + 1] * keep
        px[i + 2] = b * f + px[i + 2] * keep
        px[i + 3] = 255.0 * f + px[i + 3] * keep

    def _bounds(self, bbox):
        if bbox is None:
            return 0, 0, self.width, self.height
        x0, y0, x1, y1 = bbox
        return (max(0, int(math.floor(x0))), max(0, int(math.floor(y0))),
                min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1))))

    def draw(self, shape, paint, bbox=None, opacity=1.0):
        """Fills a shape (signed distance function) with a one-pixel soft edge."""
        x0, y0, x1, y1 = self._bounds(bbox)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                coverage = 0.5 - shape(cx, cy)
                if coverage > 0.0:
                    self.blend(x, y, paint(cx, cy), min(coverage, 1.0) * opacity)

    def glow(self, shape, colour, radius, bbox=None):
        """A soft halo: full colour inside the shape, fading out over about `radius` pixels."""
        x0, y0, x1, y1 = self._bounds(bbox)
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = shape(x + 0.5, y + 0.5)
                coverage = 1.0 if d <= 0 else math.exp(-(d / radius) ** 2)
                if coverage > 0.004:
                    self.blend(x, y, colour, coverage)

    def blit(self, other, dx, dy, opacity=1.0):
        """Composites another canvas over this one with its top-left corner at (dx, dy)."""
        for y in range(other.height):
            for x in range(other.width):
                tx, ty = x + dx, y + dy
                if not (0 <= tx < self.width and 0 <= ty < self.height):
                    continue
                j = (y * other.width + x) * 4
                a = other.px[j + 3] * opacity
                if a <= 0.0:
                    continue
                f = a / 255.0
                i = (ty * self.width + tx) * 4
                keep = 1.0 - f
                for c in range(3):
                    self.px[i + c] = other.px[j + c] * opacity + self.px[i + c] * keep
                self.px[i + 3] = a + self.px[i + 3] * keep

    def map_pixels(self, fn):
        """Replaces each pixel's straight colour (r, g, b, a) by fn(r, g, b, a)."""
        px = self.px
        for i in range(0, len(px), 4):
            a = px[i + 3]
            if a <= 0.0:
                continue
            f = 255.0 / a
            r, g, b, a = fn(px[i] * f, px[i + 1] * f, px[i + 2] * f, a)
            k = a / 255.0
            px[i], px[i + 1], px[i + 2], px[i + 3] = r * k, g * k, b * k, a

    # --- reading -----------------------------------------------------------------------

    def rgba_rows(self):
        """Top-down rows of straight RGBA bytes."""
        rows = []
        for y in range(self.height):
            row = bytearray(self.width * 4)
            for x in range(self.width):
                i = (y * self.width + x) * 4
                a = self.px[i + 3]
                alpha = int(round(max(0.0, min(255.0, a))))
                if alpha == 0:
                    continue
                f = 255.0 / a
                for c in range(3):
                    row[x * 4 + c] = int(round(max(0.0, min(255.0, self.px[i + c] * f))))
                row[x * 4 + 3] = alpha
            rows.append(bytes(row))
        return rows

    def rgb_rows(self, backdrop=(0, 0, 0), dither=False):
        """Top-down rows of RGB bytes, the canvas composited over an opaque backdrop."""
        rows = []
        for y in range(self.height):
            row = bytearray(self.width * 3)
            for x in range(self.width):
                i = (y * self.width + x) * 4
                keep = 1.0 - self.px[i + 3] / 255.0
                offset = (_BAYER4[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5 if dither else 0.0
                for c in range(3):
                    v = self.px[i + c] + backdrop[c] * keep + offset
                    row[x * 3 + c] = int(round(max(0.0, min(255.0, v))))
            rows.append(bytes(row))
        return rows
