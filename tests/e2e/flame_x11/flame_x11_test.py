"""lullvane-flame under Xvfb: stills against flame-still's, its windows' closing rules, as a hack in
a window of the test's own, clean failures. With its Debian package (installed as root, else 77 to
skip): lintian, the manual, the real xscreensaver daemon of an ordinary user, the settings tool."""

import contextlib, ctypes, os, re, shutil, signal, subprocess, sys, time, tkinter
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import LINUX_BIN, capture_screen, check, image_pixels, scratch_dir, started, \
    virtual_display, wait_for

FLAME, STILL = LINUX_BIN / "src/flame_x11/lullvane-flame", LINUX_BIN / "src/tools/flame-still"
CONFIG = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml"
NAME, HACK = "lullvane-flame", Path("/usr/libexec/xscreensaver/lullvane-flame")

def run(command, timeout=120, **options):
    return subprocess.run([str(part) for part in command], capture_output=True, text=True,
                          timeout=timeout, **options)

def area(pixels, width, x, y, w, h):
    """The RGB bytes of a rectangle of a picture, row after row."""
    return b"".join(pixels[3 * (width * row + x):3 * (width * row + x + w)] for row in range(y, y + h))

def looks_like_flame(rgb):
    """A twentieth or more lit, no blue anywhere, red at least green everywhere."""
    reds, greens = rgb[0::3], rgb[1::3]
    return not any(rgb[2::3]) and all(map(int.__ge__, reds, greens)) and \
        sum(map(bool, reds)) > len(reds) // 20

def wait_for_flame(display, path, what, x=0, y=0, w=None, h=None):
    def shown():
        width, height, pixels = capture_screen(display, path)
        return looks_like_flame(area(pixels, width, x, y, w or width - x, h or height - y))
    wait_for(shown, 30, 0.5, f"the flame: {what}")

def x_window(display, width, height):
    """A black window of the test's own at the top left."""
    window = tkinter.Tk(screenName=display)
    window.configure(background="black")
    window.geometry(f"{width}x{height}+0+0")
    window.update()
    return window

def ended_by(process, signal_number, what):
    """Sends the signal; the process must clean up and end by that same signal within a second."""
    process.send_signal(signal_number)
    with contextlib.suppress(subprocess.TimeoutExpired):
        process.wait(timeout=1)
    check(process.returncode == -signal_number, f"{what}: expected to end by {signal_number.name} "
          f"within a second, saw wait status {process.returncode}")

def check_stills(scratch, _, env):
    """The 300th frame at 1/64 s: GL equals flame-still closely at three shapes (both draw the same
    triangles on a 1/256-pixel grid and blend in 8 bits, so only colour rounding differs: measured
    0.0011 per channel on average, 2 at most); both GL paths alike; flame-still's a real flame."""
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
          f"corners, a yellow core, red edges; saw {black} black, {yellow} yellow, {red} red of "
          f"{len(pixels)}, corners {corners}")

def check_own_windows(scratch, display, env):
    """Full screen: covers the screen above the others, ignores Enter, Space and 0, ends with 0 on
    Esc or when another window takes the focus. A window outlives focus loss; SIGTERM ends it by
    the signal after its cleanup (window released); SIGINT ends a still, which writes none."""
    screen, shot = scratch / "screen.png", scratch / "cut.png"

    def windows():
        return run(["xdotool", "search", "--name", f"^{NAME}$"], env=env).stdout.split()
    with started([FLAME], env=env) as flame:
        wait_for_flame(display, screen, "full screen")
        shown = [run([tool, "-id", window, *extra], env=env).stdout for window in windows()
                 for tool, extra in (("xwininfo", []), ("xprop", ["_NET_WM_STATE"]))]
        check(len(shown) == 2 and "-geometry 800x600+0+0" in shown[0] and
              "_NET_WM_STATE_FULLSCREEN, _NET_WM_STATE_ABOVE" in shown[1],
              f"expected one window covering the screen, above the others; saw {shown}")
        run(["xdotool", "key", "Return", "space", "0"], env=env)
        time.sleep(1)
        check(flame.poll() is None, f"Enter, Space or 0 ended the full screen ({flame.poll()})")
        run(["xdotool", "key", "Escape"], env=env)
        check(flame.wait(timeout=10) == 0, f"Esc: expected exit code 0, saw {flame.returncode}")
    for options, rectangle in (([], ()), (["--window", "320x240"], (0, 0, 320, 240))):
        with started([FLAME, *options], env=env) as flame:
            other = x_window(display, 100, 100)
            wait_for_flame(display, screen, f"{options}", *rectangle)
            run(["xdotool", "windowfocus", other.winfo_id()], env=env)
            with contextlib.suppress(subprocess.TimeoutExpired):
                flame.wait(timeout=1 if options else 10)
            check(flame.returncode == (None if options else 0), f"{options}, focus lost: expected "
                  f"{'to go on' if options else 'exit code 0'}, saw {flame.returncode}")
            other.destroy()
            if options:
                ended_by(flame, signal.SIGTERM, "--window")
                check(not windows(), f"its window outlived the program: {windows()}")
    with started([FLAME, "--screenshot", shot, "--frames", "1000000000", "--window", "64x64"],
                 env=env) as flame:
        wait_for(windows, 30, what="the still's window")
        ended_by(flame, signal.SIGINT, "a still")
        stderr = flame.stderr.read().decode()
        check("no screenshot written" in stderr and not shot.exists(), f"a still cut short: "
              f"expected word of it and no picture; saw {stderr!r}, picture: {shot.exists()}")

def cpu_ticks(pid):
    return sum(map(int, Path(f"/proc/{pid}/stat").read_text().split()[13:15]))

def check_hosted(scratch, display, env):
    """By the command lullvane-flame.xml gives, with the window in the environment: the flame with
    its counter in that window only, following its size, the processor mostly idle at 20 frames a
    second, exit code 0 when the window is destroyed. As a preview, --root --window-id draws."""
    config = ElementTree.parse(CONFIG).getroot()
    delay, help_text = config.find("number[@id='delay']"), run([FLAME, "--help"]).stdout
    check(config.get("gl") == "yes" and f"default {delay.get('default')}" in help_text,
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
    host = x_window(display, 320, 240)
    with started(command, env={**env, "XSCREENSAVER_WINDOW": str(host.winfo_id())}) as flame:
        small = wait_for(lambda: lit_centre(320, 240), 30, 0.5, "the flame and counter in the window")
        before = cpu_ticks(flame.pid)
        time.sleep(2)
        load = (cpu_ticks(flame.pid) - before) / os.sysconf("SC_CLK_TCK") / 2
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
    """Each failure ends with its exit code and a line naming the problem; a bad command line adds
    the usage."""
    with started(["Xvfb", "-displayfd", "1", "-extension", "GLX", "-nolisten", "tcp"]) as xvfb:
        no_glx = ":" + xvfb.stdout.readline().decode().strip()
        for what, command, display_name, code, word, usage in [
                ("no display", [FLAME], None, 1, "display", False),
                ("no GLX", [FLAME], no_glx, 1, "GLX", False),
                ("no window", [FLAME, "--window-id", "0x7ffffff"], display, 1, "no window", False),
                ("--window --root", [FLAME, "--window", "64x64", "--root"], None, 1, "choose", True),
                ("bad size", [STILL, "--width", "-3", "--out", "x.png"], None, 2, "--width", True),
                ("unwritable", [STILL, "--out", scratch / "no/x.png"], None, 1, "cannot write",
                 False)]:
            result = run(command, env={**{k: v for k, v in env.items() if k != "DISPLAY"},
                                       **({"DISPLAY": display_name} if display_name else {})})
            lines = result.stderr.splitlines() + ["", ""]
            check(result.returncode == code and word in lines[0]
                  and lines[1].startswith("usage") == usage,
                  f"{what}: expected exit code {code}, a line naming {word!r}, usage after it: "
                  f"{usage}; saw {result.returncode}, {result.stderr!r}")

def check_package(package):
    """Fields, lintian, installed files, and a manual that renders and names every option."""
    fields = dict(line.split(": ", 1) for line in run(
        ["dpkg-deb", "-f", package, "Package", "Version", "Depends", "Recommends"]).stdout.splitlines())
    check(package.name.startswith(f"{fields['Package']}_{fields['Version']}_amd64")
          and fields["Recommends"] == "xscreensaver, xscreensaver-gl"
          and all(library in fields["Depends"] for library in ("libc6 (>=", "libx11-6", "libglx0")),
          f"expected the name from name and version, Recommends xscreensaver, xscreensaver-gl, "
          f"libraries computed from the binary; saw {package.name}, {fields}")
    lintian = run(["lintian", package], timeout=300)
    check(lintian.returncode == 0 and not re.search("^E:", lintian.stdout, re.M),
          f"lintian: expected no error, saw {lintian.stdout}{lintian.stderr}")
    manual = run(["man", "--warnings", "-l", f"/usr/share/man/man6/{NAME}.6.gz"],
                 env={**os.environ, "MANWIDTH": "80", "LC_ALL": "C.UTF-8"})
    options = set(re.findall(r"--[a-z][a-z-]*", run([HACK, "--help"]).stdout))
    missing = [word for word in ("SYNOPSIS", "OPTIONS", "KEYS", "ENVIRONMENT", "EXIT STATUS",
                                 "XSCREENSAVER_WINDOW", *options) if word not in manual.stdout]
    missing += [path for path in (f"/usr/share/xscreensaver/config/{NAME}.xml", *(
        f"/usr/share/doc/{NAME}/{name}" for name in ("README.md", "copyright", "changelog.gz")))
        if not Path(path).is_file()]
    check(manual.returncode == 0 and not manual.stderr and len(options) > 8 and not missing,
          f"expected every file, and a manual with every section and option; missing {missing}, "
          f"saw {manual.stderr}")

def running(user, name=None):  # the kernel keeps 15 bytes of a name
    name_pattern = ["-x", name[:15]] if name else []
    return [int(pid) for pid in run(["pgrep", "-u", user, *name_pattern]).stdout.split()]

def wait_for_end(pid, timeout):
    """Its wait status when this test (a subreaper) adopted it, None when its parent reaped it."""
    def ended():
        try:
            done, status = os.waitpid(pid, os.WNOHANG)
            return [status] if done else None
        except ChildProcessError:
            return None if Path(f"/proc/{pid}").exists() else [None]
    return wait_for(ended, timeout, 0.01, f"process {pid} to end")[0]

def check_daemon(scratch, display, user):
    """Five cycles of -activate (the flame on the screen) and -deactivate (the hack ended by
    SIGTERM within a second, nothing left behind), in mode one with the README's programs line."""
    home, log = scratch / "home", scratch / "daemon.log"
    (home / ".xscreensaver").write_text(
        "mode:\tone\nselected:\t0\ntimeout:\t0:30:00\nlock:\tFalse\nsplash:\tFalse\nfade:\tFalse\n"
        'unfade:\tFalse\nprograms: GL: "Lullvane Flame" lullvane-flame --root \\n\n')
    shutil.chown(home / ".xscreensaver", user)
    as_user = ["runuser", "-u", user, "--", "env", "-i", f"HOME={home}", f"DISPLAY={display}",
               "PATH=/usr/bin:/bin", f"USER={user}", f"LOGNAME={user}"]

    def command(*words):
        return run([*as_user, "xscreensaver-command", *words]).returncode == 0
    with open(log, "w") as out, started([*as_user, "xscreensaver", "--no-splash", "--verbose"],
                                        stdout=out, stderr=subprocess.STDOUT) as daemon:
        wait_for(lambda: daemon.poll() is not None or command("-time"), 30, 0.5, "the daemon")
        for cycle in range(1, 6):
            check(daemon.poll() is None and command("-activate"), f"cycle {cycle}: expected the "
                  f"daemon to activate; it ended with {daemon.poll()}; {log.read_text()[-3000:]}")
            hacks = wait_for(lambda: running(user, NAME), 20, what=f"cycle {cycle}: the hack")
            arguments = Path(f"/proc/{hacks[0]}/cmdline").read_bytes()
            check(arguments == b"lullvane-flame\0--root\0" and len(hacks) == 1,
                  f"expected one hack started as {NAME} --root; saw {hacks}, {arguments}")
            wait_for_flame(display, scratch / "saver.png", f"cycle {cycle}, on the screen")
            start = time.monotonic()
            check(command("-deactivate"), "xscreensaver-command -deactivate failed")
            status, seconds = wait_for_end(hacks[0], 5), time.monotonic() - start
            check(seconds < 1 and status in (None, signal.SIGTERM), f"cycle {cycle}: expected the "
                  f"hack ended by SIGTERM within a second; saw wait status {status}, {seconds} s")
            wait_for(lambda: not running(user, NAME) + running(user, "xscreensaver-gfx"), 10,
                     what=f"cycle {cycle}: nothing left behind")
        check(command("-exit"), "xscreensaver-command -exit failed")
        daemon.wait(timeout=30)
    check("abnormally" not in log.read_text(), "the daemon logged an abnormal hack exit")

def check_installed(package):
    check(package.stat().st_mtime >= FLAME.stat().st_mtime, f"{package} is older than the program")
    before = run(["dpkg-query", "-W", "-f=${db:Status-Status}", NAME]).stdout
    user = f"lvflame{os.getpid()}"
    ctypes.CDLL(None).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER: orphaned hacks come here

    def install():  # while another installation holds dpkg's lock, again
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
            run(["userdel", user])
            if before != "installed":
                run(["dpkg", "--purge", NAME], timeout=300)

if __name__ == "__main__":
    if sys.argv[1:] and os.geteuid() != 0:
        print("SKIP: installing the package and adding a user need root")
        sys.exit(77)
    if sys.argv[1:]:
        sys.exit(check_installed(Path(sys.argv[1])))
    environment = {name: value for name, value in os.environ.items() if name != "XSCREENSAVER_WINDOW"}
    with scratch_dir() as scratch_folder, virtual_display(800, 600) as display_name:
        environment["DISPLAY"] = display_name
        for checks in (check_stills, check_own_windows, check_hosted, check_failures):
            checks(scratch_folder, display_name, environment)
            print(f"{checks.__name__}: passed")
