#!/usr/bin/env python3
"""Makes a game's release bundle from the game folder the main job ran the drive in:

    make_bundle.py --game GAME --folder GAME_FOLDER --tools WINDOWS_TOOLS --dist DIR --source REPOSITORY
                   [--keep-folder]

DIR/<game>.zip, made from a folder DIR/<game>/ with scripts/Ombrix.<G>.asi,
scripts/Tessivo.<G>.asi, the icons, the settings file the plug-in wrote on its first start
(copied byte for byte), the Windows tools (tessivo.exe, ombrix.exe and the game's
tessivo_preview_<game>.exe from the windows build's tools folder) in
halvenmoor_mods/Tessivo/tools, where no plug-in loader looks, and the player's guide README.txt
(tools/bundle/README.txt.in with the game filled in, CR LF line ends). The archive's file list is
checked against the folder, and the folder is then removed unless --keep-folder is given: the
archive is what players get, and the tools in it would otherwise be written twice. Prints every
check and file; exit status 0 only when all held.
"""
import argparse
import os
import shutil
import sys
import zipfile

GAMES = {"iii": ("III", "III"), "vc": ("VC", "Vice City"), "sa": ("SA", "San Andreas")}
MOD_DIR = os.path.join("halvenmoor_mods", "Tessivo")
TOOLS_DIR = os.path.join(MOD_DIR, "tools")


def tool_programs(game):
    """The Windows tools a game's bundle carries: preview's drawing half is built per game."""
    return ["tessivo.exe", "ombrix.exe", f"tessivo_preview_{game}.exe"]


def fail(message):
    print(f"FAIL {message}")
    return 1


def guide_text(template, code, name):
    text = open(template, encoding="utf-8").read()
    text = text.replace("@GAME_CODE@", code).replace("@GAME_NAME@", name)
    text = text.replace("@GAME_LOWER@", code.lower())
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")


def files_under(root):
    found = []
    for here, _, names in os.walk(root):
        for name in names:
            found.append(os.path.relpath(os.path.join(here, name), root).replace(os.sep, "/"))
    return sorted(found)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True, choices=sorted(GAMES))
    parser.add_argument("--folder", required=True, help="the game folder of the Wine run")
    parser.add_argument("--tools", required=True, help="the windows build's tools folder")
    parser.add_argument("--dist", required=True)
    parser.add_argument("--source", required=True, help="the repository")
    parser.add_argument("--keep-folder", action="store_true",
                        help="keep DIR/GAME/, the folder the archive was made from")
    args = parser.parse_args()
    code, name = GAMES[args.game]
    folder, dist = os.path.abspath(args.folder), os.path.abspath(args.dist)
    bundle = os.path.join(dist, args.game)
    if os.path.exists(bundle):
        shutil.rmtree(bundle)
    os.makedirs(os.path.join(bundle, "scripts"))
    os.makedirs(os.path.join(bundle, MOD_DIR, "icons"))
    os.makedirs(os.path.join(bundle, TOOLS_DIR))

    for dll in (f"Ombrix.{code}.asi", f"Tessivo.{code}.asi"):
        path = os.path.join(folder, "scripts", dll)
        if not os.path.isfile(path):
            return fail(f"{path} is missing from the game folder")
        shutil.copy(path, os.path.join(bundle, "scripts", dll))
    for program in tool_programs(args.game):
        path = os.path.join(args.tools, program)
        if not os.path.isfile(path):
            return fail(f"{path} is missing: build the windows preset")
        with open(path, "rb") as exe:
            if exe.read(2) != b"MZ":
                return fail(f"{path} is not a Windows program")
        shutil.copy(path, os.path.join(bundle, TOOLS_DIR, program))
    icons = os.path.join(folder, MOD_DIR, "icons")
    pngs = sorted(n for n in os.listdir(icons) if n.endswith(".png")) if os.path.isdir(icons) else []
    if not pngs:
        return fail(f"no icons in {icons}")
    for png in pngs:
        shutil.copy(os.path.join(icons, png), os.path.join(bundle, MOD_DIR, "icons", png))

    ini = os.path.join(folder, MOD_DIR, "tessivo.ini")
    if not os.path.isfile(ini):
        return fail(f"{ini} is missing: the plug-in writes it on its first start")
    written = open(ini, "rb").read()
    default = open(os.path.join(args.source, "tests", "radio", "default_tessivo.ini"), "rb").read()
    if written != default:
        return fail(f"{ini} differs from tests/radio/default_tessivo.ini "
                    f"({len(written)} and {len(default)} bytes)")
    print(f"check ok   tessivo.ini from the game's first start equals tests/radio/default_tessivo.ini"
          f" ({len(written)} bytes)")
    shutil.copyfile(ini, os.path.join(bundle, MOD_DIR, "tessivo.ini"))

    guide = guide_text(os.path.join(args.source, "tools", "bundle", "README.txt.in"), code, name)
    with open(os.path.join(bundle, "README.txt"), "wb") as out:
        out.write(guide)
    lone_lf = guide.count(b"\n") - guide.count(b"\r\n")
    if lone_lf or b"@" in guide:
        return fail(f"README.txt: {lone_lf} lines without CR LF, placeholders left: {b'@' in guide}")
    lines = guide.count(b"\r\n")
    print(f"check ok   README.txt for {name}: {lines} lines, all CR LF")

    archive = os.path.join(dist, f"{args.game}.zip")
    contents = files_under(bundle)
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for path in contents:
            out.write(os.path.join(bundle, path), path)
    with zipfile.ZipFile(archive) as back:
        listed = back.namelist()
        damaged = back.testzip()
    if sorted(listed) != contents or damaged:
        return fail(f"{archive} does not hold the bundle: missing "
                    f"{sorted(set(contents) - set(listed))}, extra {sorted(set(listed) - set(contents))}"
                    f", damaged {damaged}")
    print(f"check ok   {os.path.basename(archive)} holds exactly the {len(contents)} files of "
          f"the bundle, none damaged:")
    for path in listed:
        print(f"    {path}")
    if not args.keep_folder:
        shutil.rmtree(bundle)
    return 0


if __name__ == "__main__":
    sys.exit(main())
