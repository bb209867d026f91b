#!/usr/bin/env python3
"""The Windows tier: checks of the built DLLs and the real Ombrix DLLs run under Wine.

    wine_tier.py check-dll --objdump OBJDUMP [--radio] DLL...
        exports and imports of Ombrix DLLs (four undecorated exports, system DLLs only), or
        with --radio of Tessivo DLLs (no exports, system DLLs only, GetKeyState not imported)
    wine_tier.py check-standin --objdump OBJDUMP EXE
        layout of the stand-in game: image base 0x400000, `.game` first at 0x401000
    wine_tier.py check-program --objdump OBJDUMP [--standin] EXE...
        the Windows tools: console programs, no exports, system DLLs only, a version
        resource; with --standin laid out as the stand-in game too
    wine_tier.py prefix --prefix DIR
        creates the Wine prefix once (a ctest fixture); reused while its marker names this Wine
    wine_tier.py run --game GAME --standin EXE --dll DLL --prefix DIR --work DIR
        one game's scenarios: the real DLL in standin_game.exe under Wine
    wine_tier.py radio --game GAME --release CODE --standin EXE --ombrix DLL --tessivo DLL
                       --prefix DIR --work DIR --source DIR
        the real Ombrix and Tessivo DLLs loaded by the stand-in game as the plug-in loader
        loads them: start-up, frames with the reload key, shut-down, unload
    wine_tier.py radio-drive --game GAME --release CODE --standin EXE --ombrix DLL
                             --tessivo DLL --prefix DIR --work DIR --host-tool TOOL
        the scripted drive (sim/scripted_drive.h) played by the real DLLs under Wine and by the
        host build's radio_drive_<game>, their frames files compared call by call
    wine_tier.py soak --game GAME --standin EXE --dll DLL --prefix DIR --work DIR
        500 loads by the real DLL in one stand-in process, every other one a cache miss and
        every tenth texture held: private memory grows by no more than the held textures
    wine_tier.py shutdown --prefix DIR
        stops the prefix's wineserver (the fixture's cleanup)

Every check prints what it found; a failure names the scenario, the expectation and the value,
and shows the stand-in's output. Exit status 0 only when every check passed.
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
from png_pixels import read_rgba_bytes  # noqa: E402
import virtual_display  # noqa: E402

EXPORTS = {"LoadPNGToRwTexture", "LoadSVGToRwTexture", "FindPNGinFolderPath",
           "FindSVGinFolderPath"}

# DLLs every Windows installation the games run on has (lower case).
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
    "ole32.dll", "oleaut32.dll", "msvcrt.dll", "ntdll.dll", "version.dll", "winmm.dll",
    "d3d11.dll", "d2d1.dll", "dxgi.dll", "dwrite.dll", "windowscodecs.dll", "comdlg32.dll",
    "comctl32.dll", "uxtheme.dll", "bcrypt.dll", "crypt32.dll", "psapi.dll",
}
RUNTIME_DLL_HINT = re.compile(r"^(libstdc\+\+|libgcc|libwinpthread|libssp|libgomp|libatomic)",
                              re.I)

# Game RenderWare tables: what the stand-in must report it installed.
RW_TABLES = {
    "iii": (0x5AD930, 0x5AD780, 0x5AD9D0, 0x5AD6F0, 0x5A72D0),
    "vc": (0x655490, 0x6552E0, 0x655530, 0x655250, 0x64DE60),
    "sa": (0x7FB230, 0x7FB020, 0x7FB2D0, 0x7FAEC0, 0x7F37C0),
}

INITIAL_UPPER = 0xA5C31101 >> 8  # sim::kInitialFilterAddressing above the filter byte
GAME_IMAGE_SIZE = 0xD00000       # sim::kGameImageSize
WINE_RUN_TIMEOUT = 300           # seconds for one stand-in run (emulated Wine is slow)


class Checks:
    """Collects check results of one test and prints them as they come."""

    def __init__(self, name):
        self.name = name
        self.failures = 0
        self.count = 0

    def check(self, ok, what, detail=""):
        self.count += 1
        if ok:
            print(f"  ok   {what}")
        else:
            self.failures += 1
            print(f"  FAIL {what}" + (f": {detail}" if detail else ""))
        return ok

    def finish(self):
        print(f"{self.name}: {self.count - self.failures} checks passed, "
              f"{self.failures} failed")
        return 0 if self.failures == 0 else 1


# ---------------------------------------------------------------------------------------------
# PE checks with objdump

def objdump(tool, path, flag):
    result = subprocess.run([tool, flag, path], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{tool} {flag} {path} failed:\n{result.stderr}")
    return result.stdout


def pe_exports(dump):
    names = []
    in_table = False
    for line in dump.splitlines():
        if line.startswith("[Ordinal/Name Pointer] Table"):
            in_table = True
            continue
        if in_table:
            m = re.match(r"^\s+\[\s*\d+\]\s+(\S+)", line)
            if not m:
                break
            names.append(m.group(1))
    return names


def pe_imports(dump):
    return re.findall(r"^\s*DLL Name:\s*(\S+)", dump, re.M)


def check_imports(checks, imports):
    checks.check(bool(imports), "imports some DLL", "no import table found")
    for dll in imports:
        if RUNTIME_DLL_HINT.match(dll):
            checks.check(False, f"import {dll} is a system DLL",
                         "a compiler runtime DLL: link it statically (-static)")
        else:
            checks.check(dll.lower() in SYSTEM_DLLS, f"import {dll} is a system DLL",
                         "not on the allow-list of Windows system DLLs")


def imported_names(dump, dll):
    """The names imported from `dll` (case-insensitive), from objdump -p's import tables."""
    names, inside = [], False
    for line in dump.splitlines():
        m = re.match(r"^\s*DLL Name:\s*(\S+)", line)
        if m:
            inside = m.group(1).lower() == dll.lower()
            continue
        m = re.match(r"^\s+[0-9a-f]+\s+\d+\s+([A-Za-z_]\w*)", line)
        if inside and m:
            names.append(m.group(1))
    return names


GAME_NAMES = {"III": "III", "VC": "Vice City", "SA": "San Andreas"}


def version_strings(tool, path):
    """The string values of the DLL's version resource, {key: value}, from its .rsrc bytes
    (UTF-16LE, each key followed by its value after NULs and padding)."""
    dump = subprocess.run([tool, "-s", "-j", ".rsrc", path], capture_output=True,
                          text=True).stdout
    data = bytearray()
    for line in dump.splitlines():
        m = re.match(r"^ [0-9a-f]+ ((?:[0-9a-f]{2,8} ){1,4})", line + " ")
        if m:
            data += bytes.fromhex("".join(m.group(1).split()))
    text = data.decode("utf-16le", errors="replace")
    keys = ("ProductName", "ProductVersion", "FileVersion", "FileDescription",
            "OriginalFilename", "Game", "GameBuild")
    found = {}
    for key in keys:
        m = re.search(key + r"\x00+([^\x00]+)\x00", text)
        if m:
            found[key] = m.group(1)
    return found


def check_version(checks, tool, dll):
    """Product, game, version and description, as a file's properties show them."""
    product, game = os.path.basename(dll).split(".")[:2]
    strings = version_strings(tool, dll)
    print(f"  version: {strings}")
    checks.check(strings.get("ProductName") == product, f"version resource names {product}",
                 str(strings.get("ProductName")))
    checks.check(strings.get("GameBuild") == game and strings.get("Game") == GAME_NAMES.get(game),
                 f"version resource names the game {GAME_NAMES.get(game)}",
                 f"{strings.get('Game')} / {strings.get('GameBuild')}")
    checks.check(re.fullmatch(r"\d+\.\d+\.\d+", strings.get("FileVersion", "")) is not None,
                 "version resource has a version", str(strings.get("FileVersion")))
    checks.check(strings.get("FileDescription", "").endswith("for " + GAME_NAMES.get(game, "?")),
                 "version resource has a one-line description for the game",
                 str(strings.get("FileDescription")))


def check_pe_kind(checks, private, dll):
    """A 32-bit PE file, a DLL (IMAGE_FILE_DLL) or a program."""
    checks.check("file format pei-i386" in private, "32-bit PE (pei-i386)")
    chars = re.search(r"^Characteristics\s+0x([0-9a-fA-F]+)", private, re.M)
    is_dll = chars is not None and bool(int(chars.group(1), 16) & 0x2000)
    checks.check(chars is not None and is_dll == dll,
                 "image is a DLL (IMAGE_FILE_DLL)" if dll else "image is a program, not a DLL")


def open_pe(objdump_tool, path, label, dll):
    """What every file of ours is checked for first, its kind and its imports; returns the
    checks, objdump's private headers and the file's exports."""
    checks = Checks(f"{label} {os.path.basename(path)}")
    print(f"{path}:")
    private = objdump(objdump_tool, path, "-p")
    check_pe_kind(checks, private, dll=dll)
    imports = pe_imports(private)
    print(f"  imports: {', '.join(imports)}")
    check_imports(checks, imports)
    exports = pe_exports(private)
    print(f"  exports: {', '.join(exports) or '(none)'}")
    return checks, private, exports


def cmd_check_dll(args):
    status = 0
    for dll in args.dlls:
        checks, private, exports = open_pe(args.objdump, dll, "check-dll", dll=True)
        wanted = set() if args.radio else EXPORTS
        for name in sorted(wanted):
            decorated = [e for e in exports if name in e and e != name]
            checks.check(name in exports, f"export {name} present undecorated",
                         "missing" + (f" (decorated: {', '.join(decorated)})"
                                      if decorated else ""))
        for name in exports:
            checks.check(name in wanted and "@" not in name and not name.startswith("_"),
                         f"export {name} is one of the {len(wanted)} wanted, undecorated",
                         "unexpected or decorated export")
        check_version(checks, args.objdump, dll)
        if args.radio:
            user32 = imported_names(private, "user32.dll")
            print(f"  from user32: {', '.join(user32) or '(nothing)'}")
            checks.check("GetKeyState" not in user32,
                         "GetKeyState not imported (bound at run time from a loaded user32)")
        status |= checks.finish()
    return status


def check_game_layout(checks, private, headers):
    """A program laid out as the stand-in game: the plug-ins' game addresses are its own."""
    base = re.search(r"^ImageBase\s+([0-9a-fA-F]+)", private, re.M)
    checks.check(base is not None and int(base.group(1), 16) == 0x400000,
                 "image base 0x400000", base.group(1) if base else "not found")
    dllchars = re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)", private, re.M)
    checks.check(dllchars is not None and not int(dllchars.group(1), 16) & 0x0040,
                 "no dynamic base (the loader never moves it)",
                 dllchars.group(1) if dllchars else "not found")
    sections = re.findall(r"^\s*(\d+)\s+(\S+)\s+([0-9a-f]{8})\s+([0-9a-f]{8})\s+[0-9a-f]{8}\s+"
                          r"([0-9a-f]{8})\s+\S+\n\s+(.*)$", headers, re.M)
    first = sections[0] if sections else None
    checks.check(first is not None and first[1] == ".game", "first section is .game",
                 first[1] if first else "no sections")
    if first:
        size, vma, flags = int(first[2], 16), int(first[3], 16), first[5]
        checks.check(vma == 0x401000, ".game at 0x401000", hex(vma))
        checks.check(vma + size >= 0x400000 + GAME_IMAGE_SIZE,
                     f".game reaches 0x{0x400000 + GAME_IMAGE_SIZE:x}", hex(vma + size))
        checks.check("CONTENTS" not in flags, ".game is uninitialised (no file data)", flags)


def check_console_program(checks, private):
    subsystem = re.search(r"^Subsystem\s+\S+\s+\((.*)\)", private, re.M)
    checks.check(subsystem is not None and "CUI" in subsystem.group(1),
                 "console program", subsystem.group(1) if subsystem else "not found")


def cmd_check_standin(args):
    exe = args.exe
    checks = Checks(f"check-standin {os.path.basename(exe)}")
    private = objdump(args.objdump, exe, "-p")
    headers = objdump(args.objdump, exe, "-h")
    check_game_layout(checks, private, headers)
    check_console_program(checks, private)
    file_size = os.path.getsize(exe)
    checks.check(file_size < 1 << 20, "exe under a megabyte", f"{file_size} bytes")
    imports = pe_imports(private)
    print(f"  imports: {', '.join(imports)}")
    check_imports(checks, imports)
    return checks.finish()


def cmd_check_program(args):
    """The tools for players: console programs importing system DLLs only, exporting nothing,
    with a version resource; with --standin also laid out as the stand-in game."""
    status = 0
    for exe in args.programs:
        checks, private, exports = open_pe(args.objdump, exe, "check-program", dll=False)
        check_console_program(checks, private)
        checks.check(not exports, "exports nothing", ", ".join(exports))
        strings = version_strings(args.objdump, exe)
        print(f"  version: {strings}")
        checks.check(strings.get("ProductName") in ("Tessivo", "Ombrix"),
                     "version resource names the product", str(strings.get("ProductName")))
        checks.check(strings.get("OriginalFilename", "").lower() == os.path.basename(exe).lower(),
                     "version resource names the file", str(strings.get("OriginalFilename")))
        checks.check(re.fullmatch(r"\d+\.\d+\.\d+", strings.get("FileVersion", "")) is not None,
                     "version resource has a version", str(strings.get("FileVersion")))
        checks.check(bool(strings.get("FileDescription")), "version resource has a description")
        if args.standin:
            check_game_layout(checks, private, objdump(args.objdump, exe, "-h"))
        status |= checks.finish()
    return status


# ---------------------------------------------------------------------------------------------
# Wine

# Every Wine program starts through the project's wrapper: the host's Wine, or where the host
# has no 32-bit side, the private root's (tools/wine-run).
WINE_RUN = os.path.join(HERE, "..", "..", "tools", "wine-run")


def wine_env(prefix, display=None):
    """The environment of a Wine run in `prefix`, on the X display `display` or on none."""
    env = dict(os.environ)
    env["WINEPREFIX"] = os.path.abspath(prefix)
    env["WINEDEBUG"] = "-all"
    # No Mono or Gecko install prompts, no window, no crash debugger: everything headless.
    # (A crash then ends the stand-in with Wine's exception status instead of winedbg.)
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winedbg.exe=d"
    for var in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(var, None)
    if display:
        env["DISPLAY"] = display
    return env


# The tier's display, started by the prefix fixture and stopped by its cleanup: the stand-in game
# and the tools draw SVG files on it as far as Wine's Direct2D goes. Runs that load the radio
# plug-in stay without it, since on a display its error box waits for a click.
def display_record(prefix):
    return os.path.abspath(prefix) + ".display"


def tier_display(prefix):
    """The fixture's display (":N") while its Xvfb runs, else None."""
    try:
        display, pid = open(display_record(prefix)).read().split()
    except (OSError, ValueError):
        return None
    return display if virtual_display.is_xvfb(int(pid)) else None


def start_tier_display(prefix):
    stop_tier_display(prefix)
    try:
        display, pid = virtual_display.start(os.path.abspath(prefix) + ".xvfb.log")
    except virtual_display.DisplayError as error:
        sys.exit(f"FAIL: no virtual display for the tier: {error}")
    with open(display_record(prefix), "w") as record:
        record.write(f"{display} {pid}\n")
    print(f"display {display} (Xvfb {pid})")


def stop_tier_display(prefix):
    try:
        _, pid = open(display_record(prefix)).read().split()
        virtual_display.stop(int(pid))
        os.remove(display_record(prefix))
    except (OSError, ValueError):
        pass


def win_path(path):
    """A Unix path as Wine's Z: drive names it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def require_wine():
    """The command that starts `wine`, as the first words of an argv; exits with the wrapper's
    reason when no Wine can run 32-bit programs here."""
    probe = subprocess.run([WINE_RUN, "--check"], capture_output=True, text=True)
    if probe.returncode != 0:
        sys.exit("FAIL: " + (probe.stdout + probe.stderr).strip() +
                 "\nFix: tools/install-deps (host Wine, or a private Wine root)")
    return [WINE_RUN, "wine"]


def wineserver_tool():
    return [WINE_RUN, "wineserver"]


def wine_choice():
    """Which Wine tools/wine-run takes: "host", or "root DIR"."""
    done = subprocess.run([WINE_RUN, "--which"], capture_output=True, text=True)
    return done.stdout.strip() or "none"


def wine_version():
    """What `wine --version` says, so a prefix made by another Wine is told apart."""
    done = subprocess.run([WINE_RUN, "wine", "--version"], capture_output=True, text=True,
                          stdin=subprocess.DEVNULL, timeout=300)
    return done.stdout.strip() or "unknown"


def run_wine(argv, env, timeout):
    """Runs a Wine program with its output in files, not pipes: Wine's background services
    (services.exe, explorer.exe...) inherit the standard descriptors of the process that
    started them and live on with the persistent server, so a pipe would never see its end.
    Returns (exit status or "timeout", stdout, stderr, seconds)."""
    start = time.monotonic()
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        try:
            code = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            code = "timeout"
        seconds = time.monotonic() - start
        out.seek(0)
        err.seek(0)
        stdout = out.read().decode(errors="replace")
        stderr = err.read().decode(errors="replace")
    if code == "timeout":
        stderr += f"\n(no exit within {timeout} s)"
    return code, stdout, stderr, seconds


def cmd_prefix(args):
    """Makes the prefix when it is not there yet, then keeps its wineserver and Wine's own
    services running until the cleanup fixture stops them: later runs then start in about a
    second instead of several (much more under emulation)."""
    wine = require_wine()
    prefix = os.path.abspath(args.prefix)
    marker = os.path.join(prefix, ".ombrix-prefix-ready")
    env = wine_env(prefix)
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Whatever server this prefix still has (an interrupted run) goes first.
    subprocess.run([*wineserver_tool(), "-k"], env=env, timeout=120, **quiet)
    # A prefix made by another Wine (the host's against the root's, or another release) is
    # upgraded or refused by this one at every start: make it anew instead.
    made_by = f"made by {wine_version()}"
    if os.path.exists(marker) and open(marker).readline().startswith(made_by + " "):
        print(f"prefix {prefix}: {made_by}, reused")
    else:
        if os.path.exists(prefix):
            shutil.rmtree(prefix)
        os.makedirs(os.path.dirname(prefix), exist_ok=True)
        print(f"prefix {prefix}: wineboot --init ...", flush=True)
        start = time.monotonic()
        code, out, err, _ = run_wine([*wine, "wineboot", "--init"], env, 900)
        if code == "timeout":
            sys.exit("FAIL: wineboot --init did not finish within 900 s")
        subprocess.run([*wineserver_tool(), "-w"], env=env, timeout=600, **quiet)
        took = time.monotonic() - start
        print(f"prefix {prefix}: wineboot exit {code}, {took:.1f} s")
        wic = os.path.join(prefix, "drive_c", "windows", "system32", "windowscodecs.dll")
        if code != 0 or not os.path.exists(wic):
            print(out + err)
            sys.exit(f"FAIL: the prefix was not made (wineboot exit {code}"
                     f"{'' if os.path.exists(wic) else ', no windowscodecs.dll'})")
        with open(marker, "w") as out:
            out.write(f"{made_by} in {took:.1f} s\n")

    start_tier_display(prefix)
    # A persistent server in a session of its own, holding none of ctest's pipes.
    subprocess.run([*wineserver_tool(), "-p"], env=env, start_new_session=True, timeout=120,
                   **quiet)
    if args.warm_up:
        code, out, err, seconds = run_wine([*wine, os.path.abspath(args.warm_up)], env,
                                           WINE_RUN_TIMEOUT)
        # Without arguments the stand-in prints its usage and exits with 2.
        print(f"warm-up: {os.path.basename(args.warm_up)} exit {code}, {seconds:.1f} s")
        if code != 2:
            print(out + err)
            # STATUS_CONFLICTING_ADDRESSES: the game image's fixed base is taken. Seen with
            # Wine 10 under the i386 emulator, which puts Wine's position-independent loader
            # at 0x400000; Wine 8's loader sits at 0x7d000000.
            why = (": something else holds 0x400000, the game image's base (Wine 10 through "
                   "the i386 emulator puts its own loader there)" if "c0000018" in err else "")
            sys.exit("FAIL: the stand-in game does not start under Wine" + why)
    return 0


def cmd_shutdown(args):
    stop_tier_display(args.prefix)
    if not os.path.exists(args.prefix):
        return 0
    env = wine_env(args.prefix)
    subprocess.run([*wineserver_tool(), "-k"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    print(f"wineserver of {os.path.abspath(args.prefix)} stopped")
    return 0


# ---------------------------------------------------------------------------------------------
# Test images

def png_bytes(width, height, rgba):
    """An 8-bit RGBA PNG from `rgba` (rows packed, top to bottom)."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# Pixel (0, 0): half transparent, so straight alpha is told apart from premultiplied.
PIXEL0_RGBA = (200, 100, 50, 128)


def test_image_rgba(width, height):
    """A gradient with a known half-transparent pixel (0, 0) and a fully transparent but
    coloured corner, whose colour only survives with straight alpha."""
    out = bytearray()
    for y in range(height):
        for x in range(width):
            if x == 0 and y == 0:
                out += bytes(PIXEL0_RGBA)
            elif x >= width - 8 and y >= height - 8:
                out += bytes((255, 0, 255, 0))
            else:
                out += bytes(((x * 4) & 255, (y * 4) & 255, ((x ^ y) * 8) & 255,
                              255 if (x + y) % 5 else 64))
    return bytes(out)


def rgba_to_bgra(rgba):
    out = bytearray(rgba)
    out[0::4], out[2::4] = rgba[2::4], rgba[0::4]
    return bytes(out)


def fnv1a(data):
    h = 2166136261
    for b in data:
        h = ((h ^ b) * 16777619) & 0xFFFFFFFF
    return h


SVG_TEXT = ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32">'
            '<rect x="4" y="4" width="24" height="24" fill="#3080ff"/></svg>\n')


# ---------------------------------------------------------------------------------------------
# Stand-in runs

class Result:
    def __init__(self, argv, returncode, stdout, stderr, seconds):
        self.argv, self.returncode, self.seconds = argv, returncode, seconds
        self.lines = [line.rstrip("\r") for line in stdout.splitlines()]
        self.stderr = stderr
        self.levels = []  # (index, width, height, hash)
        self.facts = {}
        for line in self.lines:
            m = re.match(r"^level (\d+) (\d+)x(\d+) hash 0x([0-9a-f]+)$", line)
            if m:
                self.levels.append(tuple(int(g, 16 if i == 3 else 10)
                                         for i, g in enumerate(m.groups())))
                continue
            key, _, rest = line.partition(" ")
            if not line.startswith("engine creates "):
                self.facts.setdefault(key, rest)

    def fact(self, key):
        return self.facts.get(key)

    def engine(self):
        """The "engine creates N destroys N ..." counts as a dict."""
        for line in self.lines:
            if line.startswith("engine creates "):
                return {k: int(v) for k, v in re.findall(r"([a-z-]+) (\d+)", line)}
        return {}

    def live(self):
        m = re.match(r"rasters (\d+) textures (\d+)", self.facts.get("live", ""))
        return (int(m.group(1)), int(m.group(2))) if m else None

    def show(self):
        print("    --- stand-in: " + " ".join(self.argv))
        for line in self.lines:
            print("    | " + line)
        for line in self.stderr.splitlines()[-20:]:
            print("    ! " + line)
        print(f"    --- exit {self.returncode}, {self.seconds:.1f} s")


class Runner:
    def __init__(self, args):
        self.wine = require_wine()
        self.env = wine_env(args.prefix, tier_display(args.prefix))
        self.game = args.game
        self.standin = os.path.abspath(args.standin)
        self.dll = win_path(args.dll)
        self.timings = []

    def run(self, label, command, *operands, options=()):
        argv = [*self.wine, self.standin, self.game, command, self.dll, *operands, *options]
        code, out, err, seconds = run_wine(argv, self.env, WINE_RUN_TIMEOUT)
        self.timings.append((label, seconds))
        print(f"[{self.game}] {label}: wine run {seconds:.1f} s, exit {code}", flush=True)
        return Result(argv[2:], code, out, err, seconds)


def expected_chain(width, height, levels):
    return [(i, max(1, width >> i), max(1, height >> i)) for i in range(levels)]


def check_texture(checks, label, r, chain, flags, filt):
    ok = checks.check(r.returncode == 0 and r.fact("texture") not in (None, "null"),
                      f"{label}: a texture comes back", f"exit {r.returncode}")
    if not ok:
        return False
    got = [lv[:3] for lv in r.levels]
    checks.check(got == chain, f"{label}: levels {' '.join(f'{w}x{h}' for _, w, h in chain)}",
                 " ".join(f"{w}x{h}" for _, w, h in got) or "none")
    checks.check(r.fact("flags") == f"0x{flags:x}", f"{label}: raster flags 0x{flags:x}",
                 str(r.fact("flags")))
    checks.check(r.fact("filter") == str(filt), f"{label}: filter mode {filt}",
                 str(r.fact("filter")))
    checks.check(r.fact("upper") == f"0x{INITIAL_UPPER:06x} untouched",
                 f"{label}: filterAddressing bits 8-31 as RwTextureCreate left them",
                 str(r.fact("upper")))
    checks.check(r.fact("padding") == "intact", f"{label}: row padding intact",
                 str(r.fact("padding")))
    checks.check(r.live() == (1, 1), f"{label}: one live raster and texture", str(r.live()))
    return True


def check_engine_line(checks, game, r):
    table = RW_TABLES[game]
    want = ("RwRasterCreate 0x%x RwRasterDestroy 0x%x RwRasterLock 0x%x RwRasterUnlock 0x%x "
            "RwTextureCreate 0x%x" % table)
    checks.check(r.fact("engine") == want,
                 f"stand-in engine installed at the {game} table addresses",
                 str(r.fact("engine")))
    checks.check(r.fact("game") == f"{game} image 0x00400000-0x01100000",
                 "game image mapped at 0x400000-0x1100000", str(r.fact("game")))


def check_cache_file(checks, path, source, width, height, levels, flags, level0_bgra):
    if not checks.check(os.path.exists(path), f"cache file {os.path.relpath(path)} exists"):
        return None
    data = open(path, "rb").read()
    checks.check(data[:4] == b"CPIM", "cache magic bytes \"CPIM\"", repr(data[:4]))
    if len(data) < 44:
        checks.check(False, "cache header is 44 bytes", f"file has {len(data)} bytes")
        return None
    (magic, version, time_low, time_high, size_low, size_high, w, h, count, rflags,
     data_size) = struct.unpack("<11I", data[:44])
    st = os.stat(source)
    filetime = st.st_mtime_ns // 100 + 116444736000000000
    want_size = sum(max(1, width >> i) * max(1, height >> i) * 4 for i in range(levels))
    checks.check(magic == 0x4D495043 and version == 1, "cache magic 0x4D495043, version 1",
                 f"0x{magic:08x} v{version}")
    checks.check((time_high << 32 | time_low) == filetime,
                 "cache records the source's last-write time",
                 f"0x{time_high << 32 | time_low:016x} != 0x{filetime:016x}")
    checks.check((size_high << 32 | size_low) == st.st_size, "cache records the source's size",
                 f"{size_high << 32 | size_low} != {st.st_size}")
    checks.check((w, h, count, rflags) == (width, height, levels, flags),
                 f"cache header {width}x{height}, {levels} levels, flags 0x{flags:x}",
                 f"{w}x{h}, {count} levels, flags 0x{rflags:x}")
    checks.check(data_size == want_size and len(data) == 44 + want_size,
                 f"cache data size {want_size} and nothing after it",
                 f"dataSize {data_size}, file {len(data)} bytes")
    if level0_bgra is not None:
        checks.check(data[44:44 + len(level0_bgra)] == level0_bgra,
                     "cache level 0 holds the image's BGRA pixels")
    return data


def scenario_suite(args):
    game = args.game
    checks = Checks(f"wine {game}")
    runner = Runner(args)
    work = os.path.abspath(args.work)
    if os.path.exists(work):
        shutil.rmtree(work)
    os.makedirs(work)

    # The 64x64 test image, and copies in folders of their own so that each scenario starts
    # without a cache file.
    rgba = test_image_rgba(64, 64)
    bgra = rgba_to_bgra(rgba)
    png = png_bytes(64, 64, rgba)
    folders = {name: os.path.join(work, name) for name in ("main", "padded", "scaled", "wide",
                                                           "svg", "missing")}
    for folder in folders.values():
        os.makedirs(folder)
    for name in ("main", "padded", "scaled"):
        with open(os.path.join(folders[name], "t64.png"), "wb") as out:
            out.write(png)
    wide_rgba = test_image_rgba(100, 30)
    with open(os.path.join(folders["wide"], "wide.png"), "wb") as out:
        out.write(png_bytes(100, 30, wide_rgba))
    with open(os.path.join(folders["svg"], "shape.svg"), "w") as out:
        out.write(SVG_TEXT)

    main_png = os.path.join(folders["main"], "t64.png")
    cache = os.path.join(folders["main"], ".mipcache", "t64.png_64x64.mipmap")
    levels_dir = os.path.join(work, "levels")
    chain7 = expected_chain(64, 64, 7)

    def failed(r):
        r.show()

    # 1. First load: decoded through WIC, cached, levels written as PNG files.
    label = "first load --mipmaps"
    r1 = runner.run(label, "load", win_path(main_png),
                    options=("--mipmaps", "--out", win_path(levels_dir)))
    before = checks.failures
    check_engine_line(checks, game, r1)
    if check_texture(checks, label, r1, chain7, 0x8504, 6):
        checks.check(r1.fact("pixel0") == "bgra %d %d %d %d" % (PIXEL0_RGBA[2], PIXEL0_RGBA[1],
                                                                 PIXEL0_RGBA[0], PIXEL0_RGBA[3]),
                     f"{label}: pixel (0,0) is the PNG's half-transparent BGRA, straight alpha",
                     str(r1.fact("pixel0")))
        checks.check(r1.levels[0][3] == fnv1a(bgra),
                     f"{label}: level 0 equals the PNG's pixels (BGRA, straight alpha)",
                     f"hash 0x{r1.levels[0][3]:08x} != 0x{fnv1a(bgra):08x}")
        engine = r1.engine()
        checks.check(engine.get("locks-write") == 7 and engine.get("locks-read") == 7,
                     f"{label}: 7 levels filled and 7 read back for the cache", str(engine))
        try:
            w, h, written = read_rgba_bytes(os.path.join(levels_dir, "level0.png"))
            checks.check((w, h) == (64, 64) and written == rgba,
                         f"{label}: --out level0.png has the source PNG's pixels exactly")
        except (OSError, ValueError) as error:
            checks.check(False, f"{label}: --out level0.png readable", str(error))
        for i, lw, lh in chain7[1:]:
            path = os.path.join(levels_dir, f"level{i}.png")
            try:
                size = read_rgba_bytes(path)[:2]
                checks.check(size == (lw, lh), f"{label}: --out level{i}.png is {lw}x{lh}",
                             f"{size[0]}x{size[1]}")
            except (OSError, ValueError) as error:
                checks.check(False, f"{label}: --out level{i}.png readable", str(error))
    check_cache_file(checks, cache, main_png, 64, 64, 7, 0x8504, bgra)
    cache_stat = os.stat(cache) if os.path.exists(cache) else None
    if checks.failures != before:
        failed(r1)

    # 2. The same request again: served from the cache file, same result.
    label = "second load (cache)"
    r2 = runner.run(label, "load", win_path(main_png), options=("--mipmaps",))
    before = checks.failures
    if check_texture(checks, label, r2, chain7, 0x8504, 6):
        checks.check(r2.levels == r1.levels, f"{label}: same levels and pixels as the first")
        checks.check(r2.fact("pixel0") == r1.fact("pixel0"), f"{label}: same pixel (0,0)")
        engine = r2.engine()
        checks.check(engine.get("locks-write") == 7 and engine.get("locks-read") == 0,
                     f"{label}: served from the cache (levels filled, nothing read back)",
                     str(engine))
        if cache_stat:
            now = os.stat(cache)
            checks.check(now.st_mtime_ns == cache_stat.st_mtime_ns and
                         now.st_size == cache_stat.st_size, f"{label}: cache file not rewritten")
    if checks.failures != before:
        failed(r2)

    # 3. FindPNGinFolderPath: folder and bare name, ".png" added; the cache serves it too.
    label = "find t64 in folder"
    r3 = runner.run(label, "find", win_path(folders["main"]), "t64", options=("--mipmaps",))
    before = checks.failures
    if check_texture(checks, label, r3, chain7, 0x8504, 6):
        checks.check(r3.levels == r1.levels, f"{label}: same levels and pixels as the load")
        checks.check(r3.engine().get("locks-read") == 0, f"{label}: served from the cache",
                     str(r3.engine()))
    if checks.failures != before:
        failed(r3)

    # 4. Rows wider than the pixels: every level copied row by row, padding left alone.
    label = "load --row-padding 12"
    padded_png = os.path.join(folders["padded"], "t64.png")
    r4 = runner.run(label, "load", win_path(padded_png),
                    options=("--mipmaps", "--row-padding", "12"))
    before = checks.failures
    if check_texture(checks, label, r4, chain7, 0x8504, 6):
        checks.check(r4.levels == r1.levels, f"{label}: same pixels as without padding")
        checks.check(r4.engine().get("locks-read") == 7, f"{label}: decoded, then cached",
                     str(r4.engine()))
    check_cache_file(checks, os.path.join(folders["padded"], ".mipcache",
                                          "t64.png_64x64.mipmap"),
                     padded_png, 64, 64, 7, 0x8504, bgra)
    if checks.failures != before:
        failed(r4)

    # 5. A requested size without mipmaps: one resampled level, linear filter.
    label = "load --size 32x16"
    scaled_png = os.path.join(folders["scaled"], "t64.png")
    r5 = runner.run(label, "load", win_path(scaled_png), options=("--size", "32x16"))
    before = checks.failures
    check_texture(checks, label, r5, [(0, 32, 16)], 0x504, 2)
    check_cache_file(checks, os.path.join(folders["scaled"], ".mipcache",
                                          "t64.png_32x16.mipmap"),
                     scaled_png, 32, 16, 1, 0x504, None)
    if checks.failures != before:
        failed(r5)

    # 6. A 100x30 image with the chain capped at three levels.
    label = "load 100x30 --mipmaps --max-levels 3"
    wide_png = os.path.join(folders["wide"], "wide.png")
    r6 = runner.run(label, "load", win_path(wide_png),
                    options=("--mipmaps", "--max-levels", "3"))
    before = checks.failures
    if check_texture(checks, label, r6, expected_chain(100, 30, 3), 0x8504, 6):
        checks.check(r6.levels[0][3] == fnv1a(rgba_to_bgra(wide_rgba)),
                     f"{label}: level 0 unscaled equals the PNG's pixels")
    if checks.failures != before:
        failed(r6)

    # 7. The SVG export on the tier's display: Wine's Direct2D makes no SVG documents (Wine 8's
    # not even a device), so null and no raster. d2d_trace_test.py checks how far it gets.
    label = "svg export"
    svg = os.path.join(folders["svg"], "shape.svg")
    r7 = runner.run(label, "svg", win_path(svg), options=("--mipmaps",))
    before = checks.failures
    checks.check(r7.returncode == 1 and r7.fact("texture") == "null",
                 f"{label}: returns null (exit 1)", f"exit {r7.returncode}, "
                 f"texture {r7.fact('texture')}")
    checks.check(r7.engine().get("creates") == 0, f"{label}: no raster created",
                 str(r7.engine()))
    checks.check(r7.live() == (0, 0), f"{label}: nothing left alive", str(r7.live()))
    svg_cache = os.path.join(folders["svg"], ".mipcache")
    stray = os.listdir(svg_cache) if os.path.isdir(svg_cache) else []
    checks.check(not stray, f"{label}: no cache file written", ", ".join(stray))
    if checks.failures != before:
        failed(r7)

    # 8. A file that is not there: null, nothing created.
    label = "missing file"
    r8 = runner.run(label, "load", win_path(os.path.join(folders["missing"], "none.png")),
                    options=("--mipmaps",))
    before = checks.failures
    checks.check(r8.returncode == 1 and r8.fact("texture") == "null",
                 f"{label}: returns null (exit 1)", f"exit {r8.returncode}")
    checks.check(r8.engine().get("creates") == 0, f"{label}: no raster created",
                 str(r8.engine()))
    if checks.failures != before:
        failed(r8)

    total = sum(s for _, s in runner.timings)
    print(f"[{game}] timings: " + ", ".join(f"{label} {s:.1f} s" for label, s in runner.timings))
    print(f"[{game}] {len(runner.timings)} wine runs, {total:.1f} s in all")
    return checks.finish()



# ---------------------------------------------------------------------------------------------
# The radio plug-in in the stand-in game

SLOTS_CONSTRUCTED = {"iii": False, "vc": True, "sa": True}   # sprites constructed at load
SLOTS_DESTRUCTED = {"iii": False, "vc": True, "sa": False}   # and destructed at unload


def default_settings(source):
    """Every key with its default, as the settings file players get on a first start holds
    them (tests/radio/default_tessivo.ini)."""
    text = open(os.path.join(source, "tests", "radio", "default_tessivo.ini"), encoding="ascii").read()
    return {key: int(value) for key, value in re.findall(r"^(\w+)=(-?\d+)", text, re.M)}


def station_icon_names(source, game):
    """The game's icon table in slot order, as games/<game>/station_icons.h lists it."""
    text = open(os.path.join(source, "games", game, "station_icons.h")).read()
    return re.findall(r'"([^"]+)"', text[text.index("kStationIconTable"):])


def make_game_folder(root, standin, ombrix, tessivo, icons):
    """A game folder as a player lays it out: the game, the radio plug-in beside it, the
    image library in its scripts folder, and the icon set."""
    if os.path.exists(root):
        shutil.rmtree(root)
    os.makedirs(os.path.join(root, "scripts"))
    icon_dir = os.path.join(root, "halvenmoor_mods", "Tessivo", "icons")
    os.makedirs(icon_dir)
    exe = os.path.join(root, "game.exe")
    shutil.copy(standin, exe)
    shutil.copy(tessivo, os.path.join(root, os.path.basename(tessivo)))
    if ombrix:
        shutil.copy(ombrix, os.path.join(root, "scripts", os.path.basename(ombrix)))
    for i, name in enumerate(icons):
        rgba = bytes((i * 9 % 256, 255 - i * 9 % 256, 128, 255)) * (16 * 16)
        with open(os.path.join(icon_dir, name + ".png"), "wb") as out:
            out.write(png_bytes(16, 16, rgba))
    return exe, icon_dir


def settings_lines(r):
    """{when: {key: value}} from the stand-in's "settings WHEN key=value..." lines."""
    out = {}
    for line in r.lines:
        m = re.match(r"^settings (\S+) (.*)$", line)
        if m:
            out[m.group(1)] = {k: int(v) for k, v in re.findall(r"(\w+)=(-?\d+)", m.group(2))}
    return out


def radio_suite(args):
    game, release = args.game, args.release
    checks = Checks(f"wine radio {game}")
    wine = require_wine()
    env = wine_env(args.prefix)
    work = os.path.abspath(args.work)
    icons = station_icon_names(args.source, game)
    default_ini = open(os.path.join(args.source, "tests", "radio", "default_tessivo.ini"),
                       "rb").read()
    slots = len(icons)

    def run(label, exe, *operands):
        argv = [*wine, exe, game, "radio", *operands]
        code, out, err, seconds = run_wine(argv, env, WINE_RUN_TIMEOUT)
        print(f"[{game}] {label}: wine run {seconds:.1f} s, exit {code}", flush=True)
        return Result(argv[2:], code, out, err, seconds)

    # 1. A player's first start: the file is created, the icons load, the reload key reads the
    # file again, RenderWare's end destroys the icons and unloading puts the calls back.
    exe, icon_dir = make_game_folder(os.path.join(work, "first-start"), args.standin,
                                     args.ombrix, args.tessivo, icons)
    r = run("first start", exe, str(release), "--frames", "5", "--edit", "IconGap=7@3",
            "--reload-at", "4,5", "--unload")
    before = checks.failures
    lines = set(r.lines)
    checks.check(r.returncode == 0, "first start: exit 0", f"exit {r.returncode}")
    for dll in (args.ombrix, args.tessivo):
        checks.check(f"plugin {os.path.basename(dll)} loaded" in lines,
                     f"first start: {os.path.basename(dll)} loaded by the stand-in's loader")
    routine = [l for l in r.lines if l.startswith("replaced-routine 0x")]
    checks.check(routine[:1] and routine[0].endswith("jumps-into-plugin"),
                 "first start: the replaced routine jumps into the plug-in", str(routine[:1]))
    sites = [l for l in r.lines if l.startswith("site ")]
    half = len(sites) // 2
    loaded, unloaded = sites[:half], sites[half:]
    ours = [l for l in loaded if "(other release)" not in l]
    checks.check(len(ours) == 3 and all(l.endswith(" redirected") for l in ours),
                 "first start: the release's three call sites are redirected", "; ".join(ours))
    # A call of another release that shares bytes with one of ours changes with it.
    ours_at = [int(l.split()[2], 16) for l in ours]
    apart = [l for l in loaded if "(other release)" in l
             and all(abs(int(l.split()[2], 16) - a) >= 5 for a in ours_at)]
    checks.check(all(l.endswith("as-laid-out (other release)") for l in apart),
                 "first start: other releases' sites untouched", "; ".join(apart))
    checks.check(all("as-laid-out" in l for l in unloaded) and len(unloaded) == len(loaded),
                 "unload: every call site written back", "; ".join(unloaded))
    checks.check(len(routine) == 2 and not routine[1].endswith("not-jumped"),
                 "unload: the jump over the replaced routine stays", str(routine))
    checks.check(r.fact("sprites") in (f"constructed {slots if SLOTS_CONSTRUCTED[game] else 0}",),
                 f"first start: sprites constructed as the {game} build does",
                 str(r.fact("sprites")))
    destructed = [l for l in r.lines if l.startswith("sprites destructed")]
    checks.check(destructed == [f"sprites destructed {slots if SLOTS_DESTRUCTED[game] else 0}"],
                 f"unload: sprites destructed as the {game} build does", str(destructed))
    ini = os.path.join(work, "first-start", "halvenmoor_mods", "Tessivo", "tessivo.ini")
    written = open(ini, "rb").read() if os.path.exists(ini) else b""
    checks.check(written.replace(b"IconGap=7", b"IconGap=3") == default_ini,
                 "first start: the settings file as the host tests expect it, byte for byte",
                 repr(written[:200]))
    checks.check(f"startup done, textures live {slots}" in lines,
                 f"first start: all {slots} icons loaded through the image library",
                 str([l for l in r.lines if l.startswith("startup done")]))
    caches = os.listdir(os.path.join(icon_dir, ".mipcache")) \
        if os.path.isdir(os.path.join(icon_dir, ".mipcache")) else []
    missing = [n for n in icons if f"{n}.png_16x16.mipmap" not in caches]
    checks.check(not missing, "first start: a cache file named after every icon",
                 "missing " + ", ".join(missing[:5]))
    seen = settings_lines(r)
    checks.check(r.fact("settings-record") == "found", "the settings record is found",
                 str(r.fact("settings-record")))
    checks.check(seen.get("after-startup") == default_settings(args.source),
                 "start-up reads the defaults it wrote", str(seen.get("after-startup")))
    gaps = [seen.get(w, {}).get("IconGap") for w in
            ("frame-3-key-up", "frame-4-key-down", "frame-5-key-down")]
    checks.check(gaps == [3, 7, 7],
                 "the reload key (SetKeyboardState, GetKeyState) reads the edited file",
                 f"IconGap at frames 3, 4, 5: {gaps}")
    checks.check(f"shutdown done, textures live 0, destroyed {slots}" in lines,
                 "shut-down destroys every icon", str([l for l in r.lines
                                                       if l.startswith("shutdown done")]))
    if checks.failures != before:
        r.show()

    # 2. A release the build does not know: the jump only, no calls redirected, nothing read.
    exe, _ = make_game_folder(os.path.join(work, "unknown"), args.standin, args.ombrix,
                              args.tessivo, icons[:2])
    r = run("unknown release", exe, "0", "--frames", "2")
    before = checks.failures
    checks.check(r.returncode == 0, "unknown release: exit 0", f"exit {r.returncode}")
    checks.check(all(not l.endswith("redirected") for l in r.lines if l.startswith("site ")),
                 "unknown release: no call redirected")
    checks.check(not os.path.exists(os.path.join(work, "unknown", "halvenmoor_mods", "Tessivo",
                                                 "tessivo.ini")),
                 "unknown release: no settings file written")
    if checks.failures != before:
        r.show()

    # 3. No image library anywhere: the error box, then exit status 1.
    exe, _ = make_game_folder(os.path.join(work, "no-library"), args.standin, None,
                              args.tessivo, icons[:2])
    r = run("missing library", exe, str(release))
    before = checks.failures
    checks.check(r.returncode == 1, "missing library: the game ends with exit status 1",
                 f"exit {r.returncode}")
    checks.check("startup call" in r.lines and not any(l.startswith("startup done")
                                                       for l in r.lines),
                 "missing library: ends inside the start-up call")
    if checks.failures != before:
        r.show()
    return checks.finish()

# ---------------------------------------------------------------------------------------------
# The scripted drive: the real DLLs under Wine against the host build

RECT_TOLERANCE = 1e-3  # relative: x87 and SSE round the rectangles' floats differently
ALPHA_TOLERANCE = 1    # an alpha truncated from a float can land one lower on either


def read_drive_frames(path):
    """(header, frames) of a frames file (sim/drive_frames_file.h); each frame a dict with its
    number, clock, screen and calls: ("state", state, value) or ("draw", texture, rect, rgba)."""
    header, frames = None, []
    with open(path) as lines:
        for line in lines:
            f = line.split()
            if f[0] == "drive":
                header = (f[1], int(f[3]), int(f[5]))
            elif f[0] == "frame":
                frames.append({"frame": int(f[1]), "clock": int(f[3]), "screen": f[5],
                               "calls": []})
            elif f[0] == "state":
                frames[-1]["calls"].append(("state", int(f[1]), int(f[2])))
            elif f[0] == "draw":
                frames[-1]["calls"].append(("draw", int(f[1]), tuple(map(float, f[2:6])),
                                            tuple(map(int, f[6:10]))))
            else:
                raise ValueError(f"{path}: unknown line {line!r}")
    return header, frames


def relative_difference(a, b):
    return abs(a - b) / max(abs(a), abs(b), 1.0)


def compare_drives(checks, host, wine):
    """Checks that the two recordings hold the same frames with the same calls in order."""
    (host_header, host_frames), (wine_header, wine_frames) = host, wine
    checks.check(host_header == wine_header, "drive: the same game, release and frame count",
                 f"host {host_header}, wine {wine_header}")
    shape = [(f["frame"], f["clock"], f["screen"]) for f in host_frames]
    checks.check(shape == [(f["frame"], f["clock"], f["screen"]) for f in wine_frames],
                 "drive: the same frames, clocks and screens")
    mismatched, alphas_off, worst_rect, worst_at = [], 0, 0.0, None
    for h, w in zip(host_frames, wine_frames):
        hc, wc = h["calls"], w["calls"]
        same = len(hc) == len(wc)
        for a, b in zip(hc, wc):
            if a[0] != b[0] or (a[0] == "state" and a != b):
                same = False
            elif a[0] == "draw":
                same = same and a[1] == b[1] and a[3][:3] == b[3][:3] and \
                    abs(a[3][3] - b[3][3]) <= ALPHA_TOLERANCE
                alphas_off += a[3][3] != b[3][3]
                for x, y in zip(a[2], b[2]):
                    if relative_difference(x, y) > worst_rect:
                        worst_rect, worst_at = relative_difference(x, y), h["frame"]
        if not same:
            mismatched.append(h["frame"])
    detail = ""
    if mismatched:
        first = mismatched[0]
        detail = (f"{len(mismatched)} frames differ, first {first}:\n      host {host_frames[first]['calls']}"
                  f"\n      wine {wine_frames[first]['calls']}")
    checks.check(not mismatched, "drive: every frame has the same calls in order (render states, "
                 f"textures, colours; alpha within {ALPHA_TOLERANCE})", detail)
    checks.check(worst_rect <= RECT_TOLERANCE,
                 f"drive: rectangles within {RECT_TOLERANCE} relative",
                 f"worst {worst_rect:.3g} at frame {worst_at}")
    draws = sum(c[0] == "draw" for f in host_frames for c in f["calls"])
    checks.check(draws > 0, f"drive: the strip was drawn ({draws} sprite draws)")
    print(f"  info alphas one apart: {alphas_off}; worst rectangle difference {worst_rect:.3g}"
          + (f" (frame {worst_at})" if worst_at is not None else ""))


def radio_drive_suite(args):
    game, release = args.game, args.release
    checks = Checks(f"wine radio drive {game}")
    if not os.path.exists(args.host_tool):
        sys.exit(f"FAIL: the host tool {args.host_tool} is missing: build the host preset first "
                 f"(cmake --build --preset host --target radio_drive_{game}), or point "
                 "OMBRIX_HOST_BUILD at a host build folder")
    wine = require_wine()
    env = wine_env(args.prefix)
    work = os.path.abspath(args.work)

    # The host build's drive, in a fresh folder where it makes the settings file and the icons.
    host_folder, host_out = os.path.join(work, "host-folder"), os.path.join(work, "host-out")
    for folder in (host_folder, host_out):
        if os.path.exists(folder):
            shutil.rmtree(folder)
    start = time.monotonic()
    host = subprocess.run([args.host_tool, host_folder, host_out, "--release", str(release)],
                          capture_output=True, text=True, timeout=WINE_RUN_TIMEOUT)
    print(f"[{game}] host drive: {time.monotonic() - start:.1f} s, exit {host.returncode}")
    for line in host.stdout.splitlines():
        print("    | " + line)
    host_frames = os.path.join(host_out, "frames.txt")
    if not checks.check(host.returncode == 0 and os.path.exists(host_frames),
                        "host drive: frames written", host.stderr[-2000:]):
        return checks.finish()

    # The same icons in a game folder laid out for the real DLLs.
    exe, icon_dir = make_game_folder(os.path.join(work, "wine-folder"), args.standin,
                                     args.ombrix, args.tessivo, [])
    host_icons = os.path.join(host_folder, "halvenmoor_mods", "Tessivo", "icons")
    for name in sorted(os.listdir(host_icons)):
        if name.endswith(".png"):
            shutil.copy(os.path.join(host_icons, name), icon_dir)
    wine_frames = os.path.join(work, "wine-frames.txt")
    argv = [*wine, exe, game, "radio", str(release), "--drive", win_path(wine_frames)]
    code, out, err, seconds = run_wine(argv, env, WINE_RUN_TIMEOUT)
    print(f"[{game}] wine drive: {seconds:.1f} s, exit {code}", flush=True)
    r = Result(argv[2:], code, out, err, seconds)
    if not checks.check(code == 0 and r.fact("drive") and r.fact("drive").endswith(" written"),
                        "wine drive: frames written", str(r.fact("drive"))):
        r.show()
        return checks.finish()

    compare_drives(checks, read_drive_frames(host_frames), read_drive_frames(wine_frames))
    print(f"  info host frames {host_frames}, wine frames {wine_frames}, pictures in {host_out}")
    return checks.finish()

# ---------------------------------------------------------------------------------------------

SOAK_LOADS = 500
SOAK_HOLD_EVERY = 10
# What the C runtime's heap and Wine's own bookkeeping may keep after a load without a leak:
# a leak of one 64x64 chain per load would be 500 x 21 KiB, ten times this.
SOAK_SLACK = 1 << 20


def soak_suite(args):
    checks = Checks(f"wine soak {args.game}")
    runner = Runner(args)
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    png = os.path.join(work, "t64.png")
    with open(png, "wb") as out:
        out.write(png_bytes(64, 64, test_image_rgba(64, 64)))
    r = runner.run("soak", "load", win_path(png),
                   options=("--size", "64x64", "--mipmaps", "--repeat", str(SOAK_LOADS),
                            "--hold-every", str(SOAK_HOLD_EVERY), "--miss-every", "2"))
    m = re.search(r"^soak calls (\d+) nulls (\d+) held (\d+) held-bytes (\d+) "
                  r"private-before (\d+) private-after (\d+)$", "\n".join(r.lines), re.M)
    if not checks.check(r.returncode == 0 and m is not None,
                        f"{SOAK_LOADS} loads each give a texture", f"exit {r.returncode}"):
        r.show()
        return checks.finish()
    calls, _, held, held_bytes, before, after = (int(g) for g in m.groups())
    print(f"  private bytes {before} -> {after} ({after - before:+d}), "
          f"{held} textures held, {held_bytes} bytes")
    checks.check(calls == SOAK_LOADS and held == SOAK_LOADS // SOAK_HOLD_EVERY,
                 f"{SOAK_LOADS} calls, every {SOAK_HOLD_EVERY}th texture held",
                 f"{calls} calls, {held} held")
    checks.check(before > 0, "private memory measured", str(before))
    checks.check(after - before <= held_bytes + SOAK_SLACK,
                 "private memory grows by no more than the held textures (and 1 MiB of slack)",
                 f"grew {after - before} bytes, held {held_bytes}")
    return checks.finish()


def add_radio_arguments(parser):
    """What every run of the radio plug-in in the stand-in game needs."""
    parser.add_argument("--game", required=True, choices=sorted(RW_TABLES))
    parser.add_argument("--release", required=True, type=int)
    parser.add_argument("--standin", required=True)
    parser.add_argument("--ombrix", required=True)
    parser.add_argument("--tessivo", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("check-dll")
    p.add_argument("--objdump", required=True)
    p.add_argument("--radio", action="store_true", help="Tessivo DLLs: no exports")
    p.add_argument("dlls", nargs="+")
    p = sub.add_parser("check-standin")
    p.add_argument("--objdump", required=True)
    p.add_argument("exe")
    p = sub.add_parser("check-program")
    p.add_argument("--objdump", required=True)
    p.add_argument("--standin", action="store_true", help="laid out as the stand-in game")
    p.add_argument("programs", nargs="+")
    p = sub.add_parser("prefix")
    p.add_argument("--prefix", required=True)
    p.add_argument("--warm-up", help="a program run once after the server has started")
    p = sub.add_parser("radio")
    add_radio_arguments(p)
    p.add_argument("--source", required=True, help="the repository, for tables and expectations")
    p = sub.add_parser("radio-drive")
    add_radio_arguments(p)
    p.add_argument("--host-tool", required=True, help="the host build's radio_drive_<game>")
    p = sub.add_parser("shutdown")
    p.add_argument("--prefix", required=True)
    for name in ("run", "soak"):
        p = sub.add_parser(name)
        p.add_argument("--game", required=True, choices=sorted(RW_TABLES))
        p.add_argument("--standin", required=True)
        p.add_argument("--dll", required=True)
        p.add_argument("--prefix", required=True)
        p.add_argument("--work", required=True)
    args = parser.parse_args()
    handlers = {"check-dll": cmd_check_dll, "check-standin": cmd_check_standin,
                "check-program": cmd_check_program,
                "prefix": cmd_prefix, "shutdown": cmd_shutdown, "run": scenario_suite,
                "radio": radio_suite, "radio-drive": radio_drive_suite, "soak": soak_suite}
    return handlers[args.command](args)


if __name__ == "__main__":
    sys.exit(main())
