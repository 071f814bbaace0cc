"""lullvane-flame's Debian package under the real xscreensaver daemon. The package passes lintian
and its manual names every option; installed, it is run by the daemon of an ordinary user (the
daemon runs no hack as root): the flame shows, -deactivate ends it by SIGTERM within a second,
five cycles leave nothing behind, and the settings tool's preview shows it.

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

from harness import LINUX_BIN, check, fail, scratch_dir, started, virtual_display, wait_for
from x11_helpers import run, wait_for_flame

NAME = "lullvane-flame"
HACK = Path(f"/usr/libexec/xscreensaver/{NAME}")
# The README's line, and the mode and selection it has the user choose in the settings tool.
SETTINGS = ("mode:\tone\nselected:\t0\ntimeout:\t0:30:00\ncycle:\t0:30:00\nlock:\tFalse\n"
            "splash:\tFalse\nfade:\tFalse\nunfade:\tFalse\n"
            'programs: GL: "Lullvane Flame" lullvane-flame --root \\n\n')


def check_package(package):
    """Its control fields and lintian's verdict; installed, the program, its description for the
    settings tool, its documents, and a manual that renders and names every option."""
    control = run(["dpkg-deb", "-f", package, "Package", "Version", "Depends", "Recommends"])
    fields = dict(line.split(": ", 1) for line in control.stdout.splitlines())
    check(package.name.startswith(f"{fields['Package']}_{fields['Version']}_")
          and fields["Recommends"] == "xscreensaver, xscreensaver-gl"
          and all(library in fields["Depends"] for library in ("libc6 (>=", "libx11-6", "libglx0")),
          f"expected the file name from name and version, Recommends xscreensaver, xscreensaver-gl "
          f"and dependencies computed from the binary; saw {package.name}, {fields}")
    lintian = run(["lintian", package], timeout=300)
    tags = [line[:2] for line in lintian.stdout.splitlines()]
    check(lintian.returncode == 0 and "E:" not in tags,
          f"lintian: expected no error, saw {lintian.stdout}{lintian.stderr}")
    files = [HACK, Path(f"/usr/share/xscreensaver/config/{NAME}.xml"),
             *(Path(f"/usr/share/doc/{NAME}", name) for name in ("README.md", "copyright",
                                                                "changelog.gz"))]
    check(all(path.is_file() for path in files) and os.access(HACK, os.X_OK),
          f"expected {files} installed, the first executable")
    manual = run(["man", "--warnings", "-l", f"/usr/share/man/man6/{NAME}.6.gz"],
                 env={**os.environ, "MANWIDTH": "80", "LC_ALL": "C.UTF-8"})
    options = set(re.findall(r"--[a-z][a-z-]*", run([HACK, "--help"]).stdout))
    missing = [word for word in ("SYNOPSIS", "OPTIONS", "KEYS", "ENVIRONMENT", "EXIT STATUS",
                                 "XSCREENSAVER_WINDOW", *options) if word not in manual.stdout]
    check(manual.returncode == 0 and not manual.stderr.strip() and len(options) > 8 and not missing,
          f"man -l: expected every section and option, no warning; missing {missing}, saw "
          f"{manual.stderr}")
    print(f"package: fields and files right, lintian: no error and {tags.count('W:')} warnings, "
          f"the manual renders with every section and all {len(options)} options")


@contextlib.contextmanager
def installed(package, sudo):
    """The package installed for the length of the block (waiting while another installation
    holds dpkg's lock), then removed unless it was there before."""
    before = run(["dpkg-query", "-W", "-f=${db:Status-Status}", NAME]).stdout

    def install():
        result = run([*sudo, "dpkg", "-i", package], timeout=300)
        check(result.returncode == 0 or "lock" in result.stderr, f"dpkg -i: {result.stderr}")
        return result.returncode == 0
    try:
        wait_for(install, 300, 2, "dpkg's lock")
        yield
    finally:
        if before != "installed":
            run([*sudo, "dpkg", "--purge", NAME], timeout=300)


@contextlib.contextmanager
def ordinary_user(scratch):
    """(name, home, prefix that runs a command as that user). As root: a user of the test's own,
    removed at the end with whatever it still runs; otherwise the current user."""
    home = scratch / "home"
    home.mkdir()
    if os.geteuid() != 0:
        yield os.environ.get("USER", "user"), home, []
        return
    name = f"lvflame{os.getpid()}"
    scratch.chmod(0o755)
    result = run(["useradd", "--user-group", "--no-create-home", "--home-dir", home, "--shell",
                  "/bin/sh", name])
    check(result.returncode == 0, f"useradd: {result.stderr}")
    try:
        shutil.chown(home, name, name)
        yield name, home, ["runuser", "-u", name, "--"]
    finally:
        remaining = [int(pid) for pid in run(["pgrep", "-u", name]).stdout.split()]
        for pid in remaining:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        for pid in remaining:  # userdel refuses while the user still has a process
            wait_for_end(pid, 10)
        run(["userdel", name])


def descendants(name):
    """The running processes of that name below this test, which is a subreaper: a hack whose
    parent has gone still counts. The kernel keeps 15 bytes of a name."""
    parents, named = {}, []
    for line in run(["ps", "-e", "-o", "pid=,ppid=,stat=,comm="]).stdout.splitlines():
        pid, parent, state, comm = line.split(None, 3)
        parents[int(pid)] = int(parent)
        if comm == name[:15] and not state.startswith("Z"):
            named.append(int(pid))

    def below_this_test(pid):
        while pid in parents and parents[pid] != os.getpid():
            pid = parents[pid]
        return pid in parents
    return [pid for pid in named if below_this_test(pid)]


def wait_for_end(pid, timeout):
    """Waits for the process to end; its wait status when this test adopted it as an orphan,
    None when its own parent reaped it."""
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


def check_daemon(display, scratch, user):
    name, home, as_user = user
    (home / ".xscreensaver").write_text(SETTINGS)
    if as_user:
        shutil.chown(home / ".xscreensaver", name)
    env = ["env", "-i", f"HOME={home}", f"DISPLAY={display}", "PATH=/usr/bin:/bin",
           f"USER={name}", f"LOGNAME={name}"]

    def command(*words):
        return run([*as_user, *env, "xscreensaver-command", *words]).returncode == 0

    def the_hack(what):
        hacks = wait_for(lambda: descendants(NAME), 20, what=what)
        arguments = Path(f"/proc/{hacks[0]}/cmdline").read_bytes().split(b"\0")[:-1]
        check(len(hacks) == 1 and arguments == [NAME.encode(), b"--root"],
              f"{what}: expected one hack started as {NAME} --root; saw {hacks}, {arguments}")
        return hacks[0]

    log_path = scratch / "daemon.log"
    with open(log_path, "w") as log, \
            started([*as_user, *env, "xscreensaver", "--no-splash", "--verbose"], stdout=log,
                    stderr=subprocess.STDOUT) as daemon:
        try:
            wait_for(lambda: daemon.poll() is not None or command("-time"), 30, 0.5, "the daemon")
            check(daemon.poll() is None, f"the daemon ended at its start with {daemon.returncode}")
            statuses, slowest = 0, 0.0
            for cycle in range(1, 6):
                check(command("-activate"), "xscreensaver-command -activate failed")
                hack = the_hack(f"cycle {cycle}")
                wait_for_flame(display, scratch / "saver.png", f"cycle {cycle}, on the screen")
                if cycle == 1:  # the daemon's own account of how a hack it ended has exited
                    check(command("-cycle"), "xscreensaver-command -cycle failed")
                    said = wait_for(lambda: re.search(rf"child pid {hack} .*",
                                                      log_path.read_text()),
                                    20, what="the daemon's word on the cycled hack").group(0)
                    check("exited normally with SIGTERM" in said, f"after -cycle: {said}")
                    hack = the_hack("after -cycle")
                start = time.monotonic()
                check(command("-deactivate"), "xscreensaver-command -deactivate failed")
                status = wait_for_end(hack, 5)
                slowest = max(slowest, time.monotonic() - start)
                check(slowest < 1 and (status is None or os.WIFSIGNALED(status)
                                       and os.WTERMSIG(status) == signal.SIGTERM),
                      f"cycle {cycle}: expected the hack to end by SIGTERM within a second; saw "
                      f"wait status {status} after {slowest:.2f} s")
                statuses += status is not None
                wait_for(lambda: not descendants(NAME) + descendants("xscreensaver-gfx"), 10,
                         what=f"cycle {cycle}: nothing left behind")
            check(statuses > 0, "no hack's wait status was seen after -deactivate")
            print(f"five cycles: the flame on the screen; -deactivate ended the hack within "
                  f"{slowest:.2f} s, by SIGTERM (wait status seen {statuses} times); nothing "
                  f"left behind; -cycle logged: {said.split(': ', 2)[-1]}")
            check_settings_tool(display, scratch, as_user, env)
            check(command("-exit"), "xscreensaver-command -exit failed")
            daemon.wait(timeout=30)
        except SystemExit:
            print(f"the daemon's log:\n{log_path.read_text()[-4000:]}")
            raise
    check("abnormally" not in log_path.read_text(), "the daemon logged an abnormal hack exit")


def check_settings_tool(display, scratch, as_user, env):
    """The settings tool previews the selected hack by appending --window-id to its command."""
    def preview():
        for pid in descendants(NAME):
            arguments = Path(f"/proc/{pid}/cmdline").read_bytes().decode().split("\0")[:-1]
            if "--window-id" in arguments:
                return pid, arguments
        return None

    with started([*as_user, *env, "xscreensaver-settings"], stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL):
        pid, arguments = wait_for(preview, 60, 0.5, "the settings tool's preview")
        check(arguments[:3] == [NAME, "--root", "--window-id"], f"the preview runs {arguments}")
        geometry = run(["xwininfo", "-id", arguments[3]], env={**os.environ, "DISPLAY": display})
        place = [int(re.search(rf"{label}:\s+(-?\d+)", geometry.stdout).group(1)) for label in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        wait_for_flame(display, scratch / "preview.png", "the settings tool's preview", *place)
        check(pid in descendants(NAME), "the preview ended by itself")
        tool = descendants("xscreensaver-settings")
        for process in tool:
            os.kill(process, signal.SIGTERM)
        for process in tool:
            wait_for_end(process, 20)
    # The tool leaves its preview running when it is terminated; the test ends it.
    with contextlib.suppress(ProcessLookupError):
        os.kill(pid, signal.SIGTERM)
    wait_for_end(pid, 10)
    print(f"the settings tool shows the flame in its preview: {' '.join(arguments)}")


def main():
    package = Path(sys.argv[1])
    check(package.exists() and package.stat().st_mtime >= (LINUX_BIN / f"src/flame_x11/{NAME}")
          .stat().st_mtime, f"{package} is missing or older than the program: make package-deb")
    sudo = [] if os.geteuid() == 0 else ["sudo", "-n"]
    if sudo and not (shutil.which("sudo") and run(["sudo", "-n", "true"]).returncode == 0):
        print("SKIP: installing the package needs root or sudo without a password")
        return 77
    # Hacks whose parent has gone are adopted by this test, which then learns how they ended.
    ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    with scratch_dir() as scratch, installed(package, sudo), \
            virtual_display(1024, 768) as display, ordinary_user(scratch) as user:
        check_package(package)
        check_daemon(display, scratch, user)
    return 0


if __name__ == "__main__":
    sys.exit(main())
