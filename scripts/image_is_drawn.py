#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Exits 0 when every PNG file given shows a drawing: enough distinct colours and no single colour
covering nearly all of it. A blank or one-colour screenshot fails. Standard library only."""
import struct
import sys
import zlib
from collections import Counter


def pixels(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4, 0: 1, 4: 2}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError("only 8-bit, non-interlaced grey or RGB(A) PNG files are read")
    raw = zlib.decompress(idat)
    stride = width * channels
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                near = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + near) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, [row[i:i + channels] for row in rows for i in range(0, stride, channels)]


def main(paths):
    ok = True
    for path in paths:
        try:
            width, height, values = pixels(path)
        except (OSError, ValueError, zlib.error) as error:
            print(f"{path}: {error}")
            ok = False
            continue
        counts = Counter(values)
        commonest = counts.most_common(1)[0][1] / len(values)
        drawn = len(counts) >= 8 and commonest < 0.97
        print(f"{path}: {width}x{height}, {len(counts)} colours, commonest {commonest:.0%}"
              f" -> {'drawn' if drawn else 'BLANK'}")
        ok = ok and drawn
    return 0 if ok and paths else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
