"""lullvane-flame's Debian package under the real xscreensaver daemon. The package passes lintian
and documents every option; installed, it is run by the daemon of an ordinary user (the daemon
refuses to run hacks as root): the flame shows, -deactivate ends it by SIGTERM within a second,
five cycles leave nothing behind, the settings tool's preview runs it, and the preview's command
form draws into a window of the test's own.

Usage: xscreensaver_test.py PACKAGE.deb. It installs the package for its length (as root, or
through sudo without a password) and exits with 77, a skip, when it cannot."""

import contextlib
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

from harness import (LINUX_BIN, capture_screen, check, fail, image_pixels, scratch_dir, started,
                     virtual_display, wait_for)
from xlib_window import XWindow

PACKAGE_NAME = "lullvane-flame"
HACK = Path("/usr/libexec/xscreensaver/lullvane-flame")
SKIP = 77
# The README's line, and the mode and selection it has the user choose in the settings tool.
SETTINGS = """mode:\tone
selected:\t0
timeout:\t0:30:00
cycle:\t0:30:00
lock:\tFalse
splash:\tFalse
fade:\tFalse
unfade:\tFalse
programs: GL: "Lullvane Flame" lullvane-flame --root \\n
"""
PR_SET_CHILD_SUBREAPER = 36


def run(command, **options):
    return subprocess.run([str(part) for part in command], capture_output=True, text=True,
                          timeout=options.pop("timeout", 120), **options)


def check_package(package, scratch):
    """Its fields, its files, lintian, and a manual page that renders and names every option."""
    control = run(["dpkg-deb", "-f", package, "Package", "Version", "Depends", "Recommends"])
    fields = dict(line.split(": ", 1) for line in control.stdout.splitlines())
    check(package.name.startswith(f"{fields['Package']}_{fields['Version']}_"),
          f"the file name {package.name} does not match {fields}")
    check(fields["Recommends"] == "xscreensaver, xscreensaver-gl", f"Recommends: {fields}")
    check(all(library in fields["Depends"] for library in ("libc6 (>=", "libx11-6", "libglx0")),
          f"dependencies not computed from the binary: {fields['Depends']}")
    listing = run(["dpkg-deb", "-c", package]).stdout
    files = {line.split()[-1]: line.split()[0] for line in listing.splitlines()}
    expected = [str(HACK), "/usr/share/xscreensaver/config/lullvane-flame.xml",
                "/usr/share/man/man6/lullvane-flame.6.gz",
                *(f"/usr/share/doc/{PACKAGE_NAME}/{name}" for name in
                  ("README.md", "copyright", "changelog.gz"))]
    missing = [path for path in expected if f".{path}" not in files]
    check(not missing, f"not in the package: {missing}")
    check(files[f".{HACK}"] == "-rwxr-xr-x", f"the program's mode is {files[f'.{HACK}']}")

    lintian = run(["lintian", package], timeout=300)
    errors = [line for line in lintian.stdout.splitlines() if line.startswith("E:")]
    check(lintian.returncode == 0 and not errors, f"lintian: {lintian.stdout}{lintian.stderr}")
    warnings = [line for line in lintian.stdout.splitlines() if line.startswith("W:")]

    run(["dpkg-deb", "-x", package, scratch / "root"])
    page = scratch / "root/usr/share/man/man6/lullvane-flame.6.gz"
    manual = run(["man", "--warnings", "-l", page], env=dict(os.environ, MANWIDTH="80",
                                                            LC_ALL="C.UTF-8"))
    check(manual.returncode == 0 and not manual.stderr.strip(),
          f"man -l: {manual.returncode} {manual.stderr}")
    sections = ("SYNOPSIS", "OPTIONS", "KEYS", "ENVIRONMENT", "EXIT STATUS", "XSCREENSAVER_WINDOW")
    check(all(section in manual.stdout for section in sections), "a manual section is missing")
    options = set(re.findall(r"--[a-z][a-z-]*", run([LINUX_BIN / "src/flame_x11/lullvane-flame",
                                                        "--help"]).stdout))
    unmentioned = [option for option in options if option not in manual.stdout]
    check(len(options) > 8 and not unmentioned, f"options not in the manual: {unmentioned}")
    print(f"package: fields, files and modes right; lintian: no error, {len(warnings)} warnings; "
          f"the manual renders and describes all {len(options)} options")


def administrator():
    """The prefix that runs a command as root: none for root, sudo when it needs no password."""
    if os.geteuid() == 0:
        return []
    if shutil.which("sudo") and run(["sudo", "-n", "true"]).returncode == 0:
        return ["sudo", "-n"]
    return None


@contextlib.contextmanager
def installed(package, sudo):
    """The package installed with dpkg for the length of the block; removed afterwards unless it
    was installed before. dpkg's lock may be held for a while by another installation."""
    status = run(["dpkg-query", "-W", "-f=${db:Status-Status}", PACKAGE_NAME]).stdout
    deadline = time.monotonic() + 300
    try:
        while True:
            result = run([*sudo, "dpkg", "-i", package], timeout=300)
            if result.returncode == 0:
                break
            check("lock" in result.stderr and time.monotonic() < deadline,
                  f"dpkg -i: {result.stderr}")
            time.sleep(2)
        yield
    finally:
        if status != "installed":
            run([*sudo, "dpkg", "--purge", PACKAGE_NAME], timeout=300)


def process_table():
    """pid -> (parent pid, state, program name) of every process."""
    table = {}
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            text = (entry / "stat").read_text()
        except OSError:
            continue
        fields = text[text.rindex(")") + 2:].split()
        name = text[text.index("(") + 1:text.rindex(")")]
        table[int(entry.name)] = (int(fields[1]), fields[0], name)
    return table


def descendants(name):
    """The running (not ended) processes of that name below this test. The test is a subreaper,
    so a hack whose parent has gone still counts. The kernel keeps 15 bytes of a name."""
    table, me, found = process_table(), os.getpid(), []
    for pid, (parent, state, comm) in table.items():
        while parent in table and parent != me:
            parent = table[parent][0]
        if parent == me and comm == name[:15] and state != "Z":
            found.append(pid)
    return found


def wait_for_end(pid, timeout):
    """Waits for the process to end; returns its wait status when it ended as an orphan that
    this test adopted, None when its own parent reaped it."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            done, status = os.waitpid(pid, os.WNOHANG)
            if done:
                return status
        except ChildProcessError:
            if not Path(f"/proc/{pid}").exists():
                return None
        time.sleep(0.01)
    fail(f"process {pid} still running after {timeout} s")


@contextlib.contextmanager
def ordinary_user(scratch):
    """(name, home, prefix that runs a command as that user). As root: a user of the test's own,
    removed at the end with whatever it still runs; otherwise the current user."""
    home = scratch / "home"
    if os.geteuid() != 0:
        home.mkdir()
        yield os.environ.get("USER", "user"), home, []
        return
    name = f"lvflame{os.getpid()}"
    scratch.chmod(0o755)
    result = run(["useradd", "--user-group", "--no-create-home", "--home-dir", home, "--shell",
                  "/bin/sh", name])
    check(result.returncode == 0, f"useradd: {result.stderr}")
    try:
        home.mkdir()
        shutil.chown(home, name, name)
        yield name, home, ["runuser", "-u", name, "--"]
    finally:
        remaining = [int(pid) for pid in run(["pgrep", "-u", name]).stdout.split()]
        for pid in remaining:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        for pid in remaining:  # userdel refuses while the user still has a process
            wait_for_end(pid, 10)
        result = run(["userdel", name])
        if result.returncode != 0:
            print(f"could not remove the user {name}: {result.stderr}")


def flame_on_screen(display, path, area=None):
    """True when the screen, or an area of it (x, y, width, height), shows the flame: a good part
    lit, no blue anywhere, red at least green."""
    width, height, pixels = capture_screen(display, path)
    x0, y0, w, h = area or (0, 0, width, height)
    w, h = min(w, width - x0), min(h, height - y0)  # only what is on the screen
    rows = [pixels[3 * ((y0 + y) * width + x0):3 * ((y0 + y) * width + x0 + w)] for y in range(h)]
    picture = b"".join(rows)
    reds, greens, blues = picture[0::3], picture[1::3], picture[2::3]
    return (not any(blues) and all(r >= g for r, g in zip(reds, greens))
            and sum(1 for r in reds if r) > len(reds) // 20)


@contextlib.contextmanager
def log_shown_on_failure(path):
    try:
        yield
    except SystemExit:
        processes = run(["ps", "-e", "-o", "pid,ppid,user,stat,args"]).stdout.splitlines()
        print(f"the daemon's log:\n{path.read_text()[-4000:]}\nprocesses:")
        print("\n".join(line for line in processes if re.search("xscreensaver|lullvane", line)))
        raise


def check_daemon(display, scratch, user):
    name, home, as_user = user
    (home / ".xscreensaver").write_text(SETTINGS)
    if as_user:
        shutil.chown(home / ".xscreensaver", name)
    env = ["env", "-i", f"HOME={home}", f"DISPLAY={display}", "PATH=/usr/bin:/bin",
           f"USER={name}", f"LOGNAME={name}"]

    def command(*words):
        return run([*as_user, *env, "xscreensaver-command", *words])

    log_path = scratch / "daemon.log"
    with open(log_path, "w") as log, \
            started([*as_user, *env, "xscreensaver", "--no-splash", "--verbose"], stdout=log,
                    stderr=subprocess.STDOUT) as daemon, \
            log_shown_on_failure(log_path):
        wait_for(lambda: daemon.poll() is not None or command("-time").returncode == 0, 30, 0.5,
                 "the daemon")
        check(daemon.poll() is None, f"the daemon ended at its start with {daemon.returncode}")
        statuses, slowest = 0, 0.0
        for cycle in range(5):
            check(command("-activate").returncode == 0, "xscreensaver-command -activate")
            hack = wait_for(lambda: descendants("lullvane-flame"), 20, what="the hack")
            check(len(hack) == 1, f"cycle {cycle + 1}: {len(hack)} hacks running")
            arguments = Path(f"/proc/{hack[0]}/cmdline").read_bytes().split(b"\0")[:-1]
            check(arguments == [b"lullvane-flame", b"--root"], f"started as {arguments}")
            wait_for(lambda: flame_on_screen(display, scratch / "saver.png"), 20, 0.5,
                     f"cycle {cycle + 1}: the flame on the screen")
            if cycle == 0:
                # The daemon's own account of how a hack it ended has exited.
                check(command("-cycle").returncode == 0, "xscreensaver-command -cycle")
                wait_for(lambda: f"child pid {hack[0]} " in log_path.read_text(), 20,
                         what="the daemon's word on the cycled hack")
                line = re.search(rf"child pid {hack[0]} .*", log_path.read_text()).group(0)
                check("exited normally with SIGTERM" in line, f"after -cycle: {line}")
                hack = wait_for(lambda: descendants("lullvane-flame"), 20, what="the next hack")
            start = time.monotonic()
            check(command("-deactivate").returncode == 0, "xscreensaver-command -deactivate")
            status = wait_for_end(hack[0], 5)
            slowest = max(slowest, time.monotonic() - start)
            check(slowest < 1, f"cycle {cycle + 1}: the hack ended {slowest:.2f} s after it")
            by_sigterm = status is not None and os.WIFSIGNALED(status) and \
                os.WTERMSIG(status) == signal.SIGTERM
            check(status is None or by_sigterm,
                  f"cycle {cycle + 1}: wait status {status}, not terminated by SIGTERM")
            statuses += status is not None
            wait_for(lambda: not descendants("lullvane-flame") + descendants("xscreensaver-gfx"),
                     10, what=f"cycle {cycle + 1}: nothing left behind")
        check(statuses > 0, "no hack's wait status was seen after -deactivate")
        print(f"five cycles: the flame on the screen; -deactivate ended the hack within "
              f"{slowest:.2f} s, its wait status (seen {statuses} times) terminated by SIGTERM; "
              f"nothing left behind; -cycle logged: {line.split(': ', 2)[-1]}")
        check_settings_tool(display, scratch, as_user, env)
        check(command("-exit").returncode == 0, "xscreensaver-command -exit")
        daemon.wait(timeout=30)
    check("abnormally" not in log_path.read_text(), "the daemon logged an abnormal hack exit")


def check_settings_tool(display, scratch, as_user, env):
    """The settings tool reads the description and previews the selected hack, appending
    --window-id to its command line."""
    with started([*as_user, *env, "xscreensaver-settings"], stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL):
        def preview():
            for pid in descendants("lullvane-flame"):
                arguments = Path(f"/proc/{pid}/cmdline").read_bytes().decode().split("\0")[:-1]
                if "--window-id" in arguments:
                    return pid, arguments
            return None
        pid, arguments = wait_for(preview, 60, 0.5, "the settings tool's preview")
        check(arguments[:3] == ["lullvane-flame", "--root", "--window-id"],
              f"the preview runs {arguments}")
        geometry = run(["xwininfo", "-id", arguments[3]],
                       env=dict(os.environ, DISPLAY=display)).stdout
        area = [int(re.search(rf"{label}:\s+(-?\d+)", geometry).group(1)) for label in
                ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        wait_for(lambda: flame_on_screen(display, scratch / "preview.png", area), 20, 0.5,
                 "the flame in the settings tool's preview")
        check(pid in descendants("lullvane-flame"), "the preview ended by itself")
        tool = descendants("xscreensaver-settings")
        for process in tool:
            os.kill(process, signal.SIGTERM)
        for process in tool:
            wait_for_end(process, 20)
    # The tool leaves its preview running when it is terminated; the test ends it.
    if pid in descendants("lullvane-flame"):
        os.kill(pid, signal.SIGTERM)
    wait_for_end(pid, 10)
    print(f"the settings tool shows the flame in its preview: {' '.join(arguments)}")


def check_preview_form(display, scratch):
    """The preview's command form, by hand, into a window of the test's own."""
    with XWindow(display, 320, 240) as host, \
            started([HACK, "--root", "--window-id", hex(host.id)],
                    env=dict(os.environ, DISPLAY=display)) as flame:
        wait_for(lambda: flame_on_screen(display, scratch / "window.png", (0, 0, 320, 240)), 20,
                 0.5, "the flame in the test's window")
        width, height, pixels = image_pixels(scratch / "window.png")
        outside = [pixels[3 * (y * width + x)] for y in range(height) for x in range(320, width)]
        check(not any(outside), "drew outside the window")
        start = time.monotonic()
        flame.send_signal(signal.SIGTERM)
        flame.wait(timeout=5)
        check(flame.returncode == -signal.SIGTERM and time.monotonic() - start < 1,
              f"SIGTERM: wait status {flame.returncode} after {time.monotonic() - start:.2f} s")
    print(f"{HACK} --root --window-id drew into the test's window only; SIGTERM ended it by "
          f"the signal")


def main():
    package = Path(sys.argv[1])
    check(package.exists(), f"{package} is missing: build it with make package-deb")
    check(package.stat().st_mtime >= (LINUX_BIN / "src/flame_x11/lullvane-flame").stat().st_mtime,
          f"{package} is older than the program: rebuild it with make package-deb")
    sudo = administrator()
    if sudo is None:
        print("SKIP: installing the package needs root or sudo without a password")
        return SKIP
    # Hacks whose parent has gone are adopted by this test, which then learns how they ended.
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    with scratch_dir() as scratch:
        check_package(package, scratch)
        with installed(package, sudo):
            check(os.access(HACK, os.X_OK), f"{HACK} is not installed")
            with virtual_display(1024, 768) as display, ordinary_user(scratch) as user:
                check_daemon(display, scratch, user)
                check_preview_form(display, scratch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
