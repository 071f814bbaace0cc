#!/usr/bin/env python3
"""Draws the six 64 x 25 skin images of the Command push button as 24-bit uncompressed BMP files.

Each image is a frame four rings deep (only that frame is ever drawn on a button; the middle is one
flat colour) with corners rounded to a two-pixel radius. A pixel's colour is the average of 4 x 4 samples, each taking the colour of the
ring it falls in, so the rounded corners come out blended.

    python3 assets/draw_button_skins.py            # writes the images beside this script
    python3 assets/draw_button_skins.py --check    # fails if the committed images differ
"""

import math
import struct

from picture_files import write_or_check

WIDTH, HEIGHT = 64, 25
CORNER_RADIUS = 2.0
SAMPLES = 4
# What the skins are laid on: the flat outer ring of Pressed and Disable.
OUTSIDE = 0xECE9D8


def rgb(value):
    return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF


def blend(a, b, t):
    (ar, ag, ab), (br, bg, bb) = rgb(a), rgb(b)
    return (round(ar + (br - ar) * t) << 16) | (round(ag + (bg - ag) * t) << 8) | round(ab + (bb - ab) * t)


def flat(colour):
    return lambda side, u: colour


def sides(top, left, right, bottom):
    """A ring coloured per side; left, right and bottom may be (start, end) pairs to fade along
    the side (top to bottom for the sides, left to right for the bottom)."""
    def faded(value, u):
        return blend(value[0], value[1], u) if isinstance(value, tuple) else value
    return lambda side, u: faded({"top": top, "left": left, "right": right, "bottom": bottom}[side], u)


# The outer glow: darker at the top-left, lighter towards the bottom-right.
GLOW = sides(top=0xDCD6C2, left=(0xE0DCC9, 0xEEEBE0), right=(0xE8E5D6, 0xF8F7F0),
             bottom=(0xEEEBE0, 0xF8F7F0))
OUTLINE = flat(0x003C74)

# Rings from the outside in.
SKINS = {
    "button_normal.bmp": [
        GLOW, OUTLINE,
        sides(0xF3F3EE, (0xFDFDFC, 0xECEBE6), (0xFDFDFC, 0xE0DDD4), 0xD6D0C5),
        sides(0xF3F3EE, (0xFDFDFC, 0xECEBE6), (0xFDFDFC, 0xE0DDD4), 0xE2DFD6),
    ],
    "button_highlight.bmp": [
        GLOW, OUTLINE,
        sides(0xFFF0CF, (0xFEDF9A, 0xF9B435), (0xFEDF9A, 0xF9B435), 0xE59700),
        sides(0xFDD889, (0xFCD279, 0xF8B535), (0xFCD279, 0xF8B535), 0xF8B330),
    ],
    "button_selected.bmp": [
        GLOW, OUTLINE,
        sides(0xCEE7FF, (0xB7D0F4, 0x8BADE4), (0xB1CCF2, 0x8BADE4), 0x6982EE),
        sides(0xCEE7FF, (0xB7D0F4, 0x8BADE4), (0xB1CCF2, 0x8BADE4), 0x6982EE),
    ],
    # Normal's frame moved one pixel inwards, with an inner shadow: a sunken look.
    "button_pressed.bmp": [
        flat(OUTSIDE), GLOW, OUTLINE,
        sides(0xD1CCC1, 0xD7D4CB, 0xE4E3DC, 0xF2F1EE),
    ],
    "button_disable.bmp": [flat(OUTSIDE), flat(0xC9C7BA), flat(0xF5F4EA), flat(0xF5F4EA)],
}
SKINS["button_highlight_select.bmp"] = SKINS["button_highlight.bmp"]


def depth_and_side(px, py):
    """How deep a point lies inside the rounded outline, and the side it is nearest to."""
    distances = {"top": py, "left": px, "right": WIDTH - px, "bottom": HEIGHT - py}
    side = min(distances, key=distances.get)
    cx = min(max(px, CORNER_RADIUS), WIDTH - CORNER_RADIUS)
    cy = min(max(py, CORNER_RADIUS), HEIGHT - CORNER_RADIUS)
    if (cx, cy) != (px, py):
        return CORNER_RADIUS - math.hypot(px - cx, py - cy), side
    return distances[side], side


def pixel(rings, x, y):
    total = [0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
            depth, side = depth_and_side(px, py)
            if depth < 0:
                colour = OUTSIDE
            elif depth >= len(rings):  # the unused middle: one flat colour
                colour = rings[-1]("top", 0.5)
            else:
                u = (y / (HEIGHT - 1)) if side in ("left", "right") else (x / (WIDTH - 1))
                colour = rings[int(depth)](side, u)
            for channel, value in enumerate(rgb(colour)):
                total[channel] += value
    return tuple(round(value / SAMPLES ** 2) for value in total)


def bmp_bytes(rings):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            red, green, blue = pixel(rings, x, y)
            row += bytes((blue, green, red))
        rows.append(bytes(row.ljust(row_size, b"\0")))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    write_or_check(__file__, __doc__,
                   {name: (lambda rings=rings: bmp_bytes(rings)) for name, rings in SKINS.items()})
