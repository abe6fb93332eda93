#!/usr/bin/env python3
"""Turns the 24-bit bitmap files of a folder into PNG files (the bitmaps go).

Usage: scripts/bmp-to-png.py FOLDER
Only the standard library: zlib for the compression, struct for the headers.
"""
import os
import struct
import sys
import zlib


def read_bitmap(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError("not a bitmap file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise ValueError("not an uncompressed 24-bit bitmap")
    stride = (width * 3 + 3) & ~3
    bottom_up = height > 0
    height = abs(height)
    rows = []
    for y in range(height):
        source = height - 1 - y if bottom_up else y
        start = offset + source * stride
        row = bytearray(data[start:start + width * 3])
        row[0::3], row[2::3] = row[2::3], row[0::3]  # BGR to RGB
        rows.append(bytes(row))
    return width, height, rows


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on each row
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    failed = 0
    for name in sorted(os.listdir(folder)):
        if not name.lower().endswith(".bmp"):
            continue
        path = os.path.join(folder, name)
        try:
            write_png(path[:-4] + ".png", *read_bitmap(path))
            os.remove(path)
        except (OSError, ValueError) as error:
            print(f"{name}: {error}", file=sys.stderr)
            failed += 1
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
