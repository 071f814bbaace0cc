"""lullvane-flame under Xvfb: stills against flame-still's, its windows' closing rules, as a hack in
a window of the test's own, clean failures. Given its Debian package (installed as root, else exit
77, a skip): lintian, the manual, five cycles of the real xscreensaver daemon of a plain user."""

import contextlib, ctypes, os, re, shutil, signal, subprocess, sys, time, tkinter
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import LINUX_BIN, capture_screen, check, image_pixels, scratch_dir, started, \
    virtual_display, wait_for

FLAME, STILL = LINUX_BIN / "src/flame_x11/lullvane-flame", LINUX_BIN / "src/tools/flame-still"
CONFIG = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml"
NAME, HACK = "lullvane-flame", Path("/usr/libexec/xscreensaver/lullvane-flame")

def run(command, timeout=120, **options):
    return subprocess.run(list(map(str, command)), capture_output=True, text=True, timeout=timeout,
                          **options)

def area(pixels, width, x, y, w, h):  # a rectangle's RGB bytes, row after row
    rows = range(y, y + h)
    return b"".join(pixels[3 * (width * row + x):3 * (width * row + x + w)] for row in rows)

def looks_like_flame(rgb):  # a twentieth or more lit, no blue, red at least green everywhere
    reds, greens = rgb[0::3], rgb[1::3]
    return not any(rgb[2::3]) and all(r >= g for r, g in zip(reds, greens)) and \
        sum(map(bool, reds)) > len(reds) // 20

def wait_for_flame(display, path, what, x=0, y=0, w=None, h=None):
    def shown():
        width, height, pixels = capture_screen(display, path)
        return looks_like_flame(area(pixels, width, x, y, w or width - x, h or height - y))
    wait_for(shown, 30, 0.5, f"the flame: {what}")

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
    """The 300th frame at 1/64 s: GL equals flame-still closely at three shapes (the same triangles
    on a 1/256-pixel grid, blended in 8 bits: measured 0.0011 per channel on average, 2 at most);
    both GL paths alike; flame-still's is a flame a person recognises."""
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
        check(mean <= 0.01 and largest <= 4 and looks_like_flame(gl), f"{width}x{height}: expected "
              f"a flame within 0.01 on average, 4 at most of flame-still's; saw {mean}, {largest}")
    check(still("immediate", 640, 480) == gl, "immediate mode and vertex arrays differ")
    pixels = [soft[i:i + 3] for i in range(0, len(soft), 3)]
    black, yellow = pixels.count(b"\0\0\0"), sum(r > 200 and g > 150 for r, g, _ in pixels)
    red = sum(r > 60 and g < r * 0.6 for r, g, _ in pixels)
    corners = [pixels[0], pixels[639], pixels[-640], pixels[-1]]
    check(looks_like_flame(soft) and black > len(pixels) / 5 and yellow > 200 and red > 2000
          and max(map(sum, corners)) < 30, f"flame-still: expected a black background, dark "
          f"corners, a yellow core, red edges; saw {black} black, {yellow} yellow, {red} red, "
          f"corners {corners}")

def check_own_windows(scratch, display, env):
    """Full screen: the whole screen, above the others; Enter, Space and 0 ignored; focus lost, exit
    code 0. A window outlives focus loss; Esc ends it with 0. SIGINT ends a still by the signal
    after its cleanup: its window released, no picture."""
    def windows():
        return run(["xdotool", "search", "--name", f"^{NAME}$"], env=env).stdout.split()
    for options in ([], ["--window", "320x240"]):
        with started([FLAME, *options], env=env) as flame:
            wait_for_flame(display, scratch / "screen.png", f"{options}",
                           *((0, 0, 320, 240) if options else ()))
            window = windows()
            shown = [run([tool, "-id", window[0], *extra], env=env).stdout
                     for tool, extra in (("xwininfo", []), ("xprop", ["_NET_WM_STATE"]))]
            check(options or len(window) == 1 and "-geometry 800x600+0+0" in shown[0] and
                  "_NET_WM_STATE_FULLSCREEN, _NET_WM_STATE_ABOVE" in shown[1],
                  f"expected one window covering the screen, above the others; saw {shown}")
            run(["xdotool", "key", "Return", "space", "0"], env=env)
            time.sleep(1)
            check(flame.poll() is None, f"{options}: Enter, Space or 0 ended it ({flame.poll()})")
            other = x_window(display, 100, 100)
            run(["xdotool", "windowfocus", other.winfo_id()], env=env)
            with contextlib.suppress(subprocess.TimeoutExpired):
                flame.wait(timeout=2 if options else 10)
            check(flame.returncode == (None if options else 0), f"{options}, focus lost: expected "
                  f"{'to go on' if options else 'exit code 0'}, saw {flame.returncode}")
            other.destroy()
            if options:
                run(["xdotool", "windowfocus", "--sync", window[0], "key", "Escape"], env=env)
                check(flame.wait(timeout=10) == 0, f"Esc: expected 0, saw {flame.returncode}")
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
    """By the command lullvane-flame.xml gives, with the window in the environment: the flame with
    its counter in that window only, following its size, half a core or less at 20 frames a
    second, exit code 0 when the window is destroyed. As a preview, --root --window-id."""
    config = ElementTree.parse(CONFIG).getroot()
    delay, usage = config.find("number[@id='delay']"), run([FLAME, "--help"]).stdout
    check(config.get("gl") == "yes" and re.search(rf"default {delay.get('default')}\b", usage),
          f"expected an OpenGL hack with the program's default delay; saw {delay.attrib}")
    command = [FLAME, config.find("command").get("arg"), config.find("boolean").get("arg-set"),
               *delay.get("arg").replace("%", "50000").split()]

    def lit_centre(width, height):  # 0 until the counter (its only white) shows, nothing outside
        screen_width, _, pixels = capture_screen(display, scratch / "screen.png")
        rgb = area(pixels, screen_width, 0, 40, width, height - 40)
        columns = [i // 3 % width for i in range(0, len(rgb), 3) if rgb[i]]
        counter = any(area(pixels, screen_width, 0, 0, 160, 40)[2::3])
        outside = any(area(pixels, screen_width, width, 0, screen_width - width, height))
        return sum(columns) / len(columns) if columns and counter and not outside else 0

    def cpu_seconds(pid):
        ticks = sum(map(int, Path(f"/proc/{pid}/stat").read_text().split()[13:15]))
        return ticks / os.sysconf("SC_CLK_TCK")
    host = x_window(display, 320, 240)
    with started(command, env={**env, "XSCREENSAVER_WINDOW": str(host.winfo_id())}) as flame:
        small = wait_for(lambda: lit_centre(320, 240), 30, 0.5, "the flame and counter inside")
        before = cpu_seconds(flame.pid)
        time.sleep(2)
        load = (cpu_seconds(flame.pid) - before) / 2
        check(load < 0.5, f"at 20 frames per second: expected under half a core, saw {load:.2f}")
        host.geometry("640x480")
        host.update()
        wait_for(lambda: lit_centre(640, 480) > small + 60, 30, 0.5,
                 f"the flame to follow the window to 640x480 (centred at {small:.0f} in 320x240)")
        host.destroy()
        check(flame.wait(timeout=10) == 0, f"window destroyed: expected 0, saw {flame.returncode}")
    host = x_window(display, 320, 240)
    with started([FLAME, "--root", "--window-id", hex(host.winfo_id())], env=env) as flame:
        wait_for_flame(display, scratch / "screen.png", "--root --window-id", 0, 0, 320, 240)
        ended_by(flame, signal.SIGTERM, "--root --window-id")
    host.destroy()

def check_failures(scratch, display, env):
    """Each failure: its exit code, a line naming the problem, and for a bad command the usage."""
    no_display = {name: value for name, value in env.items() if name != "DISPLAY"}
    with started(["Xvfb", "-displayfd", "1", "-extension", "GLX", "-nolisten", "tcp"]) as xvfb:
        no_glx = {"DISPLAY": ":" + xvfb.stdout.readline().decode().strip()}
        for what, command, extra, code, word, usage in [
                ("no display", [FLAME], {}, 1, "display", False),
                ("no GLX", [FLAME], no_glx, 1, "GLX", False),
                ("no window", [FLAME, "--window-id", "0x7ffffff"], env, 1, "no window", False),
                ("--window --root", [FLAME, "--window", "64x64", "--root"], {}, 1, "choose", True),
                ("bad size", [STILL, "--width", "-3", "--out", "x.png"], {}, 2, "--width", True),
                ("unwritable", [STILL, "--out", scratch / "x/x"], {}, 1, "cannot write", False)]:
            result = run(command, env={**no_display, **extra})
            lines = result.stderr.splitlines() + ["", ""]
            check(result.returncode == code and word in lines[0] and
                  lines[1].startswith("usage") == usage, f"{what}: expected exit code {code}, a "
                  f"line naming {word!r}, usage: {usage}; saw {result.returncode}, "
                  f"{result.stderr!r}")

def check_package(package):
    """Its fields, lintian, its files, and a manual that renders and names every option."""
    control = run(["dpkg-deb", "-f", package, "Package", "Version", "Recommends", "Depends"])
    fields = dict(line.split(": ", 1) for line in control.stdout.splitlines())
    lintian = run(["lintian", package], timeout=300)
    manual = run(["man", "--warnings", "-l", f"/usr/share/man/man6/{NAME}.6.gz"],
                 env={**os.environ, "MANWIDTH": "80", "LC_ALL": "C.UTF-8"})
    options = set(re.findall(r"--[a-z][a-z-]*", run([HACK, "--help"]).stdout))
    missing = [word for word in ("SYNOPSIS", "OPTIONS", "KEYS", "ENVIRONMENT", "EXIT STATUS",
                                 "XSCREENSAVER_WINDOW", *options) if word not in manual.stdout] + [
        path for path in (f"/usr/share/xscreensaver/config/{NAME}.xml", *(f"/usr/share/doc/{NAME}/"
                          + name for name in ("README.md", "copyright", "changelog.gz")))
        if not Path(path).is_file()]
    check(package.name == f"{fields['Package']}_{fields['Version']}_amd64.deb" and
          fields["Recommends"] == "xscreensaver, xscreensaver-gl" and
          all(library in fields["Depends"] for library in ("libc6 (>=", "libx11-6", "libglx0")) and
          lintian.returncode == 0 and not re.search("^E:", lintian.stdout, re.M) and
          manual.returncode == 0 and not manual.stderr and len(options) > 8 and not missing,
          f"expected the file named by name and version, Recommends xscreensaver, xscreensaver-gl, "
          f"libraries computed from the binary, no lintian error, every file, and a manual with "
          f"every section and option; saw {package.name}, {fields}, {lintian.stdout}, missing "
          f"{missing}, {manual.stderr}")

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
    """In mode one with the README's programs line, five cycles: -activate (one hack, --root, the
    flame on the screen), -deactivate (ended by SIGTERM within a second, nothing left behind)."""
    home, log = scratch / "home", scratch / "daemon.log"
    (home / ".xscreensaver").write_text(
        "mode:\tone\nselected:\t0\ntimeout:\t0:30:00\ncycle:\t0:30:00\nlock:\tFalse\n"
        "splash:\tFalse\nfade:\tFalse\nunfade:\tFalse\n"
        'programs: GL: "Lullvane Flame" lullvane-flame --root \\n\n')
    shutil.chown(home / ".xscreensaver", user)
    as_user = ["runuser", "-u", user, "--", "env", "-i", f"HOME={home}", f"DISPLAY={display}",
               "PATH=/usr/bin:/bin", f"USER={user}", f"LOGNAME={user}"]

    def command(*words):
        return run([*as_user, "xscreensaver-command", *words]).returncode == 0
    with open(log, "w") as out, started([*as_user, "xscreensaver", "--no-splash", "--verbose"],
                                        stdout=out, stderr=subprocess.STDOUT) as daemon:
        wait_for(lambda: daemon.poll() is not None or command("-time"), 30, 0.5, "the daemon")
        ends = []  # (wait status or None, seconds)
        for cycle in range(1, 6):
            check(daemon.poll() is None and command("-activate"), f"cycle {cycle}: expected the "
                  f"daemon to activate; it ended with {daemon.poll()}; {log.read_text()[-3000:]}")
            hacks = wait_for(lambda: running(user, NAME), 20, what=f"cycle {cycle}: the hack")
            arguments = Path(f"/proc/{hacks[0]}/cmdline").read_bytes()
            check(arguments == b"lullvane-flame\0--root\0" and len(hacks) == 1,
                  f"expected one hack started as {NAME} --root; saw {hacks}, {arguments}")
            wait_for_flame(display, scratch / "saver.png", f"cycle {cycle}, on the screen")
            # From the daemon's answer on: the command's own start-up is slow on a loaded machine.
            check(command("-deactivate"), "xscreensaver-command -deactivate failed")
            start = time.monotonic()
            ends.append((wait_for_end(hacks[0], 5), time.monotonic() - start))
            check(ends[-1][1] < 1 and ends[-1][0] in (None, signal.SIGTERM), f"cycle {cycle}: "
                  f"expected the end by SIGTERM within a second; saw wait status and seconds "
                  f"{ends[-1]}")
            wait_for(lambda: not running(user, NAME, "xscreensaver-gfx"), 10,
                     what=f"cycle {cycle}: nothing left behind")
        check(command("-exit"), "xscreensaver-command -exit failed")
        daemon.wait(timeout=30)
    statuses = [status for status, _ in ends if status is not None]
    check(statuses and "abnormally" not in log.read_text(), f"expected a hack's wait status seen "
          f"and no abnormal exit logged; saw {ends}, {log.read_text()[-3000:]}")
    print(f"five cycles: hacks ended by SIGTERM (wait status seen {len(statuses)} times) at most "
          f"{max(seconds for _, seconds in ends):.2f} s after -deactivate; nothing left behind")

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
            check_package(package)
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
