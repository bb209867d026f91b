"""Writes small 32-bit Windows images for the tools' tests: a game program holding given code
bytes at game addresses, and a DLL carrying a version resource."""
import struct

IMAGE_BASE = 0x400000
FILE_ALIGN = 0x200
SECTION_ALIGN = 0x1000


def _align(value, to):
    return (value + to - 1) // to * to


def _utf16z(text):
    return (text + "\0").encode("utf-16-le")


def _version_block(key, value=b"", text=False, children=(), value_words=None):
    head_key = _utf16z(key)
    body = head_key + b"\0" * ((-(6 + len(head_key))) % 4) + value
    for child in children:
        body += b"\0" * ((-(6 + len(body))) % 4) + child
    words = value_words if value_words is not None else (len(value) // 2 if text else len(value))
    return struct.pack("<HHH", 6 + len(body), words, 1 if text else 0) + body


def version_resource(strings):
    entries = [_version_block(k, _utf16z(v), text=True) for k, v in strings.items()]
    table = _version_block("040904B0", text=True, children=entries)
    info = _version_block("StringFileInfo", text=True, children=[table])
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x10000, 0, 0, 0, 0, 0x3F, 0, 0x40004, 2, 0, 0, 0)
    return _version_block("VS_VERSION_INFO", fixed, children=[info])


def _resource_section(rva, data):
    """Type 16 (version), name 1, language 0x409, then the data."""
    def directory(entry_id, target):
        return struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", entry_id, target)
    tree = (directory(16, 0x80000000 | 24) + directory(1, 0x80000000 | 48) + directory(0x409, 72)
            + struct.pack("<IIII", rva + 88, len(data), 0, 0))
    return tree + data


def pe_image(sections, resource=None, dll=False):
    """sections: (relative address, bytes) pairs; resource: version resource bytes."""
    sections = list(sections)
    if resource is not None:
        top = max([a + len(b) for a, b in sections] + [SECTION_ALIGN])
        rva = _align(top, SECTION_ALIGN)
        sections.append((rva, _resource_section(rva, resource)))
    header_size = _align(0x40 + 4 + 20 + 224 + 40 * len(sections), FILE_ALIGN)
    raw, offset, table = b"", header_size, b""
    for rva, data in sections:
        size = _align(len(data), FILE_ALIGN)
        table += struct.pack("<8sIIIIIIHHI", b".sect", len(data), rva, size, offset, 0, 0, 0, 0, 0x60000020)
        raw += data + b"\0" * (size - len(data))
        offset += size
    directories = [(0, 0)] * 16
    if resource is not None:
        directories[2] = (sections[-1][0], len(sections[-1][1]))
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 0, 0, 0, 0, 0, 0, 0, 0, IMAGE_BASE,
                           SECTION_ALIGN, FILE_ALIGN, 4, 0, 0, 0, 4, 0, 0, 0, header_size, 0, 2, 0,
                           0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", a, s) for a, s in directories)
    coff = struct.pack("<HHIIIHH", 0x14C, len(sections), 0, 0, 0, len(optional), 0x2102 if dll else 0x102)
    dos = b"MZ" + b"\0" * 0x3A + struct.pack("<I", 0x40)
    headers = dos + b"PE\0\0" + coff + optional + table
    return headers + b"\0" * (header_size - len(headers)) + raw


def game_program(probes):
    """probes: (game address, four-byte value) pairs, each in a page of its own."""
    return pe_image((address - IMAGE_BASE & ~0xFFF, b"\0" * (address & 0xFFF) + struct.pack("<I", value))
                    for address, value in probes)


def plugin_dll(product, build):
    strings = {"ProductName": product, "FileVersion": "0.1.0", "GameBuild": build,
               "FileDescription": f"{product} for {build}"}
    return pe_image([(0x1000, b"\xC3")], resource=version_resource(strings), dll=True)
