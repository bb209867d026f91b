#!/usr/bin/env python3
"""tessivo check on game folders laid out as players lay them out, one verdict each:
tessivo_check_test.py TESSIVO BUILT_ICONS."""
import os
import shutil
import subprocess
import sys
import tempfile

from pe_fixture import game_program, pe_image, plugin_dll

III_100 = [(0x5C1E70, 0x53E58955)]  # the III 1.0 signature
VC_110 = [(0x667C40, 0x53E58955)]
UNKNOWN = [(0x5C1E70, 0x90909090)]

# Every release's signature as the games' executables hold it, with the words check must find.
RELEASES = [
    # program, game build, probe address, value, what check must say
    ("gta3.exe", "III", 0x5C1E70, 0x53E58955, "III 1.0 (release code 100), which the plug-in hooks"),
    ("gta3.exe", "III", 0x5C2130, 0x53E58955, "III 1.1 (release code 110), which the plug-in hooks"),
    ("gta3.exe", "III", 0x5C6FD0, 0x53E58955, "III Steam (release code 120), which the plug-in hooks"),
    ("gta-vc.exe", "VC", 0x667BF0, 0x53E58955, "Vice City 1.0 (release code 100), which the plug-in hooks"),
    ("gta-vc.exe", "VC", 0x667C40, 0x53E58955, "Vice City 1.1 (release code 110), which the plug-in hooks"),
    ("gta-vc.exe", "VC", 0x666BA0, 0x53E58955, "Vice City Steam (release code 120), which the plug-in hooks"),
    ("gta_sa.exe", "SA", 0x401000, 0x53EC8B55, "San Andreas release code 1001, which the plug-in hooks"),
    ("gta_sa.exe", "SA", 0x401000, 0x16197BE9, "San Andreas release code 1002, which the plug-in hooks"),
    ("gta_sa.exe", "SA", 0x8245BC, 0x000094BF, "San Andreas release code 1011, which the plug-in does not hook"),
    ("gta_sa.exe", "SA", 0x8252FC, 0x000094BF, "San Andreas release code 1101, which the plug-in does not hook"),
    ("gta_sa.exe", "SA", 0x82533C, 0x000094BF, "San Andreas release code 1111, which the plug-in does not hook"),
    ("gta_sa.exe", "SA", 0x858D51, 0x3539F633, "San Andreas release code 3200, which the plug-in does not hook"),
    ("gta_sa.exe", "SA", 0x858C61, 0x3539F633, "San Andreas release code 3210, which the plug-in does not hook"),
]
UNHOOKED_ADVICE = "the strip works only with San Andreas release code 1001 or release code 1002"

# A loader names the files it starts; the game's own DLL of the same name does not.
LOADER = pe_image([(0x1000, b"scripts\\*.asi\0")], dll=True)
NOT_A_LOADER = pe_image([(0x1000, b"ov_open_callbacks\0")], dll=True)


def lay_out(folder, icons, program="gta3.exe", probes=III_100, files=None, settings=None, with_icons=True,
            broken_icon=None, loader=("dinput8.dll", LOADER), game="iii", missing_icons=(), icon_set=False):
    with open(os.path.join(folder, program), "wb") as f:
        f.write(game_program(probes))
    if loader:
        with open(os.path.join(folder, loader[0]), "wb") as f:
            f.write(loader[1])
    os.makedirs(os.path.join(folder, "scripts"))
    tessivo = os.path.join(folder, "halvenmoor_mods", "Tessivo")
    os.makedirs(tessivo)
    for name, product, build in files if files is not None else [
            ("scripts/Ombrix.III.asi", "Ombrix", "III"), ("scripts/Tessivo.III.asi", "Tessivo", "III")]:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(plugin_dll(product, build))
    if with_icons:
        shutil.copytree(os.path.join(icons, game), os.path.join(tessivo, "icons"))
        for name in missing_icons:
            os.remove(os.path.join(tessivo, "icons", name))
    if icon_set:
        shutil.copytree(os.path.join(icons, game), os.path.join(tessivo, "icon-set"))
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
    ("no icons, the bundle's icon-set there", {"with_icons": False, "icon_set": True}, [], 1,
     "icon-set has our icons: copy them into halvenmoor_mods\\Tessivo\\icons"),
    ("an icon that does not decode", {"broken_icon": "chatterbox.png"}, [], 1,
     "do not decode (shown as flat squares): chatterbox.png"),
    ("a shown icon missing", {"missing_icons": ["rise_gray.png"]}, [], 1,
     "icons missing (shown as flat squares): rise_gray.png"),
    ("an icon the game never shows missing",
     {"program": "gta-vc.exe", "probes": VC_110, "game": "vc", "missing_icons": ["810vcn.png"],
      "files": [("scripts/Ombrix.VC.asi", "Ombrix", "VC"), ("scripts/Tessivo.VC.asi", "Tessivo", "VC")]},
     [], 0, "note     icons missing that the game never shows (no harm): 810vcn.png"),
    ("no plug-in loader", {"loader": None}, [], 1, "PROBLEM  no plug-in loader"),
    ("the game's own vorbisFile.dll is no loader", {"loader": ("vorbisFile.dll", NOT_A_LOADER)}, [], 1,
     "(vorbisFile.dll: the game's own, it starts no .asi files)"),
    ("a loader under another name, any case", {"loader": ("WINMM.DLL", LOADER)}, [], 0,
     "ok       plug-in loader: WINMM.DLL"),
    ("unknown release", {"probes": UNKNOWN}, [], 1, "gta3.exe: III, but its code matches no release"),
    ("IconGap=0", {"settings": "IconGap=0\n"}, [], 0, "IconGap=0 is outside its advised range"),
    ("a changed setting that hides the strip while getting in",
     {"settings": "DisableIconDisplayWhileEntering=1\nIconGap=3\n"}, [], 0,
     "settings that differ from the defaults (default in brackets): DisableIconDisplayWhileEntering=1 (0)"),
    ("program named on the command line", {"program": "game.exe", "probes": VC_110,
                                           "files": [("scripts/Ombrix.VC.asi", "Ombrix", "VC"),
                                                     ("scripts/Tessivo.VC.asi", "Tessivo", "VC")],
                                           "with_icons": False},
     ["--exe", "GAME.EXE"], 1, "game.exe: Vice City 1.1 (release code 110), which the plug-in hooks"),
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
    for program, build, address, value, text in RELEASES:
        with tempfile.TemporaryDirectory() as folder:
            lay_out(folder, icons, program=program, probes=[(address, value)], game=build.lower(),
                    files=[(f"scripts/Ombrix.{build}.asi", "Ombrix", build),
                           (f"scripts/Tessivo.{build}.asi", "Tessivo", build)])
            run = subprocess.run([tool, "check", folder], capture_output=True, text=True, timeout=120)
        hooked = "does not hook" not in text
        ok = (text in run.stdout and run.returncode == (0 if hooked else 1) and
              (hooked or UNHOOKED_ADVICE in run.stdout))
        passed, failed = passed + ok, failed + (not ok)
        if not ok:
            print(f"FAIL release {build} 0x{address:x}: status {run.returncode}, expected {text!r}\n{run.stdout}")
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
