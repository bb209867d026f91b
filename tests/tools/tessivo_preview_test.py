#!/usr/bin/env python3
"""tessivo preview against what the plug-in drew: tessivo_preview_test.py TESSIVO STATION_ICONS_H.
Every icon is a flat opaque colour (red for colour icons, mid grey for grey ones), so each draw
the recorder lists must show in the picture as its rectangle, filled with the icon's colour
modulated by the draw's colour and blended over the background by its alpha."""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

from png_pixels import read_rgba

BACKGROUND = (0x1C, 0x22, 0x30)
COLOUR_ICON, GREY_ICON = (255, 0, 0), (128, 128, 128)


def write_png(path, rgb, size=16):
    row = b"\0" + bytes(rgb + (255,)) * size
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(row * size)) + chunk(b"IEND", b""))


def frame_draws(frames_file, frame):
    draws, current = [], None
    for line in open(frames_file):
        words = line.split()
        if words[0] == "frame":
            current = int(words[1])
        elif words[0] == "draw" and current == frame:
            draws.append((int(words[1]), *map(float, words[2:6]), *map(int, words[6:10])))
    return draws


def covers(draw, x, y):
    _, left, bottom, right, top = draw[:5]
    return left <= x + 0.5 < right and top <= y + 0.5 < bottom


def blended(draws, names, x, y):
    """The draws covering pixel (x, y) laid over the background in order, source-over."""
    pixel = BACKGROUND
    for draw in draws:
        if not covers(draw, x, y):
            continue
        texture, r, g, b, a = draw[0], *draw[5:]
        icon = GREY_ICON if names[texture - 1].endswith("_gray") else COLOUR_ICON
        pixel = tuple(p * (1 - a / 255) + ic * m / 255 * a / 255 for p, ic, m in zip(pixel, icon, (r, g, b)))
    return tuple(round(p) for p in pixel)


def check_picture(picture, draws, names):
    """Problems found, as text: each draw's corners, centre and the pixels just outside it."""
    width, height, rows = read_rgba(picture)
    problems = []
    for draw in draws:
        _, left, bottom, right, top = draw[:5]
        first_x, last_x = math.ceil(left - 0.5), math.ceil(right - 0.5) - 1
        first_y, last_y = max(0, math.ceil(top - 0.5)), math.ceil(bottom - 0.5) - 1
        middle_x, middle_y = (first_x + last_x) // 2, (first_y + last_y) // 2
        for x, y in [(middle_x, middle_y), (first_x, first_y), (last_x, last_y), (first_x - 1, middle_y),
                     (last_x + 1, middle_y), (middle_x, last_y + 1)]:
            if 0 <= x < width and 0 <= y < height:
                got, want = rows[y][x][:3], blended(draws, names, x, y)
                if any(abs(p - q) > 2 for p, q in zip(got, want)):
                    problems.append(f"texture {draw[0]} rect {left},{top}-{right},{bottom} pixel {x},{y}: "
                                    f"{got}, expected {want}")
    return problems


def error_cases(work):
    """Arguments each of which the tool refuses (status 1, one line), after "--icons ICONS --out
    x.png" and with work/still.png and work/tessivo.ini left by the drawing cases."""
    return [["--settings", os.path.join(work, "missing.ini")], ["--icons", os.path.join(work, "still.png")],
            ["--screen", "1280by720"], ["--screen", "0x720"], ["--station", "99"], ["--station", "two"],
            ["--change", "3"], ["--game", "gta4"], ["--background", os.path.join(work, "tessivo.ini")],
            ["--station", "810vcn"], ["--change", "flash:FLASH.png"]]


def main():
    tool, table = sys.argv[1], sys.argv[2]
    names = re.findall(r'"([a-z0-9_]+)"', open(table).read().split("{", 1)[1])
    passed = failed = 0
    with tempfile.TemporaryDirectory() as work:
        icons = os.path.join(work, "icons")
        os.mkdir(icons)
        for name in names:
            write_png(os.path.join(icons, name + ".png"), GREY_ICON if name.endswith("_gray") else COLOUR_ICON)
        for settings in ["ColorType=1", "ColorType=2", "ColorType=3", "ColorType=2\nCenterIconOnly=1"]:
            ini, out, frames = (os.path.join(work, n) for n in ("tessivo.ini", "still.png", "frames.txt"))
            with open(ini, "w") as f:
                f.write(f"[Settings]\n{settings}\nIconSizeMultiplier=100\n")
            run = subprocess.run([tool, "preview", "--game", "vc", "--settings", ini, "--icons", icons,
                                  "--screen", "1280x720", "--station", "3", "--frames", frames, "--out", out],
                                 capture_output=True, text=True, timeout=300)
            found = re.search(r"frame (\d+)", run.stdout)
            draws = frame_draws(frames, int(found.group(1))) if run.returncode == 0 and found else []
            problems = check_picture(out, draws, names) if draws else [f"no draws: {run.stdout}{run.stderr}"]
            places = len({d[1:5] for d in draws})
            if places != (1 if "CenterIconOnly=1" in settings else 5):
                problems.append(f"icons in {places} places")
            kinds = {names[d[0] - 1].endswith("_gray") for d in draws}
            if kinds != {"ColorType=1": {False}, "ColorType=3": {True}}.get(settings, {False, True}):
                problems.append(f"grey and colour icons drawn: {kinds}")
            ok = not problems
            passed, failed = passed + ok, failed + (not ok)
            if problems:
                print(f"FAIL {settings!r}:\n  " + "\n  ".join(problems[:8]))
        for arguments in error_cases(work):
            call = [tool, "preview", "--game", "vc", "--icons", icons, "--out", os.path.join(work, "x.png")]
            run = subprocess.run(call + arguments, capture_output=True, text=True, timeout=120)
            ok = run.returncode == 1 and run.stderr.startswith("tessivo: preview:") and not run.stdout
            passed, failed = passed + ok, failed + (not ok)
            if not ok:
                print(f"FAIL {arguments}: status {run.returncode}, stderr {run.stderr!r}")
        # A station by its icon's name, in any case, is the station of that number.
        pictures = []
        for station in ("3", "Fever.png"):
            out = os.path.join(work, f"by-{len(pictures)}.png")
            run = subprocess.run([tool, "preview", "--game", "vc", "--icons", icons, "--station", station, "--out", out],
                                 capture_output=True, text=True, timeout=300)
            pictures.append(open(out, "rb").read() if run.returncode == 0 and os.path.exists(out) else station)
        listing = subprocess.run([tool, "preview", "--game", "vc", "--list-stations"], capture_output=True, text=True)
        ok = pictures[0] == pictures[1] and re.search(r"^  3 +fever\.png +yes$", listing.stdout, re.M) and \
            re.search(r"^  - +810vcn\.png +never", listing.stdout, re.M)
        passed, failed = passed + bool(ok), failed + (not ok)
        if not ok:
            print(f"FAIL stations by name: same picture {pictures[0] == pictures[1]}\n{listing.stdout}")
        # The change as numbered pictures: one file a picture, from 0000 up; other names refused.
        frames = os.path.join(work, "frames")
        os.mkdir(frames)
        change = [tool, "preview", "--game", "vc", "--icons", icons, "--change", "2:4", "--out"]
        run = subprocess.run(change + [os.path.join(frames, "change-%04d.png")], capture_output=True, text=True,
                             timeout=300)
        count = re.search(r"(\d+) pictures of", run.stdout)
        written = sorted(os.listdir(frames))
        ok = run.returncode == 0 and count and written == [f"change-{i:04d}.png" for i in range(int(count.group(1)))]
        passed, failed = passed + bool(ok), failed + (not ok)
        if not ok:
            print(f"FAIL numbered pictures: status {run.returncode}, {len(written)} files\n{run.stdout}{run.stderr}")
        for name in ["change-%d.png", "change-%04d.gif", "change-%04d-%04d.png", "change.png"]:
            run = subprocess.run(change + [os.path.join(work, name)], capture_output=True, text=True, timeout=120)
            ok = run.returncode == 1 and run.stderr.startswith("tessivo: preview: --out") and not run.stdout
            passed, failed = passed + ok, failed + (not ok)
            if not ok:
                print(f"FAIL --out {name}: status {run.returncode}, stderr {run.stderr!r}")
    print(f"{passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
