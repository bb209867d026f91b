#!/usr/bin/env python3
"""Makes a game's release bundle, the archive players unpack into their game folder:

    make_bundle.py --game GAME --ombrix DLL --tessivo DLL --icons DIR --tools WINDOWS_TOOLS
                   --guide README.txt --dist DIR --source REPOSITORY [--keep-folder]

DIR/tessivo-<game>-<version>.zip (the version from the repository's VERSION file), made from a
folder DIR/tessivo-<game>-<version>/ holding:

    scripts/Ombrix.<G>.asi, scripts/Tessivo.<G>.asi
    halvenmoor_mods/Tessivo/README.txt        the player's guide (player_guide's, CR LF)
    halvenmoor_mods/Tessivo/LICENSE.txt, CHANGELOG.txt
    halvenmoor_mods/Tessivo/icon-set/         every PNG of --icons
    halvenmoor_mods/Tessivo/tools/            tessivo.exe, ombrix.exe, tessivo_preview_<game>.exe
    halvenmoor_mods/Ombrix/sdk/               ombrix.h and example_plugin.cpp

Nothing a player changes is in it, so unpacking an update over an installed copy with "replace
all" keeps their files: the settings file is the plug-in's to write on its first start, and the
plug-in reads its icons from icons/, which the player makes once from icon-set/. The archive's
file list is checked against the folder, and the folder is then removed unless --keep-folder is
given. Prints every check and file; exit status 0 only when all held.
"""
import argparse
import os
import shutil
import sys
import zipfile

GAMES = {"iii": ("III", "III"), "vc": ("VC", "Vice City"), "sa": ("SA", "San Andreas")}
MOD_DIR = "halvenmoor_mods/Tessivo"
ICON_SET = f"{MOD_DIR}/icon-set"
TOOLS_DIR = f"{MOD_DIR}/tools"
SDK_DIR = "halvenmoor_mods/Ombrix/sdk"
# What the plug-in and the player write: never in a bundle.
PLAYERS_OWN = (f"{MOD_DIR}/tessivo.ini", f"{MOD_DIR}/icons/")


def tool_programs(game):
    """The Windows tools a game's bundle carries: preview's drawing half is built per game."""
    return ["tessivo.exe", "ombrix.exe", f"tessivo_preview_{game}.exe"]


def version_of(source):
    with open(os.path.join(source, "VERSION"), encoding="ascii") as f:
        return f.readline().strip()


def bundle_name(game, version):
    return f"tessivo-{game}-{version}"


def fail(message):
    print(f"FAIL {message}")
    return 1


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


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
    for option in ("--ombrix", "--tessivo", "--icons", "--guide", "--dist"):
        parser.add_argument(option, required=True)
    parser.add_argument("--tools", required=True, help="the windows build's tools folder")
    parser.add_argument("--source", required=True, help="the repository")
    parser.add_argument("--keep-folder", action="store_true",
                        help="keep the folder the archive was made from")
    args = parser.parse_args()
    code, name = GAMES[args.game]
    version = version_of(args.source)
    dist = os.path.abspath(args.dist)
    bundle = os.path.join(dist, bundle_name(args.game, version))
    if os.path.exists(bundle):
        shutil.rmtree(bundle)
    for folder in ("scripts", ICON_SET, TOOLS_DIR, SDK_DIR):
        os.makedirs(os.path.join(bundle, folder))

    def put(source_file, target, text=False):
        data = open(source_file, "rb").read()
        with open(os.path.join(bundle, target), "wb") as out:
            out.write(crlf(data) if text else data)
        return data

    for dll, product in ((args.ombrix, "Ombrix"), (args.tessivo, "Tessivo")):
        if os.path.basename(dll) != f"{product}.{code}.asi" or not os.path.isfile(dll):
            return fail(f"{dll} is not {product}.{code}.asi: build the windows preset")
        put(dll, f"scripts/{product}.{code}.asi")
    for program in tool_programs(args.game):
        path = os.path.join(args.tools, program)
        if not os.path.isfile(path):
            return fail(f"{path} is missing: build the windows preset")
        if put(path, f"{TOOLS_DIR}/{program}")[:2] != b"MZ":
            return fail(f"{path} is not a Windows program")
    pngs = sorted(n for n in os.listdir(args.icons) if n.endswith(".png")) if os.path.isdir(args.icons) else []
    if not pngs:
        return fail(f"no icons in {args.icons}")
    for png in pngs:
        put(os.path.join(args.icons, png), f"{ICON_SET}/{png}")

    guide = put(args.guide, f"{MOD_DIR}/README.txt", text=True)
    first = guide.split(b"\n", 1)[0].decode("ascii", "replace").strip()
    if f"Tessivo {version} for {name}" not in first or b"@" in guide:
        return fail(f"{args.guide} is not the {name} guide of {version}: its first line is {first!r}"
                    f"{', and it holds a mark left unfilled' if b'@' in guide else ''}")
    print(f"check ok   README.txt for {name}, first line {first!r}")
    put(os.path.join(args.source, "LICENSE"), f"{MOD_DIR}/LICENSE.txt", text=True)
    put(os.path.join(args.source, "CHANGELOG.md"), f"{MOD_DIR}/CHANGELOG.txt", text=True)
    for header in ("ombrix.h", "example_plugin.cpp"):
        put(os.path.join(args.source, "sdk", header), f"{SDK_DIR}/{header}", text=True)

    archive = bundle + ".zip"
    contents = files_under(bundle)
    owned = [p for p in contents if p.startswith(PLAYERS_OWN)]
    if owned:
        return fail(f"the bundle would overwrite what players change: {owned}")
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
          f"the bundle, none damaged, none of the player's own:")
    for path in listed:
        print(f"    {path}")
    if not args.keep_folder:
        shutil.rmtree(bundle)
    return 0


if __name__ == "__main__":
    sys.exit(main())
