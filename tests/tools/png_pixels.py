"""Reads 8-bit RGBA PNG files (any compression, every filter type), with zlib alone."""
import struct
import zlib


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def _unfilter(kind, line, prior):
    """Undoes one row's filter in place; `prior` is the row above, unfiltered (zeros at the top)."""
    if kind == 0:
        return
    if kind == 2:
        line[:] = bytes((a + b) & 0xFF for a, b in zip(line, prior))
        return
    if kind not in (1, 3, 4):
        raise ValueError(f"row filter {kind}")
    for i in range(len(line)):
        left = line[i - 4] if i >= 4 else 0
        if kind == 1:
            guess = left
        elif kind == 3:
            guess = (left + prior[i]) // 2
        else:
            guess = _paeth(left, prior[i], prior[i - 4] if i >= 4 else 0)
        line[i] = (line[i] + guess) & 0xFF


def read_rgba_bytes(path):
    """Returns (width, height, pixels), pixels the RGBA bytes of every row, top to bottom."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, [], None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no IHDR")
    width, height, depth, colour_type, _, _, interlace = header
    if (depth, colour_type, interlace) != (8, 6, 0):
        raise ValueError(f"{path}: not 8-bit non-interlaced RGBA")
    raw, stride = zlib.decompress(b"".join(idat)), width * 4
    if len(raw) < (stride + 1) * height:
        raise ValueError(f"{path}: {len(raw)} bytes of rows, {(stride + 1) * height} expected")
    out, prior = bytearray(), bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        line = bytearray(raw[start + 1:start + 1 + stride])
        _unfilter(raw[start], line, prior)
        out += line
        prior = line
    return width, height, bytes(out)


def read_rgba(path):
    """Returns (width, height, pixels), pixels a list of rows of (r, g, b, a) tuples."""
    width, height, pixels = read_rgba_bytes(path)
    rows = [[tuple(pixels[(y * width + x) * 4:(y * width + x) * 4 + 4]) for x in range(width)]
            for y in range(height)]
    return width, height, rows
