"""What the host's end-to-end tests share: a scratch install of the host and its processes."""

import contextlib
import shutil
import subprocess
import time
from pathlib import Path

from harness import PROBE, WINDOWS_BIN, check, fail, started, windows_path

HOST = WINDOWS_BIN / "src/scr/Lullvane.scr"
REAL_RENDERER = WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"


def require_windows_build():
    for path in (HOST, PROBE, REAL_RENDERER):
        check(path.exists(), f"missing {path}: build the windows preset first")


def install(folder, renderer=REAL_RENDERER):  # the renderer as Lullvane.dll unless None
    shutil.copy(HOST, folder / "Lullvane.scr")
    if renderer:
        shutil.copy(renderer, folder / "Lullvane.dll")
    return folder / "Lullvane.scr"


def start_host(host, *arguments, env):
    return started(["wine", str(host), *arguments], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def run_host(env, host, *arguments, timeout=30):  # (exit code, seconds taken)
    start = time.monotonic()
    result = subprocess.run(["wine", str(host), *arguments], env=env, timeout=timeout,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return result.returncode, time.monotonic() - start


def processes_running_from(folder):  # command lines naming `folder`, also as Wine shows it
    marks = (str(folder), windows_path(folder), windows_path(folder).lower())
    commands = []
    for cmdline in Path("/proc").glob("[0-9]*/cmdline"):
        with contextlib.suppress(OSError):  # a process that has just ended
            commands.append(cmdline.read_bytes().replace(b"\0", b" ").decode(errors="replace"))
    return [command for command in commands
            if any(mark in command for mark in marks) and PROBE.name not in command]


def wait_until_ended(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"process {process.args} still running after {timeout} s")
