"""A virtual X display (Xvfb) for Wine runs that need one: with it and Mesa's software OpenGL,
Wine makes a Direct3D 11 device, which it cannot make without a display.

The display is a socket under /tmp/.X11-unix, which the Wine root's mount namespace sees too
(tools/wine-run binds /tmp). Xvfb picks a free display number itself (-displayfd), so runs in
parallel never share one by accident.
"""
import os
import shutil
import signal
import subprocess
import time

START_TIMEOUT = 30  # seconds for Xvfb to name its display


class DisplayError(Exception):
    pass


def start(log_path):
    """Starts Xvfb in a session of its own, holding none of the caller's descriptors (ctest waits
    for every holder of a test's output pipe). Returns (display, pid), e.g. (":3", 1234)."""
    xvfb = shutil.which("Xvfb")
    if not xvfb:
        raise DisplayError("Xvfb is not installed (tools/install-deps installs xvfb)")
    read_end, write_end = os.pipe()
    with open(log_path, "wb") as log:
        process = subprocess.Popen(
            [xvfb, "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp"], stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,),
            start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + START_TIMEOUT
    try:
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    finally:
        os.close(read_end)
    if not number.strip().isdigit():
        stop(process.pid)
        tail = open(log_path, errors="replace").read().strip().splitlines()[-1:]
        raise DisplayError("Xvfb named no display" + (f": {tail[0]}" if tail else ""))
    return ":" + number.strip().decode(), process.pid


def is_xvfb(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            return os.path.basename(cmdline.read().split(b"\0")[0]) == b"Xvfb"
    except OSError:
        return False


def stop(pid):
    """Stops the Xvfb of `pid`, and only an Xvfb: a recorded number may have been reused."""
    if not is_xvfb(pid):
        return
    os.kill(pid, signal.SIGTERM)
    for _ in range(50):
        try:
            finished, _ = os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:  # started by another process: wait until it is gone
            finished = pid if not is_xvfb(pid) else 0
        if finished:
            return
        time.sleep(0.1)
    os.kill(pid, signal.SIGKILL)

