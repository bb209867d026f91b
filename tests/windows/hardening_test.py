#!/usr/bin/env python3
"""The real DLLs under Wine where only a real 32-bit process shows what they do.

    hardening_test.py ansi-folder --game GAME --release CODE --standin EXE --ombrix DLL
                                  --tessivo DLL --prefix DIR --work DIR --source DIR
        the stand-in game in a folder named "caf\u00e9": the game hands the plug-ins its folder as
        the ANSI code page spells it (byte 0xE9), which is not UTF-8; every icon must load
    hardening_test.py unmapped-probe --probe EXE --tessivo DLL --prefix DIR --work DIR
        the III radio plug-in attached in a small program instead of the game, so that its
        version probes lie where nothing is committed: it must load, with no hook and no crash

Uses the prefix the wine_prefix fixture made. Exit status 0 only when every check held.
"""
import argparse
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wine_tier  # noqa: E402

# The III build's version probes (game addresses, executable at 0x400000) and the routine it
# jumps over whatever the release.
III_PROBES = ("0x5C1E70", "0x5C2130", "0x5C6FD0")
III_REPLACED_ROUTINE = "0x57E6D0"


def env_with_ansi_page(prefix):
    # Wine's ANSI page follows the locale: en-US's 1252, where 0xE9 is the letter e acute.
    env = wine_tier.wine_env(prefix)
    env["LANG"] = env["LC_ALL"] = "C.UTF-8"
    return env


def ansi_folder(args):
    checks = wine_tier.Checks(f"wine ANSI game folder {args.game}")
    wine = wine_tier.require_wine()
    icons = wine_tier.station_icon_names(args.source, args.game)
    folder = os.path.join(os.path.abspath(args.work), "caf\u00e9")
    exe, icon_dir = wine_tier.make_game_folder(folder, args.standin, args.ombrix, args.tessivo,
                                               icons)
    argv = [*wine, exe, args.game, "radio", str(args.release), "--frames", "1"]
    code, out, err, seconds = wine_tier.run_wine(argv, env_with_ansi_page(args.prefix),
                                                 wine_tier.WINE_RUN_TIMEOUT)
    print(f"[{args.game}] game folder {folder}: wine run {seconds:.1f} s, exit {code}")
    r = wine_tier.Result(argv[2:], code, out, err, seconds)
    checks.check(code == 0, "exit 0", f"exit {code}")
    checks.check(f"startup done, textures live {len(icons)}" in r.lines,
                 f"all {len(icons)} icons loaded from a folder whose ANSI name is not UTF-8",
                 str([l for l in r.lines if l.startswith("startup done")]))
    caches = os.path.join(icon_dir, ".mipcache")
    cached = os.listdir(caches) if os.path.isdir(caches) else []
    checks.check(len(cached) == len(icons),
                 "the cache beside them, reached through the ANSI file functions",
                 f"{len(cached)} cache files")
    if checks.failures:
        r.show()
    return checks.finish()


def unmapped_probe(args):
    checks = wine_tier.Checks("wine unmapped version probe")
    wine = wine_tier.require_wine()
    work = os.path.abspath(args.work)
    if os.path.exists(work):
        shutil.rmtree(work)
    os.makedirs(work)
    probe = os.path.join(work, "probe.exe")
    shutil.copy(args.probe, probe)
    shutil.copy(args.tessivo, work)
    # Named bare, the DLL is found in the program's own folder.
    argv = [*wine, probe, os.path.basename(args.tessivo), *III_PROBES, III_REPLACED_ROUTINE]
    env = wine_tier.wine_env(args.prefix)
    code, out, err, seconds = wine_tier.run_wine(argv, env, wine_tier.WINE_RUN_TIMEOUT)
    print(f"unmapped probe: wine run {seconds:.1f} s, exit {code}")
    r = wine_tier.Result(argv[2:], code, out, err, seconds)
    # Free or only reserved: either way no page is committed there, and a read would fault.
    for address in (*III_PROBES, III_REPLACED_ROUTINE):
        checks.check(f"probe {address} free" in r.lines or f"probe {address} reserved" in r.lines,
                     f"{address} lies where nothing is committed in this process",
                     str([l for l in r.lines if l.startswith(f"probe {address}")]))
    checks.check("load ok" in r.lines and code == 0,
                 "the plug-in attaches: no probe read, no jump written, no crash",
                 f"exit {code}, {[l for l in r.lines if l.startswith('load')]}")
    if checks.failures:
        r.show()
    return checks.finish()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    ansi = commands.add_parser("ansi-folder")
    ansi.add_argument("--game", required=True, choices=sorted(wine_tier.RW_TABLES))
    ansi.add_argument("--release", required=True, type=int)
    for option in ("--standin", "--ombrix", "--tessivo", "--prefix", "--work", "--source"):
        ansi.add_argument(option, required=True)
    unmapped = commands.add_parser("unmapped-probe")
    for option in ("--probe", "--tessivo", "--prefix", "--work"):
        unmapped.add_argument(option, required=True)
    args = parser.parse_args()
    return ansi_folder(args) if args.command == "ansi-folder" else unmapped_probe(args)


if __name__ == "__main__":
    sys.exit(main())
