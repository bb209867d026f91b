#!/usr/bin/env python3
"""Each game's bundle carries the Windows tools where no plug-in loader looks, and its guide
tells how to use them:

    bundle_tools_test.py --source REPOSITORY --tools WINDOWS_TOOLS --dlls DLL... --work DIR

Lays out the game folder a drive leaves (the game's two DLLs, an icon, the settings file the
plug-in writes), runs tools/bundle/make_bundle.py and reads the zip it made."""
import argparse
import os
import shutil
import subprocess
import sys
import zipfile

from wine_tier import Checks

GAMES = {"iii": "III", "vc": "VC", "sa": "SA"}


def lay_out_game_folder(folder, code, dlls, source):
    os.makedirs(os.path.join(folder, "scripts"))
    icons = os.path.join(folder, "halvenmoor_mods", "Tessivo", "icons")
    os.makedirs(icons)
    for product in ("Ombrix", "Tessivo"):
        name = f"{product}.{code}.asi"
        shutil.copy(next(d for d in dlls if os.path.basename(d) == name), os.path.join(folder, "scripts", name))
    subprocess.run([sys.executable, os.path.join(source, "tests", "tools", "make_png.py"),
                    os.path.join(icons, "flash.png"), "8", "8"], check=True)
    shutil.copy(os.path.join(source, "tests", "radio", "default_tessivo.ini"),
                os.path.join(folder, "halvenmoor_mods", "Tessivo", "tessivo.ini"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--tools", required=True)
    parser.add_argument("--dlls", nargs="+", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    status = 0
    for game, code in GAMES.items():
        checks = Checks(f"bundle tools {game}")
        folder, dist = os.path.join(args.work, game, "folder"), os.path.join(args.work, game, "dist")
        lay_out_game_folder(folder, code, args.dlls, args.source)
        made = subprocess.run([sys.executable, os.path.join(args.source, "tools", "bundle", "make_bundle.py"),
                               "--game", game, "--folder", folder, "--tools", args.tools, "--dist", dist,
                               "--source", args.source], capture_output=True, text=True)
        checks.check(made.returncode == 0, "make_bundle.py makes the bundle", made.stdout + made.stderr)
        archive = os.path.join(dist, f"{game}.zip")
        left = sorted(os.listdir(dist)) if os.path.isdir(dist) else []
        checks.check(left == [f"{game}.zip"], "the bundle is written once, as its archive",
                     ", ".join(left))
        listed = zipfile.ZipFile(archive).namelist() if os.path.exists(archive) else []
        tools = [f"halvenmoor_mods/Tessivo/tools/{p}" for p in ("tessivo.exe", "ombrix.exe",
                                                                 f"tessivo_preview_{game}.exe")]
        for path in tools:
            checks.check(path in listed, f"the zip lists {path}", "\n".join(listed))
        stray = [p for p in listed if p.endswith(".exe") and p not in tools]
        checks.check(not stray, "no program anywhere else (the loader starts the game and scripts folders)",
                     ", ".join(stray))
        guide = zipfile.ZipFile(archive).read("README.txt").decode("ascii") if "README.txt" in listed else ""
        checks.check("tessivo.exe check" in guide and f"tessivo.exe preview --game {game}" in guide and
                     "ombrix.exe icon" in guide, "the guide tells how to check, preview and make icons")
        status |= checks.finish()
    return status


if __name__ == "__main__":
    sys.exit(main())
