#!/usr/bin/env python3
"""The generated station icons: icon_set_test.py BUILT_ICONS GAMES_DIR BADGES_DIR.

Every name of every game's table is there at 64x64; each grey twin is grey and covers exactly
what its colour icon covers; the badge folder holds no cache the build left behind."""
import os
import re
import sys

from png_pixels import read_rgba

GAMES = ("iii", "vc", "sa")
SIZE = 64


def table_names(games_dir, game):
    with open(os.path.join(games_dir, game, "station_icons.h")) as f:
        body = re.search(r"kStationIconTable = \{([^}]*)\}", f.read()).group(1)
    return re.findall(r'"([^"]+)"', body)


def check_game(built, games_dir, game):
    problems, folder = [], os.path.join(built, game)
    names = table_names(games_dir, game)
    pixels = {}
    for name in names:
        path = os.path.join(folder, name + ".png")
        if not os.path.isfile(path):
            problems.append(f"{game}: {name}.png missing")
            continue
        width, height, rows = read_rgba(path)
        if (width, height) != (SIZE, SIZE):
            problems.append(f"{game}: {name}.png is {width}x{height}")
        pixels[name] = rows
    for name in names:
        grey = name + "_gray"
        if name.endswith("_gray") or name not in pixels or grey not in pixels:
            continue
        colour_rows, grey_rows = pixels[name], pixels[grey]
        flat = [p for row in grey_rows for p in row]
        if any(not (p[0] == p[1] == p[2]) for p in flat):
            problems.append(f"{game}: {grey}.png has pixels that are not grey")
        if [p[3] for row in colour_rows for p in row] != [p[3] for p in flat]:
            problems.append(f"{game}: {grey}.png alpha differs from {name}.png")
        if all(p[0] == p[1] == p[2] for row in colour_rows for p in row):
            problems.append(f"{game}: {name}.png has no colour")
    return names, problems


def main():
    built, games_dir, badges = sys.argv[1:4]
    problems, total = [], 0
    for game in GAMES:
        names, found = check_game(built, games_dir, game)
        total += len(names)
        problems += found
    if os.path.exists(os.path.join(badges, ".mipcache")):
        problems.append("the build wrote a .mipcache into the badge sources")
    for problem in problems:
        print("FAIL:", problem)
    if not problems:
        print(f"icon set: {total} icons for {len(GAMES)} games, all present and consistent")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
