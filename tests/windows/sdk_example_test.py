#!/usr/bin/env python3
"""The SDK's example plug-in, built from sdk/ombrix.h alone, loading a texture through a game's
real Ombrix DLL under Wine, as another mod would:

    sdk_example_test.py --game III|VC|SA --standin EXE --example DLL --ombrix DLL --source DIR
                        --prefix DIR --work DIR

The work folder is laid out as a game folder: game.exe (the stand-in, which starts the engine),
scripts/Ombrix.<G>.asi, the example and a picture. The stand-in calls the example's export
ExampleLoadTexture, which finds Ombrix the way ombrix.h's OmbrixFindModule does and calls its
LoadPNGToRwTexture. Without the Ombrix DLL the example answers null and the game goes on."""
import argparse
import os
import shutil
import subprocess
import sys

from wine_tier import Checks, Result, require_wine, run_wine, win_path, wine_env, WINE_RUN_TIMEOUT

WIDTH, HEIGHT = 16, 8
LEVELS = 5  # floor(log2(16)) + 1


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("--game", "--standin", "--example", "--ombrix", "--source", "--prefix", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    wine = require_wine()
    game = args.game.lower()
    checks = Checks(f"sdk example {args.game}")
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(work, "scripts"))
    shutil.copy(args.standin, os.path.join(work, "game.exe"))
    shutil.copy(args.example, work)
    picture = os.path.join(work, "badge.png")
    subprocess.run([sys.executable, os.path.join(args.source, "tests", "tools", "make_png.py"), picture,
                    str(WIDTH), str(HEIGHT)], check=True)
    example = win_path(os.path.join(work, os.path.basename(args.example)))
    argv = [*wine, os.path.join(work, "game.exe"), game, "load", example, win_path(picture),
            "--export", "ExampleLoadTexture", "--mipmaps"]
    # Relative names such as scripts\Ombrix.VC.asi resolve from the game's folder.
    os.chdir(work)

    for present in (True, False):
        ombrix = os.path.join(work, "scripts", os.path.basename(args.ombrix))
        if present:
            shutil.copy(args.ombrix, ombrix)
        elif os.path.exists(ombrix):
            os.remove(ombrix)
        code, out, err, seconds = run_wine(argv, wine_env(args.prefix), WINE_RUN_TIMEOUT)
        result = Result(argv[2:], code, out, err, seconds)
        texture = result.fact("texture") or ""
        if present:
            raster = result.fact("raster") or ""
            checks.check(code == 0 and texture not in ("", "null"),
                         f"ExampleLoadTexture answers a texture through {os.path.basename(args.ombrix)}",
                         f"exit {code}, texture {texture or 'none'}\n{out}{err}")
            checks.check(raster.startswith(f"{WIDTH}x{HEIGHT} ") and f" levels {LEVELS} " in raster + " ",
                         f"at the picture's size with its full chain of {LEVELS} levels", raster)
            checks.check(result.fact("filter") == "6", "filtered between its mip levels (6), as ombrix.h says",
                         result.fact("filter") or "none")
        else:
            checks.check(code == 1 and texture == "null",
                         "without the Ombrix DLL it answers null and the game goes on",
                         f"exit {code}, texture {texture or 'none'}\n{out}{err}")
    return checks.finish()


if __name__ == "__main__":
    sys.exit(main())
