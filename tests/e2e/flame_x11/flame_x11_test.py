"""lullvane-flame under Xvfb: stills, its own windows, as a hack, clean failures. Given its Debian
package (as root, else exit 77, a skip): lintian, the manual, five cycles of the real daemon."""

import contextlib, ctypes, os, re, shutil, signal, subprocess, sys, time, tkinter
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import LINUX_BIN, capture_screen, check, check_flame, exit_code, image_pixels, \
    scratch_dir, started, virtual_display, wait_for

FLAME, STILL = LINUX_BIN / "src/flame_x11/lullvane-flame", LINUX_BIN / "src/tools/flame-still"
CONFIG = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml"
NAME = "lullvane-flame"

def run(command, timeout=120, **options):
    return subprocess.run(list(map(str, command)), capture_output=True, text=True, timeout=timeout,
                          **options)

def x_window(display, width, height):  # a black window of the test's own at the top left
    window = tkinter.Tk(screenName=display)
    window.configure(background="black")
    window.geometry(f"{width}x{height}+0+0")
    window.update()
    return window

def ended_by(process, signal_number, what):  # by that signal, within a second of it
    process.send_signal(signal_number)
    with contextlib.suppress(subprocess.TimeoutExpired):
        process.wait(timeout=1)
    check(process.returncode == -signal_number, f"{what}: expected to end by {signal_number.name} "
          f"within a second, saw wait status {process.returncode}")

def check_stills(scratch, _, env):
    """The 300th frame at 1/64 s: GL within 0.01 per channel on average and 4 at most of flame-still's
    (the same triangles on a 1/256-pixel grid blended in 8 bits; measured 0.0011 and 2)."""
    def still(program, width, height):
        out = scratch / f"{program}-{width}x{height}.png"
        command = [STILL, "--dt", "0.015625", "--width", width, "--height", height, "--out", out] \
            if program == "still" else [FLAME, "--fixed-dt", "0.015625", "--draw", program,
                                        "--window", f"{width}x{height}", "--screenshot", out]
        result = run([*command, "--frames", "300"], env=env)
        size = image_pixels(out) if result.returncode == 0 else (0, 0, b"")
        check(size[:2] == (width, height), f"{program} {width}x{height}: expected exit code 0 and "
              f"a picture of that size; saw {result.returncode}, {size[:2]}, {result.stderr}")
        return size[2]
    for width, height in ((800, 450), (400, 500), (640, 480)):
        soft, gl = still("still", width, height), still("arrays", width, height)
        differences = [abs(a - b) for a, b in zip(gl, soft)]
        mean, largest = sum(differences) / len(differences), max(differences)
        check(mean <= 0.01 and largest <= 4 and any(gl) and not any(gl[2::3]), f"{width}x{height}: "
              f"expected a flame (lit, no blue) within 0.01 on average and 4 at most of "
              f"flame-still's; saw {mean}, {largest}, lit {any(gl)}, blue {any(gl[2::3])}")
    check(still("immediate", 640, 480) == gl, "immediate mode and vertex arrays differ")

def check_own_windows(scratch, display, env):
    """Full screen, above the others: keys but Esc ignored, focus lost ends it with 0. A window: Esc
    ends it with 0. SIGINT ends a still by the signal after its cleanup: no window, no picture."""
    def windows():
        return run(["xdotool", "search", "--name", f"^{NAME}$"], env=env).stdout.split()
    with started([FLAME], env=env) as flame:
        check_flame(display, scratch / "screen.png", (800, 600))
        shown = [run([tool, "-id", *windows()[:1], *extra], env=env).stdout
                 for tool, extra in (("xwininfo", []), ("xprop", ["_NET_WM_STATE"]))]
        check(len(windows()) == 1 and "-geometry 800x600+0+0" in shown[0] and
              "_NET_WM_STATE_FULLSCREEN, _NET_WM_STATE_ABOVE" in shown[1],
              f"expected one window covering the screen, above the others; saw {shown}")
        run(["xdotool", "key", "Return", "space", "0"], env=env)
        time.sleep(1)
        check(flame.poll() is None, f"Enter, Space or 0 ended it with {flame.poll()}")
        other = x_window(display, 100, 100)
        run(["xdotool", "windowfocus", other.winfo_id()], env=env)
        check(exit_code(flame, "full screen after losing the focus", 10) == 0, "focus lost: "
              f"expected exit code 0, saw {flame.returncode}")
        other.destroy()
    with started([FLAME, "--window", "320x240"], env=env) as flame:
        check_flame(display, scratch / "screen.png", (320, 240))
        run(["xdotool", "windowfocus", "--sync", windows()[0], "key", "Escape"], env=env)
        check(exit_code(flame, "a window after Esc", 10) == 0, f"Esc: saw {flame.returncode}")
    shot = scratch / "cut.png"
    with started([FLAME, "--screenshot", shot, "--frames", "1000000000", "--window", "64x64"],
                 env=env) as flame:
        wait_for(windows, 30, what="the still's window")
        ended_by(flame, signal.SIGINT, "a still")
        stderr = flame.stderr.read().decode()
        check("no screenshot written" in stderr and not shot.exists() and not windows(), f"a still "
              f"cut short: expected word of it, no picture, no window; saw {stderr!r}, "
              f"{shot.exists()}, {windows()}")

def check_hosted(scratch, display, env):
    """lullvane-flame.xml's command, the window in the environment: flame and counter in it only,
    following its size, 0 once it is gone. The settings tool's preview: --root and a window id."""
    config = ElementTree.parse(CONFIG).getroot()
    command = [FLAME, config.find("command").get("arg"), config.find("boolean").get("arg-set"),
               *config.find("number[@id='delay']").get("arg").replace("%", "50000").split()]

    def lit_centre(width, height):  # 0 until the counter (its only white) shows, nothing outside
        screen, _, pixels = capture_screen(display, scratch / "screen.png")
        rows = [pixels[3 * screen * row:3 * screen * (row + 1)] for row in range(height)]
        columns = [i // 3 for row in rows[40:] for i in range(0, 3 * width, 3) if row[i]]
        counter = any(b"".join(row[2:480:3] for row in rows[:40]))
        outside = any(b"".join(row[3 * width:] for row in rows))
        return sum(columns) / len(columns) if columns and counter and not outside else 0
    host = x_window(display, 320, 240)
    with started(command, env={**env, "XSCREENSAVER_WINDOW": str(host.winfo_id())}) as flame:
        small = wait_for(lambda: lit_centre(320, 240), 30, 0.5, "the flame and counter inside")
        host.geometry("640x480")
        host.update()
        wait_for(lambda: lit_centre(640, 480) > small + 60, 30, 0.5,
                 f"the flame to follow the window to 640x480 (centred at {small:.0f} in 320x240)")
        host.destroy()
        check(exit_code(flame, "a hack whose window is gone", 10) == 0, "window destroyed: "
              f"expected exit code 0, saw {flame.returncode}")
    for order in ("--root --window-id {}", "-root -window-id {}", "--window-id {} --root"):
        host = x_window(display, 320, 240)
        with started([FLAME, *order.format(hex(host.winfo_id())).split()], env=env) as flame:
            check_flame(display, scratch / "screen.png", (320, 240))
            ended_by(flame, signal.SIGTERM, order)
        host.destroy()

def check_failures(scratch, display, env):
    """Exit code 1 and a line naming the problem, followed by the usage for a bad command."""
    no_display = {name: value for name, value in env.items() if name != "DISPLAY"}
    for word, arguments, environment in [("display", [], no_display), ("no window", [
            "--window-id", "0x7ffffff"], env), ("choose one", ["--window", "640x480", "--root"], {})]:
        result = run([FLAME, *arguments], env=environment or no_display)
        lines = result.stderr.splitlines() + ["", ""]
        check(result.returncode == 1 and word in lines[0] and lines[1].startswith("usage") == (
              word == "choose one"), f"{arguments}: expected exit code 1 and a line naming "
              f"{word!r}, the usage after it for a bad command; saw {result.returncode}, "
              f"{result.stderr!r}")

def running(user, *names):  # the user's processes, of those names if given (15 bytes of a name)
    pattern = ["-x", "|".join(name[:15] for name in names)] if names else []
    return [int(pid) for pid in run(["pgrep", "-u", user, *pattern]).stdout.split()]

def wait_for_end(pid, timeout):  # its wait status if this test adopted it, else None
    def ended():
        try:
            done, status = os.waitpid(pid, os.WNOHANG)
            return [status] if done else None
        except ChildProcessError:
            return None if Path(f"/proc/{pid}").exists() else [None]
    return wait_for(ended, timeout, 0.01, f"process {pid} to end")[0]

def check_daemon(scratch, display, user):
    """Mode one with the README's programs line, five cycles: -activate (one hack, --root, the flame
    on the screen), -deactivate (ended by SIGTERM within a second, nothing left behind)."""
    home, log = scratch / "home", scratch / "daemon.log"
    (home / ".xscreensaver").write_text(
        "mode:\tone\nselected:\t0\ntimeout:\t0:30:00\ncycle:\t0:30:00\nlock:\tFalse\nsplash:\tFalse\n"
        'fade:\tFalse\nunfade:\tFalse\nprograms: GL: "Lullvane Flame" lullvane-flame --root \\n\n')
    shutil.chown(home / ".xscreensaver", user)
    as_user = ["runuser", "-u", user, "--", "env", "-i", f"HOME={home}", f"DISPLAY={display}",
               "PATH=/usr/bin:/bin", f"USER={user}", f"LOGNAME={user}"]

    def command(*words):
        return run([*as_user, "xscreensaver-command", *words]).returncode == 0
    with open(log, "w") as out, started([*as_user, "xscreensaver", "--no-splash", "--verbose"],
                                        stdout=out, stderr=subprocess.STDOUT) as daemon:
        wait_for(lambda: daemon.poll() is not None or command("-time"), 30, 0.5, "the daemon")
        statuses, slowest = [], 0
        for cycle in range(1, 6):
            check(daemon.poll() is None and command("-activate"), f"cycle {cycle}: expected the "
                  f"daemon to activate; it ended with {daemon.poll()}; {log.read_text()[-3000:]}")
            hacks = wait_for(lambda: running(user, NAME), 20, what=f"cycle {cycle}: the hack")
            arguments = Path(f"/proc/{hacks[0]}/cmdline").read_bytes()
            check(arguments == b"lullvane-flame\0--root\0" and len(hacks) == 1,
                  f"expected one hack started as {NAME} --root; saw {hacks}, {arguments}")
            check_flame(display, scratch / "saver.png")
            # From the daemon's answer on: the command's own start-up is slow on a loaded machine.
            check(command("-deactivate"), "xscreensaver-command -deactivate failed")
            start = time.monotonic()
            statuses.append(wait_for_end(hacks[0], 5))
            slowest = max(slowest, time.monotonic() - start)
            check(slowest < 1 and statuses[-1] in (None, signal.SIGTERM), f"cycle {cycle}: expected"
                  f" the end by SIGTERM within a second; saw {statuses[-1]} after {slowest:.2f} s")
            wait_for(lambda: not running(user, NAME, "xscreensaver-gfx"), 10,
                     what=f"cycle {cycle}: nothing left behind")
        check(command("-exit"), "xscreensaver-command -exit failed")
        daemon.wait(timeout=30)
    check(any(statuses) and "abnormally" not in log.read_text(), f"expected a hack's wait status "
          f"seen and no abnormal exit logged; saw {statuses}, {log.read_text()[-3000:]}")
    print(f"five cycles: wait statuses {statuses} (None: reaped by the daemon), the slowest end "
          f"{slowest:.2f} s after -deactivate; nothing left behind")

def check_installed(package):
    if os.geteuid() != 0:
        print("SKIP: installing the package and adding a user need root")
        return 77
    check(package.stat().st_mtime >= FLAME.stat().st_mtime, f"{package} is older than the program")
    before = run(["dpkg-query", "-W", "-f=${db:Status-Status}", NAME]).stdout
    user = f"lvflame{os.getpid()}"
    ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER: orphaned hacks come here

    def install():  # again while another installation holds dpkg's lock
        result = run(["dpkg", "-i", package], timeout=300)
        check(result.returncode == 0 or "lock" in result.stderr, f"dpkg -i: {result.stderr}")
        return result.returncode == 0
    with scratch_dir() as scratch, virtual_display(1024, 768) as display:
        try:
            wait_for(install, 300, 2, "dpkg's lock")
            lintian = run(["lintian", package], timeout=300)
            manual = run(["man", "--warnings", "-l", f"/usr/share/man/man6/{NAME}.6.gz"],
                         env={**os.environ, "MANWIDTH": "80", "LC_ALL": "C.UTF-8"})
            check(lintian.returncode == 0 and not re.search("^E:", lintian.stdout, re.M) and
                  manual.returncode == 0 and not manual.stderr and "--window-id" in manual.stdout,
                  f"expected no lintian error and a manual that renders; saw {lintian.stdout}, "
                  f"{manual.returncode}, {manual.stderr}")
            scratch.chmod(0o755)
            check(run(["useradd", "-U", "-m", "-d", scratch / "home", user]).returncode == 0,
                  "useradd failed")
            check_daemon(scratch, display, user)
        finally:
            for pid in running(user):
                os.kill(pid, signal.SIGKILL)
                wait_for_end(pid, 10)
            run(["userdel", "-r", user])
            if before != "installed":
                run(["dpkg", "--purge", NAME], timeout=300)

if __name__ == "__main__":
    if sys.argv[1:]:
        sys.exit(check_installed(Path(sys.argv[1])))
    environment = {key: value for key, value in os.environ.items() if key != "XSCREENSAVER_WINDOW"}
    with scratch_dir() as scratch_folder, virtual_display(800, 600) as display_name:
        for checks in (check_stills, check_own_windows, check_hosted, check_failures):
            checks(scratch_folder, display_name, {**environment, "DISPLAY": display_name})
            print(f"{checks.__name__}: passed")
