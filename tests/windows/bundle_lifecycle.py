#!/usr/bin/env python3
"""A player's life with a release bundle: install it as its guide says, play, update over it,
remove it as its guide says. Nothing of the player's may be lost on the way, and nothing of
ours may be left behind.

    bundle_lifecycle.py install --bundle ZIP --folder DIR
        unpacks the bundle into the game folder DIR and makes icons/ from icon-set/ (the
        guide's first-install step)
    bundle_lifecycle.py after-drive --bundle ZIP --folder DIR --source REPOSITORY
        on a game folder the game has run in (its program is game.exe): the settings file the
        plug-in wrote equals tests/radio/default_tessivo.ini; every file and folder the bundle
        and the plug-ins left is named by the guide's remove section, and each entry there is
        in the folder; a player's edited settings file and icon survive the bundle unpacked
        over them with "replace all" while our own files are replaced; following the remove
        section leaves the game's own files alone (on a copy of the folder)
    bundle_lifecycle.py run --game GAME --release CODE --standin EXE --ombrix DLL --tessivo DLL
                        --icons DIR --tools DIR --guide FILE --source REPOSITORY
                        --prefix DIR --work DIR
        the whole of it: makes the bundle, installs it beside the stand-in game, plays the
        scripted drive under Wine, then after-drive

Prints every check; exit status 0 only when all held.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

MOD = "halvenmoor_mods/Tessivo"
GAME_FILES = {"game.exe"}
HERE = os.path.dirname(os.path.abspath(__file__))


class Checks:
    def __init__(self, name):
        self.name, self.failed = name, 0

    def check(self, ok, what, detail=""):
        print(f"{'ok  ' if ok else 'FAIL'} {self.name}: {what}" + (f"\n     {detail}" if detail and not ok else ""))
        self.failed += not ok
        return ok


def install(archive, folder):
    with zipfile.ZipFile(archive) as bundle:
        bundle.extractall(folder)
    icons, icon_set = os.path.join(folder, MOD, "icons"), os.path.join(folder, MOD, "icon-set")
    if not os.path.isdir(icons):
        shutil.copytree(icon_set, icons)


def remove_entries(guide):
    """The paths the guide's remove section names, "/"-separated; a folder ends with "/"."""
    lines = guide.replace("\r\n", "\n").split("\n")
    start = lines.index("Removing")
    entries = []
    for line in lines[start + 2:]:
        if line and not line.startswith(" "):
            if entries:
                break
            continue
        if line.startswith("  ") and not line.startswith("   "):
            entries.append(line.strip().replace("\\", "/"))
    return entries


def everything_in(folder):
    found = []
    for here, dirs, files in os.walk(folder):
        for name in dirs:
            found.append(os.path.relpath(os.path.join(here, name), folder).replace(os.sep, "/") + "/")
        for name in files:
            found.append(os.path.relpath(os.path.join(here, name), folder).replace(os.sep, "/"))
    return sorted(found)


def covered(path, entries):
    return any(path == e or (e.endswith("/") and path.startswith(e)) or e.startswith(path) for e in entries)


def after_drive(archive, folder, source, checks):
    guide = zipfile.ZipFile(archive).read(f"{MOD}/README.txt").decode("ascii")
    ini = os.path.join(folder, MOD, "tessivo.ini")
    written = open(ini, "rb").read() if os.path.isfile(ini) else b""
    pinned = open(os.path.join(source, "tests", "radio", "default_tessivo.ini"), "rb").read()
    checks.check(written == pinned, "the settings file the plug-in wrote on its first start is "
                 "tests/radio/default_tessivo.ini byte for byte", f"{len(written)} and {len(pinned)} bytes")
    cache = [p for p in everything_in(folder) if "/.mipcache/" in p and p.endswith(".mipmap")]
    checks.check(bool(cache), f"the drive left cache files ({len(cache)}) for the remove section to name")

    entries = remove_entries(guide)
    left = [p for p in everything_in(folder) if p not in GAME_FILES and p != "scripts/"]
    stray = [p for p in left if not covered(p, entries)]
    checks.check(entries and not stray, f"the remove section ({', '.join(entries)}) names everything "
                 f"the bundle and the drive left ({len(left)} files and folders)", f"not named: {stray}")
    absent = [e for e in entries if not os.path.exists(os.path.join(folder, e))]
    checks.check(not absent, "each entry of the remove section is in the game folder", f"absent: {absent}")

    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "game")
        shutil.copytree(folder, copy)
        icon = sorted(n for n in os.listdir(os.path.join(copy, MOD, "icons")) if n.endswith(".png"))[0]
        edited_ini = written.replace(b"IconGap=3", b"IconGap=7")
        edited_icon = b"\x89PNG\r\n\x1a\n the player's own picture"
        ours = f"{MOD}/README.txt"
        with open(os.path.join(copy, MOD, "tessivo.ini"), "wb") as f:
            f.write(edited_ini)
        with open(os.path.join(copy, MOD, "icons", icon), "wb") as f:
            f.write(edited_icon)
        with open(os.path.join(copy, ours), "wb") as f:
            f.write(b"an old guide")
        with zipfile.ZipFile(archive) as bundle:  # "replace all": every member over what is there
            bundle.extractall(copy)
        checks.check(open(os.path.join(copy, MOD, "tessivo.ini"), "rb").read() == edited_ini,
                     "an update unpacked with replace all keeps the player's edited settings file")
        checks.check(open(os.path.join(copy, MOD, "icons", icon), "rb").read() == edited_icon,
                     f"and the player's own icons/{icon}")
        checks.check(open(os.path.join(copy, ours), "rb").read() != b"an old guide",
                     "while our own files are replaced")

        for entry in entries:
            target = os.path.join(copy, entry)
            shutil.rmtree(target) if entry.endswith("/") else os.remove(target)
        for empty in ("halvenmoor_mods", "scripts"):
            path = os.path.join(copy, empty)
            if os.path.isdir(path) and not os.listdir(path):
                os.rmdir(path)
        rest = everything_in(copy)
        checks.check(set(rest) <= GAME_FILES, "following the remove section leaves only the game's own files",
                     f"left: {sorted(set(rest) - GAME_FILES)}")


def run(args, checks):
    shutil.rmtree(args.work, ignore_errors=True)
    dist = os.path.join(args.work, "dist")
    made = subprocess.run([sys.executable, os.path.join(args.source, "tools", "bundle", "make_bundle.py"),
                           "--game", args.game, "--ombrix", args.ombrix, "--tessivo", args.tessivo,
                           "--icons", args.icons, "--tools", args.tools, "--guide", args.guide,
                           "--dist", dist, "--source", args.source], capture_output=True, text=True)
    if not checks.check(made.returncode == 0, "make_bundle.py makes the bundle", made.stdout + made.stderr):
        return
    archive = os.path.join(dist, next(n for n in os.listdir(dist) if n.endswith(".zip")))
    folder = os.path.join(args.work, "game")
    drive = subprocess.run([sys.executable, os.path.join(HERE, "game_folder_drive.py"), "--game", args.game,
                            "--release", args.release, "--standin", args.standin, "--bundle", archive,
                            "--prefix", args.prefix, "--folder", folder,
                            "--frames", os.path.join(args.work, "frames.txt")], capture_output=True, text=True)
    if not checks.check(drive.returncode == 0, "the scripted drive runs in the installed bundle under Wine",
                        drive.stdout + drive.stderr):
        return
    after_drive(archive, folder, args.source, checks)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=["install", "after-drive", "run"])
    for option in ("--bundle", "--folder", "--source", "--game", "--release", "--standin", "--ombrix",
                   "--tessivo", "--icons", "--tools", "--guide", "--prefix", "--work"):
        parser.add_argument(option)
    args = parser.parse_args()
    checks = Checks(f"bundle {args.game or os.path.basename(args.bundle or '')}")
    if args.mode == "install":
        install(args.bundle, args.folder)
        return 0
    if args.mode == "after-drive":
        after_drive(args.bundle, args.folder, args.source, checks)
    else:
        run(args, checks)
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
