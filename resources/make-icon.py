#!/usr/bin/env python3
# Turns ostrel.xpm (32 x 32, colours of the standard 16-colour palette, "None" for transparent)
# into ostrel.ico: one 4-bit image with its transparency mask. Run after editing the picture.
import pathlib
import re
import struct
import sys

PALETTE = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
           0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
SIZE = 32


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', path.read_text())
    width, height, colours, per_pixel = map(int, rows[0].split()[:4])
    if (width, height, per_pixel) != (SIZE, SIZE, 1):
        sys.exit(f"{path}: need {SIZE} x {SIZE} with one character a pixel")
    index = {}
    for row in rows[1:1 + colours]:
        key, value = row[0], row.split()[-1]
        if value == "None":
            index[key] = None
        else:
            rgb = int(value.lstrip("#"), 16)
            if rgb not in PALETTE:
                sys.exit(f"{path}: colour {value} is not one of the 16 standard colours")
            index[key] = PALETTE.index(rgb)
    return [[index[c] for c in row] for row in rows[1 + colours:1 + colours + height]]


def ico(pixels):
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bitmaps run bottom-up
        for x in range(0, SIZE, 2):
            pair = [p or 0 for p in row[x:x + 2]]
            xor.append(pair[0] << 4 | pair[1])
        bits = 0
        for p in row:
            bits = bits << 1 | (p is None)
        mask += bits.to_bytes(SIZE // 8, "big")
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    return directory + image


here = pathlib.Path(__file__).resolve().parent
(here / "ostrel.ico").write_bytes(ico(read_xpm(here / "ostrel.xpm")))
