#!/usr/bin/env python3
"""Each game's bundle carries the Windows tools where no plug-in loader looks, the SDK header,
and its guide where no other mod's collides, and nothing a player changes:

    bundle_tools_test.py --source REPOSITORY --tools WINDOWS_TOOLS --dlls DLL... --guides DIR --work DIR

Runs tools/bundle/make_bundle.py for each game (DIR: the host build's guide folder) and reads
the zip it made."""
import argparse
import os
import shutil
import subprocess
import sys
import zipfile

from wine_tier import Checks

GAMES = {"iii": "III", "vc": "VC", "sa": "SA"}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--tools", required=True)
    parser.add_argument("--dlls", nargs="+", required=True)
    parser.add_argument("--guides", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    version = open(os.path.join(args.source, "VERSION")).readline().strip()
    status = 0
    for game, code in GAMES.items():
        checks = Checks(f"bundle tools {game}")
        icons, dist = os.path.join(args.work, game, "icons"), os.path.join(args.work, game, "dist")
        os.makedirs(icons)
        subprocess.run([sys.executable, os.path.join(args.source, "tests", "tools", "make_png.py"),
                        os.path.join(icons, "flash.png"), "8", "8"], check=True)
        dll = {os.path.basename(d): d for d in args.dlls}
        made = subprocess.run([sys.executable, os.path.join(args.source, "tools", "bundle", "make_bundle.py"),
                               "--game", game, "--ombrix", dll[f"Ombrix.{code}.asi"],
                               "--tessivo", dll[f"Tessivo.{code}.asi"], "--icons", icons, "--tools", args.tools,
                               "--guide", os.path.join(args.guides, game, "README.txt"), "--dist", dist,
                               "--source", args.source], capture_output=True, text=True)
        checks.check(made.returncode == 0, "make_bundle.py makes the bundle", made.stdout + made.stderr)
        name = f"tessivo-{game}-{version}.zip"
        left = sorted(os.listdir(dist)) if os.path.isdir(dist) else []
        checks.check(left == [name], f"the bundle is written once, as its archive {name}", ", ".join(left))
        archive = os.path.join(dist, name)
        listed = zipfile.ZipFile(archive).namelist() if os.path.exists(archive) else []
        tools = [f"halvenmoor_mods/Tessivo/tools/{p}" for p in ("tessivo.exe", "ombrix.exe",
                                                                 f"tessivo_preview_{game}.exe")]
        for path in tools + ["halvenmoor_mods/Ombrix/sdk/ombrix.h", "halvenmoor_mods/Tessivo/icon-set/flash.png",
                             "halvenmoor_mods/Tessivo/LICENSE.txt"]:
            checks.check(path in listed, f"the zip lists {path}", "\n".join(listed))
        stray = [p for p in listed if p.endswith(".exe") and p not in tools]
        checks.check(not stray, "no program anywhere else (the loader starts the game and scripts folders)",
                     ", ".join(stray))
        players = [p for p in listed if p.endswith("tessivo.ini") or "/icons/" in p or "/" not in p]
        checks.check(not players, "nothing in the zip lands on the player's settings, icons or the game folder",
                     ", ".join(players))
        guide_path = "halvenmoor_mods/Tessivo/README.txt"
        guide = zipfile.ZipFile(archive).read(guide_path).decode("ascii") if guide_path in listed else ""
        checks.check(guide.startswith(f"Tessivo {version} for "), "the guide's first line names the version",
                     guide[:80])
        checks.check("tessivo.exe check" in guide and f"tessivo.exe preview --game {game}" in guide and
                     "ombrix.exe icon" in guide, "the guide tells how to check, preview and make icons")
        status |= checks.finish()
    return status


if __name__ == "__main__":
    sys.exit(main())
