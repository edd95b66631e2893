#!/usr/bin/env python3
"""Draws the program's 64 x 64, 32-bit icon: a blue rounded tile with a thermometer and a drop.

Run it to regenerate app/res/QM27K.ico after changing the drawing."""
import math
import struct
import sys

SIZE = 64


def inside_round_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y):
    """BGRA of one pixel, sampled at its centre."""
    px, py = x + 0.5, y + 0.5
    if not inside_round_rect(px, py, 2, 2, 62, 62, 12):
        return (0, 0, 0, 0)
    # Tile: the status bar blue, lighter towards the top.
    t = py / SIZE
    base = (222 - 30 * t, 89 - 20 * t, 56 - 16 * t)
    colour = base
    # Thermometer: a white stem and bulb on the left half.
    stem = 20 <= px <= 28 and 10 <= py <= 44
    bulb = (px - 24) ** 2 + (py - 48) ** 2 <= 8 ** 2
    if stem or bulb:
        colour = (250, 250, 250)
        mercury = (22 <= px <= 26 and 22 <= py <= 46) or (px - 24) ** 2 + (py - 48) ** 2 <= 5 ** 2
        if mercury:
            colour = (40, 40, 220)
    # Drop: a white tear shape on the right half.
    dx, dy = px - 44, py - 40
    in_circle = dx * dx + dy * dy <= 9 ** 2
    in_tip = py < 40 and abs(dx) <= (py - 18) * 9 / 22 and py >= 18
    if in_circle or in_tip:
        colour = (250, 235, 200)
    return (int(colour[0]), int(colour[1]), int(colour[2]), 255)


def main(path):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up, as DIBs are stored
        rows.append(b"".join(struct.pack("BBBB", *pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    and_mask = b"\x00" * (SIZE * SIZE // 8)  # alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icon_dir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/res/QM27K.ico")
