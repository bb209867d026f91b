#!/usr/bin/env python3
"""The San Andreas game's start under Wine with the real DLLs: the stand-in game loads its
26 station icons of 128x128 through FindPNGinFolderPath, cold (no cache folder) and warm
(every icon cached by the run before). Prints each start's time and, at the end,

    ratio game_start_cold_vs_warm VALUE
    ratio game_start_warm_vs_required_calls VALUE

(the fastest cold start over the fastest warm one, so other work on the machine does not
decide it; the times are the stand-in's own clock around the start-up call, so Wine's
process start is not in them). Each start is also shown in its parts (settings file, library
binding, the first icon, the other icons), and the second ratio sets the fastest warm start
against the calls any warm start must make: the thirteen profile reads, the imaging
component's creation, and for every icon its opening through that component for its size and
the read of its cache file. Those are timed by the same stand-in in a process of their own, with
the plug-ins loaded but not started: a process that has started them already holds the
imaging component and the decoder's code, which the first icon of every start has to load.

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
    """One run's facts in ms: the start's time and parts, or (`required_calls`) the time and
    parts of the calls a warm start must make."""
    argv = [*wine, exe, "sa", "radio", "1001", "--frames", "0"]
    code, out, err, _ = run_wine(argv + (["--required-calls"] if required_calls else []), env,
                                 WINE_RUN_TIMEOUT)
    kind = "required" if required_calls else "startup"
    found = re.search(r"^(?:required calls|startup) time ([0-9.]+) ms", out, re.MULTILINE)
    live = re.search(r"^startup done, textures live (\d+)", out, re.MULTILINE)
    if code != 0 or not found or (not required_calls and not live):
        sys.exit(f"FAIL: the stand-in's {kind} run gave no time (exit {code}):\n{out}\n{err}")
    parts = {name: float(ms) for name, ms in
             re.findall(rf"^{kind} part (\w+) ([0-9.]+) ms", out, re.MULTILINE)}
    return {"ms": float(found.group(1)), "live": int(live.group(1)) if live else None,
            "parts": parts}


def show(label, starts):
    """The starts' times, and each part at the fastest start, so the parts add up."""
    fastest = min(starts, key=lambda s: s["ms"])
    parts = ", ".join(f"{name} {ms:.1f}" for name, ms in fastest["parts"].items())
    times = " ".join(f"{s['ms']:.1f}" for s in starts)
    print(f"{label} (ms): {times}")
    print(f"{label} fastest, in parts (ms): {parts or 'not measured'}")
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

    cold, warm, required = [], [], []
    for _ in range(args.runs):
        shutil.rmtree(cache, ignore_errors=True)
        cold.append(start_once(wine, exe, env))
        warm.append(start_once(wine, exe, env))
        required.append(start_once(wine, exe, env, required_calls=True))
        if cold[-1]["live"] != count or warm[-1]["live"] != count:
            sys.exit(f"FAIL: {cold[-1]['live']} and {warm[-1]['live']} textures live after the "
                     f"starts, not {count}")
    fastest_cold, fastest_warm = show("game start cold", cold), show("game start warm", warm)
    fastest_required = show("required calls of a warm start", required)
    print(f"ratio game_start_cold_vs_warm {fastest_cold / fastest_warm:.2f}")
    print(f"ratio game_start_warm_vs_required_calls {fastest_warm / fastest_required:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
