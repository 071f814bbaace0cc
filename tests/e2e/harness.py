"""Shared pieces of the end-to-end tests: Wine in a prefix and a virtual X display of the test's
own, processes always ended by the test that started them, the tests' Windows probe, pictures."""

import contextlib
import fcntl
import os
import re
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

E2E = Path(__file__).resolve().parent
BUILD_DIR = Path(os.environ.get("LULLVANE_BUILD_DIR", E2E.parents[1] / "build"))
WINDOWS_BIN = Path(os.environ.get("LULLVANE_WINDOWS_BIN", BUILD_DIR / "windows"))
LINUX_BIN = Path(os.environ.get("LULLVANE_LINUX_BIN", BUILD_DIR / "linux"))
WINE_PREFIX = Path(os.environ.get("LULLVANE_WINEPREFIX", BUILD_DIR / "wineprefix"))
PROBE = WINDOWS_BIN / "tests/e2e/probe/lullvane-probe.exe"  # its commands: probe_main_win32.cpp
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
# Window titles as hex code page 932 bytes, for the probe's command line.
RENDERER_TITLE = "546f7276616e6587555643"  # "TorvaneⅡVC"
SHOW_TITLE, DIALOG_TITLE, PRODUCT_TITLE = (text.hex() for text in
                                           (b"Torvane2_Main", b"<Lullvane>", b"Lullvane"))


def fail(message):
    raise SystemExit(f"FAIL: {message}")


def check(condition, message):
    if not condition:
        fail(message)


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if value := predicate():
            return value
        time.sleep(interval)
    fail(f"timed out after {timeout} s waiting for {what}")


@contextlib.contextmanager
def started(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **options):
    """A process killed with its whole group if it is still running at the end."""
    process = subprocess.Popen(command, stdout=stdout, stderr=stderr, start_new_session=True,
                               **options)
    try:
        yield process
    finally:
        if process.poll() is None:
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, 9)
            process.wait(timeout=10)


def exit_code(process, what, timeout=60):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        fail(f"expected {what} to end within {timeout} s; it still runs")


@contextlib.contextmanager
def scratch_dir(prefix="lullvane-e2e-"):
    path = Path(tempfile.mkdtemp(prefix=prefix))
    try:
        yield path
    finally:
        shutil.rmtree(path, ignore_errors=True)


@contextlib.contextmanager
def virtual_display(width=1024, height=768, second_head=None):
    """Xvfb; yields ':N'. It picks a free N and writes it once it accepts clients (-displayfd),
    and never resets (a client connecting meanwhile would be turned away). A second head comes
    through Xinerama without RandR, so that Wine sees two monitors (both at the origin)."""
    heads = ["-screen", "0", f"{width}x{height}x24"]
    if second_head:
        heads += ["-screen", "1", "%dx%dx24" % second_head, "+xinerama", "-extension", "RANDR"]
    read, write = os.pipe()  # the read end stays open: Xvfb dies if it cannot write there
    with open(read, "rb", buffering=0) as reader, started(
            ["Xvfb", "-displayfd", str(write), "-noreset", *heads, "-nolisten", "tcp", "+extension",
             "GLX"], pass_fds=(write,), **QUIET) as server:
        os.close(write)
        number = reader.read(32).decode().strip() if select.select([read], [], [], 15)[0] else ""
        check(number.isdigit(), "Xvfb did not start within 15 s")
        try:
            yield f":{number}"
        finally:
            server.terminate()  # so that it removes its lock file and socket
            server.wait(timeout=10)


def wait_for_wine_session_end(env, timeout=60):
    """Wine's desktop process keeps the display it started with: no session may outlive it."""
    with contextlib.suppress(subprocess.TimeoutExpired):
        subprocess.run(["wineserver", "-w"], env=env, timeout=timeout)


@contextlib.contextmanager
def wine_session(with_display=True, width=1024, height=768, prefix=WINE_PREFIX,
                 locale="ja_JP.UTF-8", second_head=None):
    """A Wine session of its own, in a virtual display, Japanese (ANSI code page 932) unless told
    otherwise; yields its environment. The prefix is made once, under a lock."""
    with contextlib.ExitStack() as stack:
        env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", LC_ALL=locale,
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("DISPLAY", None)
        if with_display:
            env["DISPLAY"] = stack.enter_context(virtual_display(width, height, second_head))
        prefix.parent.mkdir(parents=True, exist_ok=True)
        with open(prefix.parent / f"{prefix.name}.lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not (prefix / ".lullvane-ready").exists():
                subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300, **QUIET)
                # Without a window manager Wine stalls on each window close unless unmanaged.
                unmanaged = ["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d"]
                check(run_wine([*unmanaged, "N", "/f"], env, 120)[0] == 0, "reg add Managed failed")
                wait_for_wine_session_end(env, 120)
                (prefix / ".lullvane-ready").touch()
        wait_for_wine_session_end(env)
        stack.callback(wait_for_wine_session_end, env)
        yield env


@contextlib.contextmanager
def fresh_wine_prefix(name):
    """A Wine prefix for one test alone, removed at the end (and any immutable file in it)."""
    prefix = LINUX_BIN / f"wineprefix-{name}"

    def remove():
        if prefix.exists():
            subprocess.run(["chattr", "-R", "-i", str(prefix)], **QUIET)
        shutil.rmtree(prefix, ignore_errors=True)

    remove()
    try:
        yield prefix
    finally:
        remove()


def run_wine(command, env, timeout):
    """Runs a Windows console program; returns (exit code, output). The output goes through a
    file: a Wine server started by the call would hold a pipe open long after the program."""
    with tempfile.TemporaryFile() as output:
        code = subprocess.run(["wine", *map(str, command)], env=env, stdout=output,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
        output.seek(0)
        return code, output.read().decode(errors="replace").replace("\r", "")


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run_probe(env, *arguments, timeout=60):
    try:
        return run_wine([PROBE, *arguments], env, timeout)
    except subprocess.TimeoutExpired:
        fail(f"the probe did not end within {timeout} s: {arguments}")


def probe_lines(env, *arguments, timeout=60):
    """Runs the probe: (exit code, a {key: value} for each printed line that has any)."""
    code, text = run_probe(env, *arguments, timeout=timeout)
    pairs = (re.findall(r"(\S+?)=(\S*)", line) for line in text.split("\n"))
    return code, [dict(found) for found in pairs if found]


def probe(env, *arguments, timeout=60):
    """Runs the probe: (exit code, {key: value} of everything it printed)."""
    code, lines = probe_lines(env, *arguments, timeout=timeout)
    return code, {key: value for line in lines for key, value in line.items()}


def ppm_pixels(ppm):
    """A binary PPM of 8-bit channels as (width, height, RGB bytes)."""
    size = re.match(rb"P6\s(\d+)\s(\d+)\s255\s", ppm)
    check(size and len(ppm) == size.end() + 3 * int(size[1]) * int(size[2]), "bad PPM")
    return int(size[1]), int(size[2]), ppm[size.end():]


def image_pixels(path):
    """Any picture ImageMagick reads, as (width, height, RGB bytes)."""
    return ppm_pixels(subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"], check=True,
                                     timeout=60, stdout=subprocess.PIPE).stdout)


def capture_screen(display, path):
    """Saves the whole virtual screen as a PNG; returns (width, height, RGB bytes)."""
    subprocess.run(["import", "-display", display, "-window", "root", str(path)], check=True,
                   timeout=60, **QUIET)
    return image_pixels(path)


def check_flame(display, path, area=(1024, 768)):
    """Waits for the flame on the screen: over a twentieth of `area` (width, height from the top
    left) lit, no blue, red at least green, black outside `area`. Returns the lit count."""
    def capture():
        width, _, pixels = capture_screen(display, path)
        lit = len(pixels) // 3 - pixels[0::3].count(0)
        return lit > area[0] * area[1] // 20 and (width, pixels, lit)

    width, pixels, lit = wait_for(capture, 30, interval=1, what=f"a flame lighting {area}")
    red, green, blue = pixels[0::3], pixels[1::3], pixels[2::3]

    def wrong(i):
        outside = i % width >= area[0] or i // width >= area[1]
        return blue[i] or green[i] > red[i] or (outside and red[i])

    at = next((i for i in range(len(red)) if wrong(i)), 0)
    check(not wrong(at), f"expected flame colours inside {area}, black outside; pixel "
          f"{at % width},{at // width} is #{pixels[3 * at:3 * at + 3].hex()}")
    return lit
