#!/usr/bin/env python3
"""The San Andreas game's start under Wine with the real DLLs: the stand-in game loads its
26 station icons of 128x128 through FindPNGinFolderPath, cold (no cache folder) and warm
(every icon cached by the run before). Prints each start's time and, at the end,

    ratio game_start_cold_vs_warm VALUE
    ratio game_start_warm_vs_required_calls VALUE

(the fastest cold start over the fastest warm one, so other work on the machine does not
decide it; the times are the stand-in's own clock around the start-up call, so Wine's
process start is not in them). Each start is also shown in its parts (settings file, library
binding, icon loads), and the second ratio sets the fastest warm start against the calls any
warm start must make, timed in the same stand-in process right after it: the thirteen profile
reads, and for every icon its opening through the imaging component for its size and the read
of its cache file.

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


def start_once(wine, exe, env, required_calls=False):
    """One start's facts: its time, its parts and (warm) the required calls' time, in ms."""
    argv = [*wine, exe, "sa", "radio", "1001", "--frames", "0"]
    code, out, err, _ = run_wine(argv + (["--required-calls"] if required_calls else []), env,
                                 WINE_RUN_TIMEOUT)
    found = re.search(r"^startup time ([0-9.]+) ms", out, re.MULTILINE)
    live = re.search(r"^startup done, textures live (\d+)", out, re.MULTILINE)
    required = re.search(r"^required calls time ([0-9.]+) ms", out, re.MULTILINE)
    if code != 0 or not found or not live or (required_calls and not required):
        sys.exit(f"FAIL: the stand-in's start gave no time (exit {code}):\n{out}\n{err}")
    parts = {name: float(ms) for name, ms in
             re.findall(r"^startup part (\w+) ([0-9.]+) ms", out, re.MULTILINE)}
    return {"ms": float(found.group(1)), "live": int(live.group(1)), "parts": parts,
            "required": float(required.group(1)) if required else None}


def show(label, starts):
    """The starts' times, and each part at the fastest start, so the parts add up."""
    fastest = min(starts, key=lambda s: s["ms"])
    parts = ", ".join(f"{name} {ms:.1f}" for name, ms in fastest["parts"].items())
    times = " ".join(f"{s['ms']:.1f}" for s in starts)
    print(f"game start {label} (ms): {times}")
    print(f"game start {label} fastest, in parts (ms): {parts or 'not measured'}")
    return fastest["ms"]


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
        cold.append(start_once(wine, exe, env))
        warm.append(start_once(wine, exe, env, required_calls=True))
        if cold[-1]["live"] != count or warm[-1]["live"] != count:
            sys.exit(f"FAIL: {cold[-1]['live']} and {warm[-1]['live']} textures live after the "
                     f"starts, not {count}")
    fastest_cold, fastest_warm = show("cold", cold), show("warm", warm)
    required = min(s["required"] for s in warm)
    times = " ".join(f"{s['required']:.1f}" for s in warm)
    print(f"required calls of a warm start (ms): {times}")
    print(f"ratio game_start_cold_vs_warm {fastest_cold / fastest_warm:.2f}")
    print(f"ratio game_start_warm_vs_required_calls {fastest_warm / required:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
