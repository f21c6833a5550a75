#!/usr/bin/env python3
"""Draws the two tray icons: res/kopiwell.ico (capturing) and res/paused.ico.

Both show a clipboard. The paused one is grey with two red pause bars, so
the two tell apart at 16 x 16 pixels. Each file holds a picture for each
small-icon size of the usual screen scalings (16, 20, 24, 32 and 48
pixels square, for 100 % to 300 %) with 32-bit colour, so that the tray
never shows a stretched one. Run it from anywhere; it writes into
res/ next to this folder.
"""
import os
import struct

BOARD = (139, 90, 43)
CLIP = (170, 170, 180)
PAPER = (255, 255, 255)
INK = (40, 90, 200)
BAR = (220, 30, 30)
EDGE = (60, 40, 20)


def grey(rgb):
    v = (rgb[0] * 30 + rgb[1] * 59 + rgb[2] * 11) // 100
    v = 128 + (v - 128) // 2  # faded, so the red bars stand out
    return (v, v, v)


def draw(size, paused):
    """Returns rows of (r, g, b, a) from the top, drawn on a 16-unit grid."""
    s = size / 16.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, rgb):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                colour = grey(rgb) if paused else rgb
                px[y][x] = colour + (255,)

    rect(2, 1, 14, 16, EDGE)          # board outline
    rect(3, 2, 13, 15, BOARD)         # board
    rect(4, 4, 12, 14, PAPER)         # sheet
    for y in (6, 8, 10, 12):          # lines of text
        rect(5, y, 11, y + 1, INK)
    rect(5, 0, 11, 3, CLIP)           # the clip
    rect(6, 1, 10, 2, EDGE)
    if paused:
        for x in (5, 9):              # pause bars over the sheet
            for y in range(int(5 * s), int(15 * s)):
                for xx in range(int(x * s), int((x + 2) * s)):
                    px[y][xx] = BAR + (255,)
    return px


def bmp_entry(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''
    for row in reversed(px):          # bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        out = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + pixels + mask


SIZES = (16, 20, 24, 32, 48)


def write_ico(path, paused):
    images = [bmp_entry(draw(n, paused)) for n in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    write_ico(os.path.join(res, 'kopiwell.ico'), paused=False)
    write_ico(os.path.join(res, 'paused.ico'), paused=True)
