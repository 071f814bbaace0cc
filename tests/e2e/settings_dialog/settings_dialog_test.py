"""Lullvane.scr /c under Wine, three starts in one session: the dialog, its skins, labels, link and Command
buttons, the source each settings file selects, what OK, Cancel and the close box write, a second start."""

import ctypes, shutil, subprocess, time
from pathlib import Path

from harness import (DIALOG_TITLE, PROBE, SHOW_TITLE, WINDOWS_BIN, check, image_pixels, probe, probe_lines,
                     ppm_pixels, scratch_dir, started, wait_for, windows_path, wine_session)

HOST, RENDERER = WINDOWS_BIN / "src/scr/Lullvane.scr", WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"
SKINS = {face: image_pixels(Path(__file__).resolve().parents[3] / f"assets/button_{face}.bmp")
         for face in ("normal", "highlight", "highlight_select", "selected", "pressed", "disable")}
FILE_DIALOG, FILTER = "ﾌｧｲﾙを開く".encode("cp932").hex(), "BGMﾌｧｲﾙ (MP3 WAV)"
KIND, TRACK, MUSIC = (key.encode("cp932") for key in ("BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"))
WHITE, SHADE, WHOLE, HAND = (255, 255, 255), (198, 197, 215), (0, 0, 496, 243), (32, 32, 12, 10)
# HAND: the link pointer's size and hot spot. Frames (x, y, w, h) in the client area, WHOLE included;
# the indicators by source: none, audio CD, music file.
CANCEL, OK, FILE = (404, 200, 77, 25), (324, 200, 77, 25), (40, 132, 41, 21)
COMBO, FILE_LABEL, INDICATORS = (124, 68, 41, 20), (84, 132, 373, 33), [(40, 92), (40, 72), (40, 112)]
DARK_LABELS = {"BGM": (32, 40, 111, 13), "曲目をﾘﾋﾟｰﾄ": (168, 72, 40, 13), "音楽CD": (56, 72, 30, 13),
               "なし": (56, 92, 20, 13), "MP3、WAV": (56, 112, 40, 13)}
WHITE_LABELS = {"credit line": (12, 192, 120, 13), "home page": (12, 208, 150, 14)}
# The skins' edge cases where no control covers them: the dialog's left margin, the panel's right.
SKIN_EDGES = {(4, 0): (0, 0, 30), (4, 121): (220, 220, 250), (4, 122): (220, 220, 250),
              (4, 242): (3, 3, 33), (474, 16): (30, 30, 30), (474, 98): (250, 250, 250)}
XFIXES = ctypes.CDLL("libXfixes.so.3")  # the X pointer's image; libX11 comes with it
XFIXES.XOpenDisplay.restype, XFIXES.XFixesGetCursorImage.argtypes = ctypes.c_void_p, [ctypes.c_void_p]
XFIXES.XFixesGetCursorImage.restype = ctypes.POINTER(ctypes.c_ushort * 6)  # x, y, width, height, hot spot

def xdotool(display, *arguments):
    subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": display}, check=True, timeout=30)

class Dialog:  # the open dialog of one start of Lullvane.scr /c, and the screen as last captured
    def __init__(self, env, process):
        self.env, self.display, self.process, self.entries = env, env["DISPLAY"], process, 0
        code, self.window = probe(env, "wait-shown", DIALOG_TITLE, 30000)
        check(code == 0 and self.window.get("found") == "1", "no window captioned <Lullvane>")
        self.x, self.y, self.width, self.height = map(int, self.window["client"].split(","))

    def capture(self):  # the client area and 30 rows of title bar above it
        command = ["import", "-display", self.display, "-window", "root", "-crop", f"496x273+{self.x}+{self.y - 30}"]
        ppm = subprocess.run([*command, "-depth", "8", "ppm:-"], capture_output=True, check=True, timeout=60)
        self.pixels = ppm_pixels(ppm.stdout)[2]
        return self

    def at(self, x, y):  # in the client area
        offset = 3 * ((y + 30) * 496 + x)
        return tuple(self.pixels[offset:offset + 3])

    def region(self, left, top, w, h):
        return [self.at(x, y) for y in range(top, top + h) for x in range(left, left + w)]

    def face_errors(self, frame, face):
        """Frame pixels that no skin pixel may give: the corners are the skin's, the edges stretch."""
        skin_w, skin_h, skin = SKINS[face]
        left, top, w, h = frame
        def sources(i, size, skin_size):
            return [i] if i < 4 else [skin_size - size + i] if i >= size - 4 else range(4, skin_size - 4)
        frame_pixels = [(x, y) for y in range(h) for x in range(w) if min(x, y, w - 1 - x, h - 1 - y) < 4]
        return sum(self.at(left + x, top + y) not in {tuple(skin[3 * (j * skin_w + i):][:3])
                   for j in sources(y, h, skin_h) for i in sources(x, w, skin_w)} for x, y in frame_pixels)

    def wait_face(self, frame, face, what, shade_on_top=None):
        """Waits for the face; then, told the direction of the gradient from white to the shade, checks
        it inside the frame, and the caption: grey on the Disable face, else black."""
        wait_for(lambda: self.capture().face_errors(frame, face) == 0, 20, what=f"the {face} face: {what}")
        if shade_on_top is None:
            return
        left, top, w, h = frame
        ends = (SHADE, WHITE) if shade_on_top else (WHITE, SHADE)
        rows = {y: (self.at(left + 5, top + y), tuple(round(a + (b - a) * y / (h - 1)) for a, b in zip(*ends)))
                for y in range(4, h - 4)}
        wrong = {y: pair for y, pair in rows.items() if max(abs(s - e) for s, e in zip(*pair)) > 3}
        check(not wrong, f"{face}, {what}: gradient rows, as (seen, expected): {wrong}")
        band = [max(p) for p in self.region(left + 6, top + h // 2 - 5, w - 12, 10)]
        low, high = (90, 200) if face == "disable" else (0, 60)
        check(sum(v < 200 for v in band) >= 3 and low <= min(band) <= high, f"{face}, {what}: caption darkest "
              f"{min(band)}, expected {low}..{high}, of {sum(v < 200 for v in band)} pixels, at least 3")

    def mouse(self, target, *buttons):
        """To a point, or into a frame where Wine did not see it last (else it sends no move), then clicks."""
        if len(target) == 4:
            self.entries += 1
            target = (target[0] + target[2] - 8 - self.entries % 6, target[1] + target[3] // 2)
        actions = [word for button in buttons for word in ("sleep", 0.3, button, 1)]
        xdotool(self.display, "mousemove", self.x + target[0], self.y + target[1], *actions)

    def check_source(self, kind, what):
        """The indicator of `kind` selected; the track box on for the audio CD, the file button for a file."""
        def states():
            self.capture()
            return ["selected" if b >= 150 and r <= 120 else "light" if min(r, g, b) >= 200 else (r, g, b)
                    for r, g, b in (self.at(x + 6, y + 6) for x, y in INDICATORS)]
        expected = ["selected" if source == kind else "light" for source in range(3)]
        wait_for(lambda: states() == expected, 10, what=f"{what}: indicators {expected}")
        controls = probe_lines(self.env, "controls", DIALOG_TITLE)[1]
        combo = next((c for c in controls if (c.get("x"), c.get("y")) == ("124", "68")), {})
        check(bytes.fromhex(combo.get("class", "")).lower() == b"combobox"
              and (combo["w"], combo["h"], combo["enabled"]) == ("41", "20", str(int(kind == 1))),
              f"{what}: {combo}, expected a 41 x 20 combo box, enabled={int(kind == 1)}")
        self.wait_face(FILE, "normal" if kind == 2 else "disable", f"{what}, the file button", False)
        return bytes.fromhex(combo["text"]).decode()

def main():
    check(all(p.exists() for p in (HOST, RENDERER, PROBE)), "missing programs: build the windows preset")
    with wine_session() as env, scratch_dir() as folder:
        host, _, ini = shutil.copy(HOST, folder), shutil.copy(RENDERER, folder), folder / "Lullvane.ini"
        chosen = "C:\\users\\Public\\Music\\夜の炎 01.mp3"  # new, named in code page 932
        (old := folder / "old.mp3").write_bytes(b"ID3")  # a music file that exists: kind 2 keeps to it
        quiet = dict(env, WINEDLLOVERRIDES=env["WINEDLLOVERRIDES"] + ";winebrowser.exe=d")  # no browser
        file_state = lambda: (ini.read_bytes(), ini.stat().st_mtime_ns)
        xdotool(env["DISPLAY"], "mousemove", 3, 3)

        def start(kind, track):
            ini.write_bytes(b"[Section]\r\n" + KIND + f"= {kind}\r\n".encode() + TRACK + f"= {track}\r\n".encode()
                            + MUSIC + f"={windows_path(old)}\r\n".encode())
            return started(["wine", host, "/c"], env=quiet, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        with start(0, 0) as process:
            dialog, before = Dialog(env, process), file_state()
            wait_for(lambda: all(dialog.capture().at(*p) == c for p, c in SKIN_EDGES.items()), 20, what=str(SKIN_EDGES))
            check((dialog.width, dialog.height) == (496, 243), f"client area {dialog.width} x {dialog.height}")
            style = int(dialog.window["style"], 16)  # a caption and a system menu; no sizing, no maximize box
            check(style & 0x00C80000 == 0x00C80000 and not style & 0x00050000, f"frame styles {style:#x}")
            flame = sum(r > 200 and 60 < g < 230 and b < 120 for r, g, b in dialog.region(0, -22, 22, 20))
            check(flame >= 10, f"the title bar's icon: {flame} flame-coloured pixels, expected 10 or more")
            check(abs(dialog.x + 248 - 512) <= 4, f"client area at x {dialog.x}, expected centred")
            for name, frame in (DARK_LABELS | WHITE_LABELS).items():
                inked = sum(max(p) < 90 if name in DARK_LABELS else min(p) > 200 for p in dialog.region(*frame))
                check(inked >= 12, f"label {name}: {inked} pixels of its text colour, expected 12 or more")
            check(dialog.at(32, 46) == (0, 0, 0), f"the heading's frame is {dialog.at(32, 46)}, expected black")
            underline = max(sum(min(p) > 200 for p in dialog.region(12, y, 150, 1)) for y in range(216, 224))
            check(underline >= 100, f"the link's underline: {underline} white pixels, expected 100 or more")
            for frame in (CANCEL, OK):
                dialog.wait_face(frame, "normal", "at rest", False)
            check(dialog.check_source(0, "kind 0") == "", "no track expected in the combo box")
            pointer = XFIXES.XOpenDisplay(env["DISPLAY"].encode())
            for point, on_link in (((40, 214), True), ((4, 60), False), ((42, 214), True)):
                dialog.mouse(point)
                wait_for(lambda: (tuple(XFIXES.XFixesGetCursorImage(pointer).contents[2:]) == HAND) == on_link, 10,
                         what=f"the pointer {HAND} {'only' if on_link else 'not'} at {point}, over the link")
            dialog.mouse((42, 214), "click")
            time.sleep(1)
            check(process.poll() is None, "the dialog closed after a click on the link")
            clean = dialog.capture().region(*WHOLE)
            probe(env, "cover", dialog.x + 100, dialog.y + 20, 250, 150, 600)
            wait_for(lambda: dialog.capture().region(*WHOLE) == clean, 10, what="the dialog as before, uncovered")
            for switch in ("/s", "/c"):  # a second start ends at once, else this times out
                subprocess.run(["wine", host, switch], env=env, timeout=10, capture_output=True)
            check(probe(env, "wait-window", SHOW_TITLE, 500)[1].get("found") == "0", "a second start showed")
            check(probe(env, "close", DIALOG_TITLE, "box")[0] == 0, "could not send the close command")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after the close box")
        check(file_state() == before, f"the close box wrote {ini.read_bytes()!r}")

        with start(1, 5) as process:
            dialog, before = Dialog(env, process), file_state()
            check(dialog.check_source(1, "kind 1") == "5", "the combo box's text, expected 5")
            for target, buttons, face, shade_on_top in (
                    (CANCEL, (), "highlight", True), ((4, 60), (), "normal", None),
                    (CANCEL, ("mousedown",), "pressed", True), ((-90, -90), (), "selected", False),
                    (CANCEL, ("mouseup",), "highlight_select", False),  # dragged back in: no Click
                    ((COMBO[0] + 12, COMBO[1] + 8), ("click",), "normal", None)):  # focus gone
                dialog.mouse(target, *buttons)
                dialog.wait_face(CANCEL, face, f"after {buttons or 'a move'} at {target}", shade_on_top)
            check(process.poll() is None, "Cancel raised Click without being pressed and released over")
            dialog.mouse(CANCEL, "click")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after Cancel")
        check(file_state() == before, f"Cancel wrote {ini.read_bytes()!r}")

        with start(2, 0) as process:
            dialog = Dialog(env, process)
            check(dialog.check_source(2, "kind 2") == "", "track 0 shows text in the combo box")
            label = dialog.region(*FILE_LABEL)
            dialog.mouse(FILE, "click")
            code, found = probe(env, "file-dialog", FILE_DIALOG, 30000, chosen.encode().hex())
            check(code == 0 and bytes.fromhex(found.get("filter", "")).decode() == FILTER
                  and found["read_only_box"] == "1", f"open-file dialog {found}: expected one titled "
                  f"ﾌｧｲﾙを開く, with the filter {FILTER} and a read-only box, closed by Open")
            wait_for(lambda: dialog.capture().region(*FILE_LABEL) != label, 10, what="the chosen file's path")
            inked = [x for x in range(373) if any(max(dialog.at(84 + x, 132 + y)) < 90 for y in range(2, 15))]
            check(max(inked, default=0) > 150, f"the file label's text ends at {max(inked, default=0)}, not past 150")
            dialog.mouse((56, 72), "click")
            dialog.check_source(1, "after clicking 音楽CD")
            dialog.mouse((COMBO[0] + 12, COMBO[1] + 8), "click")
            xdotool(dialog.display, "type", "12")
            dialog.mouse(OK, "click")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after OK")
        expected = b"[Section]\r\n" + KIND + b"=1\r\n" + TRACK + b"=12\r\n" + MUSIC + b"=" + chosen.encode("cp932")
        check(ini.read_bytes() == expected + b"\r\n", f"OK wrote {ini.read_bytes()!r}, expected {expected!r}+CRLF")

if __name__ == "__main__":
    main()
