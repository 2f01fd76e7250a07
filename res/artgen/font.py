"""A small bitmap font (5 x 7 cells, two rows of descenders) drawn as rounded strokes.

Each set cell of a glyph is joined to its set neighbours by round-ended strokes, so a glyph
scaled up looks drawn with a pen rather than built from squares.
"""

from . import shapes

_GLYPHS = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... #.##. ##..# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #...# .###.",
    "d": "....# ....# .##.# #..## #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..##. .#..# .#... ###.. .#... .#... .#...",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... #.##. ##..# #...# #...# #...#",
    "i": "..#.. ..... .##.. ..#.. ..#.. ..#.. .###.",
    "j": "...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..",
    "k": "#.... #.... #..#. #.#.. ##... #.#.. #..#.",
    "l": ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "m": "..... ..... ##.#. #.#.# #.#.# #...# #...#",
    "n": "..... ..... #.##. ##..# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": "..... ..... #.##. ##..# #.... #.... #....",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#... .#... ###.. .#... .#... .#..# ..##.",
    "u": "..... ..... #...# #...# #...# #..## .##.#",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "##### ...#. ..#.. ...#. ....# #...# .###.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    ".": "..... ..... ..... ..... ..... ..... ..#..",
    ",": "..... ..... ..... ..... ..... ..#.. ..#.. .#...",
    "'": "..#.. ..#.. .#... ..... ..... ..... .....",
    "?": ".###. #...# ....# ...#. ..#.. ..... ..#..",
    "!": "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..",
    "-": "..... ..... ..... .###. ..... ..... .....",
    ":": "..... ..#.. ..... ..... ..... ..#.. .....",
}

SPACE_ADVANCE = 3
LINE_ROWS = 9  # seven rows above the baseline and two of descenders


def glyph_cells(ch):
    """Set cells (column, row) of a glyph, its columns trimmed; and its advance in cells."""
    if ch == " ":
        return [], SPACE_ADVANCE
    rows = _GLYPHS[ch].split()
    cells = [(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == "#"]
    left = min(x for x, _ in cells)
    right = max(x for x, _ in cells)
    return [(x - left, y) for x, y in cells], right - left + 2


def text_width(text, cell):
    """Width in pixels of a text drawn with the given cell size (without the last gap)."""
    return (sum(glyph_cells(ch)[1] for ch in text) - 1) * cell


def _strokes(cells, ox, oy, cell):
    """Segments (ax, ay, bx, by) that join the glyph's cells, in pixels."""
    cellset = set(cells)
    centre = [(ox + (x + 0.5) * cell, oy + (y + 0.5) * cell) for x, y in cells]
    segments = []
    for (x, y), (px, py) in zip(cells, centre):
        joined = False
        for dx, dy in ((1, 0), (0, 1)):
            if (x + dx, y + dy) in cellset:
                segments.append((px, py, px + dx * cell, py + dy * cell))
                joined = True
        for dx in (1, -1):
            # Diagonals only where no orthogonal pair already turns the corner.
            if ((x + dx, y + 1) in cellset and (x + dx, y) not in cellset
                    and (x, y + 1) not in cellset):
                segments.append((px, py, px + dx * cell, py + cell))
                joined = True
        if not joined:
            segments.append((px, py, px, py))
    return segments


def text_shape(text, x, y, cell, weight=0.42):
    """The text as one shape with its top-left at (x, y); returns (shape, bbox)."""
    segments = []
    pen = x
    for ch in text:
        cells, advance = glyph_cells(ch)
        segments += _strokes(cells, pen, y, cell)
        pen += advance * cell
    radius = cell * weight

    def sdf(px, py):
        best = float("inf")
        for ax, ay, bx, by in segments:
            # Cheap rejection keeps large texts quick to draw.
            if (px < min(ax, bx) - radius - 2 or px > max(ax, bx) + radius + 2
                    or py < min(ay, by) - radius - 2 or py > max(ay, by) + radius + 2):
                continue
            best = min(best, shapes.segment_distance(px, py, ax, ay, bx, by))
        return best - radius

    bbox = (x - 2, y - 2, pen + 2, y + LINE_ROWS * cell + 2)
    return sdf, bbox
