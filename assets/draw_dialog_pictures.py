#!/usr/bin/env python3
"""Draws the settings dialog's pictures and the program's icon:

    indicator_unselected.bmp  12 x 12, 24-bit: a light, empty square with a grey edge
    indicator_selected.bmp    12 x 12, 24-bit: a blue square with a darker blue edge
    link_pointer.cur          32 x 32, two colours: a hand with the index finger up, hot spot (12, 10)
    program.ico               32 x 32, 256 colours: a flame on a dark blue tile

    python3 assets/draw_dialog_pictures.py            # writes the pictures beside this script
    python3 assets/draw_dialog_pictures.py --check    # fails if the committed pictures differ
"""

import math
import struct

from picture_files import write_or_check

INDICATOR_SIZE = 12
POINTER_SIZE = 32
POINTER_HOT_SPOT = (12, 10)
ICON_SIZE = 32
SAMPLES = 4


def bitmap_info(width, height, bits, image_size, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours_used, 0)


def bmp_file(pixels, size):
    """A 24-bit uncompressed BMP of size x size pixels given as rows of (r, g, b), top row first."""
    row_size = (size * 3 + 3) // 4 * 4
    data = b"".join(bytes(b for r, g, b_ in row for b in (b_, g, r)).ljust(row_size, b"\0")
                    for row in reversed(pixels))
    info = bitmap_info(size, size, 24, len(data))
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def mask_rows(bits, size):
    """1-bit rows, bottom row first, each padded to four bytes; bits[y][x] true sets the bit."""
    row_size = (size + 31) // 32 * 4
    rows = []
    for row in reversed(bits):
        value = bytearray(row_size)
        for x, on in enumerate(row):
            if on:
                value[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(value))
    return b"".join(rows)


def indicator(fill_top, fill_bottom, edge, highlight=None):
    """A square with a one-pixel edge whose inside fades from fill_top to fill_bottom; highlight,
    if given, lights the inner pixel row and column along the top and left."""
    last = INDICATOR_SIZE - 1
    rows = []
    for y in range(INDICATOR_SIZE):
        row = []
        for x in range(INDICATOR_SIZE):
            if x in (0, last) or y in (0, last):
                row.append(edge)
            elif highlight and (x == 1 or y == 1):
                row.append(highlight)
            else:
                t = (y - 1) / (last - 2)
                row.append(tuple(round(a + (b - a) * t) for a, b in zip(fill_top, fill_bottom)))
        rows.append(row)
    return rows


def hand_shape():
    """The pointer's white inside: the index finger up, three fingers folded, thumb and palm."""
    filled = [[False] * POINTER_SIZE for _ in range(POINTER_SIZE)]

    def fill(x0, x1, y0, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                filled[y][x] = True

    hot_x, hot_y = POINTER_HOT_SPOT
    fill(hot_x, hot_x + 1, hot_y + 1, 22)  # index finger; its tip's edge is the hot spot
    fill(15, 16, 16, 22)  # middle finger
    fill(18, 19, 17, 22)  # ring finger
    fill(21, 22, 18, 22)  # little finger
    fill(8, 9, 19, 24)  # thumb
    fill(10, 22, 23, 27)  # palm
    fill(11, 21, 28, 29)  # wrist
    return filled


def pointer_file():
    """A two-colour cursor: black edge round the white hand, transparent elsewhere."""
    filled = hand_shape()
    edge = [[False] * POINTER_SIZE for _ in range(POINTER_SIZE)]
    for y in range(POINTER_SIZE):
        for x in range(POINTER_SIZE):
            if filled[y][x]:
                continue
            neighbours = [(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)]
            edge[y][x] = any(0 <= nx < POINTER_SIZE and 0 <= ny < POINTER_SIZE and filled[ny][nx]
                             for nx, ny in neighbours)
    hot_x, hot_y = POINTER_HOT_SPOT
    assert edge[hot_y][hot_x], "the hot spot must lie on the fingertip's edge"
    # Colour bits: 1 white, 0 black; mask bits: 1 where the screen shows through.
    colour = mask_rows(filled, POINTER_SIZE)
    transparent = mask_rows([[not (f or e) for f, e in zip(fr, er)] for fr, er in zip(filled, edge)],
                            POINTER_SIZE)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = (bitmap_info(POINTER_SIZE, 2 * POINTER_SIZE, 1, len(colour) + len(transparent), 2)
             + palette + colour + transparent)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", POINTER_SIZE, POINTER_SIZE, 2, 0, hot_x, hot_y, len(image), 22)
    return directory + entry + image


def palette_256():
    """A fixed palette: the 6 x 6 x 6 colour cube, then 40 steps of the tile's dark blues."""
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [tile_colour(i / 39 * TILE_LIGHT) for i in range(40)]
    return colours


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


TILE_LIGHT = 110


def tile_colour(c):
    """The tile's blue at brightness c (0 to TILE_LIGHT)."""
    return (round(c * 0.3), round(c * 0.3), round(c * 0.6 + 30))


def flame_sample(px, py):
    """The icon's colour at a point, or None outside its rounded tile."""
    # The tile: a square with rounded corners, dark blue at the edges like the dialog's skin.
    radius, half = 5.0, ICON_SIZE / 2
    cx = min(max(px, radius), ICON_SIZE - radius)
    cy = min(max(py, radius), ICON_SIZE - radius)
    if math.hypot(px - cx, py - cy) > radius:
        return None
    background = tile_colour(abs(TILE_LIGHT * math.sin(py / ICON_SIZE * math.pi)))
    # The flame: a drop whose round base sits low and whose tip points up.
    base_y, base_r, tip_y = 22.0, 7.0, 3.0
    if py >= base_y:
        inside = math.hypot(px - half, py - base_y) / base_r
    elif py > tip_y:
        width = base_r * ((py - tip_y) / (base_y - tip_y)) ** 1.4
        inside = abs(px - half) / width if width > 0 else 2.0
    else:
        inside = 2.0
    if inside >= 1.0:
        return background
    heat = (1 - inside) * (0.4 + 0.6 * min(1.0, max(0.0, (py - tip_y) / (base_y - tip_y))))
    red = 255
    green = 60 + 195 * min(1.0, heat * 1.6)
    blue = 40 + 215 * max(0.0, heat * 2 - 1)
    return (red, green, blue)


def icon_file():
    palette = palette_256()
    indices, opaque = [], []
    for y in range(ICON_SIZE):
        index_row, opaque_row = [], []
        for x in range(ICON_SIZE):
            samples = [flame_sample(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)
                       for sy in range(SAMPLES) for sx in range(SAMPLES)]
            inside = [s for s in samples if s is not None]
            opaque_row.append(len(inside) * 2 >= len(samples))
            mean = tuple(sum(s[i] for s in inside) / len(inside) for i in range(3)) if inside else (0, 0, 0)
            index_row.append(nearest(palette, mean) if opaque_row[-1] else 0)
        indices.append(index_row)
        opaque.append(opaque_row)
    colour = b"".join(bytes(row) for row in reversed(indices))
    transparent = mask_rows([[not o for o in row] for row in opaque], ICON_SIZE)
    palette_bytes = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = (bitmap_info(ICON_SIZE, 2 * ICON_SIZE, 8, len(colour) + len(transparent), 256)
             + palette_bytes + colour + transparent)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", ICON_SIZE, ICON_SIZE, 0, 0, 1, 8, len(image), 22)
    return directory + entry + image


PICTURES = {
    "indicator_unselected.bmp": lambda: bmp_file(
        indicator((252, 252, 252), (236, 236, 236), (128, 128, 128), (224, 224, 224)), INDICATOR_SIZE),
    "indicator_selected.bmp": lambda: bmp_file(
        indicator((88, 148, 244), (28, 84, 204), (16, 44, 120)), INDICATOR_SIZE),
    "link_pointer.cur": pointer_file,
    "program.ico": icon_file,
}


if __name__ == "__main__":
    write_or_check(__file__, __doc__, PICTURES)
