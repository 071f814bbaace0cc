"""Shared pieces of the end-to-end tests: a private Wine prefix, a virtual X display, processes
that are always ended by the test that started them, and the tests' Windows probe."""

import contextlib
import fcntl
import os
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

BUILD_DIR = Path(os.environ.get("LULLVANE_BUILD_DIR", Path(__file__).resolve().parents[2] / "build"))
WINDOWS_BIN = Path(os.environ.get("LULLVANE_WINDOWS_BIN", BUILD_DIR / "windows"))
LINUX_BIN = Path(os.environ.get("LULLVANE_LINUX_BIN", BUILD_DIR / "linux"))
WINE_PREFIX = Path(os.environ.get("LULLVANE_WINEPREFIX", BUILD_DIR / "wineprefix"))
# The tests' Windows probe; tests/e2e/probe/probe_main_win32.cpp lists its commands.
PROBE = WINDOWS_BIN / "tests/e2e/probe/lullvane-probe.exe"

# Window titles as code page 932 bytes, in hex for the probe's command line.
RENDERER_TITLE = "546f7276616e6587555643"  # "TorvaneⅡVC"
SHOW_TITLE = b"Torvane2_Main".hex()
DIALOG_TITLE = b"<Lullvane>".hex()
PRODUCT_TITLE = b"Lullvane".hex()


def fail(message):
    raise SystemExit(f"FAIL: {message}")


def check(condition, message):
    if not condition:
        fail(message)


def wine_environment(display=None, prefix=WINE_PREFIX, locale="ja_JP.UTF-8"):
    """The environment for Wine: the tests' own prefix, a Japanese locale (ANSI code page 932)
    unless told otherwise, no debug noise. The prefix is made once, under a lock, since tests may
    run in parallel."""
    env = dict(os.environ)
    env.update(WINEPREFIX=str(prefix), WINEDEBUG="-all", LC_ALL=locale,
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    if display:
        env["DISPLAY"] = display
    prefix.parent.mkdir(parents=True, exist_ok=True)
    with open(prefix.parent / f"{prefix.name}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        ready = prefix / ".lullvane-ready"
        if not ready.exists():
            subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Without a window manager Wine stalls on every window close unless its windows are
            # unmanaged.
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                            "/t", "REG_SZ", "/d", "N", "/f"], env=env, check=True, timeout=120,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, timeout=120)
            ready.touch()
    return env


@contextlib.contextmanager
def virtual_display(width=1024, height=768, second_head=None):
    """Starts Xvfb and yields its display name, e.g. ':1'. The server picks a free number itself
    (-displayfd) and writes it once it accepts connections, so that servers started at the same
    moment by tests running in parallel never end up sharing one. It does not reset when its last
    client leaves (-noreset): a client connecting during a reset would be turned away. A second
    head of the given (width, height) comes through Xinerama, without RandR, so that Wine reports
    two monitors; Xvfb puts both at the origin."""
    heads = ["-screen", "0", f"{width}x{height}x24"]
    if second_head:
        heads += ["-screen", "1", "{}x{}x24".format(*second_head), "+xinerama", "-extension", "RANDR"]
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", *heads,
                               "-nolisten", "tcp", "+extension", "GLX"],
                              pass_fds=(write,), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write)
    try:
        ready, _, _ = select.select([read], [], [], 15)
        number = os.read(read, 32).decode().strip() if ready else ""
        check(number.isdigit(), "Xvfb did not start")
        yield f":{number}"
    finally:
        os.close(read)
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()


def wait_for_wine_session_end(env, timeout=60):
    """Waits until the prefix's Wine server has ended. Wine's desktop process keeps the display of
    the session that started it, so a session must not outlive its display nor be shared with one
    that has none."""
    with contextlib.suppress(subprocess.TimeoutExpired):
        subprocess.run(["wineserver", "-w"], env=env, timeout=timeout)


@contextlib.contextmanager
def wine_session(with_display=True, width=1024, height=768, prefix=WINE_PREFIX,
                 locale="ja_JP.UTF-8", second_head=None):
    """A Wine session of its own, in a virtual display of that size unless told otherwise; yields
    the environment for Wine (its DISPLAY names the display)."""
    with contextlib.ExitStack() as stack:
        display = (stack.enter_context(virtual_display(width, height, second_head))
                   if with_display else None)
        env = wine_environment(display, prefix, locale)
        wait_for_wine_session_end(env)
        try:
            yield env
        finally:
            wait_for_wine_session_end(env)


@contextlib.contextmanager
def fresh_wine_prefix(name):
    """A Wine prefix for one test alone, made anew by its first session and removed at the end."""
    prefix = LINUX_BIN / f"wineprefix-{name}"

    def remove():
        # A test killed midway may have left a file immutable in it.
        if prefix.exists():
            subprocess.run(["chattr", "-R", "-i", str(prefix)], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        shutil.rmtree(prefix, ignore_errors=True)

    remove()
    try:
        yield prefix
    finally:
        remove()


def run_wine(command, env, timeout):
    """Runs a Windows console program to its end; returns (exit code, its output as text).
    Output goes through a file, not a pipe: a Wine server started by this call inherits the
    program's handles and would hold a pipe open long after the program has ended."""
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(["wine", *[str(part) for part in command]], env=env, stdout=output,
                                stderr=subprocess.DEVNULL, timeout=timeout)
        output.seek(0)
        return result.returncode, output.read().decode(errors="replace").replace("\r", "")


def windows_path(path):
    """The path as a Windows program under Wine sees it."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run_probe(env, *arguments, timeout=60):
    """Runs the probe to its end; returns (exit code, its output as text)."""
    try:
        return run_wine([PROBE, *arguments], env, timeout)
    except subprocess.TimeoutExpired:
        fail(f"the probe did not end within {timeout} s: {arguments}")


def probe_lines(env, *arguments, timeout=60):
    """Runs the probe; returns (exit code, one {key: value} for each printed line that has any)."""
    code, text = run_probe(env, *arguments, timeout=timeout)
    lines = [dict(pair.split("=", 1) for pair in line.split(" ") if "=" in pair)
             for line in text.split("\n") if "=" in line]
    return code, lines


def probe(env, *arguments, timeout=60):
    """Runs the probe; returns (exit code, {key: value} of everything it printed)."""
    code, lines = probe_lines(env, *arguments, timeout=timeout)
    return code, {key: value for line in lines for key, value in line.items()}


@contextlib.contextmanager
def started(command, env=None, cwd=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE):
    """A process that is killed, with its whole group, if it is still running at the end."""
    process = subprocess.Popen(command, env=env, cwd=cwd, stdout=stdout, stderr=stderr,
                               start_new_session=True)
    try:
        yield process
    finally:
        if process.poll() is None:
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, 9)
            process.wait(timeout=10)


def wait_for(predicate, timeout, interval=0.1, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    fail(f"timed out after {timeout} s waiting for {what}")


@contextlib.contextmanager
def scratch_dir(prefix="lullvane-e2e-"):
    path = Path(tempfile.mkdtemp(prefix=prefix))
    try:
        yield path
    finally:
        shutil.rmtree(path, ignore_errors=True)


def read_ppm(path_or_bytes):
    """Reads a binary PPM (P6) into (width, height, bytes)."""
    data = path_or_bytes if isinstance(path_or_bytes, bytes) else Path(path_or_bytes).read_bytes()
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    check(fields[0] == b"P6" and fields[3] == b"255", "not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + 3 * width * height]
    check(len(pixels) == 3 * width * height, "truncated PPM")
    return width, height, pixels


def image_pixels(path):
    """Any picture ImageMagick reads, as (width, height, RGB bytes)."""
    ppm = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"], check=True,
                         stdout=subprocess.PIPE, timeout=60).stdout
    return read_ppm(ppm)


def capture_screen(display, path):
    """Saves the whole virtual screen as a PNG and returns (width, height, RGB bytes)."""
    subprocess.run(["import", "-display", display, "-window", "root", str(path)], check=True,
                   timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return image_pixels(path)
