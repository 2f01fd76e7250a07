"""The dark blue backdrop with light streaks shared by the console picture and the splash.

Computed row by row straight into RGB bytes: the console picture has a million pixels, too
many for the general canvas to be quick.
"""

import math

# Bayer 4x4, so the slow gradients show no bands in 24-bit colour.
_BAYER4 = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5]


class Streak:
    """A soft band of light across the picture.

    offset: where its centre line crosses the picture's projection axis, in pixels;
    width: the band's half-width (Gaussian sigma); strength: brightness added at the centre;
    phase: where along the band its brightness peaks (0..1 of the picture's diagonal).
    """

    def __init__(self, offset, width, strength, phase, spread=0.55):
        self.offset, self.width, self.strength = offset, width, strength
        self.phase, self.spread = phase, spread


def render(width, height, top, bottom, streaks, angle_deg=-24.0, streak_colour=(150, 200, 255),
           streak_fade=None):
    """Top-down rows of RGB bytes.

    top, bottom: the base colours at the top and bottom edges; streaks run at angle_deg
    (negative rises to the right); streak_fade(x, y) scales the streaks (1 where unchanged).
    """
    angle = math.radians(angle_deg)
    tx, ty = math.cos(angle), math.sin(angle)  # along the streaks
    nx, ny = -ty, tx  # across them
    diagonal = math.hypot(width, height)
    rows = []
    for y in range(height):
        v = y / (height - 1)
        base = [top[c] + (bottom[c] - top[c]) * v for c in range(3)]
        row = bytearray(width * 3)
        for x in range(width):
            across = x * nx + y * ny
            along = (x * tx + y * ty) / diagonal
            light = 0.0
            for s in streaks:
                d = (across - s.offset) / s.width
                if -3.0 < d < 3.0:
                    fade = math.exp(-((along - s.phase) / s.spread) ** 2)
                    light += s.strength * math.exp(-d * d) * fade
            if streak_fade is not None and light > 0.0:
                light *= streak_fade(x, y)
            # A faint vignette darkens the corners.
            cx, cy = x / width - 0.55, y / height - 0.4
            shade = 1.0 - 0.35 * min(1.0, cx * cx + cy * cy)
            dither = (_BAYER4[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5
            for c in range(3):
                value = base[c] * shade + streak_colour[c] * light + dither
                row[x * 3 + c] = max(0, min(255, int(round(value))))
        rows.append(row)
    return rows


def paint_rgb_rect(rows, x0, y0, x1, y1, colour):
    """Sets the pixels of [x0, x1) x [y0, y1) to one exact colour."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            rows[y][x * 3:x * 3 + 3] = bytes(colour)


def composite(rows, canvas, dx=0, dy=0):
    """Composites a canvas over RGB rows with its top-left corner at (dx, dy)."""
    px = canvas.px
    for y in range(canvas.height):
        ty = y + dy
        if not 0 <= ty < len(rows):
            continue
        row = rows[ty]
        for x in range(canvas.width):
            i = (y * canvas.width + x) * 4
            a = px[i + 3]
            tx = x + dx
            if a <= 0.0 or not 0 <= tx < len(row) // 3:
                continue
            keep = 1.0 - a / 255.0
            for c in range(3):
                value = px[i + c] + row[tx * 3 + c] * keep
                row[tx * 3 + c] = max(0, min(255, int(round(value))))
