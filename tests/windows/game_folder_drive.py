#!/usr/bin/env python3
"""The scripted drive played by the real DLLs in a game folder laid out as a player installs
them, for the main job: the folder is kept, with the settings file the plug-in wrote on its
first start and the cache files, for the checks of what a drive leaves behind.

    game_folder_drive.py --game GAME --release CODE --standin EXE --ombrix DLL --tessivo DLL
                         --icons DIR --prefix DIR --folder DIR --frames FILE
    game_folder_drive.py --game GAME --release CODE --standin EXE --bundle ZIP
                         --prefix DIR --folder DIR --frames FILE

The folder: game.exe (the stand-in), scripts/Ombrix.<G>.asi, scripts/Tessivo.<G>.asi and
halvenmoor_mods/Tessivo/icons/ with every PNG of --icons; or with --bundle, game.exe and the
release bundle installed as its guide says. Prints what it did; exit status 0 only when the
drive ran and wrote its frames and the settings file.
"""
import argparse
import os
import shutil
import sys

from bundle_lifecycle import install
from wine_tier import RW_TABLES, Result, require_wine, run_wine, win_path, wine_env, \
    WINE_RUN_TIMEOUT


def fail(message, result=None):
    if result:
        result.show()
    print(f"FAIL {message}")
    return 1


def lay_out(folder, standin, dlls, icons, bundle=None):
    if os.path.exists(folder):
        shutil.rmtree(folder)
    if bundle:
        os.makedirs(folder)
        shutil.copy(standin, os.path.join(folder, "game.exe"))
        install(bundle, folder)
        icon_dir = os.path.join(folder, "halvenmoor_mods", "Tessivo", "icons")
        return os.path.join(folder, "game.exe"), len([n for n in os.listdir(icon_dir) if n.endswith(".png")])
    scripts = os.path.join(folder, "scripts")
    icon_dir = os.path.join(folder, "halvenmoor_mods", "Tessivo", "icons")
    os.makedirs(scripts)
    os.makedirs(icon_dir)
    exe = os.path.join(folder, "game.exe")
    shutil.copy(standin, exe)
    for dll in dlls:
        shutil.copy(dll, scripts)
    pngs = sorted(n for n in os.listdir(icons) if n.endswith(".png"))
    for name in pngs:
        shutil.copy(os.path.join(icons, name), icon_dir)
    return exe, len(pngs)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, choices=sorted(RW_TABLES))
    parser.add_argument("--release", required=True, type=int)
    for option in ("--standin", "--prefix", "--folder", "--frames"):
        parser.add_argument(option, required=True)
    for option in ("--ombrix", "--tessivo", "--icons", "--bundle"):
        parser.add_argument(option)
    args = parser.parse_args()
    wanted = (args.standin, args.bundle) if args.bundle else (args.standin, args.ombrix, args.tessivo)
    for path in wanted:
        if not path or not os.path.isfile(path):
            return fail(f"{path or 'a plug-in'} is missing: build the windows preset first")
    if not args.bundle and not (args.icons and os.path.isdir(args.icons)):
        return fail(f"the icon folder {args.icons} is missing")

    wine = require_wine()
    folder = os.path.abspath(args.folder)
    exe, count = lay_out(folder, args.standin, (args.ombrix, args.tessivo), args.icons, args.bundle)
    if count == 0:
        return fail(f"no PNG icons in {args.icons or args.bundle}")
    what = (f"{os.path.basename(args.bundle)} installed" if args.bundle else
            f"scripts/{os.path.basename(args.ombrix)}, scripts/{os.path.basename(args.tessivo)}")
    print(f"[{args.game}] game folder {folder}: game.exe, {what}, {count} icons")

    frames = os.path.abspath(args.frames)
    if os.path.exists(frames):
        os.remove(frames)
    argv = [*wine, exe, args.game, "radio", str(args.release), "--drive", win_path(frames)]
    code, out, err, seconds = run_wine(argv, wine_env(args.prefix), WINE_RUN_TIMEOUT)
    result = Result(argv[2:], code, out, err, seconds)
    print(f"[{args.game}] wine drive: {seconds:.1f} s, exit {code}")
    drive = result.fact("drive") or ""
    if code != 0 or not drive.endswith(" written") or not os.path.isfile(frames):
        return fail(f"the drive under Wine wrote no frames (exit {code}, drive: {drive or 'none'})",
                    result)
    ini = os.path.join(folder, "halvenmoor_mods", "Tessivo", "tessivo.ini")
    if not os.path.isfile(ini):
        return fail(f"the plug-in did not write its settings file {ini} on its first start", result)
    print(f"[{args.game}] frames {frames}; settings file {ini}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
