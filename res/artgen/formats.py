"""Writers for the Windows picture formats and PNG, byte by byte.

BMP: 24-bit, bottom-up, rows padded to 4 bytes (the form the resource compiler takes).
ICO and CUR: one directory, each image a BITMAPINFOHEADER with doubled height, the colour
rows bottom-up, then the 1-bit AND mask (1 = transparent), rows padded to 4 bytes. 32-bit
images carry straight (non-premultiplied) alpha; 24-bit images rely on the mask alone, so their
transparent pixels are black (screen AND 1, XOR 0 leaves the screen as it was).
PNG: 8-bit RGBA, one IDAT, each row with the filter that gives the smallest sum of bytes.
"""

import struct
import zlib


def _padded(row):
    return row + b"\0" * (-len(row) % 4)


def _bitmap_info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       0, 0)


def bmp24(rgb_rows):
    """A .bmp file from top-down rows of RGB bytes."""
    height = len(rgb_rows)
    width = len(rgb_rows[0]) // 3
    pixels = b"".join(
        _padded(bytes(row[x * 3 + c] for x in range(width) for c in (2, 1, 0)))
        for row in reversed(rgb_rows))
    header = _bitmap_info_header(width, height, 24, len(pixels))
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def _mask_rows(rgba_rows):
    width = len(rgba_rows[0]) // 4
    rows = []
    for row in reversed(rgba_rows):
        bits = bytearray((width + 7) // 8)
        for x in range(width):
            if row[x * 4 + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(_padded(bytes(bits)))
    return b"".join(rows)


def icon_image(rgba_rows, bits):
    """One icon or cursor image (header, colour, mask) from top-down RGBA rows."""
    height = len(rgba_rows)
    width = len(rgba_rows[0]) // 4
    colour = []
    for row in reversed(rgba_rows):
        out = bytearray()
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            if bits == 32:
                out += bytes((b, g, r, a))
            elif a >= 128:
                out += bytes((b, g, r))
            else:
                out += b"\0\0\0"
        colour.append(_padded(bytes(out)))
    colour = b"".join(colour)
    mask = _mask_rows(rgba_rows)
    header = _bitmap_info_header(width, height * 2, bits, len(colour) + len(mask))
    return width, height, header + colour + mask


def _directory(kind, images, hotspots):
    """kind 1 = icon, 2 = cursor; images are (width, height, bits, data)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for (width, height, bits, data), hotspot in zip(images, hotspots):
        planes_or_x, bits_or_y = (1, bits) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, planes_or_x, bits_or_y,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, _, data in images)


def ico(entries):
    """entries: (rgba_rows, bits) for each image."""
    images = []
    for rows, bits in entries:
        width, height, data = icon_image(rows, bits)
        images.append((width, height, bits, data))
    return _directory(1, images, [None] * len(images))


def cur(entries):
    """entries: (rgba_rows, bits, (hot_x, hot_y)) for each image."""
    images, hotspots = [], []
    for rows, bits, hotspot in entries:
        width, height, data = icon_image(rows, bits)
        images.append((width, height, bits, data))
        hotspots.append(hotspot)
    return _directory(2, images, hotspots)


def _png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered(row, previous, bpp=4):
    """The row under each of the five PNG filters; returns the cheapest one with its type."""
    candidates = []
    for kind in range(5):
        out = bytearray(len(row))
        for i, value in enumerate(row):
            left = row[i - bpp] if i >= bpp else 0
            up = previous[i]
            upper_left = previous[i - bpp] if i >= bpp else 0
            predictor = (0, left, up, (left + up) // 2, _paeth(left, up, upper_left))[kind]
            out[i] = (value - predictor) & 0xFF
        cost = sum(v if v < 128 else 256 - v for v in out)
        candidates.append((cost, kind, bytes(out)))
    cost, kind, data = min(candidates, key=lambda c: (c[0], c[1]))
    return bytes((kind,)) + data


def png(rgba_rows):
    height = len(rgba_rows)
    width = len(rgba_rows[0]) // 4
    raw = bytearray()
    previous = bytes(width * 4)
    for row in rgba_rows:
        raw += _filtered(row, previous)
        previous = row
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header) +
            _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _png_chunk(b"IEND", b""))


def png_pixels(data):
    """(width, height, filtered scanlines) of a PNG written by png(); for up-to-date checks."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    return header, zlib.decompress(idat)
