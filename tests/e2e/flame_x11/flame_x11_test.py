"""lullvane-flame under Xvfb: its stills against flame-still's, full screen and in a window with
their closing rules, as a hack in a window of the test's own, and its clean failures."""

import contextlib
import os
import re
import signal
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import LINUX_BIN, capture_screen, check, image_pixels, scratch_dir, started, \
    virtual_display, wait_for
from x11_helpers import XWindow, area, looks_like_flame, run, wait_for_flame

FLAME = LINUX_BIN / "src/flame_x11/lullvane-flame"
STILL = LINUX_BIN / "src/tools/flame-still"
CONFIG = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml"
# Both renderers draw the same triangles on a 1/256-pixel grid with the top-left rule and blend in
# 8 bits: only colour rounding differs, a channel off by one where a value falls on half a step
# (measured: 0.0011 per channel on average, none off by more than 2). A wrong projection, colour or
# blend moves the mean by whole units.
MEAN_LIMIT, LARGEST_LIMIT = 0.01, 4


def still(scratch, env, program, width, height):
    """The 300th frame at 1/64 s a frame, from flame-still or from lullvane-flame by that drawing
    path, as RGB bytes."""
    out = scratch / f"{program}-{width}x{height}.png"
    if program == "flame-still":
        command = [STILL, "--dt", "0.015625", "--width", width, "--height", height, "--out", out]
    else:
        command = [FLAME, "--fixed-dt", "0.015625", "--screenshot", out, "--draw", program,
                   "--window", f"{width}x{height}"]
    result = run([*command, "--frames", "300"], env=env)
    check(result.returncode == 0, f"{program} {width}x{height}: {result.stderr}")
    size = image_pixels(out)
    check(size[:2] == (width, height), f"{program}: expected {width}x{height}, saw {size[:2]}")
    return size[2]


def check_stills(scratch, env):
    """At 4:3, wider and narrower, the GL still equals flame-still's closely; at 4:3 the two
    drawing paths give identical pixels and flame-still's picture is a recognisable flame."""
    for width, height in ((640, 480), (800, 450), (400, 500)):
        soft = still(scratch, env, "flame-still", width, height)
        gl = still(scratch, env, "arrays", width, height)
        differences = [abs(a - b) for a, b in zip(gl, soft)]
        mean, largest = sum(differences) / len(differences), max(differences)
        check(mean <= MEAN_LIMIT and largest <= LARGEST_LIMIT and looks_like_flame(gl),
              f"{width}x{height}: expected a flame within {MEAN_LIMIT} on average and "
              f"{LARGEST_LIMIT} at most of flame-still's; saw {mean:.4f} and {largest}")
        print(f"still {width}x{height}: against flame-still {mean:.4f} per channel on average, "
              f"{largest} at most")
        if width == 640:
            check(still(scratch, env, "immediate", width, height) == gl,
                  "immediate mode and vertex arrays differ")
            check_recognisable(soft, width)


def check_recognisable(pixels, width):
    """A flame with a black background, dark corners, a yellow core and red edges."""
    triples = [pixels[i:i + 3] for i in range(0, len(pixels), 3)]
    black = sum(1 for t in triples if t == b"\0\0\0")
    yellow = sum(1 for r, g, _ in triples if r > 200 and g > 150)
    red = sum(1 for r, g, _ in triples if r > 60 and g < r * 0.6)
    corners = [triples[0], triples[width - 1], triples[-width], triples[-1]]
    check(looks_like_flame(pixels) and black > len(triples) * 0.2 and yellow > 200 and red > 2000
          and all(sum(corner) < 30 for corner in corners),
          f"flame-still: expected a black background, dark corners, a yellow core, red edges and "
          f"no blue; saw "
          f"{black} black, {yellow} yellow, {red} red of {len(triples)} pixels, corners {corners}")
    print(f"flame-still 640x480: {black} black, {yellow} yellow, {red} red or orange pixels")


def check_ended_by(process, signal_number, what):
    """Sends the signal; the process must clean up and end by that same signal within a second."""
    start = time.monotonic()
    process.send_signal(signal_number)
    with contextlib.suppress(subprocess.TimeoutExpired):
        process.wait(timeout=1)
    check(process.returncode == -signal_number, f"{what}: expected to end by {signal_number.name} "
          f"within a second, saw wait status {process.returncode}")
    return time.monotonic() - start


def flame_windows(env):
    return run(["xdotool", "search", "--name", "^lullvane-flame$"], env=env).stdout.split()


def check_own_windows(scratch, display, env):
    """Full screen: covers the screen above the others, ignores Enter, Space and 0, ends with 0 on
    Esc or when another window takes the focus. A window outlives focus loss; SIGTERM ends it by
    the signal after its cleanup (its window released), SIGINT a still, which then writes none."""
    screen = scratch / "screen.png"
    with started([str(FLAME)], env=env) as flame:
        wait_for_flame(display, screen, "full screen")
        window = flame_windows(env)
        check(len(window) == 1, f"expected one lullvane-flame window, found {window}")
        geometry = run(["xwininfo", "-id", window[0]], env=env).stdout
        state = run(["xprop", "-id", window[0], "_NET_WM_STATE"], env=env).stdout
        check(re.search(r"-geometry 800x600\+0\+0$", geometry, re.M)
              and "_NET_WM_STATE_FULLSCREEN" in state and "_NET_WM_STATE_ABOVE" in state,
              f"expected the 800x600 screen covered, full screen above the others; saw {geometry}"
              f"{state}")
        run(["xdotool", "key", "Return", "space", "0"], env=env)
        time.sleep(1)
        check(flame.poll() is None, f"Enter, Space or 0 ended the full screen ({flame.poll()})")
        run(["xdotool", "key", "Escape"], env=env)
        check(flame.wait(timeout=10) == 0, f"Esc: expected exit code 0, saw {flame.returncode}")
    with started([str(FLAME)], env=env) as flame, XWindow(display, 100, 100) as other:
        wait_for_flame(display, screen, "full screen")
        other.focus()
        check(flame.wait(timeout=10) == 0, f"focus loss: expected 0, saw {flame.returncode}")
    with started([str(FLAME), "--window", "320x240"], env=env) as flame, \
            XWindow(display, 100, 100) as other:
        wait_for_flame(display, screen, "--window", 0, 0, 320, 240)
        other.focus()
        time.sleep(1)
        check(flame.poll() is None, f"--window ended on focus loss ({flame.poll()})")
        check_ended_by(flame, signal.SIGTERM, "--window")
        check(not flame_windows(env), f"the window outlived the program: {flame_windows(env)}")
    shot = scratch / "cut.png"
    with started([str(FLAME), "--screenshot", shot, "--frames", "1000000000", "--window", "64x64"],
                 env=env) as flame:
        wait_for(lambda: flame_windows(env), 30, what="the still's window")
        check_ended_by(flame, signal.SIGINT, "a still")
        stderr = flame.stderr.read().decode()
        check("no screenshot written" in stderr and not shot.exists(), f"a still cut short: "
              f"expected word of it and no picture; saw {stderr!r}, picture: {shot.exists()}")
    print("full screen: above the others, keys, Esc, focus loss; window: stays on focus loss; "
          "SIGTERM and SIGINT end a window and a still by the signal after their cleanup")


def cpu_seconds(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def lit_centre(display, path, width, height):
    """The mean column of the lit pixels in that rectangle at the top left of the screen."""
    screen_width, _, pixels = capture_screen(display, path)
    rgb = area(pixels, screen_width, 0, 0, width, height)
    columns = [i // 3 % width for i in range(0, len(rgb), 3) if rgb[i] or rgb[i + 1]]
    return sum(columns) / max(len(columns), 1)


def check_hosted(scratch, display, env):
    """As a screen saver runs it, by the command lullvane-flame.xml gives and the window in the
    environment: it draws with its counter at a pace that leaves the processor mostly idle. As the
    settings tool's preview runs it: it draws into the window only and follows its size. The
    window destroyed under it ends it with 0."""
    config = ElementTree.parse(CONFIG).getroot()
    delay = config.find("number[@id='delay']")
    program_default = re.search(r"default (\d+)", run([FLAME, "--help"]).stdout).group(1)
    check(config.get("gl") == "yes" and delay.get("default") == program_default,
          f"expected an OpenGL hack whose delay defaults to the program's {program_default} (a "
          f"screen saver leaves out an argument at its default); saw {config.attrib}, "
          f"{delay.attrib}")
    command = [FLAME, config.find("command").get("arg"),
               config.find("boolean[@id='showfps']").get("arg-set"),
               *delay.get("arg").replace("%", "50000").split()]
    screen = scratch / "screen.png"

    def drawn_with_counter():  # the counter at the top left is the only white in the picture
        width, _, pixels = capture_screen(display, screen)
        return any(area(pixels, width, 0, 0, 320, 240)) and \
            any(area(pixels, width, 0, 0, 160, 40)[2::3])

    with XWindow(display, 320, 240) as host, \
            started(command, env={**env, "XSCREENSAVER_WINDOW": str(host.id)}) as flame:
        wait_for(drawn_with_counter, 30, 0.5, f"{command[1:]}: the flame and its counter")
        start, before = time.monotonic(), cpu_seconds(flame.pid)
        time.sleep(2)
        load = (cpu_seconds(flame.pid) - before) / (time.monotonic() - start)
        check(load < 0.5, f"at 20 frames per second: expected under half a core, saw {load:.2f}")
        check_ended_by(flame, signal.SIGINT, "$XSCREENSAVER_WINDOW")
    with XWindow(display, 320, 240) as host, \
            started([str(FLAME), "--root", "--window-id", hex(host.id)], env=env) as flame:
        wait_for_flame(display, screen, "--root --window-id", 0, 0, 320, 240)
        width, height, pixels = capture_screen(display, screen)
        check(not any(area(pixels, width, 320, 0, width - 320, height)), "drew outside the window")
        small = lit_centre(display, screen, 320, 240)
        host.resize(640, 480)
        wait_for(lambda: lit_centre(display, screen, 640, 480) > small + 60, 30, 0.5,
                 f"the flame to follow the window to 640x480 (centred at {small:.0f} in 320x240)")
        seconds = check_ended_by(flame, signal.SIGTERM, "--root --window-id")
    with XWindow(display, 320, 240) as host, \
            started([str(FLAME), "--window-id", str(host.id)], env=env) as flame:
        wait_for_flame(display, screen, "--window-id", 0, 0, 320, 240)
        host.destroy()
        check(flame.wait(timeout=10) == 0, f"window destroyed: expected 0, saw {flame.returncode}")
    print(f"{' '.join(map(str, command[1:]))} draws with the counter using {load:.2f} of a core; "
          f"--root --window-id draws into the window only, follows its size, ends by SIGTERM in "
          f"{seconds:.2f} s; a destroyed window ends it with 0")


@contextlib.contextmanager
def display_without_glx():
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "320x240x24",
                               "-nolisten", "tcp", "-extension", "GLX"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    try:
        yield ":" + os.read(read, 32).decode().strip()
    finally:
        os.close(read)
        server.terminate()
        server.wait(timeout=10)


def check_failures(scratch, env):
    """Each failure ends with its exit code and one line naming the problem; a bad command line
    adds the usage."""
    no_display = {name: value for name, value in env.items() if name != "DISPLAY"}
    with display_without_glx() as no_glx:
        failures = [  # what, command, DISPLAY, exit code, word in the line, usage after it
            ("no display", [FLAME], None, 1, "display", False),
            ("no GLX", [FLAME], no_glx, 1, "GLX", False),
            ("no such window", [FLAME, "--window-id", "0x7ffffff"], env["DISPLAY"], 1, "no window",
             False),
            ("--window with --root", [FLAME, "--window", "64x64", "--root"], None, 1, "choose one",
             True),
            ("flame-still, a bad size", [STILL, "--width", "-3", "--out", scratch / "x.png"], None,
             2, "--width", True),
            ("flame-still, an unwritable file", [STILL, "--out", scratch / "no/x.png"], None, 1,
             "cannot write", False),
        ]
        for what, command, display, code, word, usage in failures:
            result = run(command, env={**no_display, **({"DISPLAY": display} if display else {})})
            lines = result.stderr.splitlines() or [""]
            check(result.returncode == code and word in lines[0]
                  and (len(lines) > 1 and lines[1].startswith("usage")) == usage,
                  f"{what}: expected exit code {code}, one line naming {word!r}, usage after it: "
                  f"{usage}; saw {result.returncode}, {result.stderr!r}")
    print(f"exit code and message right: {'; '.join(failure[0] for failure in failures)}")


def main():
    env = {name: value for name, value in os.environ.items() if name != "XSCREENSAVER_WINDOW"}
    with scratch_dir() as scratch, virtual_display(800, 600) as display:
        env["DISPLAY"] = display
        check_stills(scratch, env)
        check_own_windows(scratch, display, env)
        check_hosted(scratch, display, env)
        check_failures(scratch, env)


if __name__ == "__main__":
    sys.exit(main())
