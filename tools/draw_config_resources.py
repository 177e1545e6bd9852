#!/usr/bin/env python3
"""Draws the pictures of Velmora.exe: the button icons, the fallback icon of a
screensaver file, the strip of page pictures and the About picture, each at
the sizes the program asks for at 100 to 200 percent display scaling.

Deterministic and pure Python like draw_resources.py (whose icon writer it
uses); its output is committed.

    python3 tools/draw_config_resources.py     # writes into resources/

Every picture is a stack of shapes given by signed distance functions on a
32 x 32 design grid (x to the right, y down). Each pixel averages several
samples, so edges are smooth without an imaging library. The icons are drawn
at seven sizes from 16 to 64 pixels, the page strip at 32, 48 and 64 and the
About picture at one and two times its size, all from the same designs;
outlines are one design unit wide, and one pixel wide below 32 pixels.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # leave no cache beside the generators
sys.path.insert(0, HERE)
from draw_resources import mix, write_ico  # noqa: E402

OUT = os.path.join(HERE, "..", "resources")
GRID = 32.0

# --- one palette for every picture of the program ---------------------------

BLUE = ((150, 205, 255), (30, 105, 215), (16, 52, 128))     # light, deep, edge
GREEN = ((160, 235, 110), (40, 150, 45), (18, 88, 24))
RED = ((255, 150, 125), (205, 35, 25), (115, 14, 10))
METAL = ((244, 246, 250), (140, 147, 160), (62, 66, 76))
GOLD = ((255, 226, 140), (200, 140, 45), (105, 66, 18))
PAPER = ((255, 255, 255), (222, 226, 234), (104, 110, 122))
CASE = ((236, 238, 242), (170, 176, 188), (58, 62, 72))
DUSK = ((40, 20, 90), (230, 90, 60))  # the emblem's sky, top to bottom
WHITE = (255, 255, 255)
SHADOW = (0, 0, 0, 0.28)
KEY = (255, 0, 255)  # transparent colour of the page strip


def clamp01(t):
    return 0.0 if t < 0 else 1.0 if t > 1 else t


# --- signed distances (negative inside) -------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return d


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp01(((x - ax) * dx + (y - ay) * dy) / ll)
    return math.hypot(x - ax - dx * t, y - ay - dy * t)


def stroke(points, half_width):
    """A polyline with round joins and caps."""
    segs = list(zip(points, points[1:]))

    def d(x, y):
        return min(_segment_distance(x, y, ax, ay, bx, by)
                   for (ax, ay), (bx, by) in segs) - half_width
    return d


def polygon(points, rounding=0.0):
    """A closed polygon (even-odd inside rule); rounding grows it outwards
    with round corners."""
    edges = list(zip(points, points[1:] + points[:1]))

    def d(x, y):
        dist = min(_segment_distance(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return (-dist if inside else dist) - rounding
    return d


def arc_points(cx, cy, r, a0, a1, steps=24):
    """Points of a circular arc, angles in degrees, clockwise on screen."""
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]


def union(*ds):
    return lambda x, y: min(d(x, y) for d in ds)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def grow(d, k):
    return lambda x, y: d(x, y) - k


def moved(d, dx, dy):
    return lambda x, y: d(x - dx, y - dy)


def rotated(d, degrees, cx=16.0, cy=16.0):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def r(x, y):
        u, v = x - cx, y - cy
        return d(cx + u * c + v * s, cy - u * s + v * c)
    return r


def mirrored(d):
    return lambda x, y: d(GRID - x, y)


# --- colours of a layer ------------------------------------------------------

def solid(rgb, alpha=1.0):
    return lambda x, y: (rgb, alpha)


def lit(ramp, x0=4.0, y0=2.0, x1=24.0, y1=30.0):
    """Light from the top left: light colour at (x0, y0), deep at (x1, y1)."""
    light, deep = ramp[0], ramp[1]
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def c(x, y):
        t = clamp01(((x - x0) * dx + (y - y0) * dy) / ll)
        return mix(light, deep, t ** 0.9), 1.0
    return c


def vertical(top, bottom, y0, y1):
    return lambda x, y: (mix(top, bottom, clamp01((y - y0) / (y1 - y0))), 1.0)


# --- rendering ---------------------------------------------------------------

class Picture:
    """Layers painted in order; px is the size of one output pixel on the
    design grid. line is the width of an outline on the grid: one design
    unit, so outlines grow with the picture above 32 pixels, but never less
    than one output pixel, so they stay one pixel wide below it."""

    def __init__(self, size):
        self.size = size
        self.px = GRID / size
        self.line = max(self.px, 1.0)
        self.layers = []

    def fill(self, d, colour):
        self.layers.append((d, colour))

    def shadow(self, d):
        off = max(0.9, self.px * 0.9)
        self.layers.append((moved(d, off, off), lambda x, y: (SHADOW[:3], SHADOW[3])))

    def outlined(self, d, ramp, colour=None, width=1.0):
        """The shape in its edge colour, and inside it the body, inset by
        one outline (times width)."""
        self.fill(d, solid(ramp[2]))
        self.fill(grow(d, -self.line * width), colour or lit(ramp))

    def render(self):
        samples = 5 if self.size >= 32 else 8
        n = samples * samples
        rows = []
        for py in range(self.size):
            row = []
            for px in range(self.size):
                acc_r = acc_g = acc_b = acc_a = 0.0
                for sy in range(samples):
                    y = (py + (sy + 0.5) / samples) * self.px
                    for sx in range(samples):
                        x = (px + (sx + 0.5) / samples) * self.px
                        r = g = b = a = 0.0  # premultiplied
                        for d, colour in self.layers:
                            if d(x, y) <= 0:
                                (cr, cg, cb), ca = colour(x, y)
                                r = cr * ca + r * (1 - ca)
                                g = cg * ca + g * (1 - ca)
                                b = cb * ca + b * (1 - ca)
                                a = ca + a * (1 - ca)
                        acc_r += r
                        acc_g += g
                        acc_b += b
                        acc_a += a
                alpha = acc_a / n
                if alpha < 1.0 / 255:
                    row.append((0, 0, 0, 0))
                    continue
                row.append((int(round(acc_r / acc_a)), int(round(acc_g / acc_a)),
                            int(round(acc_b / acc_a)), int(round(255 * alpha))))
            rows.append(row)
        return rows


# --- shapes shared by several pictures --------------------------------------

def arrow_right():
    """A right arrow with a shaft, rounded."""
    return polygon([(4.5, 12.5), (15.5, 12.5), (15.5, 6.5), (26.5, 16.0),
                    (15.5, 25.5), (15.5, 19.5), (4.5, 19.5)], 1.3)


def double_arrow_right():
    return union(polygon([(3.5, 7.0), (14.5, 16.0), (3.5, 25.0)], 1.3),
                 polygon([(15.0, 7.0), (26.0, 16.0), (15.0, 25.0)], 1.3))


def draw_arrow(pic, d):
    pic.shadow(d)
    pic.outlined(d, BLUE)
    # A soft highlight along the upper half of the body.
    pic.fill(intersect(grow(d, -pic.line * 2.2), lambda x, y: y - 15.0),
             lambda x, y: (WHITE, 0.28))


def gear(cx, cy, r_outer, r_inner, teeth, hole, phase=0.0):
    body = circle(cx, cy, r_inner)
    tooth_w = 2 * math.pi * r_inner / teeth * 0.27
    parts = [body]
    for i in range(teeth):
        angle = phase + 360.0 * i / teeth
        t = rrect(cx - tooth_w, cy - r_outer, cx + tooth_w, cy - r_inner + 1.5, 0.8)
        parts.append(rotated(t, angle, cx, cy))
    return subtract(union(*parts), circle(cx, cy, hole))


def draw_gear(pic, cx, cy, r_outer, teeth=8, phase=0.0):
    r_inner = r_outer * 0.74
    d = gear(cx, cy, r_outer, r_inner, teeth, r_outer * 0.30, phase)
    pic.shadow(d)
    pic.outlined(d, METAL, lit(METAL, cx - r_outer, cy - r_outer, cx + r_outer, cy + r_outer))
    # The hub ring, a little darker, gives the gear depth.
    ring = subtract(circle(cx, cy, r_outer * 0.50), circle(cx, cy, r_outer * 0.30 + pic.line))
    pic.fill(ring, lit(((196, 201, 212), (110, 116, 130)), cx - r_outer, cy - r_outer,
                       cx + r_outer, cy + r_outer))


def draw_monitor(pic, screen_content=None):
    case = rrect(2.5, 3.5, 29.5, 23.5, 2.0)
    stand = union(polygon([(13.0, 23.0), (19.0, 23.0), (20.0, 26.5), (12.0, 26.5)]),
                  rrect(8.5, 26.0, 23.5, 29.0, 1.3))
    pic.shadow(union(case, stand))
    pic.outlined(stand, CASE)
    pic.outlined(case, CASE)
    screen = rrect(5.5, 6.5, 26.5, 20.5, 0.8)
    pic.fill(grow(screen, pic.line), solid(CASE[2]))
    pic.fill(screen, vertical(DUSK[0], DUSK[1], 6.5, 20.5))
    # Glare across the upper left of the glass.
    pic.fill(intersect(screen, lambda x, y: (x - 5.5) * 0.55 + (y - 6.5) - 6.0),
             lambda x, y: (WHITE, 0.10))
    if screen_content:
        screen_content(pic, screen)


def stars_and_moon(pic, screen):
    moon = subtract(circle(21.5, 10.5, 2.6), circle(22.9, 9.4, 2.3))
    pic.fill(moon, solid((255, 240, 190)))
    for (sx, sy, r) in ((9.0, 9.0, 0.7), (13.5, 11.5, 0.55), (10.5, 14.5, 0.5), (17.0, 8.5, 0.6)):
        pic.fill(circle(sx, sy, max(r, pic.px * 0.45)), solid((255, 250, 230)))
    hills = polygon([(5.0, 21.0), (5.0, 17.5), (10.0, 15.5), (15.0, 17.5), (20.0, 15.0),
                     (27.0, 17.0), (27.0, 21.0)])
    pic.fill(intersect(hills, screen), solid((52, 24, 60)))


def play_on_screen(pic, screen):
    tri = polygon([(13.5, 9.8), (20.5, 13.5), (13.5, 17.2)], 1.0)
    pic.fill(grow(tri, pic.line), solid(WHITE))
    pic.fill(tri, lit(GREEN, 12.0, 9.0, 19.0, 18.0))


# --- the icons ---------------------------------------------------------------

def icon_add_selected(pic):
    draw_arrow(pic, arrow_right())


def icon_add_all(pic):
    draw_arrow(pic, double_arrow_right())


def icon_remove_selected(pic):
    draw_arrow(pic, mirrored(arrow_right()))


def icon_remove_all(pic):
    draw_arrow(pic, mirrored(double_arrow_right()))


def icon_up(pic):
    # y grows downwards: a right arrow turned by -90 degrees points up.
    draw_arrow(pic, rotated(arrow_right(), -90))


def icon_down(pic):
    draw_arrow(pic, rotated(arrow_right(), 90))


def icon_settings(pic):
    draw_gear(pic, 16.0, 16.0, 13.5, 8, 22.5)


def icon_preview(pic):
    draw_monitor(pic, play_on_screen)


def icon_ok(pic):
    check = [(6.5, 16.5), (13.0, 23.0), (25.5, 8.5)]
    w = 3.0
    pic.shadow(stroke(check, w + pic.line))
    pic.fill(stroke(check, w + pic.line), solid(GREEN[2]))
    pic.fill(stroke(check, w), lit(GREEN, 8.0, 8.0, 22.0, 24.0))
    pic.fill(intersect(stroke(check, w - pic.line), lambda x, y: y - 13.0 - (x - 13.0) * 0.2),
             lambda x, y: (WHITE, 0.25))


def icon_cancel(pic):
    a = stroke([(8.0, 8.0), (24.0, 24.0)], 3.0)
    b = stroke([(24.0, 8.0), (8.0, 24.0)], 3.0)
    cross = union(a, b)
    pic.shadow(grow(cross, pic.line))
    pic.fill(grow(cross, pic.line), solid(RED[2]))
    pic.fill(cross, lit(RED, 8.0, 6.0, 22.0, 26.0))
    pic.fill(intersect(grow(cross, -pic.line), lambda x, y: y - 14.0),
             lambda x, y: (WHITE, 0.22))


def icon_help(pic):
    disc = circle(16.0, 16.0, 13.5)
    pic.shadow(disc)
    pic.outlined(disc, BLUE, lit(BLUE, 6.0, 4.0, 24.0, 28.0))
    pic.fill(intersect(grow(disc, -pic.line * 2), lambda x, y: y - 13.0),
             lambda x, y: (WHITE, 0.22))
    hook = arc_points(16.0, 12.0, 4.6, 195.0, 405.0) + [(16.0, 16.8), (16.0, 18.8)]
    w = max(1.9, pic.px * 1.05)
    pic.fill(stroke(hook, w), solid(WHITE))
    pic.fill(circle(16.0, 24.0, w + 0.4), solid(WHITE))


def icon_screensaver_file(pic):
    page = polygon([(6.5, 2.5), (20.0, 2.5), (26.5, 9.0), (26.5, 29.5), (6.5, 29.5)])
    pic.shadow(page)
    pic.outlined(page, PAPER, lit(PAPER, 6.0, 2.0, 26.0, 30.0))
    ear = polygon([(20.0, 2.5), (20.0, 9.0), (26.5, 9.0)])
    pic.fill(ear, solid(PAPER[2]))
    pic.fill(grow(polygon([(20.0, 3.0), (20.0, 9.0), (26.0, 9.0)]), -pic.line),
             solid((232, 235, 242)))
    screen = rrect(9.5, 12.5, 23.5, 25.5, 1.0)
    pic.fill(grow(screen, pic.line), solid(CASE[2]))
    pic.fill(screen, vertical(DUSK[0], DUSK[1], 12.5, 25.5))
    if pic.size < 32:
        # Too small for a scene: only the moon over the dusk.
        pic.fill(circle(19.0, 17.0, 2.2), solid((255, 240, 190)))
        return
    moon = subtract(circle(19.5, 16.5, 2.3), circle(20.8, 15.5, 2.0))
    pic.fill(moon, solid((255, 240, 190)))
    for (sx, sy) in ((12.5, 15.5), (15.5, 18.0)):
        pic.fill(circle(sx, sy, 0.6), solid((255, 250, 230)))
    hills = polygon([(9.0, 26.0), (9.0, 22.5), (13.0, 21.0), (17.0, 22.5), (24.0, 21.0),
                     (24.0, 26.0)])
    pic.fill(intersect(hills, screen), solid((52, 24, 60)))


ICONS = (
    ("saver_file.ico", icon_screensaver_file),      # 131
    ("add_selected.ico", icon_add_selected),        # 132
    ("add_all.ico", icon_add_all),                  # 133
    ("remove_selected.ico", icon_remove_selected),  # 134
    ("remove_all.ico", icon_remove_all),            # 135
    ("move_up.ico", icon_up),                       # 136
    ("move_down.ico", icon_down),                   # 137
    ("saver_settings.ico", icon_settings),          # 138
    ("saver_preview.ico", icon_preview),            # 139
    ("button_ok.ico", icon_ok),                     # 144
    ("button_cancel.ico", icon_cancel),             # 145
    ("button_help.ico", icon_help),                 # 147
)

# Every icon holds one image per size, each drawn from its design: 16 and 32
# pixels at 100 percent, and the sizes Windows asks for at 125, 150 and 200
# percent (20, 24, 40, 48 and 64) so it never stretches one.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


# --- the page pictures -------------------------------------------------------

def page_screensavers(pic):
    draw_monitor(pic, stars_and_moon)


def page_options(pic):
    frame = rrect(1.5, 3.0, 25.5, 24.0, 1.5)
    pic.shadow(frame)
    pic.fill(frame, solid(BLUE[2]))
    pic.fill(intersect(grow(frame, -pic.line), lambda x, y: y - 8.5),
             vertical(BLUE[0], BLUE[1], 3.0, 8.5))
    pic.fill(rrect(2.5, 8.5, 24.5, 23.0, 0.6), vertical(WHITE, (228, 234, 244), 8.5, 23.0))
    # Title-bar buttons and two lines of text in the window.
    for bx in (17.0, 20.8):
        pic.fill(rrect(bx, 4.6, bx + 2.6, 7.2, 0.5), solid((235, 242, 255)))
    for (x0, y0, x1) in ((5.0, 11.5, 18.0), (5.0, 14.5, 13.0)):
        pic.fill(rrect(x0, y0, x1, y0 + 1.4, 0.7), solid((150, 160, 180)))
    draw_gear(pic, 21.5, 21.5, 9.5, 8, 10.0)


def page_rotation(pic):
    """A clock face inside two green arrows that chase each other round it:
    the rotation, each screensaver with its own time."""
    cx, cy, r = 16.0, 16.0, 11.8

    def arrow(a0, a1):
        shaft = stroke(arc_points(cx, cy, r, a0, a1 - 14.0, 16), 2.0)
        # The head at a1, pointing along the turn (clockwise).
        tip = (cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1)))
        back = math.radians(a1 - 22.0)
        inner = (cx + (r - 4.6) * math.cos(back), cy + (r - 4.6) * math.sin(back))
        outer = (cx + (r + 4.6) * math.cos(back), cy + (r + 4.6) * math.sin(back))
        return union(shaft, polygon([tip, outer, inner], 0.5))
    arrows = union(arrow(200.0, 345.0), arrow(20.0, 165.0))
    face = circle(cx, cy, 7.2)
    pic.shadow(union(arrows, face))
    pic.outlined(arrows, GREEN, lit(GREEN, 4.0, 3.0, 26.0, 29.0))
    pic.outlined(face, PAPER, lit(PAPER, 10.0, 10.0, 22.0, 22.0))
    ink = (40, 44, 56)
    for i in range(4):
        a = math.radians(90.0 * i)
        pic.fill(stroke([(cx + 5.0 * math.cos(a), cy + 5.0 * math.sin(a)),
                         (cx + 6.0 * math.cos(a), cy + 6.0 * math.sin(a))], 0.45), solid(ink))
    pic.fill(stroke([(cx, cy), (cx, cy - 4.8)], 0.75), solid(ink))
    pic.fill(stroke([(cx, cy), (cx + 3.4, cy + 1.2)], 0.75), solid(RED[1]))
    pic.fill(circle(cx, cy, 1.0), solid(ink))


def page_donations(pic):
    body = union(ellipse(16.0, 20.5, 11.0, 9.5), polygon([(12.0, 10.0), (20.0, 10.0),
                                                          (23.0, 15.0), (9.0, 15.0)], 1.0))
    # The gathered opening above the tie: a flare with a ruffled rim.
    flaps = union(polygon([(12.5, 9.8), (19.5, 9.8), (22.0, 4.5), (10.0, 4.5)], 0.6),
                  circle(11.2, 4.6, 1.9), circle(16.0, 4.0, 2.0), circle(20.8, 4.6, 1.9))
    bag = union(body, flaps)
    pic.shadow(bag)
    pic.outlined(flaps, GOLD, lit(GOLD, 10.0, 3.0, 20.0, 10.0))
    pic.outlined(body, GOLD, lit(GOLD, 7.0, 9.0, 24.0, 30.0))
    pic.fill(rrect(10.8, 8.3, 21.2, 11.3, 1.4), solid(GOLD[2]))
    pic.fill(rrect(11.6, 8.9, 20.4, 10.6, 0.8), solid((170, 105, 35)))
    # The dollar sign: an S of two arcs and its bar.
    r = 2.5
    s = (arc_points(16.0, 18.0, r, -35.0, -270.0, 20)
         + arc_points(16.0, 18.0 + 2 * r, r, -90.0, 145.0, 20))
    pic.fill(intersect(grow(body, -pic.line * 2), lambda x, y: -((x - 11.0) ** 2 / 16.0
                                                                  + (y - 16.5) ** 2 / 9.0 - 1.0)),
             lambda x, y: (WHITE, 0.35))
    ink = (92, 52, 8)
    pic.fill(stroke([(16.0, 13.8), (16.0, 26.2)], 0.9), solid(ink))
    pic.fill(stroke(s, 1.45), solid(ink))


def page_about(pic):
    bubble = union(ellipse(16.0, 13.5, 13.5, 11.0),
                   polygon([(8.0, 19.0), (15.0, 22.5), (5.0, 29.5)], 0.6))
    pic.shadow(bubble)
    pic.outlined(bubble, BLUE, lit(BLUE, 6.0, 2.0, 24.0, 28.0))
    pic.fill(intersect(grow(bubble, -pic.line * 2), lambda x, y: y - 11.0),
             lambda x, y: (WHITE, 0.22))
    pic.fill(circle(16.0, 7.6, 2.1), solid(WHITE))
    i_body = union(rrect(14.2, 11.0, 17.8, 20.5, 0.9), rrect(12.5, 18.8, 19.5, 20.8, 0.7),
                   rrect(12.8, 11.0, 16.0, 12.8, 0.6))
    pic.fill(i_body, solid(WHITE))


PAGES = (page_screensavers, page_options, page_rotation, page_donations, page_about)


# --- the 8-bit strip -----------------------------------------------------------

# Edge pixels of the strip cannot be half transparent: those mostly covered
# are blended with a neutral light grey, the rest become the transparent key.
EDGE_BACKGROUND = (200, 200, 200)


def flatten(rows):
    out = []
    for row in rows:
        line = []
        for (r, g, b, a) in row:
            if a < 128:
                line.append(KEY)
            else:
                line.append(mix(EDGE_BACKGROUND, (r, g, b), a / 255.0))
        out.append(line)
    return out


def median_cut(counts, limit):
    """Deterministic median cut of {rgb: count} into at most limit colours."""
    boxes = [sorted(counts.items())]

    def spread(box):
        lo = [min(c[i] for c, _ in box) for i in range(3)]
        hi = [max(c[i] for c, _ in box) for i in range(3)]
        channel = max(range(3), key=lambda i: (hi[i] - lo[i], -i))
        return hi[channel] - lo[channel], channel

    while len(boxes) < limit:
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            width, channel = spread(box)
            score = width * math.sqrt(sum(n for _, n in box))
            if best is None or score > best[0]:
                best = (score, i, channel)
        if best is None:
            break
        _, i, channel = best
        box = sorted(boxes[i], key=lambda cn: (cn[0][channel], cn[0]))
        total = sum(n for _, n in box)
        run, cut = 0, 1
        for k, (_, n) in enumerate(box):
            run += n
            if run * 2 >= total:
                cut = min(max(k + 1, 1), len(box) - 1)
                break
        boxes[i:i + 1] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[i] * n for c, n in box) / total)) for i in range(3)))
    return palette


def quantise(rows):
    """Palette indices and palette; the key colour is entry 0 and only
    pixels of exactly that colour use it."""
    counts = {}
    for row in rows:
        for c in row:
            if c != KEY:
                counts[c] = counts.get(c, 0) + 1
    colours = median_cut(counts, 255)
    palette = [KEY] + colours
    lookup = {KEY: 0}
    for c in counts:
        lookup[c] = 1 + min(range(len(colours)),
                            key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, colours[i])), i))
    return [[lookup[c] for c in row] for row in rows], palette


def write_bmp8(path, rows, palette):
    """rows: palette indices, top row first."""
    h, w = len(rows), len(rows[0])
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


# The strip's picture sizes and files: 32 pixels at 100 percent, 48 and 64
# for 150 and 200 percent, each drawn from the designs at its own size.
PAGE_STRIPS = ((32, "page_pictures.bmp"), (48, "page_pictures_150.bmp"),
               (64, "page_pictures_200.bmp"))


def page_strip(size):
    """The five page pictures of size x size side by side, quantised."""
    pictures = []
    for draw in PAGES:
        pic = Picture(size)
        draw(pic)
        pictures.append(flatten(pic.render()))
    rows = [sum((p[y] for p in pictures), []) for y in range(size)]
    return quantise(rows)


# --- the About picture: title, version and maker over a blue-to-white sky --

ABOUT_SIZE = (427, 260)
ABOUT_SKY = (24, 70, 190)            # the left edge; white at the middle
LETTER_FACE = ((255, 236, 160), (214, 150, 40))   # top, bottom of a letter
LETTER_EDGE = (40, 28, 90)


def _oval(cx, cy, rx, ry, steps=28):
    return [(cx + rx * math.cos(2 * math.pi * i / steps),
             cy + ry * math.sin(2 * math.pi * i / steps)) for i in range(steps + 1)]


# Capitals as polylines on a 4 x 6 grid (x right, y down).
GLYPHS = {
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3.2), (4, 0), (4, 6)]],
    "O": [_oval(2, 3, 2, 3)],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 0.8), (4, 2.2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "A": [[(0, 6), (2, 0), (4, 6)], [(0.8, 3.9), (3.2, 3.9)]],
    "K": [[(0, 0), (0, 6)], [(4, 0), (0, 3.6)], [(1.4, 2.4), (4, 6)]],
    "S": [[(4, 0.8), (3, 0), (1, 0), (0, 0.8), (0, 2.2), (1, 3), (3, 3), (4, 3.8),
           (4, 5.2), (3, 6), (1, 6), (0, 5.2)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "U": [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "2": [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2.3), (0, 6), (4, 6)]],
    "0": [_oval(2, 3, 2, 3)],
    ".": [[(0.6, 5.9), (0.6, 6)]],
}


def text_segments(text, x, y, unit, advance=5.6):
    """Segments of a line of capitals, its top-left corner at (x, y)."""
    segs = []
    ox = x
    for ch in text:
        for line in GLYPHS[ch]:
            pts = [(ox + px * unit, y + py * unit) for px, py in line]
            segs += list(zip(pts, pts[1:]))
        ox += (2.6 if ch == "." else advance) * unit
    return segs


def about_picture(scale=1):
    """The picture at ABOUT_SIZE times scale: positions, letters, strokes,
    their edge and the shadow's offset all grow by scale."""
    w, h = ABOUT_SIZE[0] * scale, ABOUT_SIZE[1] * scale
    half = ABOUT_SIZE[0] // 2 * scale
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            row.append(mix(ABOUT_SKY, WHITE, clamp01(x / half)) if x < half else WHITE)
        rows.append(row)
    lines = [  # text, left, top, unit (pixels per grid step), stroke half width
        ("VELMORA", 8, 30, 5.0, 3.0),
        ("2.0", 52, 100, 9.0, 4.6),
        ("KESTRUNE", 10, 190, 4.0, 2.4),
    ]
    edge_width = 1.2 * scale   # the dark rim inside each stroke
    offset = 3 * scale         # the shadow's step down and right
    for text, left, top, unit, hw in lines:
        left, top, unit, hw = left * scale, top * scale, unit * scale, hw * scale
        segs = text_segments(text, left, top, unit)
        x0 = int(left - hw - 2 * scale)
        x1 = int(left + len(text) * 5.6 * unit + hw + 2 * offset)
        y0 = int(top - hw - 2 * scale)
        y1 = int(top + 6 * unit + hw + 2 * offset)

        def dist(px, py):
            return min(_segment_distance(px, py, ax, ay, bx, by)
                       for (ax, ay), (bx, by) in segs) - hw
        for y in range(max(y0, 0), min(y1, h)):
            for x in range(max(x0, 0), min(x1, half)):
                face = edge = shadow = 0.0
                for sx, sy in ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)):
                    d = dist(x + sx, y + sy)
                    if d < -edge_width:
                        face += 0.25
                    elif d < 0.0:
                        edge += 0.25
                    elif dist(x + sx - offset, y + sy - offset) < 0.0:
                        shadow += 0.25
                c = rows[y][x]
                c = mix(c, (0, 0, 40), 0.45 * shadow)
                t = clamp01((y - top) / (6 * unit))
                c = mix(c, mix(LETTER_FACE[0], LETTER_FACE[1], t), face)
                c = mix(c, LETTER_EDGE, edge)
                rows[y][x] = c
    return rows


def quantise_keeping_white(rows):
    """256 colours at most; pure white keeps entry 0 exactly (it is what
    the credits draw over)."""
    counts = {}
    for row in rows:
        for c in row:
            if c != WHITE:
                counts[c] = counts.get(c, 0) + 1
    colours = median_cut(counts, 255)
    lookup = {WHITE: 0}
    for c in counts:
        lookup[c] = 1 + min(range(len(colours)),
                            key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, colours[i])), i))
    return [[lookup[c] for c in row] for row in rows], [WHITE] + colours


# The About picture's scales and files: 100 and 200 percent.
ABOUT_PICTURES = ((1, "about.bmp"), (2, "about_200.bmp"))


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in ICONS:
        images = []
        for size in ICON_SIZES:
            pic = Picture(size)
            draw(pic)
            images.append(pic.render())
        write_ico(os.path.join(OUT, name), images)
    for size, name in PAGE_STRIPS:
        rows, palette = page_strip(size)
        write_bmp8(os.path.join(OUT, name), rows, palette)
    for scale, name in ABOUT_PICTURES:
        rows, palette = quantise_keeping_white(about_picture(scale))
        write_bmp8(os.path.join(OUT, name), rows, palette)
    return 0


if __name__ == "__main__":
    sys.exit(main())
