#!/usr/bin/env python3
"""Set-up when the package archive fails: set_up_test.py REPOSITORY.

tools/install-deps and tools/test-all run from a copy of the repository's scripts with fake
apt-get, dpkg, dpkg-query, sudo, cmake and ctest first on the PATH, so nothing is installed
and nothing is built. The fake apt-get fails every update as a mirror in mid-sync does and
refuses the packages a case names."""
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
case " $* " in *" update "*) printf '%s' '{MIRROR_ERROR}'; exit 100 ;; esac
for broken in $FAKE_BROKEN; do
  case " $* " in *" $broken "*)
    echo 'The following packages have unmet dependencies:'
    printf '{HELD}' "$broken"; exit 100 ;; esac
done""",
    "dpkg-query": """for p in $FAKE_MISSING; do [ "$p" = "$3" ] && exit 1; done
echo "install ok installed\"""",
    "dpkg": 'echo "dpkg $*" >> "$FAKE_LOG"; [ "$1" = --print-foreign-architectures ] && echo i386',
    "sudo": 'exec "$@"',
    "cmake": 'echo "cmake $*" >> "$FAKE_LOG"',
    "ctest": 'echo "ctest $*" >> "$FAKE_LOG"; echo "100% tests passed, 0 tests failed out of 4"',
}


def make_world(repo, root):
    """A repository copy holding only the two scripts, with a fuzz run and an i386 check that
    pass, and the fake tools."""
    for script in ("tools/install-deps", "tools/test-all"):
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


def run(root, script, missing, broken):
    log = os.path.join(root, "calls.log")
    open(log, "w").close()
    env = dict(os.environ, PATH=os.path.join(root, "bin") + ":" + os.environ["PATH"],
               FAKE_LOG=log, FAKE_MISSING=missing, FAKE_BROKEN=broken,
               INSTALL_DEPS_RETRY_PAUSE="0")
    done = subprocess.run([os.path.join(root, script)], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, timeout=60)
    with open(log) as f:
        return done.returncode, done.stdout, f.read()


# script, packages missing, packages apt refuses, exit status, lines wanted in the output,
# calls wanted in the log, calls not wanted in it.
CASES = [
    ("tools/install-deps", "wine32:i386", "wine32:i386", 3,
     ["apt-get update failed (try 3 of 3): Failed to fetch",
      "cannot install wine32:i386: wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it "
      "is not going to be installed (apt-get update had failed: Failed to fetch"],
     ["apt-get update -qq\n" * 3], ["apt-get update -qq\n" * 4]),
    ("tools/install-deps", "cmake wine32:i386", "cmake", 1,
     ["cannot install cmake: cmake : Depends:"],
     ["install -y -qq wine32:i386"], ["cannot install wine"]),
    ("tools/test-all", "wine32:i386", "wine32:i386", 1,
     ["!! Wine tier failed: cannot install wine32:i386: ", "9 passed, 1 failed, 0 skipped"],
     ["ctest --preset host", "ctest --preset windows -E ^wine_"], []),
    ("tools/test-all", "", "", 0,
     ["9 passed, 0 failed, 0 skipped"],
     ["ctest --preset windows\n"], ["apt-get", "Wine tier failed"]),
]


def main():
    repo = sys.argv[1]
    problems = []
    for script, missing, broken, status, lines, calls, absent in CASES:
        name = f"{script} with {broken or 'nothing'} refused"
        with tempfile.TemporaryDirectory() as root:
            make_world(repo, root)
            code, output, log = run(root, script, missing, broken)
        text, before = output + log, len(problems)
        if code != status:
            problems.append(f"{name}: exit status {code}, wanted {status}")
        problems += [f"{name}: no line with '{l}'" for l in lines
                     if not any(l in line for line in output.splitlines())]
        problems += [f"{name}: no call '{c.strip()}'" for c in calls if c not in log]
        problems += [f"{name}: unwanted '{a.strip()}'" for a in absent if a in text]
        if len(problems) > before:
            print(output)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
