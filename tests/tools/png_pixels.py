"""Reads 8-bit RGBA PNG files (every filter type) into rows of (r, g, b, a) tuples."""
import struct
import zlib


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def read_rgba(path):
    """Returns (width, height, pixels), pixels a list of rows of RGBA tuples."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    width, height, depth, colour_type, _, _, interlace = header
    if (depth, colour_type, interlace) != (8, 6, 0):
        raise ValueError(f"{path}: not 8-bit non-interlaced RGBA")
    raw, stride, rows, prior = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up_left = prior[i - 4] if i >= 4 else 0
            guess = (0, left, prior[i], (left + prior[i]) // 2,
                     _paeth(left, prior[i], up_left))[kind]
            line[i] = (line[i] + guess) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        prior = line
    return width, height, rows
