#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Draws the three 16 x 16 button faces of the toolbar: a crescent moon over the toolbar's grey,
# with a green plus (Add), a red minus (Remove) or a blue turning arrow (Refresh). Writes
# uncompressed 24-bit bitmaps beside this script: python3 make_faces.py
import math
import os
import struct

SIZE = 16
GREY = (192, 192, 192)
MOON = (214, 160, 32)
MOON_EDGE = (128, 88, 0)
GREEN = (0, 128, 0)
RED = (192, 0, 0)
BLUE = (0, 64, 192)


def crescent():
    img = [[GREY] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            outer = math.hypot(x - 6.5, y - 6.5) <= 5.6
            inner = math.hypot(x - 9.0, y - 4.5) <= 4.6
            if outer and not inner:
                edge = math.hypot(x - 6.5, y - 6.5) > 4.8
                img[y][x] = MOON_EDGE if edge else MOON
    return img


def plus(img, colour):
    for i in range(9, 16):
        img[11][i] = colour
        img[12][i] = colour
        img[i][11] = colour
        img[i][12] = colour


def minus(img, colour):
    for i in range(9, 16):
        img[11][i] = colour
        img[12][i] = colour


def turning_arrow(img, colour):
    cx, cy, r = 11.5, 11.5, 3.6
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
            if abs(d - r) <= 0.8 and not (300 <= angle <= 360):
                img[y][x] = colour
    for x, y in ((15, 10), (14, 10), (13, 10), (15, 9), (15, 8), (14, 9)):
        img[y][x] = colour


def write_bmp(path, img):
    row_size = (SIZE * 3 + 3) // 4 * 4
    pixels = b""
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in img[y])
        pixels += row + b"\0" * (row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


here = os.path.dirname(os.path.abspath(__file__))
for name, mark in (("Add", lambda i: plus(i, GREEN)), ("Remove", lambda i: minus(i, RED)),
                   ("Refresh", lambda i: turning_arrow(i, BLUE))):
    face = crescent()
    mark(face)
    write_bmp(os.path.join(here, "Lunavant_%s.bmp" % name), face)
