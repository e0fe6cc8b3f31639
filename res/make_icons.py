#!/usr/bin/env python3
"""Draws the program's icons (a phone with a note on its screen) as .ico files."""
import struct


def pixel(x, y, size):
    s = size / 16.0
    body = 3 * s <= x < 13 * s and 1 * s <= y < 15 * s
    screen = 4 * s <= x < 12 * s and 2 * s <= y < 11 * s
    stem = 8 * s <= x < 9 * s + 0.5 and 3 * s <= y < 9 * s
    head = (x - 7 * s) ** 2 + (y - 9 * s) ** 2 <= (1.6 * s) ** 2
    flag = 9 * s <= x < 10.5 * s and 3 * s <= y < 5 * s
    if screen and (stem or head or flag):
        return (0x20, 0x20, 0x90, 0xFF)  # note, dark blue
    if screen:
        return (0xF0, 0xD8, 0x80, 0xFF)  # screen, warm yellow
    if body:
        return (0x30, 0x30, 0x30, 0xFF)  # phone body
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up rows
        for x in range(size):
            r, g, b, a = pixel(x + 0.5, y + 0.5, size)
            rows.append(struct.pack("BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def write_ico(path, sizes):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


write_ico("quorvel.ico", [16, 32])
write_ico("tray.ico", [16])
