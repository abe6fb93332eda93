#!/usr/bin/env python3
"""Draws the program's small bitmaps, icons and cursor.

The pictures are simple geometric marks on the transparent colour (magenta
for the bitmaps the bars load from the Res folder). Run from the repository
root; the outputs are committed, so the build needs no Python.
"""
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
    """Image i: a coloured shape varying with i (disc, square, bar, ring)."""
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
    bmp(res + "ptab.bmp", 16 * 30, 16, strip(30, 16, lambda i, x, y: mark(i + 3, x, y, 16)))
    bmp(res + "toolbar.bmp", 16 * 55, 16, strip(55, 16, lambda i, x, y: mark(i, x, y, 16)))
    bmp(res + "searchbar.bmp", 16 * 4, 16, strip(4, 16, lambda i, x, y: mark(i + 14, x, y, 16)))
    bmp(res + "rebarbg.bmp", 8, 64, lambda x, y: (236 - y // 4, 236 - y // 4, 232 - y // 4))
    cross = lambda x, y: (90, 90, 90) if 3 <= x <= 12 and 3 <= y <= 12 and (abs(x - y) <= 1 or abs(x + y - 15) <= 1) else MAGENTA
    bmp(res + "close_button.bmp", 16, 16, cross)
    arrow = lambda x, y: (90, 90, 90) if 6 <= y <= 10 and abs(x - 7.5) <= (10 - y) + 0.5 else MAGENTA
    bmp(res + "menu_button.bmp", 16, 16, arrow)

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
