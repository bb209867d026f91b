#!/usr/bin/env python3
"""Runs profile_probe.exe under Wine: the profile cases of tests/platform/profile_cases.h
through Windows' own GetPrivateProfileIntA and WritePrivateProfileStringA, in one Wine run.
The host test platform_tests runs the same cases through the substitute.

    profile_probe.py --probe EXE --prefix DIR --work DIR

Uses the prefix the wine_prefix fixture made, and runs the program as wine_tier.py does
(output in files, WINEDEBUG=-all). Exit status 0 only when every case held.
"""
import argparse
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wine_tier  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    wine = wine_tier.require_wine()
    work = os.path.abspath(args.work)
    if os.path.exists(work):
        shutil.rmtree(work)
    os.makedirs(work)
    argv = [*wine, os.path.abspath(args.probe), wine_tier.win_path(work)]
    code, out, err, seconds = wine_tier.run_wine(argv, wine_tier.wine_env(args.prefix),
                                                 wine_tier.WINE_RUN_TIMEOUT)
    print(out.replace("\r\n", "\n"), end="")
    print(f"profile_probe: wine run {seconds:.1f} s, exit {code}")
    summary = re.search(r"^profile cases: (\d+) passed, (\d+) failed", out, re.M)
    if code != 0 or not summary or summary.group(2) != "0":
        for line in err.splitlines()[-20:]:
            print("    ! " + line)
        print("FAIL: " + ("no summary line" if not summary else
                          f"{summary.group(2)} cases differ from Wine" if summary.group(2) != "0"
                          else f"exit {code}"))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
