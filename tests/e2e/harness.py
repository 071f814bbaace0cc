"""Shared pieces of the end-to-end tests: Wine in a prefix and a virtual X display of the test's
own, processes always ended by the test that started them, the tests' Windows probe, pictures."""

import contextlib, fcntl, os, re, select, subprocess, tempfile, time
from pathlib import Path

WINDOWS_BIN, LINUX_BIN, WINE_PREFIX = (Path(os.environ[f"LULLVANE_{name}"])
                                       for name in ("WINDOWS_BIN", "LINUX_BIN", "WINEPREFIX"))
PROBE = WINDOWS_BIN / "tests/e2e/probe/lullvane-probe.exe"  # its commands: probe_main_win32.cpp
QUIET = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
# Window titles as hex code page 932 bytes, for the probe's command line.
RENDERER_TITLE = "546f7276616e6587555643"  # "TorvaneⅡVC"
SHOW_TITLE, DIALOG_TITLE, PRODUCT_TITLE = map(bytes.hex,
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
def started(command, env=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **options):
    """A process killed with its whole group if it is still running at the end."""
    process = subprocess.Popen(command, env=env, stdout=stdout, stderr=stderr,
                               start_new_session=True, **options)
    try:
        yield process
    finally:
        if process.poll() is None:
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, 9)
            process.wait(timeout=10)

def exit_code(process, what, timeout=60):
    wait_for(lambda: process.poll() is not None, timeout, what=f"{what} to end")
    return process.returncode

@contextlib.contextmanager
def scratch_dir(parent=None):
    with tempfile.TemporaryDirectory(prefix="lullvane-e2e-", dir=parent,
                                     ignore_cleanup_errors=True) as path:
        yield Path(path)

@contextlib.contextmanager
def virtual_display(width=1024, height=768, second_head=None):
    """Xvfb on a free display (':N'), never resetting; a second head through Xinerama alone."""
    heads = ["-screen", "0", f"{width}x{height}x24"] + (["-screen", "1", "%dx%dx24" % second_head,
             "+xinerama", "-extension", "RANDR"] if second_head else [])
    with started(["Xvfb", "-displayfd", "1", "-noreset", *heads, "-nolisten", "tcp",
                  "+extension", "GLX"], stderr=subprocess.DEVNULL) as server:
        ready = select.select([server.stdout], [], [], 15)[0]  # the pipe stays open: Xvfb needs it
        number = server.stdout.readline().decode().strip() if ready else ""
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
def wine_session(with_display=True, prefix=WINE_PREFIX, locale="ja_JP.UTF-8", second_head=None):
    """A Wine session's environment: its own display, code page 932 unless told, the prefix made."""
    with contextlib.ExitStack() as stack:
        env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", LC_ALL=locale,
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("DISPLAY", None)
        if with_display:
            env["DISPLAY"] = stack.enter_context(virtual_display(second_head=second_head))
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
    code, text = run_probe(env, *arguments, timeout=timeout)
    pairs = (re.findall(r"(\S+?)=(\S*)", line) for line in text.split("\n"))
    return code, [dict(found) for found in pairs if found]

def probe(env, *arguments, timeout=60):
    code, lines = probe_lines(env, *arguments, timeout=timeout)
    return code, {key: value for line in lines for key, value in line.items()}

def processes_running_from(folder):
    """The command lines naming `folder`, also as Wine shows it; the probe's own left out."""
    marks = (str(folder), windows_path(folder), windows_path(folder).lower())
    commands = []
    for cmdline in Path("/proc").glob("[0-9]*/cmdline"):
        with contextlib.suppress(OSError):  # a process that has just ended
            commands.append(cmdline.read_bytes().replace(b"\0", b" ").decode(errors="replace"))
    return [command for command in commands
            if any(mark in command for mark in marks) and PROBE.name not in command]

def check_rows(context, rows):
    wrong = [f"{what}: expected {expected!r}, saw {seen!r}"
             for what, seen, expected in rows if seen != expected]
    check(not wrong, f"{context}: " + "; ".join(wrong))

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
    """A twentieth of `area` lit, no blue, red at least green, black outside; returns the lit."""
    def capture():
        width, _, pixels = capture_screen(display, path)
        lit = len(pixels) // 3 - pixels[0::3].count(0)
        return lit > area[0] * area[1] // 20 and (width, pixels, lit)
    width, pixels, lit = wait_for(capture, 30, interval=1, what=f"a flame lighting {area}")
    red, green, blue = pixels[0::3], pixels[1::3], pixels[2::3]
    wrong = (i for i in range(len(red)) if blue[i] or green[i] > red[i]
             or (red[i] and (i % width >= area[0] or i // width >= area[1])))
    at = next(wrong, None)
    if at is not None:
        fail(f"expected flame colours inside {area}, black outside; pixel "
             f"{at % width},{at // width} is #{pixels[3 * at:3 * at + 3].hex()}")
    return lit
