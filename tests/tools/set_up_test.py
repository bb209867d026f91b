#!/usr/bin/env python3
"""Set-up when the package archive fails: set_up_test.py REPOSITORY.

tools/install-deps and tools/test-all run from a copy of the repository's scripts with fake
apt-get, dpkg, dpkg-query, sudo, mmdebstrap, wine, cmake and ctest first on the PATH, so nothing
is installed and nothing is built. The fake apt-get fails every update of the host's own indexes
as a mirror in mid-sync does, and that of a security suite's i386 index checked alone, and
refuses the packages a case names; the fake mmdebstrap makes a root with nothing in it but a
`wine`, or fails when the case says so."""
import os
import shutil
import subprocess
import sys
import tempfile

MIRROR_ERROR = ("E: Failed to fetch http://archive.invalid/debian-security/dists/"
                "bookworm-security/main/binary-i386/Packages.xz  File has unexpected size "
                "(374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]\n"
                "E: Some index files failed to download. They have been ignored, "
                "or old ones used instead.\n")
HELD = (" %s : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed\n"
        "E: Unable to correct problems, you have held broken packages.\n")

FAKES = {
    "apt-get": f"""echo "apt-get $*" >> "$FAKE_LOG"
case " $* " in
  *" -o Dir::Etc::SourceList="*" update "*)
    list=$(printf '%s\\n' "$@" | sed -n 's/^Dir::Etc::SourceList=//p')
    if grep -q -- -security "$list"; then printf '%s' '{MIRROR_ERROR}'; exit 100; fi
    exit 0 ;;
  *" update "*) printf '%s' '{MIRROR_ERROR}'; exit 100 ;;
esac
for broken in $FAKE_BROKEN; do
  case " $* " in *" $broken "*)
    echo 'The following packages have unmet dependencies:'
    printf '{HELD}' "$broken"; exit 100 ;; esac
done""",
    "dpkg-query": """for p in $FAKE_MISSING; do [ "$p" = "$3" ] && exit 1; done
echo "install ok installed\"""",
    "dpkg": 'echo "dpkg $*" >> "$FAKE_LOG"; [ "$1" = --print-foreign-architectures ] && echo i386',
    "sudo": 'exec "$@"',
    "wine": 'echo "wine-8.0"',
    "mmdebstrap": """echo "mmdebstrap $*" >> "$FAKE_LOG"
[ -n "$FAKE_ROOT_FAILS" ] && { echo "E: $FAKE_ROOT_FAILS"; exit 1; }
for target; do case "$target" in *.building) break ;; esac; done
mkdir -p "$target/usr/bin" "$target/var/lib/dpkg"
printf '#!/bin/sh\\n' > "$target/usr/bin/wine"; chmod +x "$target/usr/bin/wine"
printf 'Package: wine\\nVersion: 8.0~repack-4\\n' > "$target/var/lib/dpkg/status\"""",
    "cmake": 'echo "cmake $*" >> "$FAKE_LOG"',
    "ctest": 'echo "ctest $*" >> "$FAKE_LOG"; echo "100% tests passed, 0 tests failed out of 4"',
}


def make_world(repo, root):
    """A repository copy holding only the set-up scripts, with a fuzz run and an i386 check
    that pass, and the fake tools."""
    for script in ("tools/install-deps", "tools/test-all", "tools/wine-run", "tools/wine-root"):
        os.makedirs(os.path.join(root, os.path.dirname(script)), exist_ok=True)
        shutil.copy2(os.path.join(repo, script), os.path.join(root, script))
    stubs = {"fuzz/run": "exit 0", "tests/windows/i386-emulation": "exit 0"}
    stubs.update({"bin/" + name: body for name, body in FAKES.items()})
    for path, body in stubs.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write("#!/bin/sh\n" + body + "\n")
        os.chmod(full, 0o755)


def run(root, script, missing, broken, overrides, *args):
    log = os.path.join(root, "calls.log")
    open(log, "w").close()
    env = dict(os.environ, PATH=os.path.join(root, "bin") + ":" + os.environ["PATH"],
               FAKE_LOG=log, FAKE_MISSING=missing, FAKE_BROKEN=broken, FAKE_ROOT_FAILS="",
               INSTALL_DEPS_RETRY_PAUSE="0", WINE_ROOT_CACHE=os.path.join(root, "cache"),
               WINE_FROM_ROOT="")
    env.update(overrides)
    done = subprocess.run([os.path.join(root, script), *args], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, timeout=60)
    with open(log) as f:
        return done.returncode, done.stdout, f.read()


ROOT_FAILS = {"FAKE_ROOT_FAILS": "debootstrap of the essential set failed"}
ROOT_BUILT = "mmdebstrap --mode=root --architectures=i386"
# The Wine 10 root, which every case but the one of this key finds built already.
NO_WINE10_ROOT = {"FAKE_NO_WINE10_ROOT": "1"}
WINE10_ROOT_BUILT = "wine root: building"

# script, runs, packages missing, packages apt refuses, environment, exit status, lines wanted
# in the output, calls wanted in the log, words in neither (both of the last run).
CASES = [
    ("tools/install-deps", 1, "", "", {}, 0,
     [], [], ["mmdebstrap", "wine root", "apt-get"]),
    ("tools/install-deps", 1, "wine32:i386", "wine32:i386", {}, 0,
     ["cannot install wine32:i386: wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it "
      "is not going to be installed (apt-get update had failed: Failed to fetch",
      "made in", "Wine 8.0~repack-4"],
     ["apt-get update -qq\n" * 3, ROOT_BUILT], ["-security main"]),
    ("tools/install-deps", 1, "", "", NO_WINE10_ROOT, 0,
     [WINE10_ROOT_BUILT, "wine-root-trixie made in"], [ROOT_BUILT + " " + "--variant=essential"],
     ["install -y", "Wine 10 checks will fail"]),
    ("tools/install-deps", 1, "", "", dict(NO_WINE10_ROOT, **ROOT_FAILS), 0,
     ["cannot build the Wine 10 root (Debian trixie): the Wine 10 checks will fail"], [ROOT_BUILT],
     []),
    ("tools/install-deps", 1, "", "", {"WINE_FROM_ROOT": "1"}, 0,
     ["wine root: building"], [ROOT_BUILT], ["install -y"]),
    ("tools/install-deps", 2, "wine32:i386", "wine32:i386", {}, 0,
     [], [], ["mmdebstrap", "apt-get", "wine root"]),
    ("tools/install-deps", 1, "wine32:i386", "wine32:i386", ROOT_FAILS, 3,
     ["cannot build the Wine root: mmdebstrap failed: debootstrap of the essential set failed"],
     [ROOT_BUILT], []),
    ("tools/install-deps", 1, "cmake wine32:i386", "cmake", {}, 1,
     ["cannot install cmake: cmake : Depends:"],
     ["install -y -qq wine32:i386"], ["cannot install wine"]),
    ("tools/test-all", 1, "wine32:i386", "wine32:i386", ROOT_FAILS, 1,
     ["!! Wine tier failed: cannot install wine32:i386: ", "cannot build the Wine root: ",
      "9 passed, 1 failed, 0 skipped"],
     ["ctest --preset host", "ctest --preset windows -E ^wine_"], []),
    ("tools/test-all", 1, "", "", {}, 0,
     ["9 passed, 0 failed, 0 skipped"],
     ["ctest --preset windows\n"], ["apt-get", "Wine tier failed"]),
]


def main():
    repo = sys.argv[1]
    problems = []
    for script, runs, missing, broken, env, status, lines, calls, absent in CASES:
        name = f"{script} with {broken or 'nothing'} refused {env or ''} (run {runs})"
        with tempfile.TemporaryDirectory() as root:
            make_world(repo, root)
            if not env.get("FAKE_NO_WINE10_ROOT"):
                run(root, "tools/wine-root", "", "", {"WINE_ROOT_SUITE": "trixie"}, "build")
            for _ in range(runs):
                code, output, log = run(root, script, missing, broken, env)
        text, before = output + log, len(problems)
        if code != status:
            problems.append(f"{name}: exit status {code}, wanted {status}")
        problems += [f"{name}: no line with '{l}'" for l in lines
                     if not any(l in line for line in output.splitlines())]
        problems += [f"{name}: no call '{c.strip()}'" for c in calls if c not in log]
        problems += [f"{name}: unwanted '{a.strip()}'" for a in absent if a in text]
        if len(problems) > before:
            print(output + "-- calls:\n" + log)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
