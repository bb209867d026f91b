#!/usr/bin/env python3
"""The player guide as player_guide makes it, against files from outside its code:

    player_guide_test.py PLAYER_GUIDE TEMPLATE SETTINGS_FILE README

SETTINGS_FILE is tests/radio/default_tessivo.ini, the file the plug-in writes on its first
start: each key the guide lists stands there with the same default and the same comment above
it, and every key of the file is in the guide. Each game's guide names its version on its
first line, and its release rows are the rows README's release table gives that game."""
import os
import re
import subprocess
import sys
import tempfile

GAMES = {"iii": "III", "vc": "Vice City", "sa": "San Andreas"}


def main():
    tool, template, settings, readme = sys.argv[1:5]
    page = open(readme, encoding="utf-8").read()
    table = page[page.index("### Which releases work"):]
    table = table[:table.index("\n\n", table.index("| game |"))]
    page_rows = {}
    for line in table.splitlines():
        cells = [c.strip() for c in line.strip("|").split("|")]
        if len(cells) == 4 and cells[1].isdigit():
            page_rows.setdefault(cells[0], set()).add((cells[1], cells[2], cells[3].split(":")[0]))
    pinned = open(settings, encoding="ascii").read().splitlines()
    pinned_keys = {line.split("=")[0]: (line, pinned[i - 1]) for i, line in enumerate(pinned) if "=" in line and not line.startswith(";")}
    failures = []
    with tempfile.TemporaryDirectory() as work:
        for game, title in GAMES.items():
            out = os.path.join(work, f"{game}.txt")
            run = subprocess.run([tool, "--game", game, "--template", template, "--version", "9.8.7",
                                  "--out", out], capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"{game}: player_guide failed: {run.stderr}")
                continue
            guide = open(out, encoding="ascii").read()
            lines = guide.splitlines()
            if lines[0] != f"Tessivo 9.8.7 for {title} - radio station icons":
                failures.append(f"{game}: first line {lines[0]!r}")
            guide_rows = set()
            for line in lines:
                m = re.match(r"^  (\d+) +(\S+) +(everything|nothing)", line)
                if m:
                    guide_rows.add(m.groups())
            if guide_rows != page_rows.get(title, set()):
                failures.append(f"{game}: the guide's releases {sorted(guide_rows)}, README's "
                                f"{sorted(page_rows.get(title, set()))}")
            listed = {}
            for i, line in enumerate(lines):
                m = re.match(r"^([A-Za-z0-9]+)=(-?\d+)", line)
                if m and i + 1 < len(lines) and lines[i + 1].startswith("    ; "):
                    listed[m.group(1)] = (f"{m.group(1)}={m.group(2)}", lines[i + 1].strip())
            if set(listed) != set(pinned_keys):
                failures.append(f"{game}: guide lists {sorted(listed)}, the file holds {sorted(pinned_keys)}")
            for key, (line, comment) in listed.items():
                if key in pinned_keys and pinned_keys[key] != (line, comment):
                    failures.append(f"{game}: guide says {line!r} / {comment!r}, the file "
                                    f"{pinned_keys[key][0]!r} / {pinned_keys[key][1]!r}")
    for failure in failures:
        print(f"FAIL {failure}")
    print(f"{len(GAMES) - len({f.split(':')[0] for f in failures})} of {len(GAMES)} guides agree with the settings file and the README")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
