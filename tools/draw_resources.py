#!/usr/bin/env python3
"""Draws the pictures that the resource scripts embed.

Deterministic: running it again gives the same bytes, so its output is
committed and the build needs nothing beyond the compilers. Pure Python, no
imaging library: the pictures are small and drawn pixel by pixel.

    python3 tools/draw_resources.py            # writes into resources/
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(x, y, t))) for x, y in zip(c1, c2))


# --- the program's emblem: a V of light over a dusk-coloured disc ----------

def emblem(size):
    """RGBA rows, top row first."""
    rows = []
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > r + 0.5:
                row.append((0, 0, 0, 0))
                continue
            alpha = 255 if d <= r - 0.5 else int(255 * (r + 0.5 - d))
            t = y / (size - 1)
            col = mix((40, 20, 90), (230, 90, 60), t)
            # The V: two strokes from the top corners to the bottom middle.
            u = x / (size - 1)
            v = y / (size - 1)
            stroke = 0.11
            left = abs((u - 0.22) - (v - 0.2) * 0.28 / 0.6)
            right = abs((0.78 - u) - (v - 0.2) * 0.28 / 0.6)
            if 0.2 <= v <= 0.8 and (left < stroke or right < stroke):
                glow = 1.0 - min(left, right) / stroke
                col = mix(col, (255, 244, 200), 0.55 + 0.45 * glow)
            row.append(col + (alpha,))
        rows.append(row)
    return rows


def ico_image(rows):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA bottom-up, AND mask."""
    h = len(rows)
    w = len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for (r, g, b, a) in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, images):
    data = [ico_image(rows) for rows in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, data):
        w = len(rows[0])
        h = len(rows)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in data:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# --- 8-bit bitmaps -----------------------------------------------------------

def write_bmp8(path, rows, palette):
    """rows: palette indices, top row first; palette: up to 256 RGB tuples."""
    h = len(rows)
    w = len(rows[0])
    stride = (w + 3) & ~3
    pal = bytearray()
    for (r, g, b) in palette:
        pal += bytes((b, g, r, 0))
    pixels = bytearray()
    for row in reversed(rows):
        pixels += bytes(row) + bytes(stride - w)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    fileheader = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(fileheader + info + bytes(pal) + bytes(pixels))


def preview_picture():
    """144 x 87: a small monitor-sized scene of three screensavers in a row,
    the middle one coming forward, under a dusk sky."""
    w, h = 144, 87
    palette = []
    # 0..63 the sky, dark violet to warm orange.
    for i in range(64):
        palette.append(mix((18, 10, 48), (236, 110, 64), i / 63))
    # 64..127 the emblem's light, 128..191 cool panels, 192 white, 193 black.
    for i in range(64):
        palette.append(mix((120, 60, 20), (255, 244, 200), i / 63))
    for i in range(64):
        palette.append(mix((20, 40, 80), (120, 200, 240), i / 63))
    palette.append((255, 255, 255))
    palette.append((0, 0, 0))
    rows = []
    for y in range(h):
        rows.append([int(63 * (y / (h - 1)) ** 1.3) for _ in range(w)])
    # Stars in the upper sky, from a fixed linear congruential sequence.
    state = 12345
    for _ in range(28):
        state = (state * 1103515245 + 12345) % 2 ** 31
        x = state % w
        state = (state * 1103515245 + 12345) % 2 ** 31
        y = state % 30
        rows[y][x] = 192

    def panel(x0, y0, pw, ph, base):
        for y in range(y0, y0 + ph):
            for x in range(x0, x0 + pw):
                edge = x in (x0, x0 + pw - 1) or y in (y0, y0 + ph - 1)
                if edge:
                    rows[y][x] = 192
                else:
                    t = (x - x0) / pw * 0.5 + (y - y0) / ph * 0.5
                    rows[y][x] = base + int(63 * t)

    panel(10, 34, 34, 26, 128)
    panel(100, 34, 34, 26, 128)
    panel(50, 22, 44, 40, 128)
    # Rings inside the middle panel, as a screensaver draws them.
    cx, cy = 72, 42
    for y in range(23, 61):
        for x in range(51, 93):
            d = math.hypot(x - cx, (y - cy) * 1.2)
            if int(d) % 6 in (0, 1) and d < 18:
                rows[y][x] = 64 + int(63 * (1 - d / 18))
    # The name band along the bottom: a bright bar.
    for y in range(72, 78):
        for x in range(30, 114):
            rows[y][x] = 64 + int(63 * (1 - abs(x - 72) / 42))
    return rows, palette


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "velmora.ico"), [emblem(32), emblem(16), emblem(48), emblem(20), emblem(24), emblem(40), emblem(64)])
    rows, palette = preview_picture()
    write_bmp8(os.path.join(OUT, "preview.bmp"), rows, palette)
    return 0


if __name__ == "__main__":
    sys.exit(main())
