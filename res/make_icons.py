#!/usr/bin/env python3
"""Draws the program's icons (a phone with a note on its screen): the .ico files
into the current folder, or with --png FOLDER the web app's PNG icons (192, 512
and, for iPhones, 180 pixels) into FOLDER, as the build does. Standard library only."""
import os
import struct
import sys
import zlib

# Home screens show an app's icon on a tile of their own, and iPhones make a
# transparent one black: the PNGs are opaque, the phone on the page's colour.
PNG_BACKGROUND = (0xF4, 0xF5, 0xF7)
PNG_ICONS = (("icon-192.png", 192), ("icon-512.png", 512), ("apple-touch-icon.png", 180))


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


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def write_png(path, size):
    """8-bit RGB; the same sources give the same bytes."""
    rows = []
    for y in range(size):
        row = bytearray(b"\0")  # no filter
        for x in range(size):
            r, g, b, a = pixel(x + 0.5, y + 0.5, size)
            row += bytes((r, g, b)) if a else bytes(PNG_BACKGROUND)
        rows.append(bytes(row))
    png = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
    png += png_chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + png_chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if len(sys.argv) == 3 and sys.argv[1] == "--png":
    os.makedirs(sys.argv[2], exist_ok=True)
    for name, size in PNG_ICONS:
        write_png(os.path.join(sys.argv[2], name), size)
else:
    write_ico("quorvel.ico", [16, 32])
    write_ico("tray.ico", [16])
