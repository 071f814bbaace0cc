"""What the host's end-to-end tests share: where the programs are, a scratch install of the host,
and the host's processes."""

import shutil
import subprocess
import time
from pathlib import Path

from harness import PROBE, WINDOWS_BIN, check, fail, started, windows_path

HOST = WINDOWS_BIN / "src/scr/Lullvane.scr"
REAL_RENDERER = WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"


def install(folder, renderer=REAL_RENDERER):
    """Copies the host, and the renderer as Lullvane.dll unless None, into `folder`; returns the
    host's path."""
    check(HOST.exists(), f"missing {HOST}: build the windows preset first")
    shutil.copy(HOST, folder / "Lullvane.scr")
    if renderer:
        shutil.copy(renderer, folder / "Lullvane.dll")
    return folder / "Lullvane.scr"


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
        if any(mark in command for mark in marks) and PROBE.name not in command:
            found.append(f"{entry.name}: {command.strip()}")
    return found


def wait_until_ended(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"process {process.args} still running after {timeout} s")


def require_windows_build():
    for path in (HOST, PROBE, REAL_RENDERER):
        if not path.exists():
            fail(f"missing {path}: build the windows preset first")
