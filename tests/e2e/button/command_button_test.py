"""The Command button under Wine: its faces on screen, from the skin images and the gradient, as the
mouse hovers, presses, releases and drags out, its Click, and the disabled look."""

import subprocess
import time
from pathlib import Path

from harness import (PROBE, capture_screen, check, image_pixels, scratch_dir, started, wait_for,
                     windows_path, wine_session)

ASSETS = Path(__file__).resolve().parents[3] / "assets"
SKINS = {name: image_pixels(ASSETS / f"button_{file}.bmp") for name, file in [
    ("Normal", "normal"), ("HighLight", "highlight"), ("HighLightSelect", "highlight_select"),
    ("Selected", "selected"), ("Pressed", "pressed"), ("Disable", "disable")]}
WHITE = (255, 255, 255)
SHADE = (198, 197, 215)
FRAME = 4
FAR = (5, 5)  # a screen point outside the test window


class Shot:
    """One screen capture, read at positions relative to the button."""

    def __init__(self, display, path, button):
        self.width, _, self.pixels = capture_screen(display, path)
        self.left, self.top, self.button_width, self.button_height = button

    def at(self, x, y):
        offset = 3 * ((self.top + y) * self.width + self.left + x)
        return tuple(self.pixels[offset:offset + 3])

    def frame_differences(self, face):
        """How many pixels of the button's four-pixel frame differ from the skin image."""
        skin_width, _, skin = SKINS[face]
        differing = 0
        for y in range(self.button_height):
            for x in range(self.button_width):
                if FRAME <= x < self.button_width - FRAME and FRAME <= y < self.button_height - FRAME:
                    continue
                offset = 3 * (y * skin_width + x)
                differing += self.at(x, y) != tuple(skin[offset:offset + 3])
        return differing

    def gradient_ends(self):
        """The gradient's colours at the first and last row, fitted through the rows inside the
        frame at both sides of the caption, and the worst distance of a row from that line."""
        rows = list(range(FRAME, self.button_height - FRAME))
        top, bottom, worst = [], [], 0.0
        for channel in range(3):
            for x in (FRAME + 1, self.button_width - FRAME - 2):
                values = [self.at(x, y)[channel] for y in rows]
                mean_y, mean_v = sum(rows) / len(rows), sum(values) / len(values)
                slope = (sum((y - mean_y) * (v - mean_v) for y, v in zip(rows, values))
                         / sum((y - mean_y) ** 2 for y in rows))
                line = lambda y: mean_v + slope * (y - mean_y)
                worst = max(worst, *(abs(line(y) - v) for y, v in zip(rows, values)))
                if x == FRAME + 1:
                    top.append(line(0))
                    bottom.append(line(self.button_height - 1))
        return tuple(top), tuple(bottom), worst

    def caption_darkness(self):
        """The darkest channel maximum in the caption band, and how many pixels of the band are
        clearly darker than the gradient behind them."""
        darkest, marked = 255, 0
        for y in range(6, 18):
            background = max(self.at(FRAME + 1, y))
            for x in range(FRAME + 2, self.button_width - FRAME - 2):
                brightness = max(self.at(x, y))
                darkest = min(darkest, brightness)
                marked += brightness < background - 40
        return darkest, marked


def close_to(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def mouse(display, *arguments):
    subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": display}, check=True,
                   timeout=30)


class Session:
    def __init__(self, display, folder, report):
        self.display, self.folder, self.report, self.shots = display, folder, report, 0
        wait_for(lambda: report.exists() and report.read_text().startswith("ready"), 90,
                 what="the test window")
        self.button = tuple(int(v) for v in report.read_text().split("\n")[0].split()[1:5])
        check(self.button[2:] == (64, 25), f"button size {self.button[2:]}, expected 64 x 25")

    def shot(self):
        self.shots += 1
        return Shot(self.display, self.folder / f"shot{self.shots}.png", self.button)

    def wait_face(self, face, what):
        found = []

        def shows_face():
            shot = self.shot()
            found[:] = [shot]
            return shot.frame_differences(face) == 0

        wait_for(shows_face, 20, interval=0.05, what=f"the {face} face ({what})")
        return found[0]

    def clicks(self):
        return self.report.read_text().split().count("click")

    def over_button(self):
        # Wine sends no mouse move for a return to the point where it last saw the cursor, so
        # every entry aims at a new point.
        self.entries = getattr(self, "entries", 0) + 1
        left, top, width, height = self.button
        return left + width - 8 - self.entries % 6, top + height // 2


def check_gradient(shot, shade_on_top, what):
    top, bottom, worst = shot.gradient_ends()
    expected_top, expected_bottom = (SHADE, WHITE) if shade_on_top else (WHITE, SHADE)
    check(close_to(top, expected_top) and close_to(bottom, expected_bottom),
          f"{what}: gradient from {tuple(round(c) for c in top)} to "
          f"{tuple(round(c) for c in bottom)}, expected {expected_top} to {expected_bottom}")
    check(worst <= 1.5, f"{what}: gradient rows stray {worst:.1f} from a straight line")
    first, last = shot.at(FRAME + 1, FRAME), shot.at(FRAME + 1, shot.button_height - FRAME - 1)
    check((sum(first) < sum(last)) == shade_on_top and min(first if not shade_on_top else last) >= 240,
          f"{what}: rows inside the frame go from {first} to {last}")


def check_caption(shot, greyed, what):
    darkest, marked = shot.caption_darkness()
    check(marked >= 20, f"{what}: no caption text in the band ({marked} dark pixels)")
    if greyed:
        check(90 <= darkest <= 200, f"{what}: greyed caption has a darkest value of {darkest}")
    else:
        check(darkest <= 60, f"{what}: black caption has a darkest value of {darkest}")


def run_enabled(display, env, folder):
    report = folder / "enabled.txt"
    mouse(display, "mousemove", *FAR)
    with started(["wine", str(PROBE), "command-button", windows_path(report)], env=env):
        session = Session(display, folder, report)

        shot = session.wait_face("Normal", "at rest")
        check_gradient(shot, False, "Normal")
        check_caption(shot, False, "Normal")

        mouse(display, "mousemove", *session.over_button())
        check_gradient(session.wait_face("HighLight", "hovered"), True, "HighLight")
        mouse(display, "mousemove", *FAR)
        check_gradient(session.wait_face("Normal", "after the mouse left"), False, "Normal again")

        mouse(display, "mousemove", *session.over_button())
        session.wait_face("HighLight", "hovered again")
        mouse(display, "mousedown", 1)
        check_gradient(session.wait_face("Pressed", "left button down"), True, "Pressed")
        check(session.clicks() == 0, "Click raised before the release")
        mouse(display, "mouseup", 1)
        wait_for(lambda: session.clicks() == 1, 20, what="Click on release")
        shot = session.wait_face("HighLightSelect", "after the click")
        check_gradient(shot, True, "HighLightSelect after a hover")
        check_caption(shot, False, "HighLightSelect")

        mouse(display, "mousemove", *FAR)
        check_gradient(session.wait_face("Selected", "focused, mouse gone"), False, "Selected")

        # Pressing, dragging out and releasing outside does not click.
        mouse(display, "mousemove", *session.over_button())
        check_gradient(session.wait_face("HighLightSelect", "focused and hovered"), False,
                       "HighLightSelect after Selected")
        mouse(display, "mousedown", 1)
        session.wait_face("Pressed", "pressed while focused")
        mouse(display, "mousemove", *FAR)
        session.wait_face("Selected", "dragged out")
        mouse(display, "mouseup", 1)
        time.sleep(1)
        check(session.clicks() == 1, "a release outside the button raised Click")

        # Clicking the window's background takes the focus away.
        left, top, _, _ = session.button
        mouse(display, "mousemove", left - 20, top - 20)
        mouse(display, "click", 1)
        session.wait_face("Normal", "focus lost")
        print(f"enabled button: faces and one Click as expected, {session.shots} captures")


def run_disabled(display, env, folder):
    report = folder / "disabled.txt"
    mouse(display, "mousemove", *FAR)
    with started(["wine", str(PROBE), "command-button", windows_path(report), "disabled"], env=env):
        session = Session(display, folder, report)
        shot = session.wait_face("Disable", "disabled")
        check_gradient(shot, False, "Disable")
        check_caption(shot, True, "Disable")

        mouse(display, "mousemove", *session.over_button())
        mouse(display, "click", 1)
        time.sleep(1)
        check(session.clicks() == 0, "a disabled button raised Click")
        check(session.shot().frame_differences("Disable") == 0,
              "a disabled button changed its face under the mouse")
        print("disabled button: Disable face, greyed caption, no Click")


def main():
    check(PROBE.exists(), f"missing {PROBE}: build the windows preset first")
    with scratch_dir() as folder, wine_session(True, 320, 200) as env:
        display = env["DISPLAY"]
        run_enabled(display, env, folder)
        run_disabled(display, env, folder)


if __name__ == "__main__":
    main()
