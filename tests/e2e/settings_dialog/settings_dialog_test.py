"""Lullvane.scr /c under Wine: the settings dialog's window, its skin, pictures, buttons and
labels on screen, the source each settings file selects, choosing a source and a file and
storing them with OK, Cancel and the close box writing nothing, and a second start ending at once
while the dialog is open."""

import ctypes
import ctypes.util
import math
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "host"))

from harness import (DIALOG_TITLE, LINUX_BIN, SHOW_TITLE, capture_screen, check, image_pixels,
                     probe, probe_lines, scratch_dir, wait_for, windows_path, wine_session)
from host_support import (install, processes_running_from, require_windows_build, run_host,
                          start_host, wait_until_ended)

ASSETS = Path(__file__).resolve().parents[3] / "assets"
FILE_DIALOG_TITLE = "ﾌｧｲﾙを開く".encode("cp932").hex()
FILTER = "BGMﾌｧｲﾙ (MP3 WAV)"
FAR = (3, 3)  # a screen point away from the dialog
WS_CAPTION, WS_SYSMENU = 0x00C00000, 0x00080000
WS_THICKFRAME, WS_MAXIMIZEBOX = 0x00040000, 0x00010000

SECTION = b"[Section]\r\n"
KIND_KEY, REPEAT_KEY, FILE_KEY = ("BGM区分".encode("cp932"), "BGMﾘﾋﾟｰﾄ".encode("cp932"),
                                  "BGMﾌｧｲﾙ".encode("cp932"))

# Client-area frames (x, y, w, h) at 96 dots per inch; the panel's controls offset by the panel.
PANEL = (12, 16, 469, 165)
INDICATORS = [(40, 92), (40, 72), (40, 112)]  # by source: none, audio CD, music file
SOURCE_CAPTIONS = [(56, 92), (56, 72), (56, 112)]
BUTTONS = {"Cmd_Can": (404, 200, 77, 25), "Cmd_Set": (324, 200, 77, 25),
           "Cmd_File(0)": (40, 132, 41, 21)}
BLACK_LABELS = {"BGM": (32, 40, 111, 13), "曲目をﾘﾋﾟｰﾄ": (168, 72, 40, 13), "音楽CD": (56, 72, 30, 13),
                "なし": (56, 92, 20, 13), "MP3、WAV": (56, 112, 40, 13)}
WHITE_LABELS = {"credit line": (12, 192, 120, 13), "home page": (12, 208, 150, 14)}
FILE_LABEL = (84, 132, 373, 33)
COMBO = (124, 68, 41, 20)


def skin_values(height):
    """c of every line of a skin height pixels high (Python's round() rounds halves to even)."""
    d = height / 3.142
    return [round(abs(220 * math.sin(y / d))) for y in range(height)]


def xdotool(display, *arguments):
    subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": display}, check=True, timeout=30)


def settings_file(kind, track, path):
    return (SECTION + KIND_KEY + f"= {kind}\r\n".encode() + REPEAT_KEY + f"= {track}\r\n".encode()
            + FILE_KEY + b"=" + path.encode("cp932") + b"\r\n")


def keys_of(data):
    values = {}
    for line in data.split(b"\r\n"):
        if b"=" in line:
            key, value = line.split(b"=", 1)
            values[key] = value.strip().decode("cp932")
    return values


class Cursor:
    """The X pointer's current image, through the XFixes extension."""

    class Image(ctypes.Structure):
        _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                    ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                    ("serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p)]

    def __init__(self, display):
        self.xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
        self.xlib.XOpenDisplay.restype = ctypes.c_void_p
        self.xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xlib.XFree.argtypes = [ctypes.c_void_p]
        self.xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(Cursor.Image)
        self.xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        self.display = self.xlib.XOpenDisplay(display.encode())
        check(self.display, f"cannot open {display}")

    def shape(self):
        image = self.xfixes.XFixesGetCursorImage(self.display)
        if not image:
            return None
        value = image.contents
        shape = (value.width, value.height, value.xhot, value.yhot)
        self.xlib.XFree(image)
        return shape

    def close(self):
        self.xlib.XCloseDisplay(self.display)


class Dialog:
    """One open settings dialog: where it is on the screen, its controls, captures of it."""

    def __init__(self, env, folder):
        self.env, self.display, self.folder = env, env["DISPLAY"], folder
        code, self.window = probe(env, "wait-shown", DIALOG_TITLE, 30000)
        check(code == 0 and self.window.get("found") == "1", "no window captioned <Lullvane>")
        self.x, self.y, self.width, self.height = map(int, self.window["client"].split(","))
        self.shots = 0

    def screen(self, x, y):
        return self.x + x, self.y + y

    def controls(self):
        _, lines = probe_lines(self.env, "controls", DIALOG_TITLE)
        return [line for line in lines if "class" in line]

    def control_at(self, x, y):
        """The control window whose frame starts at (x, y) of the client area."""
        for control in self.controls():
            if (int(control["x"]), int(control["y"])) == (x, y):
                return control
        return None

    def capture(self):
        self.shots += 1
        width, _, pixels = capture_screen(self.display, self.folder / f"shot{self.shots}.png")
        return Shot(width, pixels, self.x, self.y)

    def click(self, x, y):
        xdotool(self.display, "mousemove", *self.screen(x, y))
        time.sleep(0.3)
        xdotool(self.display, "click", 1)
        xdotool(self.display, "mousemove", *FAR)


class Shot:
    def __init__(self, width, pixels, x, y):
        self.width, self.pixels, self.x, self.y = width, pixels, x, y

    def at(self, x, y):
        offset = 3 * ((self.y + y) * self.width + self.x + x)
        return tuple(self.pixels[offset:offset + 3])

    def count(self, frame, test):
        x0, y0, w, h = frame
        return sum(test(self.at(x, y)) for y in range(y0, y0 + h) for x in range(x0, x0 + w))

    def region(self, frame):
        x0, y0, w, h = frame
        return [self.at(x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w)]


SKINS = {face: image_pixels(ASSETS / f"button_{face}.bmp") for face in ("normal", "disable")}


def corner_differences(shot, frame, face):
    """Pixels of the button's four 4 x 4 corners that differ from those of the skin image."""
    skin_width, skin_height, skin = SKINS[face]
    left, top, width, height = frame
    differing = 0
    for corner_x, corner_y in ((0, 0), (width - 4, 0), (0, height - 4), (width - 4, height - 4)):
        skin_x = 0 if corner_x == 0 else skin_width - 4
        skin_y = 0 if corner_y == 0 else skin_height - 4
        for dy in range(4):
            for dx in range(4):
                offset = 3 * ((skin_y + dy) * skin_width + skin_x + dx)
                differing += shot.at(left + corner_x + dx, top + corner_y + dy) != tuple(skin[offset:offset + 3])
    return differing


def painted(dialog, buttons):
    """A capture once the skins of the dialog and its panel and the buttons' Normal faces are on
    the screen, else None: the window shows before its panel and buttons have painted."""
    shot = dialog.capture()
    ready = (shot.at(4, 121) == (220, 220, 250)
             and shot.at(PANEL[0] + 462, PANEL[1] + 82) == (250, 250, 250)
             and all(corner_differences(shot, BUTTONS[name], "normal") == 0 for name in buttons))
    return shot if ready else None


def indicator_states(shot):
    """For each indicator: "selected" (blue), "unselected" (light) or its colour."""
    states = []
    for x, y in INDICATORS:
        r, g, b = shot.at(x + 6, y + 6)
        states.append("selected" if b >= 150 and r <= 120 else
                      "unselected" if min(r, g, b) >= 200 else (r, g, b))
    return states


def check_source(dialog, kind, what):
    """The indicator of `kind` selected, the others not; the track box and the file button
    enabled as the source says."""
    expected = ["selected" if source == kind else "unselected" for source in range(3)]
    deadline = time.monotonic() + 10
    while (states := indicator_states(dialog.capture())) != expected and time.monotonic() < deadline:
        time.sleep(0.1)
    check(states == expected, f"{what}: indicators {states}, expected {expected}")
    combo = dialog.control_at(*COMBO[:2])
    file_button = dialog.control_at(*BUTTONS["Cmd_File(0)"][:2])
    check(combo and bytes.fromhex(combo["class"]).decode().lower() == "combobox", f"{what}: no combo box at {COMBO}")
    check((int(combo["w"]), int(combo["h"])) == COMBO[2:], f"{what}: combo box {combo['w']} x {combo['h']}")
    check(file_button and bytes.fromhex(file_button["class"]).decode() == "Torvane2.Command",
          f"{what}: no Command button at {BUTTONS['Cmd_File(0)']}")
    check(combo["enabled"] == ("1" if kind == 1 else "0"), f"{what}: combo box enabled={combo['enabled']}")
    # The button's Enabled is its own property, seen in its face: Normal or Disable.
    face = "normal" if kind == 2 else "disable"
    wait_for(lambda: corner_differences(dialog.capture(), BUTTONS["Cmd_File(0)"], face) == 0, 10,
             what=f"{what}: the file button's {face} face")
    return combo


def check_window_and_skin(dialog, shot):
    check((dialog.width, dialog.height) == (496, 243),
          f"client area {dialog.width} x {dialog.height}, expected 496 x 243")
    style = int(dialog.window["style"], 16)
    check((style & WS_CAPTION) == WS_CAPTION and style & WS_SYSMENU
          and not style & (WS_THICKFRAME | WS_MAXIMIZEBOX), f"frame styles {style:#x}")
    # The program's icon in the title bar, left of the caption: the flame's orange and yellow.
    flame = shot.count((0, -22, 22, 20), lambda p: p[0] > 200 and 60 < p[1] < 230 and p[2] < 120)
    check(flame >= 10, f"no flame icon in the title bar ({flame} flame-coloured pixels)")
    # Placed centred across and a third of the free height down, on a 1024 x 768 screen.
    check(abs(dialog.x + 248 - 512) <= 4, f"dialog not centred: client at x {dialog.x}")

    # The gradients where no control covers them: the dialog's left margin and the panel's right.
    edges = {0: (0, 0, 30), 121: (220, 220, 250), 122: (220, 220, 250), 242: (3, 3, 33)}
    for row, colour in edges.items():
        check(shot.at(4, row) == colour, f"dialog row {row} is {shot.at(4, row)}, expected {colour}")
    for row, c in enumerate(skin_values(243)):
        check(shot.at(4, row) == (c, c, c + 30), f"dialog row {row}: {shot.at(4, row)}, expected c = {c}")
    panel_x, panel_y = PANEL[0] + 462, PANEL[1]
    check(shot.at(panel_x, panel_y) == (30, 30, 30), f"panel top row {shot.at(panel_x, panel_y)}")
    check(shot.at(panel_x, panel_y + 82) == (250, 250, 250), f"panel middle {shot.at(panel_x, panel_y + 82)}")
    for row, c in enumerate(skin_values(165)):
        check(shot.at(panel_x, panel_y + row) == (c + 30,) * 3,
              f"panel row {row}: {shot.at(panel_x, panel_y + row)}, expected {c + 30}")

    # Labels: black text on the light panel, white text on the dark lower edge.
    for name, frame in BLACK_LABELS.items():
        dark = shot.count(frame, lambda p: max(p) < 90)
        check(dark >= 12, f"label {name}: only {dark} dark pixels")
    for name, frame in WHITE_LABELS.items():
        light = shot.count(frame, lambda p: min(p) > 200)
        check(light >= 30, f"{name}: only {light} white pixels")
    # The shape's one-pixel black frame round the heading, and the underlined link.
    check(shot.at(PANEL[0] + 20, PANEL[1] + 30) == (0, 0, 0), "no frame round the heading")
    underline = max(shot.count((12, row, 150, 1), lambda p: min(p) > 200) for row in range(216, 224))
    check(underline >= 100, f"the link has no underline ({underline} white pixels below it)")


HAND = (32, 32, 12, 10)  # width, height and hot spot of the link's pointer


def check_link(dialog):
    """The hand pointer over the link, the ordinary one elsewhere; a click on the link hands the
    address to the shell (whose browser start is switched off here) and leaves the dialog open,
    with the hand pointer back once the hourglass has gone."""
    cursor = Cursor(dialog.display)
    try:
        xdotool(dialog.display, "mousemove", *dialog.screen(40, 214))
        wait_for(lambda: cursor.shape() == HAND, 10, what="the hand pointer over the link")
        xdotool(dialog.display, "mousemove", *dialog.screen(4, 60))
        other = wait_for(lambda: cursor.shape() != HAND and cursor.shape(), 10,
                         what="the ordinary pointer off the link")
        xdotool(dialog.display, "mousemove", *dialog.screen(42, 214))
        wait_for(lambda: cursor.shape() == HAND, 10, what="the hand pointer over the link again")
        xdotool(dialog.display, "click", 1)
        time.sleep(1)
        _, window = probe(dialog.env, "wait-shown", DIALOG_TITLE, 2000)
        check(window.get("found") == "1", "the dialog closed after a click on the link")
        wait_for(lambda: cursor.shape() == HAND, 10, what="the hand pointer after the link's click")
        xdotool(dialog.display, "mousemove", *FAR)
    finally:
        cursor.close()
    return other


def save_picture(dialog):
    """The dialog with its frame, from the last capture, for the README (docs/settings_dialog.png)."""
    subprocess.run(["convert", str(dialog.folder / f"shot{dialog.shots}.png"), "-crop",
                    f"{496 + 8}x{243 + 30}+{dialog.x - 4}+{dialog.y - 26}", "+repage",
                    str(LINUX_BIN / "settings_dialog.png")], check=True, timeout=60)


def start(env, host):
    # The home-page link must not open a browser during the test: the shell's browser is off.
    quiet = dict(env, WINEDLLOVERRIDES=env["WINEDLLOVERRIDES"] + ";winebrowser.exe=d")
    return start_host(host, "/c", env=quiet)


def main():
    require_windows_build()
    with wine_session() as env, scratch_dir() as folder:
        display = env["DISPLAY"]
        host = install(folder)
        ini = folder / "Lullvane.ini"
        old_music = folder / "old.mp3"
        old_music.write_bytes(b"ID3")
        # A file that does not exist yet, in a folder that does, named in code page 932: the
        # dialog asks for no existing file.
        chosen_music = "C:\\users\\Public\\Music\\夜の炎 01.mp3"
        xdotool(display, "mousemove", *FAR)

        # No music: the first indicator, nothing enabled; the window, skin and labels on screen.
        ini.write_bytes(settings_file(0, 0, ""))
        before = ini.read_bytes(), ini.stat().st_mtime_ns
        started = time.monotonic()
        with start(env, host) as process:
            dialog = Dialog(env, folder)
            opened = time.monotonic() - started
            shot = wait_for(lambda: painted(dialog, ("Cmd_Can", "Cmd_Set")), 20,
                            what="the skins and the Normal faces of Cmd_Can and Cmd_Set")
            check_window_and_skin(dialog, shot)
            check_source(dialog, 0, "kind 0")
            arrow = check_link(dialog)
            # The disabled file button raises no click: no open-file dialog comes up.
            dialog.click(40 + 20, 132 + 10)
            _, file_dialog = probe(env, "file-dialog", FILE_DIALOG_TITLE, 1500, b"".hex())
            check(file_dialog.get("found") == "0", "the disabled file button opened the file dialog")

            # Covered and uncovered, the dialog looks as before.
            clean = dialog.capture()
            probe(env, "cover", dialog.x + 100, dialog.y + 20, 250, 150, 600)
            uncovered = wait_for(lambda: (s := dialog.capture()).region(PANEL) == clean.region(PANEL) and s, 10,
                                 what="the dialog repainted after being uncovered")
            check(uncovered.region((0, 0, 496, 243)) == clean.region((0, 0, 496, 243)),
                  "the dialog changed after being covered and uncovered")

            # A second start of any kind ends at once while the dialog is open.
            for switch in ("/s", "/c"):
                code, took = run_host(env, host, switch, timeout=30)
                check(took < 5, f"a second start with {switch} took {took:.1f} s")
            _, show = probe(env, "wait-window", SHOW_TITLE, 500)
            check(show.get("found") == "0", "a second start opened the show")
            check(len(processes_running_from(folder)) == 1,
                  f"processes from the install folder: {processes_running_from(folder)}")

            code, _ = probe(env, "close-box", DIALOG_TITLE)
            check(code == 0, "could not send the close command")
            check(wait_until_ended(process, 15) == 0, "the host did not end with exit code 0")
        check((ini.read_bytes(), ini.stat().st_mtime_ns) == before, "the close box changed the settings file")
        print(f"kind 0: window 496 x 243 opened in {opened:.1f} s, skin, labels, pictures and faces as "
              f"designed; link pointer {HAND}, elsewhere {arrow}; close box wrote nothing")

        # The audio CD with track 5: its indicator, the combo box enabled and showing 5; Cancel.
        ini.write_bytes(settings_file(1, 5, str(windows_path(old_music))))
        before = ini.read_bytes(), ini.stat().st_mtime_ns
        with start(env, host) as process:
            dialog = Dialog(env, folder)
            combo = check_source(dialog, 1, "kind 1")
            check(bytes.fromhex(combo["text"]).decode() == "5", f"combo box text {combo['text']}")
            dialog.click(404 + 38, 200 + 12)
            check(wait_until_ended(process, 15) == 0, "Cancel did not end the host")
        check((ini.read_bytes(), ini.stat().st_mtime_ns) == before, "Cancel changed the settings file")
        print("kind 1: audio CD selected, combo box enabled with 5; Cancel wrote nothing")

        # The music file: choose another file, then the audio CD with a typed track, then OK.
        ini.write_bytes(settings_file(2, 0, str(windows_path(old_music))))
        with start(env, host) as process:
            dialog = Dialog(env, folder)
            shot = wait_for(lambda: painted(dialog, BUTTONS), 20, what="the Normal faces of all buttons")
            combo = check_source(dialog, 2, "kind 2")
            check(bytes.fromhex(combo["text"]).decode() == "", "track 0 shows text in the combo box")
            before_label = shot.region(FILE_LABEL)

            dialog.click(40 + 20, 132 + 10)
            code, file_dialog = probe(env, "file-dialog", FILE_DIALOG_TITLE, 30000,
                                      chosen_music.encode().hex())
            check(file_dialog.get("found") == "1", "no open-file dialog titled ﾌｧｲﾙを開く")
            check(bytes.fromhex(file_dialog["filter"]).decode() == FILTER,
                  f"file dialog filter {bytes.fromhex(file_dialog['filter']).decode()!r}")
            check(file_dialog["read_only_box"] == "1", "the open-file dialog hides its read-only box")
            check(code == 0, "the open-file dialog did not close after Open")
            wait_for(lambda: dialog.capture().region(FILE_LABEL) != before_label, 10,
                     what="the chosen path in the file label")
            shot = dialog.capture()
            save_picture(dialog)
            text_width = max(x for x in range(FILE_LABEL[2] - 2)
                             if any(max(shot.at(FILE_LABEL[0] + 1 + x, FILE_LABEL[1] + y)) < 90
                                    for y in range(2, 15)))
            check(text_width > 150, f"the file label shows only {text_width} pixels of text")

            dialog.click(*SOURCE_CAPTIONS[1])
            check_source(dialog, 1, "after clicking 音楽CD")
            dialog.click(COMBO[0] + 12, COMBO[1] + 8)
            xdotool(display, "type", "12")
            wait_for(lambda: bytes.fromhex(dialog.control_at(*COMBO[:2])["text"]).decode() == "12", 10,
                     what="the typed track in the combo box")
            dialog.click(324 + 38, 200 + 12)
            check(wait_until_ended(process, 15) == 0, "OK did not end the host")
        written = ini.read_bytes()
        values = keys_of(written)
        check(written.startswith(SECTION), f"settings file {written!r}")
        check(values.get(KIND_KEY) == "1" and values.get(REPEAT_KEY) == "12",
              f"OK wrote {values}, expected kind 1 and track 12")
        check(values.get(FILE_KEY) == chosen_music, f"OK wrote the file {values.get(FILE_KEY)!r}")
        print(f"kind 2: file chosen through ﾌｧｲﾙを開く ({FILTER}); 音楽CD, track 12 and OK wrote {written!r}")


if __name__ == "__main__":
    main()
