#!/usr/bin/env python3
"""The Windows tools under Wine against the host tools, on the same inputs:

    wine_tools_test.py check   --exe TESSIVO.EXE --host HOST_TESSIVO --icons HOST_ICONS --prefix DIR --work DIR
    wine_tools_test.py preview --exe TESSIVO.EXE --host HOST_TESSIVO --dlls DLL... --table STATION_ICONS_H
                               --prefix DIR --work DIR
    wine_tools_test.py icon    --exe OMBRIX.EXE --host HOST_OMBRIX --dlls OMBRIX_DLL --svg BADGE.svg
                               --prefix DIR --work DIR

check: the game folders of tests/tools/tessivo_check_test.py, the verdict lines and exit status of
`tessivo.exe check` (and of the folder dropped on the program) against `tessivo check`.
preview: the settings of tests/tools/tessivo_preview_test.py and a background picture, each still
frame within 1 per channel of the host's; --change as GIF with the host's picture count and timing, and as numbered
pictures within 1 of the host's; the host's error cases give status 1 and one line on stderr.
icon: a PNG badge within 1 of the host's icon, colour and grey, and its load's level 0 within 1
of the host's (scaled sizes go through Wine's nearest-neighbour scaler: their size compares, not
their pixels); an SVG badge drawn, or where Direct2D has no SVG documents status 1, one line naming
the step where Wine's Direct2D stops (on the tier's display), and no file.

Wine runs only through tools/wine-run, in the prefix of the wine_prefix fixture.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(SOURCE, "tests", "tools"))

import tessivo_check_test  # noqa: E402  (the folder layouts and their table)
import tessivo_preview_test  # noqa: E402  (the flat icons and the settings)
from png_pixels import read_rgba  # noqa: E402
from wine_tier import Checks, require_wine, run_wine, tier_display, win_path, wine_env, \
    wine_version  # noqa: E402

TIMEOUT = 600
# Where each Wine's Direct2D ends an SVG load on a display (d2d_trace_test.py traces it).
SVG_STOPS = {8: "ID2D1Factory3::CreateDevice", 10: "CreateSvgDocument"}


class Wine:
    def __init__(self, prefix, display=None):
        self.wine = require_wine()  # tools/wine-run wine, or the reason there is no Wine here
        self.env = wine_env(prefix, display)

    def run(self, exe, *args):
        code, out, err, _ = run_wine([*self.wine, exe, *args], self.env, TIMEOUT)
        return code, out.replace("\r\n", "\n"), err.replace("\r\n", "\n")


def host(tool, *args):
    run = subprocess.run([tool, *args], capture_output=True, text=True, timeout=TIMEOUT)
    return run.returncode, run.stdout, run.stderr


def one_line_error(err, start):
    lines = [line for line in err.splitlines() if line.strip()]
    return len(lines) == 1 and lines[0].startswith(start)


def verdict_lines(out):
    """The report's lines with paths in one form: Windows writes scripts\\Ombrix.VC.asi."""
    return [line.replace("\\", "/").rstrip() for line in out.splitlines() if line.strip()]


def check_suite(args, wine):
    checks = Checks("wine tessivo.exe check")
    for name, layout, extra, status, text in tessivo_check_test.CASES:
        folder = os.path.join(args.work, "check", re.sub(r"\W+", "-", name))
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        tessivo_check_test.lay_out(folder, args.icons, **layout)
        want_code, want_out, _ = host(args.host, "check", folder, *extra)
        got_code, got_out, got_err = wine.run(args.exe, "check", win_path(folder), *extra)
        checks.check(got_code == want_code == status and verdict_lines(got_out) == verdict_lines(want_out),
                     f"{name}: status {status} and the host's verdict lines",
                     f"status {got_code} (host {want_code})\n--- wine\n{got_out}{got_err}--- host\n{want_out}")
        if not extra:
            # A folder dropped on the program: the same report, and no wait for Enter from a script.
            drop_code, drop_out, _ = wine.run(args.exe, win_path(folder))
            checks.check(drop_code == want_code and verdict_lines(drop_out) == verdict_lines(want_out),
                         f"{name}: the folder dropped on tessivo.exe reports the same", drop_out)
    code, out, err = wine.run(args.exe, "check", win_path(os.path.join(args.work, "no-such-folder")))
    checks.check(code == 1 and not out and one_line_error(err, "tessivo: check:"),
                 "a folder that is not there: status 1 and one line", f"{code} {out!r} {err!r}")
    return checks.finish()


def gif_delays(path):
    """The delay of every image of a GIF, in centiseconds, and whether it loops forever."""
    data = open(path, "rb").read()
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        return None, False
    flags = data[10]
    pos = 13 + (3 << ((flags & 7) + 1) if flags & 0x80 else 0)
    delays, pending, loops = [], 0, False

    def skip_blocks(at):
        while data[at]:
            at += data[at] + 1
        return at + 1

    while pos < len(data) and data[pos] != 0x3B:
        if data[pos] == 0x21:
            label = data[pos + 1]
            if label == 0xF9:
                pending = struct.unpack("<H", data[pos + 4:pos + 6])[0]
            elif label == 0xFF and data[pos + 3:pos + 14] == b"NETSCAPE2.0":
                loops = data[pos + 16:pos + 18] == b"\0\0"
            pos = skip_blocks(pos + 2)
        elif data[pos] == 0x2C:
            local = data[pos + 9]
            pos += 10 + (3 << ((local & 7) + 1) if local & 0x80 else 0)
            pos = skip_blocks(pos + 1)
            delays.append(pending)
        else:
            return None, False
    return delays, loops


def largest_difference(a, b):
    wa, ha, rows_a = read_rgba(a)
    wb, hb, rows_b = read_rgba(b)
    if (wa, ha) != (wb, hb):
        return f"sizes {wa}x{ha} and {wb}x{hb}"
    return max(abs(p - q) for ra, rb in zip(rows_a, rows_b) for pa, pb in zip(ra, rb) for p, q in zip(pa, pb))


def preview_suite(args, wine):
    checks = Checks("wine tessivo.exe preview")
    work = os.path.join(args.work, "preview")
    shutil.rmtree(work, ignore_errors=True)
    icons, dlls = os.path.join(work, "icons"), os.path.join(work, "dlls")
    os.makedirs(icons)
    os.makedirs(dlls)
    for dll in args.dlls:
        shutil.copy(dll, dlls)
    names = re.findall(r'"([a-z0-9_]+)"', open(args.table).read().split("{", 1)[1])
    for name in names:
        colour = tessivo_preview_test.GREY_ICON if name.endswith("_gray") else tessivo_preview_test.COLOUR_ICON
        tessivo_preview_test.write_png(os.path.join(icons, name + ".png"), colour)
    common = ["--game", "vc", "--icons", icons, "--screen", "1280x720"]

    def both(label, host_out, wine_out, *extra):
        want = host(args.host, "preview", *common, *extra, "--out", host_out)
        wine_args = [win_path(a) if os.path.isabs(a) else a for a in common + list(extra)]
        got = wine.run(args.exe, "preview", *wine_args, "--dlls", win_path(dlls), "--out", win_path(wine_out))
        checks.check(want[0] == 0, f"{label}: the host tool draws", want[1] + want[2])
        checks.check(got[0] == 0, f"{label}: tessivo.exe draws", got[1] + got[2])
        return want, got

    for n, settings in enumerate(["ColorType=1", "ColorType=2", "ColorType=3", "ColorType=2\nCenterIconOnly=1"]):
        ini = os.path.join(work, f"settings-{n}.ini")
        with open(ini, "w") as f:
            f.write(f"[Settings]\n{settings}\nIconSizeMultiplier=100\n")
        label = settings.replace("\n", " ")
        host_png, wine_png = os.path.join(work, f"host-{n}.png"), os.path.join(work, f"wine-{n}.png")
        want, got = both(label, host_png, wine_png, "--settings", ini, "--station", "3")
        if want[0] == 0 and got[0] == 0:
            difference = largest_difference(host_png, wine_png)
            checks.check(difference == 0 or difference == 1, f"{label}: the still frame within 1 of the host's",
                         f"largest difference {difference}")

    # A background of the screen's size: read through the imaging component, laid under the strip.
    background = os.path.join(work, "background.png")
    badge_png(background, 1280, 720)
    host_png, wine_png = os.path.join(work, "host-background.png"), os.path.join(work, "wine-background.png")
    want, got = both("background", host_png, wine_png, "--background", background, "--station", "3")
    if want[0] == 0 and got[0] == 0:
        difference = largest_difference(host_png, wine_png)
        checks.check(difference in (0, 1), "background: within 1 of the host's", f"largest difference {difference}")

    # The change: the host's picture count, each picture 40 ms, looping; numbered pictures as the host's.
    want, got = both("change as GIF", os.path.join(work, "host.webp"), os.path.join(work, "wine.gif"),
                     "--change", "2:4")
    count = re.search(r"(\d+) pictures of", want[1])
    delays, loops = gif_delays(os.path.join(work, "wine.gif")) if got[0] == 0 else (None, False)
    checks.check(count is not None and re.search(rf"\b{count.group(1)} pictures of", got[1]) is not None,
                 "the change has the host's picture count", f"host: {want[1]} wine: {got[1]}")
    checks.check(delays is not None and count is not None and sum(delays) == 4 * int(count.group(1)) and loops,
                 "the GIF shows every picture 40 ms and loops", f"delays {delays}, loops {loops}")
    os.makedirs(os.path.join(work, "host-frames"))
    os.makedirs(os.path.join(work, "wine-frames"))
    want, got = both("change as numbered pictures", os.path.join(work, "host-frames", "change-%04d.png"),
                     os.path.join(work, "wine-frames", "change-%04d.png"), "--change", "2:4")
    host_frames = sorted(os.listdir(os.path.join(work, "host-frames")))
    wine_frames = sorted(os.listdir(os.path.join(work, "wine-frames")))
    checks.check(host_frames and host_frames == wine_frames, "numbered pictures: the host's names",
                 f"{len(host_frames)} and {len(wine_frames)} files")
    differences = [largest_difference(os.path.join(work, "host-frames", f), os.path.join(work, "wine-frames", f))
                   for f in host_frames if f in wine_frames]
    checks.check(differences and all(d in (0, 1) for d in differences),
                 "numbered pictures within 1 of the host's", str(sorted(set(map(str, differences)))))

    shutil.copy(wine_png, os.path.join(work, "still.png"))
    shutil.copy(ini, os.path.join(work, "tessivo.ini"))
    for arguments in tessivo_preview_test.error_cases(work):
        call = ["preview", "--game", "vc", "--icons", icons, "--out", os.path.join(work, "x.png")] + arguments
        code, out, err = wine.run(args.exe, *[win_path(a) if os.path.isabs(a) else a for a in call])
        checks.check(code == 1 and not out and one_line_error(err, "tessivo: preview:"),
                     f"{arguments}: status 1 and one line", f"{code} {out!r} {err!r}")
    return checks.finish()


def badge_png(path, width=40, height=40):
    """Colour and alpha ramps: the scaler, the alpha handling and the grey weights all show."""
    rows = b"".join(b"\0" + b"".join(bytes((x * 6 % 256, y * 6 % 256, (x * y) % 256, 40 + x * 5 % 216))
                                     for x in range(width)) for y in range(height))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def icon_suite(args, wine):
    checks = Checks("wine ombrix.exe icon")
    work = os.path.join(args.work, "icon")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    # A copy a side: a load with a size leaves a cache file beside its source, which would serve
    # the other side's load instead of its own drawing.
    badge, wine_badge = os.path.join(work, "host", "badge.png"), os.path.join(work, "wine", "badge.png")
    for path in (badge, wine_badge):
        os.makedirs(os.path.dirname(path))
        badge_png(path)
    dll = ["--dll", win_path(args.dlls[0])]
    # At the badge's own size the pixels compare; a size of its own goes through the platform's
    # scaler, which under Wine is nearest-neighbour, not Fant's area average: only the size compares.
    for label, extra in [("colour", []), ("grey", ["--grey"])]:
        for size in ([], ["--size", "24x20"]):
            host_out = os.path.join(work, f"host-{label}-{len(size)}.png")
            wine_out = os.path.join(work, f"wine-{label}-{len(size)}.png")
            want = host(args.host, "icon", badge, *size, *extra, "--out", host_out)
            got = wine.run(args.exe, "icon", win_path(wine_badge), *size, *extra, *dll, "--out", win_path(wine_out))
            if want[0] != 0 or got[0] != 0:
                checks.check(False, f"PNG badge, {label} {' '.join(size)}: both tools write it", got[1] + got[2])
            elif size:
                checks.check(read_rgba(wine_out)[:2] == (24, 20), f"PNG badge, {label} --size 24x20: 24x20")
            else:
                difference = largest_difference(host_out, wine_out)
                checks.check(difference in (0, 1), f"PNG badge, {label}: within 1 of the host's icon", str(difference))

    # load: the texture and its levels as the host's load reports them; level 0, at the badge's
    # own size, within 1 of the host's.
    facts = re.compile(r"^(texture|flags|filter|level \d+ \d+x\d+)")
    for side in ("host-levels", "wine-levels"):
        os.makedirs(os.path.join(work, side))
    want = host(args.host, "load", badge, "--mipmaps", "--out", os.path.join(work, "host-levels"))
    got = wine.run(args.exe, "load", win_path(wine_badge), "--mipmaps", *dll, "--out",
                   win_path(os.path.join(work, "wine-levels")))
    reported = [[facts.match(line).group(0) for line in out.splitlines() if facts.match(line)] for out in (want[1], got[1])]
    checks.check(want[0] == got[0] == 0 and reported[0] == reported[1] and len(reported[0]) > 3,
                 "load: the host's texture, flags, filter and levels", f"{reported}\n{got[1]}{got[2]}")
    level0 = [os.path.join(work, side, "level0.png") for side in ("host-levels", "wine-levels")]
    difference = largest_difference(*level0) if all(map(os.path.exists, level0)) else "not written"
    checks.check(difference in (0, 1), "load: level 0 within 1 of the host's", str(difference))

    svg_out = os.path.join(work, "wine-svg.png")
    code, out, err = wine.run(args.exe, "icon", win_path(args.svg), "--size", "64x64", *dll, "--out", win_path(svg_out))
    if code == 0:
        _, _, rows = read_rgba(svg_out)
        checks.check(any(pixel[3] for row in rows for pixel in row), "SVG badge drawn: not a blank icon")
    else:
        checks.check(code == 1 and one_line_error(err, "ombrix: ") and "Direct2D" in err and
                     not os.path.exists(svg_out),
                     "SVG badge where Direct2D has no SVG documents: status 1, one line, no file",
                     f"{code} {out!r} {err!r}")
        # On the tier's display the tool names the step this Wine's Direct2D really stops at.
        version = wine_version()
        major = int(re.match(r"wine-(\d+)", version).group(1)) if version.startswith("wine-") else 0
        stop = SVG_STOPS.get(min(major, 10))
        if tier_display(args.prefix) and stop:
            checks.check(stop in err, f"SVG badge under {version}: the stop named is {stop}", err.strip())
    return checks.finish()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("suite", choices=["check", "preview", "icon"])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--icons", help="check: the host build's icon set")
    parser.add_argument("--dlls", nargs="+", default=[])
    parser.add_argument("--table", help="preview: the game's station_icons.h")
    parser.add_argument("--svg", help="icon: an SVG badge")
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    for tool in (args.exe, args.host):
        if not os.path.isfile(tool):
            sys.exit(f"FAIL: {tool} is missing (the host tools come from the host preset's build)")
    os.makedirs(args.work, exist_ok=True)
    # ombrix.exe loads no radio plug-in, whose error box would wait on a display for a click.
    wine = Wine(args.prefix, tier_display(args.prefix) if args.suite == "icon" else None)
    return {"check": check_suite, "preview": preview_suite, "icon": icon_suite}[args.suite](args, wine)


if __name__ == "__main__":
    sys.exit(main())
