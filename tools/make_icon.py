#!/usr/bin/env python3
"""Draws foldscan's icon: a folder with three bars of a chart in front of it.

Writes a Windows .ico file with 16x16, 32x32 and 48x48 images (32-bit BGRA).
Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

FOLDER = (236, 186, 64, 255)
FOLDER_DARK = (178, 128, 24, 255)
TAB = (214, 160, 40, 255)
BARS = [(44, 110, 200, 255), (48, 160, 80, 255), (200, 64, 56, 255)]
OUTLINE = (40, 40, 40, 255)


def draw(size):
    """Returns rows of RGBA tuples, top row first, drawn in a 16-unit grid."""
    s = size / 16.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, color):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = color

    rect(1, 3, 7, 5, TAB)                # the folder's tab
    rect(1, 4, 15, 14, FOLDER_DARK)      # outline of the folder body
    rect(1.5 if size > 16 else 2, 5, 14.5 if size > 16 else 14, 13.5 if size > 16 else 13, FOLDER)
    heights = [4, 7, 5.5]
    for i, (h, color) in enumerate(zip(heights, BARS)):
        x0 = 4 + i * 3
        rect(x0 - 0.5, 13 - h - 0.5, x0 + 2.5, 13, OUTLINE)
        rect(x0, 13 - h, x0 + 2, 13, color)
    return px


def image(size):
    px = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(px):             # bitmaps are stored bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    and_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(and_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main(path):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
