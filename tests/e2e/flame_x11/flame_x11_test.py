"""lullvane-flame under Xvfb: stills, its own windows, as a hack, clean failures. Given its Debian
package (as root, else exit 77, a skip): lintian, the manual, five cycles of the real daemon."""

import contextlib, ctypes, os, shutil, signal, subprocess, sys, time, tkinter
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import LINUX_BIN, check, check_flame, exit_code, image_pixels, scratch_dir, started, \
    virtual_display, wait_for

FLAME, STILL = LINUX_BIN / "src/flame_x11/lullvane-flame", LINUX_BIN / "src/tools/flame-still"
CONFIG, NAME = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml", FLAME.name

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
    check(exit_code(process, what, 1) == -signal_number, f"{what}: expected to end by "
          f"{signal_number.name}, saw wait status {process.returncode}")

def check_stills(scratch, _, env):
    """The 300th frame at 1/64 s: GL within 0.01 per channel on average and 4 at most of
    flame-still's (the same triangles on a 1/256-pixel grid in 8 bits: measured 0.0011 and 2)."""
    def still(program, width, height):
        out = scratch / f"{program}-{width}x{height}.png"
        command = [STILL, "--dt", "0.015625", "--width", width, "--height", height, "--out", out] \
            if program == "still" else [FLAME, "--fixed-dt", "0.015625", "--draw", program,
                                        "--window", f"{width}x{height}", "--screenshot", out]
        result = run([*command, "--frames", "300"], env=env)
        size = image_pixels(out) if result.returncode == 0 else (0, 0, b"")
        check(size[:2] == (width, height), f"{program} {width}x{height}: expected a picture of "
              f"that size, saw exit code {result.returncode}, {size[:2]}, {result.stderr}")
        return size[2]
    for width, height in ((800, 450), (400, 500), (640, 480)):
        soft, gl = still("still", width, height), still("arrays", width, height)
        differences = [abs(a - b) for a, b in zip(gl, soft)]
        mean, largest = sum(differences) / len(differences), max(differences)
        check(mean <= 0.01 and largest <= 4 and any(gl) and not any(gl[2::3]), f"{width}x{height}: "
              f"expected a flame (lit, no blue) close to flame-still's; saw {mean}, {largest}")
    check(still("immediate", 640, 480) == gl, "immediate mode and vertex arrays differ")

def check_own_windows(scratch, display, env):
    """Full screen above the others, Enter, Space and 0 ignored, SIGTERM ends it by the signal. A
    still cut short by SIGINT: word of it from its cleanup, no picture, then the signal's end."""
    def windows():
        return run(["xdotool", "search", "--name", f"^{NAME}$"], env=env).stdout.split()
    with started([FLAME], env=env) as flame:
        check_flame(display, scratch / "screen.png", (800, 600))
        shown = run(["xwininfo", "-stats", "-wm", "-id", *windows()[:1]], env=env).stdout
        check(len(windows()) == 1 and all(word in shown for word in ("-geometry 800x600+0+0",
              "Fullscreen", "Above")), f"expected one window over the screen, on top; saw {shown}")
        run(["xdotool", "key", "Return", "space", "0"], env=env)
        time.sleep(1)
        ended_by(flame, signal.SIGTERM, "full screen after Enter, Space and 0")
    shot = scratch / "cut.png"
    with started([FLAME, "--screenshot", shot, "--frames", "1000000000"], env=env) as flame:
        wait_for(windows, 30, what="the still's window")
        ended_by(flame, signal.SIGINT, "a still")
        check("no screenshot written" in flame.stderr.read().decode() and not shot.exists(),
              f"a still cut short: expected word of it and no picture; saw {shot.exists()}")

def check_hosted(scratch, display, env):
    """--root and a window id in any order, as the settings tool's preview appends it to the saved
    command (lullvane-flame.xml's): the flame in that window only, following its size. Refusals."""
    config = ElementTree.parse(CONFIG).getroot()
    saved = " ".join([config.find("command").get("arg"),
                      config.find("number[@id='delay']").get("arg").replace("%", "50000")])
    for order in (saved + " --window-id {}", "-root -window-id {}", "--window-id {} --root"):
        host = x_window(display, 160, 120)
        with started([FLAME, *order.format(hex(host.winfo_id())).split()], env=env) as flame:
            check_flame(display, scratch / "screen.png", (160, 120))
            host.geometry("640x480")
            host.update()
            check_flame(display, scratch / "screen.png", (640, 480))  # more lit than 160x120 holds
            ended_by(flame, signal.SIGTERM, order)
        host.destroy()
    # Refusals: exit code 1 and a line naming the problem, followed by the usage for a bad command.
    no_display = {name: value for name, value in env.items() if name != "DISPLAY"}
    for word, arguments, environment in [("display", [], no_display), ("no window", ["-window-id",
            "0x7ffffff"], env), ("choose one", ["--window", "640x480", "--root"], no_display)]:
        result = run([FLAME, *arguments], env=environment)
        lines = result.stderr.splitlines() + ["", ""]
        check(result.returncode == 1 and word in lines[0] and lines[1].startswith("usage") == (
              word == "choose one"), f"{arguments}: expected exit code 1 naming {word!r}, the "
              f"usage after it for a bad command; saw {result!r}")

def running(user, *names):  # the user's processes, of those names if given (15 bytes of a name)
    pattern = ["-x", "|".join(name[:15] for name in names)] if names else []
    return [int(pid) for pid in run(["pgrep", "-u", user, *pattern]).stdout.split()]

def wait_for_end(pid, timeout):  # its wait status if this test adopted it, else None
    def ended():
        with contextlib.suppress(ChildProcessError):
            done, status = os.waitpid(pid, os.WNOHANG)
            return done and [status]
        return not Path(f"/proc/{pid}").exists() and [None]
    return wait_for(ended, timeout, 0.01, f"process {pid} to end")[0]

def check_installed(package):
    """Mode one with the README's programs line, five cycles: -activate (one hack, --root, the flame
    on the screen), -deactivate (ended by SIGTERM within a second, nothing left behind)."""
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
            check(lintian.returncode == 0 and manual.returncode == 0 and not manual.stderr and
                  "--window-id" in manual.stdout, f"expected no lintian error and a manual that "
                  f"renders; saw {lintian.stdout}, {manual.returncode}, {manual.stderr}")
            scratch.chmod(0o755)
            check(run(["useradd", "-U", "-m", "-d", scratch / "home", user]).returncode == 0,
                  "useradd failed")
            home, log = scratch / "home", scratch / "daemon.log"
            (home / ".xscreensaver").write_text("mode:\tone\nselected:\t0\nsplash:\tFalse\n"
                "fade:\tFalse\nunfade:\tFalse\n"  # and the README's programs line:
                'programs: GL: "Lullvane Flame" lullvane-flame --root \\n\n')
            shutil.chown(home / ".xscreensaver", user)
            as_user = ["runuser", "-u", user, "--", "env", "-i", f"HOME={home}", f"DISPLAY="
                       f"{display}", "PATH=/usr/bin:/bin", f"USER={user}", f"LOGNAME={user}"]
            with open(log, "w") as out, started([*as_user, "xscreensaver", "--verbose"],
                                                stdout=out, stderr=subprocess.STDOUT) as daemon:
                def command(*words):
                    return run([*as_user, "xscreensaver-command", *words]).returncode == 0
                wait_for(lambda: daemon.poll() is not None or command("-time"), 30, 0.5, "daemon")
                statuses = []  # the daemon leaves its hacks to this test, their subreaper
                for cycle in range(1, 6):
                    check(daemon.poll() is None and command("-activate"), f"cycle {cycle}: the "
                          f"daemon did not activate: {daemon.poll()}, {log.read_text()[-3000:]}")
                    hacks = wait_for(lambda: running(user, NAME), 20, what=f"{cycle}: the hack")
                    check(len(hacks) == 1 and Path(f"/proc/{hacks[0]}/cmdline").read_bytes() ==
                          b"lullvane-flame\0--root\0", f"expected one hack, {NAME} --root: {hacks}")
                    check_flame(display, scratch / "saver.png")
                    # Timed from the daemon's answer: the command's own start-up may be slow.
                    check(command("-deactivate"), "xscreensaver-command -deactivate failed")
                    statuses.append(wait_for_end(hacks[0], 1))
                    wait_for(lambda: not running(user, NAME, "xscreensaver-gfx"), 10,
                             what=f"cycle {cycle}: nothing left behind")
            check({*statuses} - {None} == {signal.SIGTERM}, f"expected ends by SIGTERM: {statuses}")
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
        for checks in (check_stills, check_own_windows, check_hosted):
            checks(scratch_folder, display_name, {**environment, "DISPLAY": display_name})
