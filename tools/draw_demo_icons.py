#!/usr/bin/env python3
"""Draws the icons of the demo screensavers (savers/demos/).

Deterministic, pure Python like draw_resources.py, whose icon writer it
uses; its output is committed.

    python3 tools/draw_demo_icons.py           # writes into savers/demos/
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # leave no cache beside the generators
sys.path.insert(0, HERE)
from draw_resources import mix, write_ico  # noqa: E402

OUT = os.path.join(HERE, "..", "savers", "demos")
SUPER = 4  # samples per pixel side: smooth edges without an imaging library


def smoothstep(a, b, x):
    t = max(0.0, min(1.0, (x - a) / (b - a)))
    return t * t * (3 - 2 * t)


def render(size, shade):
    """shade(u, v) -> (r, g, b, a) with u, v in [0, 1]; averaged over
    SUPER x SUPER samples per pixel."""
    rows = []
    n = SUPER * SUPER
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    u = (x + (sx + 0.5) / SUPER) / size
                    v = (y + (sy + 0.5) / SUPER) / size
                    r, g, b, a = shade(u, v)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / n
            if alpha <= 0.002:
                row.append((0, 0, 0, 0))
                continue
            row.append((int(round(acc[0] / acc[3])), int(round(acc[1] / acc[3])),
                        int(round(acc[2] / acc[3])), int(round(255 * alpha))))
        rows.append(row)
    return rows


def inside_rounded_square(u, v, radius=0.2):
    du = max(0.0, abs(u - 0.5) - (0.5 - radius))
    dv = max(0.0, abs(v - 0.5) - (0.5 - radius))
    return math.hypot(du, dv) <= radius


# --- Velmora Aurora: green curtains over a dark ridge, night-blue tile -------

def aurora_shade(u, v):
    if not inside_rounded_square(u, v):
        return (0, 0, 0, 0.0)
    col = mix((4, 8, 26), (14, 40, 62), v ** 1.5)
    for base, amp, phase, strength in ((0.42, 0.07, 0.4, 0.75), (0.58, 0.06, 2.1, 1.0)):
        edge = base + amp * math.sin(u * 7.0 + phase)
        reach = 0.30
        dy = edge - v
        if 0 <= dy <= reach:
            f = dy / reach
            light = (1 - f) ** 1.4 * (0.35 + 0.65 * math.exp(-f * 4))
            tone = mix((70, 245, 130), (150, 70, 215), smoothstep(0.35, 0.9, f))
            if f < 0.06:
                tone = mix((200, 255, 220), tone, f / 0.06)
            col = tuple(min(255, c + t * light * strength) for c, t in zip(col, tone))
    ridge = 0.80 - 0.10 * abs(math.sin(u * 4.3 + 0.6)) - 0.05 * abs(math.sin(u * 9.1))
    if v > ridge:
        col = (5, 8, 14)
    return tuple(col) + (1.0,)


# --- Velmora Orbits: a golden sun, a tilted orbit and a coral planet ---------

def orbits_shade(u, v):
    d = math.hypot(u - 0.5, v - 0.5)
    if d > 0.5:
        return (0, 0, 0, 0.0)
    col = mix((40, 12, 46), (8, 3, 16), d / 0.5)
    glow = math.exp(-(d / 0.22) ** 2)
    col = tuple(c + g * glow for c, g in zip(col, (200, 95, 30)))
    # The orbit: an ellipse tilted like the saver's, drawn as a thin line.
    ex, ey = (u - 0.5), (v - 0.5)
    turn = -0.16
    rx = ex * math.cos(-turn) - ey * math.sin(-turn)
    ry = ex * math.sin(-turn) + ey * math.cos(-turn)
    ring = math.hypot(rx / 0.40, ry / (0.40 * 0.42))
    if abs(ring - 1) < 0.06 and ry > -0.5:
        col = mix(col, (245, 170, 80), 0.8 * (1 - abs(ring - 1) / 0.06))
    if d < 0.15:
        col = mix((255, 250, 225), (245, 140, 45), (d / 0.15) ** 2)
    # The planet at the front of its orbit, lit from the sun's side.
    px, py, pr = 0.78, 0.63, 0.10
    dp = math.hypot(u - px, v - py)
    if dp < pr:
        lit = math.hypot(u - (px - 0.04), v - (py - 0.03)) / pr
        col = mix((235, 105, 85), (40, 16, 24), smoothstep(0.2, 1.3, lit))
    return tuple(col) + (1.0,)


def main():
    for name, shade in (("aurora.ico", aurora_shade), ("orbits.ico", orbits_shade)):
        write_ico(os.path.join(OUT, name), [render(32, shade), render(16, shade),
                                            render(48, shade)])
    return 0


if __name__ == "__main__":
    sys.exit(main())
