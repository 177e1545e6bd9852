#!/usr/bin/env python3
"""Draws the Donations page's animated picture: a gold coin spins down into a
glass jar with a heart on it, lands on the pile and the jar sparkles.

Deterministic and pure Python like the other generators (it uses their shape
functions); its output is committed.

    python3 tools/draw_donations_gif.py        # writes resources/donations*.gif

donations.gif is a GIF89a of 90 x 97 pixels with a 16-colour global colour
table, a looping application extension and eight full-size frames: seven of
7 hundredths of a second that restore the background when they go (disposal
2), and a last one of 60 hundredths that stays (disposal 1). Every pixel
takes the colour of the topmost shape covering its centre, so the 16 colours
stay crisp without dithering. donations_200.gif is the same animation at
twice the size (180 x 194, for 200 percent display scaling): the scene is
sampled at every pixel of the larger picture, not doubled.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # leave no cache beside the generators
sys.path.insert(0, HERE)
from draw_config_resources import (  # noqa: E402
    circle, ellipse, polygon, rrect, subtract, union, moved)

OUT = os.path.join(HERE, "..", "resources")
WIDTH, HEIGHT = 90, 97  # the scene's size; a picture is this times its scale
# The scales and their files: 100 and 200 percent.
PICTURES = ((1, "donations.gif"), (2, "donations_200.gif"))

PALETTE = [
    (250, 246, 236),  # 0 paper
    (44, 54, 82),     # 1 outline
    (214, 234, 246),  # 2 glass
    (255, 255, 255),  # 3 glint
    (168, 200, 226),  # 4 glass in shade
    (238, 186, 48),   # 5 gold
    (170, 112, 20),   # 6 gold edge
    (255, 232, 140),  # 7 gold light
    (206, 36, 58),    # 8 heart
    (246, 130, 142),  # 9 heart light
    (218, 210, 194),  # 10 shadow on the table
    (118, 150, 186),  # 11 rim
    (255, 204, 52),   # 12 sparkle
    (122, 76, 40),    # 13 table edge
    (196, 150, 98),   # 14 table
    (92, 60, 30),     # 15 table grain
]
PAPER, OUTLINE, GLASS, GLINT, GLASS_SHADE, GOLD, GOLD_EDGE, GOLD_LIGHT, \
    HEART, HEART_LIGHT, SHADOW, RIM, SPARKLE, TABLE_EDGE, TABLE, GRAIN = range(16)

FRAMES = 8
COIN_X = 52.0
COIN_R = 7.0
# The falling coin's centre per frame; the last frame has it on the pile.
COIN_Y = [7, 15, 24, 34, 45, 56, 66]


def heart(cx, cy, s):
    lobes = union(circle(cx - s * 0.5, cy - s * 0.2, s * 0.55),
                  circle(cx + s * 0.5, cy - s * 0.2, s * 0.55))
    tip = polygon([(cx - s * 1.02, cy - s * 0.05), (cx + s * 1.02, cy - s * 0.05),
                   (cx, cy + s * 1.05)])
    return union(lobes, tip)


def star(cx, cy, r):
    """A four-pointed sparkle."""
    k = r * 0.22
    return polygon([(cx, cy - r), (cx + k, cy - k), (cx + r, cy), (cx + k, cy + k),
                    (cx, cy + r), (cx - k, cy + k), (cx - r, cy), (cx - k, cy - k)])


def coin(cx, cy, squash):
    """A coin seen edge-on by squash (1 = face on): edge, face, glint."""
    rx = max(COIN_R * squash, 1.6)
    return [
        (ellipse(cx, cy, rx, COIN_R), GOLD_EDGE),
        (ellipse(cx, cy, max(rx - 1.5, 0.6), COIN_R - 1.5), GOLD),
        (ellipse(cx - rx * 0.3, cy - 2.5, max(rx * 0.3, 0.5), 1.6), GOLD_LIGHT),
    ]


# The jar: a rounded glass body under a neck with a rim, on a table.
JAR = rrect(16, 46, 74, 91, 10)
NECK = rrect(25, 38, 65, 50, 3)
LIP = rrect(22, 34, 68, 40, 2)
INSIDE = union(rrect(19, 49, 71, 88, 8), rrect(28, 40, 62, 50, 1))
PILE = [(30, 83), (40, 84), (51, 84), (61, 83), (35, 79), (46, 79), (56, 79), (41, 74), (51, 74)]
LANDED = (52, 69)


def scene(frame):
    """Shapes back to front: (signed distance, palette index)."""
    shapes = [
        (rrect(-2, 90, 92, 99), TABLE),
        (rrect(-2, 90, 92, 91.6), TABLE_EDGE),
        (rrect(8, 94.2, 30, 95.2), GRAIN),
        (rrect(58, 92.6, 84, 93.6), GRAIN),
        (ellipse(47, 91, 33, 3.2), SHADOW),
        (union(JAR, NECK), OUTLINE),
        (INSIDE, GLASS),
        (rrect(58, 52, 69, 86, 5), GLASS_SHADE),
    ]
    pile = PILE + ([LANDED] if frame == FRAMES - 1 else [])
    for x, y in pile:
        shapes += [(ellipse(x, y, 6.2, 3.4), GOLD_EDGE), (ellipse(x, y - 0.8, 4.8, 2.2), GOLD),
                   (ellipse(x - 1.5, y - 1.4, 1.8, 0.8), GOLD_LIGHT)]
    if frame < FRAMES - 1:
        # The coin turns a quarter more each frame while it falls.
        squash = abs(math.cos(frame * math.pi / 4.0))
        shapes += coin(COIN_X, COIN_Y[frame], squash)
    shapes += [
        (heart(35, 61, 6), HEART),
        (heart(33, 59, 1.8), HEART_LIGHT),
        (subtract(rrect(22, 52, 27, 80, 2.5), rrect(-1, 70, 91, 73)), GLINT),
        (LIP, OUTLINE),
        (rrect(23.5, 35.5, 66.5, 38.5, 1), RIM),
        (rrect(27, 36.2, 63, 37.4), GLASS),
    ]
    if frame == FRAMES - 1:
        shapes += [(star(20, 22, 7), SPARKLE), (star(70, 16, 9), SPARKLE),
                   (star(58, 27, 4), SPARKLE), (moved(circle(0, 0, 1.2), 32, 12), SPARKLE),
                   (star(70, 16, 3.5), GLINT)]
    return shapes


def render(frame, scale=1):
    """Palette indices of the frame at WIDTH x HEIGHT times scale: each
    pixel's centre is taken back to the scene's coordinates."""
    shapes = scene(frame)
    pixels = []
    for y in range(HEIGHT * scale):
        for x in range(WIDTH * scale):
            px, py = (x + 0.5) / scale, (y + 0.5) / scale
            colour = PAPER
            for d, index in shapes:
                if d(px, py) <= 0:
                    colour = index
            pixels.append(colour)
    return pixels


# --- GIF writing --------------------------------------------------------------

def lzw(pixels, min_code_size):
    """The image data's LZW codes, packed least significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out, acc, nbits = bytearray(), 0, 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {(None, i): i for i in range(clear)}, min_code_size + 1, end + 1

    table, size, next_code = reset()
    emit(clear, size)
    w = table[(None, pixels[0])]
    for k in pixels[1:]:
        if (w, k) in table:
            w = table[(w, k)]
            continue
        emit(w, size)
        if next_code < 4096:
            table[(w, k)] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, size, next_code = reset()
        w = table[(None, k)]
    emit(w, size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    chunks = [data[i:i + 255] for i in range(0, len(data), 255)]
    return b"".join(bytes([len(c)]) + c for c in chunks) + b"\0"


def gif(scale=1):
    width, height = WIDTH * scale, HEIGHT * scale
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | 0x70 | 0x03, PAPER, 0)
    head += b"".join(bytes(c) for c in PALETTE)
    # Loop for ever: the application extension every browser reads as a loop count.
    head += b"\x21\xFF\x0BNETSCAPE2.0" + b"\x03\x01\x00\x00" + b"\0"
    body = b""
    for frame in range(FRAMES):
        last = frame == FRAMES - 1
        delay, disposal = (60, 1) if last else (7, 2)
        body += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, disposal << 2, delay, 0, 0)
        body += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
        body += bytes([4]) + sub_blocks(lzw(render(frame, scale), 4))
    return head + body + b"\x3B"


def main():
    for scale, name in PICTURES:
        path = os.path.join(OUT, name)
        data = gif(scale)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote", os.path.normpath(path), len(data), "bytes")


if __name__ == "__main__":
    main()
