#!/usr/bin/env python3
"""tessivo check on game folders laid out as players lay them out, one verdict each:
tessivo_check_test.py TESSIVO BUILT_ICONS."""
import os
import shutil
import subprocess
import sys
import tempfile

from pe_fixture import game_program, plugin_dll

III_100 = [(0x5C1E70, 0x53E58955)]  # the III 1.0 signature
VC_110 = [(0x667C40, 0x53E58955)]
UNKNOWN = [(0x5C1E70, 0x90909090)]


def lay_out(folder, icons, program="gta3.exe", probes=III_100, files=None, settings=None, with_icons=True,
            broken_icon=None):
    with open(os.path.join(folder, program), "wb") as f:
        f.write(game_program(probes))
    os.makedirs(os.path.join(folder, "scripts"))
    tessivo = os.path.join(folder, "halvenmoor_mods", "Tessivo")
    os.makedirs(tessivo)
    for name, product, build in files if files is not None else [
            ("scripts/Ombrix.III.asi", "Ombrix", "III"), ("scripts/Tessivo.III.asi", "Tessivo", "III")]:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(plugin_dll(product, build))
    if with_icons:
        shutil.copytree(os.path.join(icons, "iii"), os.path.join(tessivo, "icons"))
    if broken_icon:
        with open(os.path.join(tessivo, "icons", broken_icon), "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\nnot really")
    if settings is not None:
        with open(os.path.join(tessivo, "tessivo.ini"), "w") as f:
            f.write("[Settings]\n" + settings)


CASES = [
    # name, layout, extra arguments, status, text the report holds
    ("everything right", {"settings": "IconGap=3\n"}, [], 0, "The strip can work here."),
    ("no settings file yet", {}, [], 0, "the plug-in writes it with every default"),
    ("image library missing", {"files": [("scripts/Tessivo.III.asi", "Tessivo", "III")]}, [], 1,
     "no image library"),
    ("Vice City library beside the III plug-in",
     {"files": [("scripts/Ombrix.VC.asi", "Ombrix", "VC"), ("scripts/Tessivo.III.asi", "Tessivo", "III")]},
     [], 1, "the strip will use scripts/Ombrix.VC.asi (built for Vice City), not the III build"),
    ("library in the game folder", {"files": [("Ombrix.III.asi", "Ombrix", "III"),
                                              ("scripts/Tessivo.III.asi", "Tessivo", "III")]},
     [], 0, "image library the strip will use: Ombrix.III.asi (built for III)"),
    ("no strip plug-in", {"files": [("scripts/Ombrix.III.asi", "Ombrix", "III")]}, [], 1, "no Tessivo.III.asi"),
    ("no icons", {"with_icons": False}, [], 1, "no icons folder"),
    ("an icon that does not decode", {"broken_icon": "chatterbox.png"}, [], 1,
     "do not decode (shown as blank squares): chatterbox.png"),
    ("unknown release", {"probes": UNKNOWN}, [], 1, "gta3.exe: III, but its code matches no release"),
    ("IconGap=0", {"settings": "IconGap=0\n"}, [], 0, "IconGap=0 is outside its advised range"),
    ("program named on the command line", {"program": "game.exe", "probes": VC_110,
                                           "files": [("scripts/Ombrix.VC.asi", "Ombrix", "VC"),
                                                     ("scripts/Tessivo.VC.asi", "Tessivo", "VC")],
                                           "with_icons": False},
     ["--exe", "GAME.EXE"], 1, "game.exe: Vice City, release code 110, which the plug-in hooks"),
    ("no game program", {"program": "other.exe"}, [], 1, "no game program here"),
]


def main():
    tool, icons = sys.argv[1], sys.argv[2]
    passed = failed = 0
    for name, layout, extra, status, text in CASES:
        with tempfile.TemporaryDirectory() as folder:
            lay_out(folder, icons, **layout)
            run = subprocess.run([tool, "check", folder] + extra, capture_output=True, text=True, timeout=120)
        if run.returncode == status and text in run.stdout:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {name}: status {run.returncode} (expected {status}), expected text {text!r}\n"
                  f"{run.stdout}{run.stderr}")
    for arguments, status in [(["check"], 1), (["check", "/nonexistent-folder"], 1), (["check", "--help"], 0),
                              (["--help"], 0), (["frobnicate"], 1)]:
        run = subprocess.run([tool] + arguments, capture_output=True, text=True, timeout=60)
        ok = run.returncode == status and (status == 0 or run.stderr.startswith("tessivo"))
        passed, failed = passed + ok, failed + (not ok)
        if not ok:
            print(f"FAIL tessivo {' '.join(arguments)}: status {run.returncode}, stderr {run.stderr!r}")
    print(f"{passed} passed, {failed} failed")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
