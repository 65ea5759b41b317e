#!/usr/bin/env python3
"""Draws the program's icon, a clock face, into app/tarvelo.ico (16 and 32 px, 32-bit)."""
import math
import struct
import sys


def pixel(size, x, y):
    c = (size - 1) / 2.0
    dx, dy = x - c, y - c
    r = math.hypot(dx, dy)
    outer = size / 2.0 - 0.5
    if r > outer:
        return (0, 0, 0, 0)
    if r > outer - max(1.5, size / 12.0):
        return (0x30, 0x60, 0xB0, 255)  # rim
    # hands: hour towards 10 o'clock, minute towards 12
    def near(angle, length, width):
        ux, uy = math.sin(angle), -math.cos(angle)
        t = dx * ux + dy * uy
        d = abs(dx * uy - dy * ux)
        return -0.5 <= t <= length and d <= width
    if near(0.0, outer * 0.8, size / 28.0 + 0.5) or near(-math.pi / 3, outer * 0.55, size / 24.0 + 0.6):
        return (0x20, 0x20, 0x20, 255)
    return (0xF4, 0xF4, 0xF4, 255)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            rows.append(struct.pack("<BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(path):
    sizes = [16, 32]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/tarvelo.ico")
