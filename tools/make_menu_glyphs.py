#!/usr/bin/env python3
"""Draws the caption-button marks of the window menu: a 64 x 16, 24-bit strip of four 16 x 16
glyphs (restore, maximise, minimise, close), black on white, white being the mask colour.

Run it to regenerate app/res/MenuGlyphs.bmp after changing a pattern."""
import struct
import sys

GLYPH = 16

# Each glyph: its pattern ('#' dark) and where the pattern's top-left corner sits in the cell.
# The marks are the classic ones: two overlapping windows, a window with a thick title bar,
# a short thick bar low in the cell, an X of two-pixel strokes.
RESTORE = (4, 3, [
    "..######",
    "..######",
    "..#....#",
    "######.#",
    "######.#",
    "#....###",
    "#....#..",
    "#....#..",
    "######..",
])
MAXIMISE = (3, 3, [
    "#########",
    "#########",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#.......#",
    "#########",
])
MINIMISE = (4, 10, [
    "######",
    "######",
])
CLOSE = (4, 4, [
    "##....##",
    ".##..##.",
    "..####..",
    "...##...",
    "..####..",
    ".##..##.",
    "##....##",
])
GLYPHS = [RESTORE, MAXIMISE, MINIMISE, CLOSE]

DARK = (0, 0, 0)
WHITE = (255, 255, 255)


def pixel(x, y):
    """RGB of one pixel of the strip."""
    left, top, rows = GLYPHS[x // GLYPH]
    gx, gy = x % GLYPH - left, y - top
    if 0 <= gy < len(rows) and 0 <= gx < len(rows[gy]) and rows[gy][gx] == "#":
        return DARK
    return WHITE


def main(path):
    width, height = GLYPH * len(GLYPHS), GLYPH
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up, as DIBs are stored
        row = b"".join(struct.pack("BBB", b, g, r) for r, g, b in (pixel(x, y) for x in range(width)))
        rows.append(row + b"\x00" * (stride - len(row)))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info + bits)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/res/MenuGlyphs.bmp")
