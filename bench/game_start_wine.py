#!/usr/bin/env python3
"""The San Andreas game's start under Wine with the real DLLs: the stand-in game loads its
26 station icons of 128x128 through FindPNGinFolderPath, cold (no cache folder) and warm
(every icon cached by the run before). Prints each start's time and, at the end,

    ratio game_start_cold_vs_warm VALUE

(the fastest cold start over the fastest warm one, so other work on the machine does not
decide it; the times are the stand-in's own clock around the start-up call, so Wine's
process start is not in them).

    game_start_wine.py --standin EXE --ombrix DLL --tessivo DLL --prefix DIR --work DIR
                       [--runs N]
"""
import argparse
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "windows"))
from game_folder_drive import lay_out  # noqa: E402
from wine_tier import png_bytes, require_wine, run_wine, test_image_rgba, wine_env, \
    WINE_RUN_TIMEOUT  # noqa: E402

ICON_SIDE = 128


def icon_names():
    table = os.path.join(HERE, "..", "games", "sa", "station_icons.h")
    with open(table) as f:
        return re.findall(r'"([^"]+)"', f.read())


def write_icons(folder):
    """One 128x128 picture under every name of the game's icon table."""
    os.makedirs(folder, exist_ok=True)
    picture = png_bytes(ICON_SIDE, ICON_SIDE, test_image_rgba(ICON_SIDE, ICON_SIDE))
    for name in icon_names():
        with open(os.path.join(folder, name + ".png"), "wb") as f:
            f.write(picture)
    return folder


def start_once(wine, exe, env):
    code, out, err, _ = run_wine([*wine, exe, "sa", "radio", "1001", "--frames", "0"], env,
                                 WINE_RUN_TIMEOUT)
    found = re.search(r"^startup time ([0-9.]+) ms", out, re.MULTILINE)
    live = re.search(r"^startup done, textures live (\d+)", out, re.MULTILINE)
    if code != 0 or not found or not live:
        sys.exit(f"FAIL: the stand-in's start gave no time (exit {code}):\n{out}\n{err}")
    return float(found.group(1)), int(live.group(1))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    for option in ("--standin", "--ombrix", "--tessivo", "--prefix", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    for path in (args.standin, args.ombrix, args.tessivo):
        if not os.path.isfile(path):
            sys.exit(f"FAIL: {path} is missing: build the windows preset first")
    wine = require_wine()
    env = wine_env(args.prefix)
    work = os.path.abspath(args.work)
    folder = os.path.join(work, "game")
    exe, count = lay_out(folder, args.standin, (args.ombrix, args.tessivo),
                         write_icons(os.path.join(work, "icons")))
    cache = os.path.join(folder, "halvenmoor_mods", "Tessivo", "icons", ".mipcache")
    start_once(wine, exe, env)  # the prefix's first run is slow for reasons of its own

    cold, warm = [], []
    for _ in range(args.runs):
        shutil.rmtree(cache, ignore_errors=True)
        ms, live = start_once(wine, exe, env)
        cold.append(ms)
        ms, live_warm = start_once(wine, exe, env)
        warm.append(ms)
        if live != count or live_warm != count:
            sys.exit(f"FAIL: {live} and {live_warm} textures live after the starts, not {count}")
    print(f"game start cold (ms): {' '.join(f'{t:.1f}' for t in cold)}")
    print(f"game start warm (ms): {' '.join(f'{t:.1f}' for t in warm)}")
    print(f"ratio game_start_cold_vs_warm {min(cold) / min(warm):.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
