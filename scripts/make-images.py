#!/usr/bin/env python3
"""Draws the program's small bitmaps, icons and cursor.

The buttons' pictures say what the buttons do (arrows for back and forward,
a cross for stop, a house for home...), drawn from simple shapes on the
transparent colour (magenta for the bitmaps the bars load from the Res
folder). Run from the repository
root; the outputs are committed, so the build needs no Python.
"""
import math
import struct

MAGENTA = (255, 0, 255)


def bmp(path, width, height, pixel):
    """24-bit bottom-up bitmap; pixel(x, y) gives (r, g, b)."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def strip(count, size, draw):
    """count square images of size side by side; draw(i, x, y) -> colour or None."""
    def pixel(x, y):
        colour = draw(x // size, x % size, y)
        return MAGENTA if colour is None else colour
    return pixel


def palette(i):
    hues = [(200, 40, 40), (40, 140, 40), (40, 70, 200), (200, 140, 0),
            (120, 40, 160), (0, 140, 150), (90, 90, 90)]
    return hues[i % len(hues)]


def mark(i, x, y, size):
    """Tab status image i: a coloured shape varying with i (disc, square, bar, ring)."""
    c = size / 2 - 0.5
    dx, dy = x - c, y - c
    kind = (i // 7) % 4
    r = size * 0.4
    if kind == 0 and dx * dx + dy * dy <= r * r:
        return palette(i)
    if kind == 1 and abs(dx) <= r * 0.8 and abs(dy) <= r * 0.8:
        return palette(i)
    if kind == 2 and abs(dy) <= size * 0.15 + (i % 3) and abs(dx) <= r:
        return palette(i)
    if kind == 3 and r * 0.5 <= (dx * dx + dy * dy) ** 0.5 <= r:
        return palette(i)
    return None


# --- Button pictures -------------------------------------------------------
# Shapes are tests on a pixel's centre (x + 0.5, y + 0.5) in a 16 x 16 cell;
# a picture paints shapes one over the other, each filled with a colour and,
# when asked, edged with a darker one where the shape meets what is not it.

DARK = (50, 50, 50)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)
PAPER = (250, 250, 245)
RED = (215, 45, 40)
DARK_RED = (130, 20, 20)
GREEN = (60, 170, 60)
DARK_GREEN = (20, 100, 30)
BLUE = (50, 110, 210)
DARK_BLUE = (20, 50, 130)
SKY = (150, 200, 245)
YELLOW = (250, 205, 50)
ORANGE = (205, 120, 20)
BROWN = (150, 90, 40)


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def ring(cx, cy, r0, r1, a0=0, a1=360):
    """Between the radii, from angle a0 to a1 (degrees, clockwise from 3 o'clock)."""
    def inside(x, y):
        d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return r0 <= d <= r1 and (a0 <= a <= a1 or a0 <= a + 360 <= a1)
    return inside


def seg(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= w * w / 4
    return inside


def poly(*points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def moved(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def flipped(shape):
    return lambda x, y: shape(16 - x, y)


class Cell:
    def __init__(self, size=16):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def paint(self, shape, fill, edge=None):
        n = self.size
        hit = [[shape(x + 0.5, y + 0.5) for x in range(n)] for y in range(n)]
        for y in range(n):
            for x in range(n):
                if not hit[y][x]:
                    continue
                rim = any(not (0 <= x + dx < n and 0 <= y + dy < n and hit[y + dy][x + dx])
                          for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                self.px[y][x] = edge if edge is not None and rim else fill
        return self

    def fill(self, colour):
        self.px = [[colour] * self.size for _ in range(self.size)]
        return self


def picture(*layers, background=None):
    """A cell painted with (shape, fill[, edge]) layers in order."""
    cell = Cell()
    if background is not None:
        cell.fill(background)
    for layer in layers:
        cell.paint(*layer)
    return cell


# Pieces used by several pictures.
def page(x0=3, y0=1, x1=13, y1=15):
    return poly((x0, y0), (x1 - 3, y0), (x1, y0 + 3), (x1, y1), (x0, y1))


def arrow_left():
    return poly((1, 8), (7.5, 1.5), (7.5, 5), (15, 5), (15, 11), (7.5, 11), (7.5, 14.5))


def cross(cx, cy, r, w):
    return union(seg(cx - r, cy - r, cx + r, cy + r, w), seg(cx - r, cy + r, cx + r, cy - r, w))


def circular_arrow(cx=8, cy=8, r0=3.2, r1=6):
    """An arc going clockwise round the centre, its head at the top right."""
    end = 320
    arc = ring(cx, cy, r0, r1, 30, end)
    a = math.radians(end)
    rm = (r0 + r1) / 2
    ex, ey = cx + rm * math.cos(a), cy + rm * math.sin(a)
    rx, ry = math.cos(a), math.sin(a)     # outwards
    tx, ty = -math.sin(a), math.cos(a)    # the way the arc turns
    half = (r1 - r0) / 2 + 2.2
    head = poly((ex + rx * half, ey + ry * half), (ex - rx * half, ey - ry * half),
                (ex + tx * 4.5, ey + ty * 4.5))
    return union(arc, head)


def star(cx=8, cy=8.5, r=7.5, inner=0.45):
    points = []
    for k in range(10):
        a = math.radians(-90 + 36 * k)
        rr = r if k % 2 == 0 else r * inner
        points.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return poly(*points)


def magnifier(cx=6.5, cy=6.5, r=5.2):
    return [(seg(cx + 2, cy + 2, 14.5, 14.5, 3.2), BROWN, DARK),
            (disc(cx, cy, r), SKY, DARK),
            (ring(cx, cy, r - 1.6, r), GREY, DARK)]


def clock(cx=8, cy=8, r=7):
    return [(disc(cx, cy, r), PAPER, DARK),
            (seg(cx, cy, cx, cy - r + 2.5, 1.3), DARK),
            (seg(cx, cy, cx + r - 3, cy, 1.3), DARK)]


def padlock(x, y):
    return [(ring(x + 2.5, y + 2, 1.2, 2.3, 180, 360), GREY),
            (box(x, y + 2, x + 5, y + 6), YELLOW, ORANGE)]


def folder():
    return [(poly((1, 3), (6, 3), (7.5, 5), (15, 5), (15, 14), (1, 14)), YELLOW, ORANGE)]


def gear(cx=8, cy=8):
    def teeth(x, y):
        d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        a = math.degrees(math.atan2(y - cy, x - cx)) % 45
        return 2.2 <= d <= 7.3 and (d <= 5.3 or a <= 13 or a >= 32)
    return [(teeth, GREY, DARK)]


def globe(cx=8, cy=8, r=7):
    lines = union(box(cx - r, cy - 0.5, cx + r, cy + 0.5), box(cx - 0.5, cy - r, cx + 0.5, cy + r),
                  minus(ellipse(cx, cy, 3.6, r), ellipse(cx, cy, 2.6, r - 0.6)))
    return [(disc(cx, cy, r), SKY, DARK_BLUE), (minus(lines, minus(box(0, 0, 16, 16), disc(cx, cy, r - 0.8))), BLUE)]


def house():
    return [(box(3, 7.5, 13, 15), PAPER, DARK),
            (box(6.5, 10, 9.5, 15), BROWN, DARK),
            (poly((0.5, 8.5), (8, 1), (15.5, 8.5)), RED, DARK_RED)]


def heart():
    return [(union(disc(5, 5.8, 3.6), disc(11, 5.8, 3.6), poly((1.6, 7), (14.4, 7), (8, 14.5))), RED, DARK_RED)]


def note():
    return [(union(ellipse(4.5, 12.5, 2.8, 2.1), ellipse(11.5, 11, 2.8, 2.1)), DARK),
            (union(box(6.4, 3.5, 7.4, 12.5), box(13.4, 2, 14.4, 11), poly((6.4, 3.5), (14.4, 1), (14.4, 4), (6.4, 6.5))),
             DARK)]


def envelope():
    flap = union(seg(1.5, 3.5, 8, 9, 1.2), seg(8, 9, 14.5, 3.5, 1.2))
    return [(box(1, 3, 15, 13), PAPER, DARK), (flap, DARK)]


def book():
    return [(box(2, 2, 14, 14), BLUE, DARK_BLUE), (box(4, 2, 4.9, 14), DARK_BLUE), (box(7, 5, 12, 6.5), WHITE)]


def flag():
    return [(box(2, 1, 3.2, 15), DARK),
            (poly((3.2, 2), (14, 2), (11, 5.5), (14, 9), (3.2, 9)), RED, DARK_RED)]


def bell():
    return [(union(poly((3, 12), (5, 5), (11, 5), (13, 12)), disc(8, 5.5, 3)), YELLOW, ORANGE),
            (disc(8, 13.5, 1.5), ORANGE), (box(2, 11.5, 14, 12.5), ORANGE)]


def calendar():
    return [(box(1.5, 2.5, 14.5, 14.5), PAPER, DARK), (box(1.5, 2.5, 14.5, 5.5), RED, DARK_RED),
            (union(*[box(3.5 + 3 * i, 7.5 + 3 * j, 4.5 + 3 * i, 8.5 + 3 * j) for i in range(4) for j in range(2)]), GREY)]


def camera():
    return [(box(1, 4.5, 15, 14), GREY, DARK), (box(4, 2.5, 8, 4.5), DARK),
            (disc(8, 9.5, 3.5), SKY, DARK)]


def cart():
    return [(poly((1, 2), (3.5, 2), (5, 10), (13, 10), (14.5, 4), (4, 4)), BLUE, DARK_BLUE),
            (disc(5.5, 13, 1.6), DARK), (disc(12, 13, 1.6), DARK)]


def bubble():
    return [(union(ellipse(8, 7, 7, 5), poly((4, 10), (3, 15), (9, 11))), PAPER, DARK)]


def cloud():
    return [(union(disc(5, 10, 3.5), disc(9, 7.5, 4.5), disc(12, 10.5, 3), box(5, 10, 12, 13.5)), WHITE, BLUE)]


def cup():
    return [(ring(12.5, 9, 1.2, 2.6, 270, 450), BROWN),
            (poly((2, 6), (12, 6), (11, 14), (3, 14)), BROWN, DARK),
            (union(seg(5, 1, 5, 4, 1), seg(8.5, 1, 8.5, 4, 1)), GREY)]


def film():
    holes = union(*[box(1.5 + 3 * i, 2.5, 2.5 + 3 * i, 3.5) for i in range(5)] +
                  [box(1.5 + 3 * i, 12.5, 2.5 + 3 * i, 13.5) for i in range(5)])
    return [(box(0.5, 1.5, 15.5, 14.5), DARK), (holes, WHITE), (box(3, 5, 13, 11), SKY)]


def key():
    return [(union(seg(7, 8, 15, 8, 2), box(12.5, 8, 13.7, 11), box(10, 8, 11.2, 10.5)), YELLOW, ORANGE),
            (minus(disc(4.5, 8, 3.8), disc(4.5, 8, 1.5)), YELLOW, ORANGE)]


def leaf():
    return [(union(minus(disc(5, 11, 9), box(0, 11.5, 16, 16)), minus(disc(11, 5, 9), box(0, 0, 16, 4.5))), GREEN,
             DARK_GREEN),
            (seg(2.5, 13.5, 13, 3, 1), DARK_GREEN)]


def bulb():
    return [(union(disc(8, 6.5, 5), poly((5, 9), (11, 9), (10, 12), (6, 12))), YELLOW, ORANGE),
            (box(6, 12, 10, 15), GREY, DARK)]


def lock():
    return [(ring(8, 6.5, 2.5, 4.2, 180, 360), GREY, DARK), (box(3, 6.5, 13, 15), YELLOW, ORANGE),
            (box(7.4, 9.5, 8.6, 12), DARK)]


def moon():
    return [(minus(disc(8, 8, 7), disc(11.5, 5.5, 6)), YELLOW, ORANGE)]


def person():
    return [(disc(8, 4.5, 3.5), (240, 200, 160), BROWN),
            (minus(ellipse(8, 15, 6.5, 6.5), box(0, 15.5, 16, 16)), BLUE, DARK_BLUE)]


def sun():
    rays = union(*[seg(8 + 4.5 * math.cos(math.radians(a)), 8 + 4.5 * math.sin(math.radians(a)),
                       8 + 7.3 * math.cos(math.radians(a)), 8 + 7.3 * math.sin(math.radians(a)), 1.4)
                   for a in range(0, 360, 45)])
    return [(rays, ORANGE), (disc(8, 8, 3.8), YELLOW, ORANGE)]


def tag():
    return [(poly((1, 1), (8, 1), (15, 8), (8, 15), (1, 8)), YELLOW, ORANGE), (disc(4.5, 4.5, 1.2), WHITE)]


def bolt():
    return [(poly((9.5, 0.5), (3, 9), (7.5, 9), (5.5, 15.5), (13, 6.5), (8.5, 6.5), (11, 0.5)), YELLOW, ORANGE)]


def speaker():
    waves = union(ring(7, 8, 4, 5, 300, 420), ring(7, 8, 6.5, 7.5, 300, 420))
    return [(union(box(1.5, 5.5, 4.5, 10.5), poly((4, 5.5), (8.5, 1.5), (8.5, 14.5), (4, 10.5))), GREY, DARK),
            (minus(waves, box(0, 0, 9, 16)), DARK_BLUE)]


def scenery():
    return [(box(1, 2, 15, 14), SKY, DARK),
            (poly((1.5, 13.5), (6, 7), (9, 11), (11, 8.5), (14.5, 13.5)), GREEN),
            (disc(11.5, 5, 1.8), YELLOW)]


def check():
    return [(union(seg(2.5, 8.5, 6.5, 12.5, 3), seg(6.5, 12.5, 13.5, 3.5, 3)), GREEN, DARK_GREEN)]


def cube():
    top = poly((8, 1.5), (14.5, 4.5), (8, 7.5), (1.5, 4.5))
    left = poly((1.5, 4.5), (8, 7.5), (8, 15), (1.5, 12))
    right = poly((8, 7.5), (14.5, 4.5), (14.5, 12), (8, 15))
    return [(top, SKY, DARK_BLUE), (left, BLUE, DARK_BLUE), (right, DARK_BLUE, DARK)]


def no_sign(cx, cy, r):
    return [(union(ring(cx, cy, r - 1.6, r), seg(cx - r * 0.7, cy - r * 0.7, cx + r * 0.7, cy + r * 0.7, 1.6)), RED)]


def toolbar_pictures():
    """The main toolbar's strip by image index; images no button shows are left empty."""
    sheet = page()
    pages2 = [(page(1, 1, 10, 12), PAPER, GREY), (page(6, 4, 15, 15), PAPER, DARK)]
    return {
        0: picture((sheet, PAPER, DARK), (union(box(9.5, 8, 11.5, 15), box(7, 10.5, 14, 12.5)), GREEN, DARK_GREEN)),
        1: picture((box(1.5, 1.5, 14.5, 14.5), BLUE, DARK_BLUE), (box(4, 2, 12, 7), WHITE),
                   (box(4.5, 10, 11.5, 14.5), GREY, DARK)),
        2: picture(*folder(), (poly((3.5, 7.5), (16, 7.5), (13.5, 14), (1, 14)), (255, 230, 130), ORANGE)),
        3: picture((box(4, 1, 12, 6), PAPER, DARK), (box(1, 5.5, 15, 11.5), GREY, DARK),
                   (box(4, 9.5, 12, 15), PAPER, DARK), (box(12, 7, 13, 8), GREEN)),
        4: picture((union(seg(4, 1, 10.5, 11, 1.8), seg(12, 1, 5.5, 11, 1.8)), GREY, DARK),
                   (minus(disc(4.5, 12.5, 2.8), disc(4.5, 12.5, 1.2)), RED, DARK_RED),
                   (minus(disc(11.5, 12.5, 2.8), disc(11.5, 12.5, 1.2)), RED, DARK_RED)),
        5: picture(*pages2),
        6: picture((box(2, 2.5, 14, 15), BROWN, DARK), (box(4, 5, 12, 13.5), PAPER, GREY),
                   (box(5.5, 1, 10.5, 4), GREY, DARK)),
        7: picture((seg(3, 13, 12, 4, 3.6), YELLOW, ORANGE), (seg(11.2, 4.8, 13.5, 2.5, 3.6), (240, 130, 150), DARK_RED),
                   (poly((1, 15), (1.8, 11.2), (4.8, 14.2)), DARK)),
        11: picture((arrow_left(), GREEN, DARK_GREEN)),
        12: picture((flipped(arrow_left()), GREEN, DARK_GREEN)),
        13: picture((cross(8, 8, 5, 3.6), RED, DARK_RED)),
        15: picture((circular_arrow(), GREEN, DARK_GREEN)),
        17: picture(*house()),
        18: picture((page(5, 4.5, 11, 11.5), PAPER, GREY), (circular_arrow(r0=5, r1=7.4), GREEN, DARK_GREEN)),
        24: picture(*clock(8, 8, 6.5), (poly((11, 0.5), (16, 0.5), (16, 5.5)), GREEN, DARK_GREEN)),
        25: picture(*magnifier()),
        27: picture(*gear()),
        28: picture(*globe()),
        29: picture((sheet, PAPER, DARK), (cross(10, 11, 3, 2.6), RED, DARK_RED)),
        30: picture((page(1, 1, 8, 12), PAPER, DARK), (page(8.5, 4, 15.5, 15), (220, 220, 220), GREY),
                    (cross(12, 11, 2.5, 2.2), RED, DARK_RED)),
        31: picture((cross(4.5, 8, 3, 2.6), RED, DARK_RED), (page(8.5, 2, 15.5, 14), PAPER, DARK)),
        32: picture((page(0.5, 2, 7.5, 14), PAPER, DARK), (cross(11.5, 8, 3, 2.6), RED, DARK_RED)),
        33: picture((page(1, 1, 9, 11), PAPER, GREY), (page(4, 3, 12, 13), PAPER, GREY),
                    (page(7, 5, 15, 15), PAPER, DARK), (cross(8, 9, 4, 3), RED, DARK_RED)),
        34: picture((star(), YELLOW, ORANGE)),
        35: picture(*clock()),
        39: picture((box(4, 4, 12, 12), SKY, DARK_BLUE),
                    (union(poly((0.5, 0.5), (5, 0.5), (0.5, 5)), poly((15.5, 0.5), (11, 0.5), (15.5, 5)),
                           poly((0.5, 15.5), (5, 15.5), (0.5, 11)), poly((15.5, 15.5), (11, 15.5), (15.5, 11))),
                     DARK_BLUE)),
        41: picture(*scenery()),
        42: picture(*speaker()),
        43: picture(*film()),
        44: picture((union(seg(5, 4, 1.5, 8, 1.8), seg(1.5, 8, 5, 12, 1.8), seg(11, 4, 14.5, 8, 1.8),
                           seg(14.5, 8, 11, 12, 1.8)), BLUE),
                    (seg(9.5, 2.5, 6.5, 13.5, 1.6), DARK)),
        45: picture(*cup()),
        46: picture(*cube()),
        47: picture(*cube(), (poly((9, 7), (13, 7), (13, 10), (15.5, 10), (11, 15.5), (6.5, 10), (9, 10)), GREEN,
                              DARK_GREEN)),
        48: picture((box(1, 2, 14, 13), PAPER, DARK), (box(1, 2, 14, 4.5), BLUE, DARK_BLUE),
                    *no_sign(10.5, 10.5, 5)),
        49: picture((ellipse(7, 4, 6, 2.5), GREY, DARK), (box(1, 4, 13, 12), GREY), (ellipse(7, 12, 6, 2.5), GREY, DARK),
                    (box(1, 4, 1.9, 12), DARK), (box(12.1, 4, 13, 12), DARK), (ellipse(7, 4, 6, 2.5), (190, 190, 190), DARK),
                    *no_sign(11, 11, 4.8)),
        50: picture(*bolt()),
        51: picture((union(ring(5, 5.5, 1.6, 3.2), ring(10, 5.5, 1.6, 3.2)), GREY, DARK), *padlock(9, 8)),
        52: picture((ellipse(6, 8, 4.5, 6.5), PAPER, DARK), (box(5.5, 2, 6.5, 6), DARK), *padlock(9.5, 8.5)),
        53: picture((box(1, 5, 15, 14), (225, 235, 250), DARK_BLUE),
                    (poly((1, 5.5), (1.8, 2), (5.5, 2), (6.3, 5.5)), SKY, DARK_BLUE),
                    (poly((6, 5.5), (6.8, 2), (10.5, 2), (11.3, 5.5)), (200, 200, 200), GREY),
                    (poly((11, 5.5), (11.8, 2), (14.2, 2), (15, 5.5)), (200, 200, 200), GREY)),
    }


def searchbar_pictures():
    """Run search, web search, highlight keywords, find in the page."""
    return {
        0: picture(*magnifier()),
        1: picture(*globe(9, 9, 6.5), *magnifier(5.5, 5.5, 4.2)),
        2: picture((box(1, 12.5, 15, 15), YELLOW), (seg(4, 11, 12, 3, 3.4), YELLOW, ORANGE),
                   (poly((2, 13), (2.7, 9.8), (5.2, 12.3)), DARK)),
        3: picture((page(1, 1, 11, 15), PAPER, DARK), *magnifier(9, 9, 3.5)),
    }


def group_pictures():
    """The 30 pictures a tab group can carry."""
    makers = [folder, star, house, globe, heart, note, envelope, book, gear, magnifier,
              flag, bell, clock, cloud, cup, page, film, key, leaf, bulb,
              lock, moon, person, sun, tag, bolt, speaker, scenery, bubble, cart]
    cells = []
    for make in makers:
        shapes = make()
        if make is star:
            shapes = [(shapes, YELLOW, ORANGE)]
        elif callable(shapes):
            shapes = [(shapes, PAPER, DARK)]
        cells.append(picture(*shapes))
    return dict(enumerate(cells))


def face(glyph, colour, back=None, edge=None):
    """A 16 x 16 button face: the glyph, on a rounded square when back is given."""
    layers = []
    if back is not None:
        layers.append((union(box(1, 2, 15, 14), box(2, 1, 14, 15)), back, edge))
    layers.append((glyph, colour))
    return picture(*layers)


def close_faces():
    x = cross(8, 8, 3.5, 2.2)
    return [face(x, GREY), face(x, WHITE, RED, DARK_RED), face(moved(x, 1, 1), WHITE, DARK_RED, DARK)]


def menu_faces():
    # The menu half is 15 pixels wide: the arrow stands in them.
    v = poly((3, 6), (12, 6), (7.5, 11))
    sq = union(box(1, 2, 14, 14), box(2, 1, 13, 15))
    def menu_face(colour, back=None, edge=None, dx=0):
        layers = [] if back is None else [(sq, back, edge)]
        return picture(*layers, (moved(v, dx, dx), colour))
    return [menu_face(GREY), menu_face(WHITE, BLUE, DARK_BLUE), menu_face(WHITE, DARK_BLUE, DARK, 1)]


def sheet_of(cells, count):
    """count cells side by side as one strip's pixel function."""
    def pixel(x, y):
        cell = cells.get(x // 16) if isinstance(cells, dict) else cells[x // 16]
        colour = cell.px[y][x % 16] if cell is not None else None
        return MAGENTA if colour is None else colour
    return pixel


def icon_file(path, size, pixel, cursor=False, hotspot=(0, 0)):
    """A one-image .ico or .cur of 32-bit pixels with an AND mask."""
    xor = bytearray()
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        line = bytearray(mask_row)
        for x in range(size):
            colour = pixel(x, y)
            if colour is None:
                xor += b"\0\0\0\0"
                line[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = colour
                xor += bytes((b, g, r, 255))
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    kind = 2 if cursor else 1
    planes, bpp = (hotspot if cursor else (1, 32))
    header = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, planes, bpp, len(image), 22)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, body):
    return kind + struct.pack("<I", len(body) + 4) + fourcc + body


def avi(path, width, height, frames):
    """An uncompressed 8-bit AVI of frames(i, x, y) -> palette index, 4 frames a second."""
    count = 4
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in
                       [(255, 255, 255), (40, 90, 200), (120, 160, 230), (200, 220, 250)] + [(0, 0, 0)] * 252)
    row = (width + 3) & ~3
    size = row * height
    bih = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, size, 0, 0, 256, 0)
    avih = struct.pack("<IIIIIIIIII4I", 250000, size * 4, 0, 0x10, count, 0, 1, size, width, height, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"DIB ", 0, 0, 0, 0, 1, 4, 0, count, size, 0xFFFFFFFF, 0,
                       0, 0, width, height)
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + palette))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strl)
    movi_body = b""
    index = b""
    offset = 4
    for i in range(count):
        data = bytearray()
        for y in range(height - 1, -1, -1):
            line = bytes(frames(i, x, y) for x in range(width))
            data += line + b"\0" * (row - width)
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(data))
        piece = chunk(b"00db", bytes(data))
        movi_body += piece
        offset += len(piece)
    movi = riff_list(b"LIST", b"movi", movi_body)
    body = hdrl + movi + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(riff_list(b"RIFF", b"AVI ", body))


def main():
    res = "res/Res/"
    # Tab status icons 0-5 (and spares up to 13): loading, done, active...
    bmp(res + "progress_status.bmp", 16 * 13, 16, strip(13, 16, lambda i, x, y: mark(i, x, y, 16)))
    bmp(res + "ptab.bmp", 16 * 30, 16, sheet_of(group_pictures(), 30))
    bmp(res + "toolbar.bmp", 16 * 55, 16, sheet_of(toolbar_pictures(), 55))
    bmp(res + "searchbar.bmp", 16 * 4, 16, sheet_of(searchbar_pictures(), 4))
    # The tab buttons: normal, hot and pressed faces each.
    bmp(res + "close_button.bmp", 16 * 3, 16, sheet_of(close_faces(), 3))
    bmp(res + "menu_button.bmp", 16 * 3, 16, sheet_of(menu_faces(), 3))
    bmp(res + "rebarbg.bmp", 8, 64, lambda x, y: (236 - y // 4, 236 - y // 4, 232 - y // 4))
    # Caption bar buttons, 16 x 14: pin off, maximise, minimise, pin on, close.
    face = lambda draw: (lambda x, y: (255, 255, 255) if draw(x, y) else (0, 64, 160))
    bmp("app/res/fs_pin_off.bmp", 16, 14, face(lambda x, y: (x == 8 and 3 <= y <= 11) or (5 <= x <= 11 and y == 5)))
    bmp("app/res/fs_maximize.bmp", 16, 14, face(lambda x, y: 3 <= x <= 12 and 2 <= y <= 11 and (x in (3, 12) or y in (2, 3, 11))))
    bmp("app/res/fs_minimize.bmp", 16, 14, face(lambda x, y: 4 <= x <= 11 and 9 <= y <= 10))
    bmp("app/res/fs_pin_on.bmp", 16, 14, face(lambda x, y: (y == 8 and 3 <= x <= 12) or (x == 6 and 4 <= y <= 11)))
    bmp("app/res/fs_close.bmp", 16, 14, face(lambda x, y: 3 <= x <= 12 and 2 <= y <= 11 and (abs(x - y - 1) <= 0 or abs(x + y - 14) <= 0)))

    # The busy dialog's animation: a dot going round.
    def spinner(i, x, y):
        import math
        cx, cy = 16 + 9 * math.cos(i * math.pi / 2), 16 + 9 * math.sin(i * math.pi / 2)
        d = (x - cx) ** 2 + (y - cy) ** 2
        return 1 if d < 16 else 2 if d < 30 else 0
    avi(res + "Torv.avi", 32, 32, spinner)

    ico = "app/res/"
    # Drop markers: a downward arrow in the top-left corner (rows), a
    # rightward one (columns).
    down = lambda x, y: (0, 0, 255) if y < 10 and x < 7 and abs(x - 3) <= (9 - y) * 0.4 else None
    right = lambda x, y: (0, 0, 255) if x < 10 and y < 7 and abs(y - 3) <= (9 - x) * 0.4 else None
    icon_file(ico + "tab_drop_row.ico", 16, down)
    icon_file(ico + "tab_drop_column.ico", 16, right)
    drag = lambda x, y: ((0, 0, 0) if x <= y and x + y < 22 and y < 16 else
                         (255, 255, 255) if 18 <= x <= 28 and 18 <= y <= 26 else None)
    icon_file(ico + "tab_drag.cur", 32, drag, cursor=True, hotspot=(0, 0))


if __name__ == "__main__":
    main()
