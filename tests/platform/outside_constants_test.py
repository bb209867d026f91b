#!/usr/bin/env python3
"""Every Windows constant the project spells itself, checked against a source written apart
from it.

The product (platform/windows, raster, ...) declares what the cross compiler's headers lack;
the substitute (platform/posix), the stand-in game (sim) and the tests declare their own
copies. A value checked only against another of our own copies passes with any mistake, so
each one is compared here with:

  - the mingw-w64 headers of the cross compiler (GUIDs, enum values, #defines, the C vtables
    of ID2D1Resource, ID2D1RenderTarget, ...), and
  - the ABI reference platform/reference/d2d1-svg-abi.md, for the Direct2D interfaces those
    headers lack (IIDs, slot numbers, slot counts, the SVG string types).

A constant found in neither fails the test: either it gets a source here, or it is named in
OWN_NAMES with the reason no outside source exists.

  outside_constants_test.py --source DIR --mingw DIR --reference FILE [--table]

--table prints one Markdown row per checked constant instead of only the failures.
"""
import argparse
import pathlib
import re
import sys

HEX = r"0x[0-9A-Fa-f]+"
GUID_TEXT = r"[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"

PRODUCT_DIRS = ["platform/windows", "raster", "load", "svg", "image", "host", "radio", "games"]
OWN_COPY_DIRS = ["platform/posix", "sim", "tests", "tools"]

# Names the project gives constants whose SDK name differs.
ALIASES = {
    "kClsidWicImagingFactory2": "CLSID_WICImagingFactory2",
    "kIidWicImagingFactory": "IID_IWICImagingFactory",
    "kWicPixelFormat32bppBGRA": "GUID_WICPixelFormat32bppBGRA",
    "premultiplied": "GUID_WICPixelFormat32bppPBGRA",
    "kContainerFormatPng": "GUID_ContainerFormatPng",
    "HRESULT_INSUFFICIENT_BUFFER": "HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)",
}

# The project's own names that are no Windows constant, with why nothing outside checks them.
OWN_NAMES = {
    "unknownClass": "made up by the test as a class nobody registers",
}

# The product's vtable tables: where the reference lists their slots, and which interface
# of the mingw-w64 headers they extend, for the slots the reference leaves to those headers.
VTABLES = {
    "ID2D1Factory3Vtbl": ("ID2D1Factory3", ["## 4."], "ID2D1Factory"),
    "ID2D1Device2Vtbl": ("ID2D1Device2", ["## 5."], "ID2D1Resource"),
    "ID2D1DeviceContext2Vtbl": ("ID2D1DeviceContext2", [], "ID2D1Resource"),
    "ID2D1DeviceContext5Vtbl": ("ID2D1DeviceContext5", ["## 6.", "## 7."], "ID2D1RenderTarget"),
    "ID2D1SvgDocumentVtbl": ("ID2D1SvgDocument", ["## 8.@0"], "ID2D1Resource"),
    "ID2D1SvgElementVtbl": ("ID2D1SvgElement", ["## 8.@1"], "ID2D1Resource"),
}
# Field names that tell overloads apart, with the SDK's method name and a word of the
# overload's parameter list in the reference.
OVERLOADS = {
    "CreateDevice2": ("CreateDevice", "ID2D1Device2"),
    "CreateDeviceContext2": ("CreateDeviceContext", "ID2D1DeviceContext2"),
    "SetAttributeValueInterface": ("SetAttributeValue", "ID2D1SvgAttribute"),
    "SetAttributeValuePod": ("SetAttributeValue", "POD_TYPE"),
    "SetAttributeValueString": ("SetAttributeValue", "STRING_TYPE, PCWSTR"),
    "GetAttributeValueInterface": ("GetAttributeValue", "REFIID"),
    "GetAttributeValuePod": ("GetAttributeValue", "POD_TYPE"),
    "GetAttributeValueString": ("GetAttributeValue", "STRING_TYPE, PWSTR"),
}


def guid_from_text(text):
    d = text.replace("-", "")
    return (int(d[0:8], 16), int(d[8:12], 16), int(d[12:16], 16)) + tuple(
        int(d[i:i + 2], 16) for i in range(16, 32, 2))


def guid_from_numbers(numbers):
    return tuple(int(n, 0) for n in numbers)


def guid_text(g):
    return "%08X-%04X-%04X-%02X%02X-%s" % (g[0], g[1], g[2], g[3], g[4],
                                          "".join("%02X" % b for b in g[5:]))


NUM = r"\s*(0x[0-9A-Fa-f]+|\d+)\s*"
DEFINE_GUID = re.compile(r"DEFINE_GUID\(\s*(\w+)\s*," + ",".join([NUM] * 11) + r"\)")
UUID_DECL = re.compile(r"__CRT_UUID_DECL\(\s*(\w+)\s*," + ",".join([NUM] * 11) + r"\)")
BRACE_GUID = re.compile(r"(?:IID|GUID|CLSID)\s+(\w+)\s*=\s*\{" + NUM + "," + NUM + "," + NUM +
                        r",\s*\{" + ",".join([NUM] * 8) + r"\}\s*\}")
STRING_GUID = re.compile(r"(?:IID|GUID|CLSID)\s+(\w+)\s*=\s*GuidFromString\(\"(" + GUID_TEXT +
                         r")\"\)")
DEFINE = re.compile(r"^[ \t]*#[ \t]*define[ \t]+([A-Za-z_]\w*)[ \t]+(.+?)[ \t]*(?://.*)?$", re.M)
ENUMERATOR = re.compile(r"\b([A-Z][A-Z0-9_]{2,})\s*=\s*([^,}\n]+)")


class Outside:
    """Values from the mingw-w64 headers and from the reference."""

    def __init__(self, mingw, reference):
        self.guids = {}
        self.values = {}
        self.vtables = {}
        for header in sorted(pathlib.Path(mingw).glob("*.h")):
            text = header.read_text(errors="replace")
            for m in DEFINE_GUID.finditer(text):
                self.guids.setdefault(m.group(1), (guid_from_numbers(m.groups()[1:]),
                                                   "mingw-w64 " + header.name))
            for m in UUID_DECL.finditer(text):
                self.guids.setdefault("IID_" + m.group(1),
                                      (guid_from_numbers(m.groups()[1:]),
                                       "mingw-w64 " + header.name))
            for m in DEFINE.finditer(text):
                self.values.setdefault(m.group(1), (m.group(2), header.name))
            for block in re.finditer(r"\benum\b[^{;]*\{(.*?)\}", text, re.S):
                for m in ENUMERATOR.finditer(block.group(1)):
                    self.values.setdefault(m.group(1), (m.group(2), header.name))
            for m in re.finditer(r"typedef struct (\w+)Vtbl \{(.*?)\} \1Vtbl;", text, re.S):
                self.vtables.setdefault(m.group(1), (m.group(2), header.name))
        self.reference = pathlib.Path(reference).read_text()
        self.reference_name = "reference " + pathlib.Path(reference).name
        self.ref_values = {}
        for row in self.table_rows(self.reference):
            names, values = row[0], row[1] if len(row) > 1 else ""
            if not re.fullmatch(r"[A-Z][A-Z0-9_]+( / _[A-Z0-9_]+)*", names):
                continue
            parts = names.split(" / ")
            numbers = [v.strip() for v in values.split("/")]
            if len(numbers) != len(parts) or not all(re.fullmatch(r"\d+|0x[0-9a-fA-F]+", n)
                                                     for n in numbers):
                continue
            stem = parts[0][:parts[0].rfind("_")] if len(parts) > 1 else ""
            for part, number in zip(parts, numbers):
                self.ref_values[part if part == parts[0] else stem + part] = int(number, 0)
        for row in self.table_rows(self.section("## 3.")):
            if re.fullmatch(GUID_TEXT, row[1] if len(row) > 1 else ""):
                self.guids.setdefault("IID_" + row[0], (guid_from_text(row[1]),
                                                        self.reference_name + " §3"))
                self.ref_values["slots " + row[0]] = int(row[5])

    @staticmethod
    def table_rows(text):
        for line in text.splitlines():
            if line.startswith("|") and not line.startswith("|-"):
                yield [re.sub(r"^\*\*(.*)\*\*$", r"\1", c.strip())
                       for c in line.strip().strip("|").split("|")]

    def section(self, heading):
        """The text of a reference section; "## 8.@1" is its second table."""
        heading, _, table = heading.partition("@")
        start = self.reference.index("\n" + heading)
        end = self.reference.find("\n## ", start + 1)
        text = self.reference[start:end if end >= 0 else None]
        if table:
            tables = re.split(r"\n\n(?=\|)", text)
            text = [t for t in tables if t.startswith("|")][int(table)]
        return text

    def mingw_slots(self, interface):
        """Slot number of each method of a mingw-w64 C vtable, its bases' included."""
        if interface == "IUnknown":
            return {"QueryInterface": 0, "AddRef": 1, "Release": 2}
        body, _ = self.vtables[interface]
        base = re.search(r"(\w+)Vtbl Base;", body)
        slots = self.mingw_slots(base.group(1)) if base else {}
        for m in re.finditer(r"STDMETHOD_?\((?:[^,()]+,\s*)?(\w+)\)|STDMETHODCALLTYPE \*(\w+)\)",
                             body):
            slots.setdefault(m.group(1) or m.group(2), len(slots))
        return slots

    def value(self, name, depth=0):
        """An integer for a mingw-w64 #define or enumerator, following names and casts."""
        if name.startswith("HRESULT_FROM_WIN32("):
            code = self.value(name[len("HRESULT_FROM_WIN32("):-1])
            return None if code is None else (code & 0xFFFF) | 0x80070000
        if name not in self.values or depth > 8:
            return None
        text = self.values[name][0]
        text = re.sub(r"\((?:HRESULT|DWORD|LONG|ULONG|UINT|int|unsigned(?: int| long)?)\)", "",
                      text)
        text = re.sub(r"\b(?:_HRESULT_TYPEDEF_|__MSABI_LONG|_NDIS_ERROR_TYPEDEF_)\b", "", text)
        text = re.sub(r"\b(0x[0-9A-Fa-f]+|\d+)[uUlL]+\b", r"\1", text)
        for word in set(re.findall(r"\b[A-Za-z_]\w*\b", text)):
            if re.fullmatch(r"0x[0-9A-Fa-f]+", word):
                continue
            inner = self.value(word, depth + 1)
            if inner is None:
                return None
            text = re.sub(r"\b%s\b" % word, str(inner), text)
        if not re.fullmatch(r"[0-9A-Fa-fx()|<>+\-~ ]+", text):
            return None
        try:
            return eval(text, {"__builtins__": {}}) & 0xFFFFFFFF
        except (SyntaxError, TypeError):
            return None


def project_files(source, dirs):
    for d in dirs:
        for path in sorted((pathlib.Path(source) / d).rglob("*")):
            if path.suffix in (".h", ".cpp") and "build" not in path.parts:
                yield path


def own_value(text):
    text = re.sub(r"\(\((?:HRESULT|DWORD|UINT)\)\s*(-?(?:0x[0-9A-Fa-f]+|\d+))\)", r"\1", text)
    text = text.strip().strip("()").rstrip("uUlL")
    if not re.fullmatch(r"-?(0x[0-9A-Fa-f]+|\d+)", text):
        return None
    return int(text, 0) & 0xFFFFFFFF


def check(source, outside, table):
    rows, failures = [], []

    def record(name, where, ok, what):
        rows.append((name, where, what))
        if not ok:
            failures.append("%s (%s): %s" % (name, where, what))

    # Interface, class and format identifiers: the product's braces, everybody else's strings.
    for dirs, pattern in ((PRODUCT_DIRS, BRACE_GUID), (OWN_COPY_DIRS, STRING_GUID),
                          (OWN_COPY_DIRS, BRACE_GUID)):
        for path in project_files(source, dirs):
            for m in pattern.finditer(path.read_text()):
                name = ALIASES.get(m.group(1), m.group(1))
                value = (guid_from_text(m.group(2)) if pattern is STRING_GUID
                         else guid_from_numbers(m.groups()[1:]))
                where = str(path.relative_to(source))
                if name in OWN_NAMES:
                    record(name, where, True, "no outside source: " + OWN_NAMES[name])
                    continue
                if name not in outside.guids:
                    record(name, where, False, "no outside source for this identifier")
                    continue
                expected, origin = outside.guids[name]
                record(name, where, value == expected,
                       origin if value == expected else "%s says %s, we say %s" % (
                           origin, guid_text(expected), guid_text(value)))

    # Enum values, flags and error codes the substitute and the product declare.
    for path in project_files(source, ["platform/posix", "platform/windows"]):
        text = path.read_text()
        where = str(path.relative_to(source))
        found = [(m.group(1), m.group(2)) for m in DEFINE.finditer(text)]
        for block in re.finditer(r"\benum\b[^{;]*\{(.*?)\}", text, re.S):
            found += [(m.group(1), m.group(2)) for m in ENUMERATOR.finditer(block.group(1))]
        for own_name, raw in found:
            value = own_value(raw)
            if value is None:
                continue  # a macro with parameters, a type or a name: not a constant
            name = ALIASES.get(own_name, own_name)
            if name in OWN_NAMES:
                record(name, where, True, "no outside source: " + OWN_NAMES[name])
                continue
            if name.endswith("_FORCE_DWORD"):
                record(name, where, value == 0xFFFFFFFF, outside.reference_name + " §10")
                continue
            expected = outside.value(name)
            origin = "mingw-w64 " + outside.values[name.split("(")[-1].rstrip(")")][1] \
                if expected is not None else None
            if expected is None and name in outside.ref_values:
                expected, origin = outside.ref_values[name], outside.reference_name + " §10"
            if expected is None:
                record(name, where, False, "no outside source for this value")
                continue
            record(name, where, value == expected,
                   origin if value == expected else "%s says 0x%X, we say 0x%X" % (
                       origin, expected, value))

    # Slots of the product's own vtable tables, and their sizes.
    header = pathlib.Path(source) / "platform/windows/d2d1_svg.h"
    text = header.read_text()
    where = str(header.relative_to(source))
    for vtable, field, slot in re.findall(r"D2D1_SVG_SLOT\((\w+), (\w+), (\d+)\);", text):
        interface, sections, base = VTABLES[vtable]
        slot = int(slot)
        method, word = OVERLOADS.get(field, (field, None))
        origin = None
        for section in sections:
            for row in outside.table_rows(outside.section(section)):
                if row[0].isdigit() and int(row[0]) == slot:
                    ok = row[1] == method and (word is None or word in row[2])
                    origin = "%s §%s slot %d: %s(%s)" % (outside.reference_name,
                                                         section.split("@")[0][3:-1], slot,
                                                           row[1], row[2])
                    break
            if origin:
                break
        if origin is None:
            slots = outside.mingw_slots(base)
            if method in slots:
                ok = slots[method] == slot
                origin = "mingw-w64 %s C vtable of %s: slot %d" % (
                    outside.vtables[base][1], base, slots[method])
        if origin is None:
            record("%s::%s" % (interface, field), where, False, "no outside source for slot")
        else:
            record("%s::%s slot %d" % (interface, field, slot), where, ok, origin)
    for vtable, total in re.findall(r"D2D1_SVG_SLOTS\((\w+), (\d+)\);", text):
        interface = VTABLES[vtable][0]
        expected = outside.ref_values.get("slots " + interface)
        record("%s slot count %s" % (interface, total), where, expected == int(total),
               "%s §3 total %s" % (outside.reference_name, expected))

    if table:
        for name, where, what in rows:
            print("| `%s` | %s | %s |" % (name, where, what))
    for failure in failures:
        print("FAIL " + failure, file=sys.stderr)
    print("%d constants checked, %d wrong or without an outside source" % (len(rows), len(failures)),
          file=sys.stderr)
    return 1 if failures or not rows else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True)
    parser.add_argument("--mingw", required=True, help="mingw-w64 include folder")
    parser.add_argument("--reference", required=True, help="the Direct2D ABI reference")
    parser.add_argument("--table", action="store_true")
    args = parser.parse_args()
    return check(args.source, Outside(args.mingw, args.reference), args.table)


if __name__ == "__main__":
    sys.exit(main())
