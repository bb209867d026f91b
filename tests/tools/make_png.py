#!/usr/bin/env python3
"""Writes a small RGBA PNG: make_png.py PATH WIDTH HEIGHT."""
import struct
import sys
import zlib


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def main():
    path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rows = b"".join(
        b"\0" + b"".join(bytes((x * 4 % 256, y * 4 % 256, 90, 255 if x else 128)) for x in range(width))
        for y in range(height))
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
