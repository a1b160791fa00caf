#!/usr/bin/env python3
"""Draws the program icons at build time: a round badge with a downward
arrow (the updater) or a box (setup), 32x32 and 16x16, 32 bits per pixel.
Usage: make-icon.py updater|setup OUT.ico"""
import struct
import sys


def pixel(kind, x, y, size):
    c = (size - 1) / 2.0
    dx, dy = (x - c) / c, (y - c) / c
    r2 = dx * dx + dy * dy
    if r2 > 1.0:
        return (0, 0, 0, 0)
    edge = r2 > 0.8
    if kind == "updater":
        shaft = abs(dx) < 0.16 and -0.6 < dy < 0.15
        head = dy >= 0.05 and dy < 0.65 and abs(dx) < (0.65 - dy) * 0.9
        white = shaft or head
        body = (40, 110, 200)
    else:
        white = abs(dx) < 0.5 and abs(dy) < 0.45 and not (abs(dx) < 0.38 and -0.2 < dy < 0.33)
        body = (30, 150, 90)
    if white:
        return (255, 255, 255, 255)
    shade = 0.75 if edge else 1.0
    return tuple(int(v * shade) for v in body) + (255,)


def image(kind, size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        row = b""
        for x in range(size):
            r, g, b, a = pixel(kind, x, y, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main():
    kind, out = sys.argv[1], sys.argv[2]
    images = [image(kind, s) for s in (32, 16)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((32, 16), images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    main()
