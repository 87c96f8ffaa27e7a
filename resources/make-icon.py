#!/usr/bin/env python3
# Builds ostrel.ico from ostrel.xpm: the 32 x 32 16-colour pixel art as drawn, and the same arrow over
# the same ruler redrawn at the other sizes Windows asks for. Usage: make-icon.py ostrel.xpm ostrel.ico
import math
import pathlib
import re
import struct
import sys
import zlib

PALETTE = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
           0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
ART_SIZE = 32
# Vista and later read these as PNG; older systems, which cannot, still find the 32 x 32 art.
DRAWN_SIZES = [16, 20, 24, 40, 48, 64, 256]
BLUE, BLACK, YELLOW, OLIVE = 0x0000FF, 0x000000, 0xFFFF00, 0x808000


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', path.read_text())
    width, height, colours, per_pixel = map(int, rows[0].split()[:4])
    if (width, height, per_pixel) != (ART_SIZE, ART_SIZE, 1):
        sys.exit(f"{path}: need {ART_SIZE} x {ART_SIZE} with one character a pixel")
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


def bitmap_image(pixels):
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bitmaps run bottom-up
        for x in range(0, ART_SIZE, 2):
            pair = [p or 0 for p in row[x:x + 2]]
            xor.append(pair[0] << 4 | pair[1])
        bits = 0
        for p in row:
            bits = bits << 1 | (p is None)
        mask += bits.to_bytes(ART_SIZE // 8, "big")
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, ART_SIZE, 2 * ART_SIZE, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    return header + palette + bytes(xor) + bytes(mask)


def layout(size):
    """The picture at SIZE pixels: (rectangles, arrowheads), each with its colour. Straight edges fall
    on pixel boundaries and strokes stay whole pixels, so only the arrowheads' slopes are blended;
    the ruler keeps evenly spaced ticks, dropping the finer ones where they no longer fit."""
    scale = size / ART_SIZE

    def px(units):  # nearest pixel, halves up
        return int(units * scale + 0.5)

    def stroke_px(units):  # nearest pixel, halves down: strokes err on the light side
        return max(1, math.ceil(units * scale - 0.5))

    stroke = stroke_px(1)
    # The arrow: a shaft between two heads with 45-degree sides, their backs at 7 and 25.
    shaft = stroke_px(3)
    shaft_top = int(8.5 * scale - shaft / 2 + 0.5)
    middle = shaft_top + shaft / 2
    # Tips level with the shaft's middle, on the half pixel where it is, keep the slopes on pixel corners.
    tip, back = px(1) + shaft % 2 / 2, px(7)
    reach = back - tip
    heads = [((tip, middle), (back, middle - reach), (back, middle + reach)),
             ((size - tip, middle), (size - back, middle + reach), (size - back, middle - reach))]
    rects = [(back, shaft_top, size - back, shaft_top + shaft, BLUE)]
    # The ruler: a black frame round yellow, an olive edge along its foot, ticks hanging from its top.
    left, right, bottom = px(1), size - px(1), px(28)
    top = bottom - stroke_px(11)
    inner_left, inner_right, inner_top = left + stroke, right - stroke, top + stroke
    edge = bottom - 2 * stroke
    rects += [(left, top, right, bottom, BLACK), (inner_left, inner_top, inner_right, bottom - stroke, YELLOW),
              (inner_left, edge, inner_right, edge + stroke, OLIVE)]
    inner_width, depth = inner_right - inner_left, edge - inner_top
    for every in (1, 2, 4):  # 13 ticks 2 apart, every 2nd longer, every 4th longest
        gaps = 12 // every
        pitch = min(max(2 * stroke, int(2 * every * scale)), (inner_width - 2 * stroke - stroke) // gaps)
        if pitch >= 2 * stroke:
            break
    first = inner_left + (inner_width - gaps * pitch - stroke) // 2
    for n in range(gaps + 1):
        tick = n * every
        length = max(1, int(depth * (6 if tick % 4 == 0 else 4 if tick % 2 == 0 else 2) / 8 + 0.5))
        x = first + n * pitch
        rects.append((x, inner_top, x + stroke, inner_top + length, BLACK))
    return rects, [(head, BLUE) for head in heads]


def clipped_area(polygon, x, y):
    """Area of the convex POLYGON within the pixel whose top-left corner is X, Y."""
    points = list(polygon)
    for axis, bound, side in ((0, x, 1), (0, x + 1, -1), (1, y, 1), (1, y + 1, -1)):
        kept = []
        for a, b in zip(points, points[1:] + points[:1]):
            if side * (a[axis] - bound) >= 0:
                kept.append(a)
            if (side * (a[axis] - bound) >= 0) != (side * (b[axis] - bound) >= 0):
                t = (bound - a[axis]) / (b[axis] - a[axis])
                kept.append((a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])))
        points = kept
    return abs(sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(points, points[1:] + points[:1]))) / 2


def inside_triangle(triangle, x, y):
    (ax, ay), (bx, by), (cx, cy) = triangle
    sides = [(bx - ax) * (y - ay) - (by - ay) * (x - ax), (cx - bx) * (y - by) - (cy - by) * (x - bx),
             (ax - cx) * (y - cy) - (ay - cy) * (x - cx)]
    return all(s >= 0 for s in sides) or all(s <= 0 for s in sides)


def render(size):
    """SIZE x SIZE rows of (colour, coverage 0..1); the arrowheads' edges blend into transparency."""
    rects, heads = layout(size)
    canvas = [[(0, 0.0)] * size for _ in range(size)]
    for x0, y0, x1, y1, colour in rects:
        for y in range(y0, y1):
            canvas[y][x0:x1] = [(colour, 1.0)] * (x1 - x0)
    for triangle, colour in heads:
        xs, ys = [p[0] for p in triangle], [p[1] for p in triangle]
        for y in range(int(min(ys)), min(size, int(max(ys)) + 1)):
            for x in range(int(min(xs)), min(size, int(max(xs)) + 1)):
                coverage = clipped_area(triangle, x, y)
                if coverage > 0:  # heads touch nothing else, so their coverage is their opacity
                    canvas[y][x] = (colour, min(1.0, coverage))
    return canvas


def check_drawing_matches_art(pixels):
    """The redrawn sizes follow the pixel art: sampled at pixel centres, the 32 x 32 layout must be it."""
    rects, heads = layout(ART_SIZE)
    for y in range(ART_SIZE):
        for x in range(ART_SIZE):
            drawn = None
            for x0, y0, x1, y1, colour in rects:
                if x0 <= x < x1 and y0 <= y < y1:
                    drawn = colour
            for triangle, colour in heads:
                if inside_triangle(triangle, x + 0.5, y + 0.5):
                    drawn = colour
            art = None if pixels[y][x] is None else PALETTE[pixels[y][x]]
            if drawn != art:
                sys.exit(f"make-icon.py: the drawing differs from ostrel.xpm at x {x}, y {y}: update layout()")


def png_image(canvas):
    raw = bytearray()
    for row in canvas:
        raw.append(0)  # no filter: flat colours compress best as they are
        for colour, coverage in row:
            alpha = int(coverage * 255 + 0.5)
            raw += struct.pack(">BBBB", colour >> 16, colour >> 8 & 0xFF, colour & 0xFF, alpha) if alpha else bytes(4)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    size = len(canvas)
    # Only the chunks a reader needs: no time or text, so every build writes the same bytes.
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def ico(pixels):
    # (size, colours in the palette or 0, bits per pixel, image), smallest first
    images = sorted([(ART_SIZE, 16, 4, bitmap_image(pixels))] +
                    [(size, 0, 32, png_image(render(size))) for size in DRAWN_SIZES])
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for size, colours, bits, image in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    return directory + b"".join(image for *_, image in images)


if len(sys.argv) != 3:
    sys.exit("usage: make-icon.py ostrel.xpm ostrel.ico")
art = read_xpm(pathlib.Path(sys.argv[1]))
check_drawing_matches_art(art)
pathlib.Path(sys.argv[2]).write_bytes(ico(art))
