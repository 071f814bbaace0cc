"""lullvane-flame under Xvfb: stills against flame-still, both drawing paths, the full-screen and
windowed closing rules, the screen-saver hack mode, and clean failures."""

import os
import re
import signal
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import (LINUX_BIN, capture_screen, check, fail, image_pixels, scratch_dir, started,
                     virtual_display)
from xlib_window import XWindow

FLAME = LINUX_BIN / "src/flame_x11/lullvane-flame"
STILL = LINUX_BIN / "src/tools/flame-still"
SCREENSAVER_CONFIG = Path(__file__).resolve().parents[3] / "src/flame_x11/lullvane-flame.xml"
# Both renderers draw the same triangles on a 1/256-pixel grid with the top-left rule and blend
# in 8 bits, so only colour interpolation rounding can differ: a channel off by one where a value
# falls on half a step. Measured at 640x480: 0.0011 per channel on average, 1011 of 921600
# channel values off by one, none by more than 2. A wrong projection, colour or blend moves the mean by whole units.
MEAN_DIFFERENCE_LIMIT = 0.01
LARGEST_DIFFERENCE_LIMIT = 4


def run(command, env=None, timeout=120):
    return subprocess.run([str(part) for part in command], env=env, capture_output=True, text=True,
                          timeout=timeout)


def check_ended_by(process, signal_number, what):
    """Sends the signal; the process must clean up and end by that same signal within a second."""
    start = time.monotonic()
    process.send_signal(signal_number)
    try:
        process.wait(timeout=1)
    except subprocess.TimeoutExpired:
        fail(f"{what}: still running a second after {signal_number.name}")
    check(process.returncode == -signal_number,
          f"{what}: wait status {process.returncode}, not terminated by {signal_number.name}")
    return time.monotonic() - start


def display_env(display, **extra):
    env = {name: value for name, value in os.environ.items() if name != "XSCREENSAVER_WINDOW"}
    env.update(DISPLAY=display, **extra)
    return env


def lit_columns(pixels, width, height, left=0, top=0, right=None, bottom=None):
    """Count and mean column of the lit pixels in a rectangle of an RGB picture."""
    right, bottom = right or width, bottom or height
    count, column_sum = 0, 0
    for y in range(top, bottom):
        row = 3 * y * width
        for x in range(left, right):
            if pixels[row + 3 * x] or pixels[row + 3 * x + 1]:
                count += 1
                column_sum += x - left
    return count, (column_sum / count if count else -1)


def check_flame_colours(pixels, what):
    reds, greens, blues = pixels[0::3], pixels[1::3], pixels[2::3]
    check(not any(blues), f"{what}: blue in the flame")
    check(all(r >= g for r, g in zip(reds, greens)), f"{what}: green above red")
    check(sum(1 for r in reds if r) > len(reds) // 20, f"{what}: hardly anything lit")


def check_stills(scratch):
    """At 4:3, wider and narrower: the GL still equals the software still closely, and the two
    drawing paths give identical pixels."""
    for screen, window in (((640, 480), None), ((1024, 768), (800, 450)), ((1024, 768), (400, 500))):
        width, height = window or screen
        with virtual_display(*screen) as display:
            env = display_env(display)
            pictures = {}
            for path in ("immediate", "arrays"):
                out = scratch / f"{path}-{width}x{height}.png"
                command = [FLAME, "--fixed-dt", "0.015625", "--frames", "300", "--screenshot", out,
                           "--draw", path]
                if window:
                    command += ["--window", f"{width}x{height}"]
                result = run(command, env)
                check(result.returncode == 0, f"still {path} {width}x{height}: {result.stderr}")
                pictures[path] = image_pixels(out)
        soft = scratch / f"soft-{width}x{height}.png"
        result = run([STILL, "--frames", "300", "--dt", "0.015625", "--width", width, "--height",
                      height, "--out", soft])
        check(result.returncode == 0, f"flame-still: {result.stderr}")
        soft_w, soft_h, soft_pixels = image_pixels(soft)
        gl_w, gl_h, gl_pixels = pictures["arrays"]
        check((gl_w, gl_h) == (soft_w, soft_h) == (width, height), f"sizes {gl_w}x{gl_h}")
        check(pictures["immediate"] == pictures["arrays"],
              f"{width}x{height}: immediate mode and vertex arrays differ")
        differences = [abs(a - b) for a, b in zip(gl_pixels, soft_pixels)]
        mean = sum(differences) / len(differences)
        check(mean <= MEAN_DIFFERENCE_LIMIT and max(differences) <= LARGEST_DIFFERENCE_LIMIT,
              f"{width}x{height}: mean difference {mean:.4f}, largest {max(differences)}")
        check_flame_colours(gl_pixels, f"still {width}x{height}")
        print(f"still {width}x{height}: paths identical; against flame-still mean difference "
              f"{mean:.4f} per channel, largest {max(differences)}")


def check_full_screen_and_window():
    with virtual_display(640, 480) as display, scratch_dir() as scratch:
        env = display_env(display)
        # Full screen: covers the screen, ignores Enter, Space and 0, ends on Esc with 0.
        with started([str(FLAME)], env=env) as flame:
            time.sleep(2)
            window = run(["xdotool", "search", "--name", "^lullvane-flame$"], env).stdout.split()
            check(len(window) == 1, f"expected one lullvane-flame window, found {window}")
            geometry = run(["xwininfo", "-id", window[0]], env).stdout
            check(re.search(r"-geometry 640x480\+0\+0$", geometry, re.M),
                  f"not covering the screen: {geometry}")
            state = run(["xprop", "-id", window[0], "_NET_WM_STATE"], env).stdout
            check("_NET_WM_STATE_FULLSCREEN" in state and "_NET_WM_STATE_ABOVE" in state,
                  f"not asking for full screen above the others: {state}")
            _, _, pixels = capture_screen(display, scratch / "full.png")
            check_flame_colours(pixels, "full screen")
            run(["xdotool", "key", "Return", "space", "0"], env)
            time.sleep(1)
            check(flame.poll() is None, "Enter, Space or 0 ended the full-screen flame")
            run(["xdotool", "key", "Escape"], env)
            check(flame.wait(timeout=10) == 0, "Esc: exit code not 0")
        # Full screen ends with 0 when another window takes the focus.
        with started([str(FLAME)], env=env) as flame, XWindow(display, 100, 100) as other:
            time.sleep(2)
            other.focus()
            check(flame.wait(timeout=10) == 0, "focus loss: exit code not 0")
        # A window stays when another window takes the focus; SIGTERM ends it, window released.
        with started([str(FLAME), "--window", "320x240"], env=env) as flame, \
                XWindow(display, 100, 100) as other:
            time.sleep(2)
            other.focus()
            time.sleep(1)
            check(flame.poll() is None, "--window closed when it lost the focus")
            check_ended_by(flame, signal.SIGTERM, "--window")
            windows = run(["xdotool", "search", "--name", "^lullvane-flame$"], env).stdout.split()
            check(not windows, f"the window outlived the program: {windows}")
        # A still cut short by SIGINT: the program's own ending runs, then the signal ends it.
        shot = scratch / "cut.png"
        with started([str(FLAME), "--screenshot", shot, "--frames", "1000000000", "--window",
                      "64x64"], env=env) as flame:
            time.sleep(2)
            check_ended_by(flame, signal.SIGINT, "a still")
            check("no screenshot written" in flame.stderr.read().decode() and not shot.exists(),
                  "a still cut short: no word of it, or a picture written")
    print("full screen: keys, Esc and focus loss; window: stays on focus loss; SIGTERM and SIGINT "
          "end a window and a still by the signal after their cleanup")


def check_hosted():
    with virtual_display(800, 600) as display, scratch_dir() as scratch:
        env = display_env(display)
        with XWindow(display, 320, 240) as host:
            # The settings tool's preview form: a window id wins over --root in either order.
            for command in (["--root", "--window-id", hex(host.id)],
                            ["-root", "-window-id", str(host.id)],
                            ["--window-id", hex(host.id), "--root"]):
                with started([str(FLAME), *command], env=env) as flame:
                    time.sleep(2)
                    width, height, pixels = capture_screen(display, scratch / "small.png")
                    lit, small_centre = lit_columns(pixels, width, height, right=320, bottom=240)
                    check(lit > 320 * 240 // 20, f"{command}: nothing drawn into the window")
                    outside, _ = lit_columns(pixels, width, height, left=320)
                    check(outside == 0, f"{command}: drew outside the window")
                    if command[0] == "--window-id":
                        # It follows the window's size.
                        host.resize(640, 480)
                        time.sleep(2)
                        _, _, pixels = capture_screen(display, scratch / "large.png")
                        _, large_centre = lit_columns(pixels, width, height, right=640, bottom=480)
                        check(large_centre > small_centre + 60,
                              f"did not follow the resize (lit columns centred at "
                              f"{small_centre:.0f}, then {large_centre:.0f})")
                    seconds = check_ended_by(flame, signal.SIGTERM, " ".join(command))
            print(f"--root with --window-id in either order drew into the window and followed "
                  f"its size; SIGTERM ended it by the signal in {seconds:.2f} s")
            # By $XSCREENSAVER_WINDOW in decimal with -root, as a screen saver starts a hack.
            env = display_env(display, XSCREENSAVER_WINDOW=str(host.id))
            with started([str(FLAME), "-root"], env=env) as flame:
                time.sleep(2)
                check(flame.poll() is None, "exited early with $XSCREENSAVER_WINDOW")
                _, _, pixels = capture_screen(display, scratch / "env.png")
                check(lit_columns(pixels, width, height, right=640, bottom=480)[0] > 0,
                      "nothing drawn with $XSCREENSAVER_WINDOW")
                check_ended_by(flame, signal.SIGINT, "$XSCREENSAVER_WINDOW")
            # The window vanishing under it ends it quietly.
            with started([str(FLAME), "--window-id", str(host.id)], env=display_env(display)) as flame:
                time.sleep(2)
                host.destroy()
                check(flame.wait(timeout=10) == 0, "the window's destruction: exit code not 0")
    print("$XSCREENSAVER_WINDOW ended by SIGINT; a destroyed window ends it with 0")


def cpu_seconds(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def check_screensaver_config():
    """The command a screen saver builds from lullvane-flame.xml runs: --root with the window in the
    environment, a slower frame rate that leaves the processor mostly idle, and the counter."""
    config = ElementTree.parse(SCREENSAVER_CONFIG).getroot()
    check(config.get("gl") == "yes", "the hack must ask for an OpenGL visual")
    delay = config.find("number[@id='delay']")
    help_text = run([FLAME, "--help"]).stdout
    program_default = re.search(r"default (\d+)", help_text).group(1)
    check(delay.get("default") == program_default,
          f"the configuration's delay default {delay.get('default')} is not the program's "
          f"{program_default}: a screen saver leaves out an argument at its default")
    command = [FLAME, config.find("command").get("arg"),
               config.find("boolean[@id='showfps']").get("arg-set"),
               *delay.get("arg").replace("%", "50000").split()]
    with virtual_display(640, 480) as display, scratch_dir() as scratch, \
            XWindow(display, 320, 240) as host:
        env = display_env(display, XSCREENSAVER_WINDOW=hex(host.id))
        with started(command, env=env) as flame:
            time.sleep(2)
            before = cpu_seconds(flame.pid)
            time.sleep(3)
            load = (cpu_seconds(flame.pid) - before) / 3
            width, height, pixels = capture_screen(display, scratch / "hack.png")
            check(lit_columns(pixels, width, height, right=320, bottom=240)[0] > 0,
                  f"{command}: nothing drawn")
            overlay = [pixels[3 * (y * width + x) + 2] for y in range(40) for x in range(160)]
            check(any(overlay), "no frames-per-second counter (the only white in the picture)")
            check(load < 0.5, f"at 20 frames per second it used {load:.2f} of a core")
            check_ended_by(flame, signal.SIGTERM, "the configuration's command")
    print(f"lullvane-flame.xml: {' '.join(map(str, command[1:]))} draws with the counter, "
          f"using {load:.2f} of a core")


def check_failures():
    # One line and exit code 1 without a display, without GLX and for a window that is not there.
    result = run([FLAME], env=display_env(":199"))
    check(result.returncode == 1 and result.stderr.count("\n") == 1 and "display" in result.stderr,
          f"no display: {result.returncode} {result.stderr!r}")
    with virtual_display(320, 240) as display:
        result = run([FLAME, "--window-id", "0x7ffffff"], env=display_env(display))
        check(result.returncode == 1 and result.stderr.count("\n") == 1,
              f"missing window: {result.returncode} {result.stderr!r}")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "320x240x24",
                               "-nolisten", "tcp", "-extension", "GLX"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    try:
        number = os.read(read, 32).decode().strip()
        result = run([FLAME], env=display_env(f":{number}"))
        check(result.returncode == 1 and result.stderr.count("\n") == 1 and "GLX" in result.stderr,
              f"no GLX: {result.returncode} {result.stderr!r}")
    finally:
        os.close(read)
        server.terminate()
        server.wait(timeout=10)
    for command, word in ((["--frames", "x"], "--frames"),
                          (["--window", "640x480", "--root"], "choose one")):
        result = run([FLAME, *command], env=display_env(":199"))
        check(result.returncode == 1 and word in result.stderr,
              f"{command}: {result.returncode} {result.stderr!r}")
    print("no display, no GLX, no such window, a bad option or --window with --root: exit 1")


def main():
    with scratch_dir() as scratch:
        check_stills(scratch)
    check_full_screen_and_window()
    check_hosted()
    check_screensaver_config()
    check_failures()


if __name__ == "__main__":
    sys.exit(main())
