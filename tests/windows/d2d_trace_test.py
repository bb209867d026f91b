#!/usr/bin/env python3
"""Wine's own Direct2D as the check of our Direct2D declarations: each game's real Ombrix DLL
loads an SVG under Wine on a virtual display, and Wine's trace (WINEDEBUG=+d2d) says which
interface each identifier of ours got and which method each slot we call reached.

    d2d_trace_test.py --probe D2D_PROBE.EXE --dlls DLL... --prefix DIR --work DIR [--wine-major N]

Two loads per DLL (d2d_probe.cpp): the document's own size, and 32x32 with its mip chain. How far
they get is this Wine's, and the test holds them to it:

    Wine 10 and later  every interface asked for is granted, the anti-aliasing mode is set, and
                       CreateSvgDocument is reached with a stream (Wine makes no SVG documents:
                       the load ends there, null, before any raster)
    before Wine 10     ID2D1Factory3::CreateDevice is reached with a DXGI device (Wine 8's is
                       a stub, so the load ends there)

Any "not implemented, returning E_NOINTERFACE" from Direct2D fails the test: an identifier of ours
that Wine does not know. --wine-major fails a run that got another Wine than it was meant for.
Wine runs through tools/wine-run in the prefix a fixture made, on the Xvfb display that fixture
started (wine_tier.py prefix) and its cleanup stops. Exit status 0 only when every check held.
"""
import argparse
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wine_tier  # noqa: E402

SVG_TEXT = ('<svg xmlns="http://www.w3.org/2000/svg" width="48" height="24">'
            '<rect x="4" y="4" width="40" height="16" fill="#3080ff"/></svg>\n')
TIMEOUT = 900  # seconds for the probe's run: six loads, each making a Direct3D device, emulated

REFUSED = re.compile(r":d2d:\S+ (\{[0-9a-f-]+\}) not implemented, returning E_NOINTERFACE")
ASKED = re.compile(r":d2d:(\w+_QueryInterface) iface \w+, iid (\{[0-9a-f-]+\})")
NULL_POINTER = {"00000000", "(nil)", "0"}


def traced(lines, method):
    """The first d2d trace line of `method` (a function name's ending), or None."""
    for line in lines:
        m = re.search(r":d2d:(\w+) ", line)
        if m and m.group(1).endswith(method):
            return line
    return None


def argument(line, name):
    m = re.search(rf"\b{name} ([^ ,]+?)[,.]?(?: |$)", line or "")
    return m.group(1) if m else None


def load_segments(err):
    """{(dll, "WxH"): (trace lines, result)} from the probe's markers in Wine's standard error."""
    segments, current = {}, None
    for line in err.splitlines():
        line = line.rstrip("\r")
        start = re.match(r"^d2d_probe: load (\S+) (\d+x\d+) mipmaps \d$", line)
        end = re.match(r"^d2d_probe: (\S+) (\d+x\d+) -> (\w+)$", line)
        if start:
            current = (start.group(1), start.group(2))
            segments[current] = ([], None)
        elif end and current == (end.group(1), end.group(2)):
            segments[current] = (segments[current][0], end.group(3))
            current = None
        elif current:
            segments[current][0].append(line)
    return segments


def check_load(checks, label, lines, result, major):
    refused = [m.group(1) for m in map(REFUSED.search, lines) if m]
    checks.check(not refused, f"{label}: Direct2D refuses none of our interface identifiers",
                 "refused " + ", ".join(refused))
    checks.check(result == "null", f"{label}: the load ends null before any raster",
                 f"result {result}")
    factory = traced(lines, "D2D1CreateFactory")
    checks.check(argument(factory, "factory_type") == "0",
                 f"{label}: D2D1CreateFactory, single-threaded (type 0)", str(factory))
    create = traced(lines, "ID2D1Factory3_CreateDevice")
    checks.check(create is not None and argument(create, "dxgi_device") not in NULL_POINTER,
                 f"{label}: ID2D1Factory3::CreateDevice reached with a DXGI device", str(create))
    if major < 10:
        return
    context = traced(lines, "CreateDeviceContext")
    checks.check(argument(context, "options") == "0",
                 f"{label}: ID2D1Device2::CreateDeviceContext reached, no options", str(context))
    antialias = traced(lines, "SetAntialiasMode")
    checks.check(argument(antialias, "antialias_mode") == "0",
                 f"{label}: SetAntialiasMode reached, per-primitive (0)", str(antialias))
    document = traced(lines, "CreateSvgDocument")
    checks.check(document is not None and
                 argument(document, "input_xml_stream") not in NULL_POINTER,
                 f"{label}: CreateSvgDocument reached with a stream", str(document))
    asked = [m.groups() for m in map(ASKED.search, lines) if m]
    interfaces = sorted({iid for method, iid in asked if not method.endswith("inner_QueryInterface")})
    # The factory, the device, the device context and its newer interface at least.
    checks.check(len(interfaces) >= 4 and not refused,
                 f"{label}: every interface asked for is granted ({' '.join(interfaces)})",
                 str(asked))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--dlls", required=True, nargs="+")
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--wine-major", type=int, help="the Wine release this run is meant for")
    args = parser.parse_args()

    wine = wine_tier.require_wine()
    version = wine_tier.wine_version()
    m = re.match(r"wine-(\d+)\.", version)
    major = int(m.group(1)) if m else 0
    checks = wine_tier.Checks(f"Direct2D trace under {version}")
    print(f"Wine: {version}, the {wine_tier.wine_choice()}")
    if args.wine_major is not None and not checks.check(
            major == args.wine_major, f"runs under Wine {args.wine_major}", version):
        return checks.finish()
    if not checks.check(major >= 8, "a Wine whose Direct2D has ID2D1Factory3 (8 or later)",
                        version):
        return checks.finish()

    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    svg = os.path.join(work, "shape.svg")
    with open(svg, "w") as out:
        out.write(SVG_TEXT)
    display = wine_tier.tier_display(args.prefix)
    if not checks.check(display is not None, "the prefix fixture's virtual display runs",
                        f"no live Xvfb recorded in {wine_tier.display_record(args.prefix)}"):
        return checks.finish()
    env = wine_tier.wine_env(args.prefix, display)
    env["WINEDEBUG"] = "+d2d"
    argv = [*wine, os.path.abspath(args.probe), wine_tier.win_path(svg),
            *(wine_tier.win_path(dll) for dll in args.dlls)]
    code, out, err, seconds = wine_tier.run_wine(argv, env, TIMEOUT)
    with open(os.path.join(work, "trace.txt"), "w") as trace:
        trace.write(err)
    print(f"probe on display {display}: wine run {seconds:.1f} s, exit {code}; "
          f"trace in {os.path.join(work, 'trace.txt')}")
    print(out.replace("\r\n", "\n"), end="")
    checks.check(code == 0, "the probe loads every DLL and ends with status 0", f"exit {code}")

    segments = load_segments(err)
    for dll in args.dlls:
        name = os.path.basename(dll)
        for size in ("0x0", "32x32"):
            label = f"{name} {size}" + (" with mipmaps" if size != "0x0" else "")
            if not checks.check((name, size) in segments, f"{label}: the load ran"):
                continue
            lines, result = segments[(name, size)]
            check_load(checks, label, lines, result, major)
    if checks.failures:
        for line in err.splitlines()[-30:]:
            print("    ! " + line)
    return checks.finish()


if __name__ == "__main__":
    sys.exit(main())
