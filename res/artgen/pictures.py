"""The pictures themselves. Each function returns the bytes of one file."""

import math

from . import backdrop, font, formats, shapes
from .canvas import Canvas, linear, mix, radial, solid

BAR_BLUE = (0, 102, 255)  # the console's vertical bar, and the product's accent colour
CONSOLE_SIZE = (1280, 800)
BAR_COLUMNS = (153, 158)  # x 153 to 157
SPLASH_SIZE = (500, 400)
SPLASH_SHOWN_ROWS = 376  # the splash window shows only the top rows


# --- the console's background picture (bitmap 195) ----------------------------------------


def console_background():
    width, height = CONSOLE_SIZE
    streaks = [
        backdrop.Streak(offset=180, width=60, strength=0.22, phase=0.55),
        backdrop.Streak(offset=300, width=14, strength=0.30, phase=0.70, spread=0.4),
        backdrop.Streak(offset=420, width=90, strength=0.14, phase=0.45),
        backdrop.Streak(offset=520, width=5, strength=0.40, phase=0.60, spread=0.35),
        backdrop.Streak(offset=610, width=40, strength=0.19, phase=0.80),
        backdrop.Streak(offset=700, width=3, strength=0.45, phase=0.50, spread=0.3),
        backdrop.Streak(offset=780, width=70, strength=0.13, phase=0.65),
        backdrop.Streak(offset=900, width=8, strength=0.28, phase=0.75, spread=0.3),
    ]

    # The node list sits left of the bar: keep its streaks faint so the names stay readable.
    def streak_fade(x, y):
        return 0.25 + 0.75 * min(1.0, max(0.0, (x - 150) / 200))

    rows = backdrop.render(width, height, top=(16, 38, 92), bottom=(4, 13, 40), streaks=streaks,
                           streak_fade=streak_fade)
    # A slightly deeper panel behind the node list, then the bar at its edge.
    for y in range(height):
        row = rows[y]
        for x in range(BAR_COLUMNS[0]):
            for c in range(3):
                row[x * 3 + c] = row[x * 3 + c] * 7 // 8
    backdrop.paint_rgb_rect(rows, BAR_COLUMNS[0], 0, BAR_COLUMNS[1], height, BAR_BLUE)
    return formats.bmp24(rows)


# --- the splash picture (bitmap 186) --------------------------------------------------------


def _screen(canvas, x0, y0, x1, y1, screen_top, screen_bottom):
    """A flat monitor face: dark bezel and a lit screen."""
    bbox = (x0 - 2, y0 - 2, x1 + 2, y1 + 2)
    canvas.glow(shapes.box(x0 + 2, y0 + 4, x1 + 2, y1 + 4, 5), (0, 0, 0, 90), 4,
                (x0 - 6, y0 - 6, x1 + 12, y1 + 14))
    canvas.draw(shapes.box(x0, y0, x1, y1, 5), linear(0, y0, 0, y1, (58, 66, 84, 255),
                                                      (24, 28, 38, 255)), bbox)
    canvas.draw(shapes.box(x0 + 5, y0 + 5, x1 - 5, y1 - 5, 2),
                linear(x0, y0, x1, y1, screen_top, screen_bottom), bbox)


def splash():
    width, height = SPLASH_SIZE
    streaks = [
        backdrop.Streak(offset=60, width=40, strength=0.14, phase=0.5),
        backdrop.Streak(offset=170, width=6, strength=0.28, phase=0.6, spread=0.35),
        backdrop.Streak(offset=260, width=55, strength=0.10, phase=0.45),
        backdrop.Streak(offset=340, width=3, strength=0.30, phase=0.55, spread=0.3),
    ]
    rows = backdrop.render(width, height, top=(16, 40, 96), bottom=(4, 12, 38), streaks=streaks)

    art = Canvas(width, height)
    # The logo: a deck of three screens, the front one lit in the accent colour.
    _screen(art, 182, 48, 270, 112, (40, 60, 110, 255), (20, 30, 70, 255))
    _screen(art, 206, 64, 294, 128, (30, 90, 180, 255), (15, 45, 120, 255))
    _screen(art, 230, 80, 318, 144, (60, 150, 255, 255), (0, 80, 210, 255))
    art.draw(shapes.polygon([(240, 90), (280, 90), (246, 134), (240, 134)]),
             solid(255, 255, 255, 40), (236, 86, 312, 138))

    cell = 6
    title = "ClumaDeck"
    title_x = (width - font.text_width(title, cell)) // 2
    title_y = 170
    shape, bbox = font.text_shape(title, title_x + 2, title_y + 3, cell)
    art.glow(shape, (0, 0, 0, 120), 3, bbox)
    shape, bbox = font.text_shape(title, title_x, title_y, cell)
    art.draw(shape, linear(0, title_y, 0, title_y + 7 * cell, (255, 255, 255, 255),
                           (200, 225, 255, 255)), bbox)

    bar_y = title_y + 7 * cell + 12
    bar_x0, bar_x1 = title_x, title_x + font.text_width(title, cell)
    art.draw(shapes.box(bar_x0, bar_y, bar_x1, bar_y + 4), solid(*BAR_BLUE), None)

    for text, cell, y, colour in (("presenter's console", 3, bar_y + 18, (190, 210, 240, 255)),
                                  ("finding the room's machines ...", 2, 330,
                                   (120, 150, 200, 255))):
        x = (width - font.text_width(text, cell)) // 2
        shape, bbox = font.text_shape(text, x, y, cell, weight=0.45)
        art.draw(shape, solid(*colour), bbox)

    backdrop.composite(rows, art)
    return formats.bmp24(rows)


# --- the two hidden pictures of the console (bitmaps 188 and 190) ---------------------------


def _tile(width, height):
    tile = Canvas(width, height)
    tile.fill(linear(0, 0, 0, height, (20, 46, 104, 255), (6, 18, 52, 255)))
    return tile


def capture_picture():
    """80 x 63: a screen with a dashed capture frame, for the hidden cut-screen picture."""
    tile = _tile(80, 63)
    _screen(tile, 10, 8, 70, 50, (60, 150, 255, 255), (0, 80, 210, 255))
    tile.draw(shapes.polygon([(36, 50), (44, 50), (47, 57), (33, 57)]), solid(90, 98, 115), None)
    for i in range(6):
        x = 22 + i * 6
        tile.draw(shapes.box(x, 17, x + 3, 18.5), solid(255, 255, 255), None)
        tile.draw(shapes.box(x, 38.5, x + 3, 40), solid(255, 255, 255), None)
    for i in range(4):
        y = 17 + i * 6
        tile.draw(shapes.box(20, y, 21.5, y + 3), solid(255, 255, 255), None)
        tile.draw(shapes.box(58.5, y, 60, y + 3), solid(255, 255, 255), None)
    return formats.bmp24(tile.rgb_rows())


def deck_picture():
    """70 x 55: the product's mark, a deck of three screens."""
    tile = _tile(70, 55)
    _screen(tile, 8, 6, 44, 32, (40, 60, 110, 255), (20, 30, 70, 255))
    _screen(tile, 16, 13, 52, 39, (30, 90, 180, 255), (15, 45, 120, 255))
    _screen(tile, 24, 20, 60, 46, (60, 150, 255, 255), (0, 80, 210, 255))
    return formats.bmp24(tile.rgb_rows())


# --- icons (21 and 192) ---------------------------------------------------------------------


def _globe_canvas(size=48):
    c = Canvas(size, size)
    k = size / 48
    cx = cy = size / 2
    r = 21 * k
    sphere = shapes.circle(cx, cy, r)
    c.glow(shapes.circle(cx + 1 * k, cy + 1.5 * k, r), (0, 0, 0, 70), 1.5 * k)
    c.draw(sphere, radial(cx - 7 * k, cy - 8 * k, 30 * k, (110, 190, 255, 255),
                          (8, 60, 160, 255)))
    land = shapes.union(
        shapes.circle(cx - 8 * k, cy - 6 * k, 7 * k), shapes.circle(cx - 3 * k, cy - 10 * k, 5 * k),
        shapes.circle(cx - 10 * k, cy + 2 * k, 4 * k), shapes.circle(cx + 9 * k, cy + 6 * k, 6 * k),
        shapes.circle(cx + 5 * k, cy + 12 * k, 4 * k), shapes.circle(cx + 12 * k, cy - 9 * k, 3 * k))
    c.draw(shapes.intersect(land, sphere),
           radial(cx - 7 * k, cy - 8 * k, 30 * k, (120, 220, 130, 255), (30, 120, 60, 255)))
    grid = []
    for lat in (-50, -20, 20, 50):
        y = cy - r * math.sin(math.radians(lat))
        half = r * math.cos(math.radians(lat))
        grid.append(shapes.capsule(cx - half, y, cx + half, y, 0.55 * k))
    grid.append(shapes.capsule(cx - r, cy, cx + r, cy, 0.7 * k))
    for rx in (0.0, 0.45, 0.85):
        if rx == 0.0:
            grid.append(shapes.capsule(cx, cy - r, cx, cy + r, 0.6 * k))
        else:
            grid.append(shapes.polyline(shapes.ellipse_points(cx, cy, r * rx, r, 40), 0.6 * k))
    c.draw(shapes.intersect(shapes.union(*grid), sphere), solid(220, 240, 255, 150))
    c.draw(shapes.outline(sphere, 1.6 * k), solid(4, 36, 100, 230))
    c.draw(shapes.circle(cx - 8 * k, cy - 9 * k, 6 * k), solid(255, 255, 255, 60))
    return c


def globe_icon():
    return formats.ico([(_globe_canvas(48).rgba_rows(), 32)])


def _monitor_canvas(size=48):
    c = Canvas(size, size)
    k = size / 48
    c.glow(shapes.box(5 * k, 8 * k, 46 * k, 38 * k, 3 * k), (0, 0, 0, 60), 1.5 * k)
    c.draw(shapes.polygon([(20 * k, 35 * k), (28 * k, 35 * k), (30 * k, 41.5 * k),
                           (18 * k, 41.5 * k)]),
           linear(0, 35 * k, 0, 42 * k, (150, 156, 168, 255), (90, 96, 108, 255)))
    c.draw(shapes.box(11 * k, 40.5 * k, 37 * k, 45 * k, 2 * k),
           linear(0, 40 * k, 0, 45 * k, (175, 180, 190, 255), (95, 100, 112, 255)))
    c.draw(shapes.box(3 * k, 5 * k, 45 * k, 36 * k, 3 * k),
           linear(0, 5 * k, 0, 36 * k, (78, 86, 102, 255), (32, 36, 46, 255)))
    c.draw(shapes.outline(shapes.box(3 * k, 5 * k, 45 * k, 36 * k, 3 * k), 1.0 * k),
           solid(14, 16, 22, 220))
    c.draw(shapes.box(6 * k, 8 * k, 42 * k, 32 * k, 1 * k),
           linear(6 * k, 8 * k, 42 * k, 32 * k, (70, 165, 255, 255), (0, 70, 190, 255)))
    c.draw(shapes.intersect(shapes.polygon([(6 * k, 8 * k), (26 * k, 8 * k), (14 * k, 32 * k),
                                            (6 * k, 32 * k)]),
                            shapes.box(6 * k, 8 * k, 42 * k, 32 * k, 1 * k)),
           solid(255, 255, 255, 45))
    c.draw(shapes.circle(40 * k, 34 * k, 0.9 * k), solid(120, 255, 150))
    return c


def monitor_icon():
    return formats.ico([(_monitor_canvas(48).rgba_rows(), 32)])



def _ask_canvas(size):
    """The student's window: the room's monitor with a speech bubble asking a question."""
    c = _monitor_canvas(size)
    k = size / 48
    bubble = shapes.union(shapes.box(22 * k, 1 * k, 47 * k, 21 * k, 6 * k),
                          shapes.polygon([(27 * k, 18 * k), (34 * k, 18 * k), (24 * k, 27 * k)]))
    c.glow(shapes.shifted(bubble, 0.8 * k, 1.2 * k), (0, 0, 0, 90), 1.2 * k)
    c.draw(bubble, solid(255, 255, 255))
    c.draw(shapes.outline(bubble, 1.0 * k), solid(0, 70, 170, 230))
    cell = 2.2 * k
    shape, bbox = font.text_shape("?", 34.5 * k - 2.5 * cell, 4.2 * k, cell, weight=0.5)
    c.draw(shape, solid(*BAR_BLUE), bbox)
    return c


def ask_icon():
    return formats.ico([(_ask_canvas(size).rgba_rows(), 32) for size in (48, 32, 16)])

# --- cursors (132 and 150) ------------------------------------------------------------------


def _pen_canvas(size):
    """A pen lying diagonally, its tip on pixel (1, 1)."""
    c = Canvas(size, size)
    k = size / 48
    tip = (1.5, 1.5)
    root2 = math.sqrt(0.5)

    def at(t, s):
        """The point t pixels along the pen from its tip and s pixels across it."""
        return (tip[0] + (t - s) * root2, tip[1] + (t + s) * root2)

    t_nib, t_grip, t_body, t_end = 11 * k, 15 * k, 50 * k, 57 * k
    half = 5.2 * k
    whole = shapes.polygon([at(0, 0), at(t_nib, -half), at(t_end, -half), at(t_end, half),
                            at(t_nib, half)])
    c.draw(shapes.outline(whole, 2.2), solid(0, 0, 0, 255))
    c.draw(shapes.polygon([at(0, 0), at(t_nib, -half), at(t_nib, half)]),
           linear(*at(0, 0), *at(t_nib, 0), (60, 60, 66, 255), (205, 210, 220, 255)))
    c.draw(shapes.polygon([at(t_nib, -half), at(t_grip, -half), at(t_grip, half),
                           at(t_nib, half)]), solid(40, 44, 56))
    c.draw(shapes.polygon([at(t_grip, -half), at(t_body, -half), at(t_body, half),
                           at(t_grip, half)]),
           linear(*at(0, -half), *at(0, half), (90, 160, 255, 255), (0, 60, 180, 255)))
    c.draw(shapes.polygon([at(t_body, -half), at(t_end, -half), at(t_end, half),
                           at(t_body, half)]), solid(16, 34, 86))
    c.draw(shapes.capsule(*at(t_grip + 2 * k, -half * 0.45), *at(t_body - 2 * k, -half * 0.45),
                          0.8 * k), solid(255, 255, 255, 120))
    c.draw(shapes.circle(tip[0], tip[1], 1.0), solid(20, 20, 24))
    return c


def pen_cursor():
    return formats.cur([(_pen_canvas(48).rgba_rows(), 24, (1, 1)),
                        (_pen_canvas(32).rgba_rows(), 32, (1, 1))])


def colour_drag_cursor():
    """An arrow carrying a colour chip; hot spot on the arrow's tip, pixel (1, 1)."""
    c = Canvas(32, 32)
    arrow = shapes.polygon([(1.5, 1.5), (1.5, 19.5), (6, 15), (9.5, 22.5), (12.5, 21),
                            (9.2, 13.8), (15.5, 13.8)])
    c.draw(shapes.outline(arrow, 2.0), solid(0, 0, 0))
    c.draw(arrow, solid(255, 255, 255))
    chip = shapes.box(15, 17, 29, 31, 2)
    c.draw(shapes.outline(chip, 2.0), solid(0, 0, 0))

    def hues(x, y):
        angle = math.atan2(y - 24, x - 22)
        t = (angle / (2 * math.pi)) % 1.0
        return _hue(t)

    c.draw(chip, hues)
    c.draw(shapes.circle(1.5, 1.5, 0.9), solid(0, 0, 0))
    return formats.cur([(c.rgba_rows(), 32, (1, 1))])


def _hue(t):
    """A fully saturated colour around the colour wheel, t from 0 to 1."""
    sector = t * 6
    i = int(sector) % 6
    f = sector - int(sector)
    up, down = 255 * f, 255 * (1 - f)
    r, g, b = ((255, up, 0), (down, 255, 0), (0, 255, up), (0, down, 255), (up, 0, 255),
               (255, 0, down))[i]
    return (r, g, b, 255)


# --- the two button strips (ipSet.PNG and help.png) ----------------------------------------

FRAME = 64  # each frame is FRAME x FRAME; the strip holds four side by side
FRAME_NAMES = ("normal", "hover", "pressed", "disabled")


def _button_frame(state, glyph):
    """One 64 x 64 frame: a round button with a white glyph, transparent around it."""
    c = Canvas(FRAME, FRAME)
    centre, radius = FRAME / 2, 26
    disc = shapes.circle(centre, centre, radius)
    top, bottom, ink, dx = {
        "normal": ((40, 130, 255, 255), (0, 70, 200, 255), (255, 255, 255, 255), 0),
        "hover": ((90, 170, 255, 255), (10, 100, 240, 255), (255, 255, 255, 255), 0),
        "pressed": ((0, 60, 170, 255), (0, 36, 120, 255), (215, 228, 255, 255), 1),
        "disabled": ((125, 130, 140, 190), (85, 90, 100, 190), (200, 202, 206, 200), 0),
    }[state]
    if state == "hover":
        c.glow(disc, (0, 140, 255, 150), 3.0)
    else:
        c.glow(shapes.circle(centre + 1, centre + 2, radius), (0, 0, 0, 70), 2.0)
    c.draw(disc, linear(0, centre - radius, 0, centre + radius, top, bottom))
    if state == "pressed":
        c.draw(shapes.intersect(disc, shapes.subtract(disc, shapes.circle(centre + 1, centre + 3,
                                                                          radius))),
               solid(0, 0, 0, 110))
    else:
        c.draw(shapes.intersect(disc, shapes.circle(centre, centre - 30, 36)),
               solid(255, 255, 255, 40))
    c.draw(shapes.outline(disc, 1.2), solid(*mix((255, 255, 255, 255), top, 0.4)[:3],
                                            200 if state != "disabled" else 120))
    glyph(c, ink, dx)
    return c


def _help_glyph(canvas, ink, dx):
    cell = 5
    x = (FRAME - font.text_width("?", cell)) / 2 + dx
    shape, bbox = font.text_shape("?", x, 14 + dx, cell, weight=0.55)
    canvas.draw(shape, solid(*ink), bbox)


def _ip_glyph(canvas, ink, dx):
    cell = 4
    x = (FRAME - font.text_width("IP", cell)) / 2 + dx
    shape, bbox = font.text_shape("IP", x, 13 + dx, cell, weight=0.5)
    canvas.draw(shape, solid(*ink), bbox)
    y = 48 + dx
    line = shapes.capsule(20 + dx, y, 44 + dx, y, 1.1)
    nodes = shapes.union(*(shapes.circle(x + dx, y, 3.0) for x in (20, 32, 44)))
    canvas.draw(shapes.union(line, nodes), solid(*ink))


def _strip(glyph):
    strip = Canvas(FRAME * 4, FRAME)
    for i, state in enumerate(FRAME_NAMES):
        strip.blit(_button_frame(state, glyph), i * FRAME, 0)
    return formats.png(strip.rgba_rows())


def ip_set_strip():
    return _strip(_ip_glyph)


def help_strip():
    return _strip(_help_glyph)


# File name -> (function, what it is). The resource script names these files.
ALL = {
    "console_background.bmp": (console_background, "bitmap 195, 1280 x 800, 24-bit"),
    "splash.bmp": (splash, "bitmap 186, 500 x 400, 24-bit"),
    "capture_picture.bmp": (capture_picture, "bitmap 188, 80 x 63, 24-bit"),
    "deck_picture.bmp": (deck_picture, "bitmap 190, 70 x 55, 24-bit"),
    "globe.ico": (globe_icon, "icon 21, 48 x 48, 32-bit with alpha"),
    "monitor.ico": (monitor_icon, "icon 192, 48 x 48, 32-bit with alpha"),
    "ask.ico": (ask_icon, "ClumaAsk.exe's icon, 48, 32 and 16 pixels, 32-bit with alpha"),
    "pen.cur": (pen_cursor, "cursor 150, 48 x 48 24-bit and 32 x 32 32-bit, hot spot (1, 1)"),
    "colour_drag.cur": (colour_drag_cursor, "cursor 132, 32 x 32 32-bit, hot spot (1, 1)"),
    "ipSet.PNG": (ip_set_strip, "SetIP button strip, four 64 x 64 frames"),
    "help.png": (help_strip, "help button strip, four 64 x 64 frames"),
}
