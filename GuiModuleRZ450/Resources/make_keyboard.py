#!/usr/bin/env python3
"""Draws the keypad picture keyb450.bmp (284 x 308, 24-bit, standard library
only).

    python3 make_keyboard.py [--preview keypad.png]

The panel shows the picture scaled to 160 x 167 below the display, from panel
row 129, and takes clicks in the key rectangles of
CRZ450VirtualDevice::GetKeyRect; KEYS below must stay equal to that table.
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "keyb450.bmp")

WIDTH, HEIGHT = 284, 308
PANEL_WIDTH, PANEL_HEIGHT, PANEL_TOP = 160, 167, 129
SCALE_X = WIDTH / PANEL_WIDTH
SCALE_Y = HEIGHT / PANEL_HEIGHT

# Key index: left, top, width, height in panel coordinates.
KEYS = {
    0: (10, 202, 63, 30),
    1: (85, 202, 63, 30),
    2: (85, 146, 63, 30),
    3: (10, 146, 63, 30),
    4: (10, 258, 63, 30),
    5: (85, 258, 63, 30),
}

BODY_TOP = (58, 63, 71)
BODY_BOTTOM = (38, 42, 48)
SHADOW = (24, 26, 30)
KEY_RIM = (122, 129, 138)
KEY_FACE = (214, 218, 224)
KEY_LIGHT = (240, 242, 245)
SYMBOL = (44, 48, 54)
ACCENT = (205, 112, 32)
SUPERSAMPLE = 4


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[(0, 0, 0)] * width for _ in range(height)]

    def fill(self, colour_at):
        for y in range(self.height):
            for x in range(self.width):
                self.pixels[y][x] = colour_at(x, y)

    def shape(self, inside, box, colour):
        """Blends colour over the pixels of box by the share of samples
        inside the shape, so that edges come out smooth."""
        left, top, right, bottom = (int(math.floor(box[0])), int(math.floor(box[1])),
                                    int(math.ceil(box[2])), int(math.ceil(box[3])))
        step = 1.0 / SUPERSAMPLE
        for y in range(max(top, 0), min(bottom + 1, self.height)):
            for x in range(max(left, 0), min(right + 1, self.width)):
                hits = sum(inside(x + (i + 0.5) * step, y + (j + 0.5) * step)
                           for i in range(SUPERSAMPLE) for j in range(SUPERSAMPLE))
                if hits:
                    self.blend(x, y, colour, hits / (SUPERSAMPLE * SUPERSAMPLE))

    def blend(self, x, y, colour, share):
        old = self.pixels[y][x]
        self.pixels[y][x] = tuple(int(round(o + (c - o) * share)) for o, c in zip(old, colour))


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside, (left, top, right, bottom)


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def ring(cx, cy, outer, inner, gap_from, gap_to):
    """A circle line with an opening between two angles (degrees, 0 up)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not inner <= d <= outer:
            return False
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
        return not (angle >= gap_from or angle <= gap_to)
    return inside, (cx - outer, cy - outer, cx + outer, cy + outer)


def key_box(key):
    left, top, width, height = KEYS[key]
    return (left * SCALE_X, (top - PANEL_TOP) * SCALE_Y,
            (left + width) * SCALE_X, (top + height - PANEL_TOP) * SCALE_Y)


def draw_body(canvas):
    def colour_at(x, y):
        share = y / (HEIGHT - 1)
        return tuple(int(round(t + (b - t) * share)) for t, b in zip(BODY_TOP, BODY_BOTTOM))
    canvas.fill(colour_at)
    # The seam under the display window.
    canvas.shape(*polygon([(0, 0), (WIDTH, 0), (WIDTH, 3), (0, 3)]), SHADOW)


def draw_key(canvas, key):
    left, top, right, bottom = key_box(key)
    canvas.shape(*rounded_rect(left + 1, top + 4, right + 1, bottom + 4, 11), SHADOW)
    canvas.shape(*rounded_rect(left, top, right, bottom, 11), KEY_RIM)
    canvas.shape(*rounded_rect(left + 2, top + 2, right - 2, bottom - 2, 9), KEY_LIGHT)
    canvas.shape(*rounded_rect(left + 3, top + 4, right - 2, bottom - 2, 8.5), KEY_FACE)
    SYMBOLS[key](canvas, (left + right) / 2, (top + bottom) / 2 + 1)


def triangle(direction):
    def draw(canvas, cx, cy):
        r = 12
        points = {
            "up": [(cx, cy - r), (cx + r * 1.15, cy + r * 0.75), (cx - r * 1.15, cy + r * 0.75)],
            "down": [(cx, cy + r), (cx + r * 1.15, cy - r * 0.75), (cx - r * 1.15, cy - r * 0.75)],
            "left": [(cx - r, cy), (cx + r * 0.75, cy - r * 1.15), (cx + r * 0.75, cy + r * 1.15)],
            "right": [(cx + r, cy), (cx - r * 0.75, cy - r * 1.15), (cx - r * 0.75, cy + r * 1.15)],
        }[direction]
        canvas.shape(*polygon(points), SYMBOL)
    return draw


def power(canvas, cx, cy):
    canvas.shape(*ring(cx, cy + 1, 13, 9.5, 325, 35), SYMBOL)
    canvas.shape(*rounded_rect(cx - 1.8, cy - 15, cx + 1.8, cy + 1, 1.8), SYMBOL)


def menu(canvas, cx, cy):
    for dy in (-9, 0, 9):
        canvas.shape(*rounded_rect(cx - 16, cy + dy - 2.2, cx + 16, cy + dy + 2.2, 2.2), ACCENT)


SYMBOLS = {
    0: triangle("left"),
    1: triangle("right"),
    2: triangle("down"),
    3: triangle("up"),
    4: power,
    5: menu,
}


def write_bmp(canvas, path):
    row_bytes = (canvas.width * 3 + 3) // 4 * 4
    image_size = row_bytes * canvas.height
    header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in range(canvas.height - 1, -1, -1):
        row = b"".join(struct.pack("BBB", b, g, r) for r, g, b in canvas.pixels[y])
        rows.append(row + b"\x00" * (row_bytes - len(row)))
    with open(path, "wb") as f:
        f.write(header + info + b"".join(rows))


def write_png(canvas, path):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in canvas.pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def main(argv):
    canvas = Canvas(WIDTH, HEIGHT)
    draw_body(canvas)
    for key in sorted(KEYS):
        draw_key(canvas, key)
    write_bmp(canvas, OUTPUT)
    if len(argv) == 3 and argv[1] == "--preview":
        write_png(canvas, argv[2])
    print("%s written" % os.path.normpath(OUTPUT))


if __name__ == "__main__":
    main(sys.argv)
