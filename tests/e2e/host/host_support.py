"""What the host's end-to-end tests share: where the programs are, a scratch install of the host,
and the tests' Windows probe."""

import shutil
import subprocess
import time
from pathlib import Path

from harness import WINDOWS_BIN, check, fail, run_wine, started

HOST = WINDOWS_BIN / "src/scr/Lullvane.scr"
REAL_RENDERER = WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"
HELPERS = WINDOWS_BIN / "tests/e2e/host/win32"
STAND_IN_RENDERER = HELPERS / "stand-in-renderer.exe"
PROBE = HELPERS / "host-probe.exe"

# Window titles as code page 932 bytes, in hex for the probe's command line.
RENDERER_TITLE = bytes.fromhex("546f7276616e6587555643").hex()  # "TorvaneⅡVC"
SHOW_TITLE = b"Torvane2_Main".hex()
PRODUCT_TITLE = b"Lullvane".hex()


def renderer(real_if_built=True):
    """The renderer to install: the real build's when it exists, else the tests' stand-in."""
    if real_if_built and REAL_RENDERER.exists():
        return REAL_RENDERER
    check(STAND_IN_RENDERER.exists(), f"missing {STAND_IN_RENDERER}")
    return STAND_IN_RENDERER


def install(folder, with_renderer=True, real_if_built=True):
    """Copies the host (and the renderer, as Lullvane.dll) into `folder`; returns the host's path."""
    check(HOST.exists(), f"missing {HOST}: build the windows preset first")
    shutil.copy(HOST, folder / "Lullvane.scr")
    if with_renderer:
        chosen = renderer(real_if_built)
        shutil.copy(chosen, folder / "Lullvane.dll")
        print(f"renderer: {'real' if chosen == REAL_RENDERER else 'stand-in'} ({chosen})")
    return folder / "Lullvane.scr"


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def probe(env, *arguments, timeout=60):
    """Runs the probe; returns (exit code, {key: value} of everything it printed)."""
    code, text = run_wine([PROBE, *arguments], env, timeout)
    values = {}
    for line in text.split("\n"):
        for pair in line.split(" "):
            if "=" in pair:
                key, value = pair.split("=", 1)
                values[key] = value
    return code, values


def start_host(host, *arguments, env):
    """The host running in the background, ended with its process group at the end."""
    return started(["wine", str(host), *arguments], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def run_host(env, host, *arguments, timeout=30):
    """Runs the host to its end; returns (exit code, seconds taken)."""
    start = time.monotonic()
    result = subprocess.run(["wine", str(host), *arguments], env=env, timeout=timeout,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return result.returncode, time.monotonic() - start


def processes_running_from(folder):
    """The command lines of processes whose program lies in `folder` (Wine shows Windows paths)."""
    marks = (str(folder), windows_path(folder), windows_path(folder).lower())
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            command = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
        except OSError:
            continue
        if any(mark in command for mark in marks) and "host-probe" not in command:
            found.append(f"{entry.name}: {command.strip()}")
    return found


def wait_until_ended(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"process {process.args} still running after {timeout} s")


def require_windows_build():
    for path in (HOST, PROBE, STAND_IN_RENDERER):
        if not path.exists():
            fail(f"missing {path}: build the windows preset first")
