"""Lullvane.scr /c under Wine, three starts in one session: looks, buttons, sources, OK, Cancel, close box."""

import shutil
import subprocess
from pathlib import Path

from harness import (DIALOG_TITLE, PROBE, QUIET, SHOW_TITLE, WINDOWS_BIN, check, image_pixels, probe, probe_lines,
                     ppm_pixels, scratch_dir, started, wait_for, windows_path, wine_session)

HOST, RENDERER = WINDOWS_BIN / "src/scr/Lullvane.scr", WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"
SKINS = {face: image_pixels(Path(__file__).resolve().parents[3] / f"assets/button_{face}.bmp")
         for face in ("normal", "highlight", "highlight_select", "selected", "pressed", "disable")}
FILE_DIALOG, FILTER = "ﾌｧｲﾙを開く".encode("cp932").hex(), "BGMﾌｧｲﾙ (MP3 WAV)"
KIND, TRACK, MUSIC = (key.encode("cp932") for key in ("BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"))
# Frames (x, y, w, h) in the client area; the indicators by source: none, audio CD, music file.
CANCEL, OK, FILE = (404, 200, 77, 25), (324, 200, 77, 25), (40, 132, 41, 21)
COMBO_TEXT, FILE_LABEL, INDICATORS = (136, 76), (84, 132, 373, 33), [(40, 92), (40, 72), (40, 112)]
DARK_LABELS = {"BGM": (32, 40, 111, 13), "曲目をﾘﾋﾟｰﾄ": (168, 72, 40, 13), "音楽CD": (56, 72, 30, 13),
               "なし": (56, 92, 20, 13), "MP3、WAV": (56, 112, 40, 13)}
WHITE_LABELS = {"credit line": (12, 192, 120, 13), "home page": (12, 208, 150, 14)}
# The skins' edge cases where no control covers them: the dialog's left margin, the panel's right.
SKIN_EDGES = {(4, 0): (0, 0, 30), (4, 121): (220, 220, 250), (4, 122): (220, 220, 250),
              (4, 242): (3, 3, 33), (474, 16): (30, 30, 30), (474, 98): (250, 250, 250)}


def xdotool(display, *arguments):
    subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": display}, check=True, timeout=30)


class Dialog:  # the open dialog of one start of Lullvane.scr /c, and the screen as last captured
    def __init__(self, env):
        self.env, self.display, self.entries = env, env["DISPLAY"], 0
        code, window = probe(env, "wait-shown", DIALOG_TITLE, 30000)
        self.x, self.y, *size = map(int, window.get("client", "0,0,0,0").split(","))
        check(code == 0 and size == [496, 243], f"want a window captioned <Lullvane>, 496 x 243 inside: {window}")

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

    def face_errors(self, frame, face):  # frame pixels no skin pixel may give: corners kept, edges stretched
        skin_w, skin_h, skin = SKINS[face]
        left, top, w, h = frame
        def sources(i, size, skin_size):
            return [i] if i < 4 else [skin_size - size + i] if i >= size - 4 else range(4, skin_size - 4)
        frame_pixels = [(x, y) for y in range(h) for x in range(w) if min(x, y, w - 1 - x, h - 1 - y) < 4]
        return sum(self.at(left + x, top + y) not in {tuple(skin[3 * (j * skin_w + i):][:3])
                   for j in sources(y, h, skin_h) for i in sources(x, w, skin_w)} for x, y in frame_pixels)

    def wait_face(self, frame, face, what, shade_on_top):  # then the gradient's direction, the caption's grey
        wait_for(lambda: self.capture().face_errors(frame, face) == 0, 20, what=f"the {face} face: {what}")
        left, top, w, h = frame
        ends = ((198, 197, 215), (255, 255, 255))[::1 if shade_on_top else -1]  # the shade and white
        rows = {y: (self.at(left + 5, top + y), tuple(round(a + (b - a) * y / (h - 1)) for a, b in zip(*ends)))
                for y in range(4, h - 4)}
        wrong = {y: pair for y, pair in rows.items() if max(abs(s - e) for s, e in zip(*pair)) > 3}
        check(not wrong, f"{face}, {what}: gradient rows, as (seen, expected): {wrong}")
        band = [max(p) for p in self.region(left + 6, top + h // 2 - 5, w - 12, 10)]
        low, high = (90, 200) if face == "disable" else (0, 60)
        check(sum(v < 200 for v in band) >= 3 and low <= min(band) <= high, f"{face}, {what}: caption darkest "
              f"{min(band)}, expected {low}..{high}, of {sum(v < 200 for v in band)} pixels, at least 3")

    def mouse(self, target, *buttons):  # to a point, or into a frame where Wine did not see it last
        if len(target) == 4:
            self.entries += 1
            target = (target[0] + target[2] - 8 - self.entries % 6, target[1] + target[3] // 2)
        actions = [word for button in buttons for word in ("sleep", 0.3, button, 1)]
        xdotool(self.display, "mousemove", self.x + target[0], self.y + target[1], *actions)

    def check_source(self, kind, what):  # the indicator of `kind`; the combo box and file button to match
        def states():
            return ["selected" if b >= 150 and r <= 120 else "light" if min(r, g, b) >= 200 else (r, g, b)
                    for r, g, b in (self.capture().at(x + 6, y + 6) for x, y in INDICATORS)]
        expected = ["selected" if source == kind else "light" for source in range(3)]
        wait_for(lambda: states() == expected, 10, what=f"{what}: indicators {expected}")
        controls = probe_lines(self.env, "controls", DIALOG_TITLE)[1]
        combo = next((c for c in controls if bytes.fromhex(c.get("class", "")).lower() == b"combobox"), {})
        check(combo.get("enabled") == str(int(kind == 1)), f"{what}: {combo}, expected enabled={int(kind == 1)}")
        self.wait_face(FILE, "normal" if kind == 2 else "disable", f"{what}, the file button", False)
        return bytes.fromhex(combo["text"]).decode()


def main():
    check(all(p.exists() for p in (HOST, RENDERER, PROBE)), "missing programs: build the windows preset")
    with wine_session() as env, scratch_dir() as folder:
        host, _, ini = shutil.copy(HOST, folder), shutil.copy(RENDERER, folder), folder / "Lullvane.ini"
        chosen = "C:\\users\\Public\\Music\\夜の炎 01.mp3"  # new, named in code page 932
        (old := folder / "old.mp3").write_bytes(b"ID3")  # a music file that exists: kind 2 keeps to it
        file_state = lambda: (ini.read_bytes(), ini.stat().st_mtime_ns)
        xdotool(env["DISPLAY"], "mousemove", 3, 3)

        def start(kind, track):
            ini.write_bytes(b"[Section]\r\n" + KIND + f"= {kind}\r\n".encode() + TRACK + f"= {track}\r\n".encode()
                            + MUSIC + f"={windows_path(old)}\r\n".encode())
            return started(["wine", host, "/c"], env=env, **QUIET)

        with start(0, 0) as process:
            dialog, before = Dialog(env), file_state()
            wait_for(lambda: all(dialog.capture().at(*p) == c for p, c in SKIN_EDGES.items()), 20, what=str(SKIN_EDGES))
            flame = sum(r > 200 and 60 < g < 230 and b < 120 for r, g, b in dialog.region(0, -22, 22, 20))
            check(flame >= 10, f"the title bar's icon: {flame} flame-coloured pixels, expected 10 or more")
            for name, frame in (DARK_LABELS | WHITE_LABELS).items():
                inked = sum(max(p) < 90 if name in DARK_LABELS else min(p) > 200 for p in dialog.region(*frame))
                check(inked >= 12, f"label {name}: {inked} pixels of its text colour, expected 12 or more")
            for frame in (CANCEL, OK):
                dialog.wait_face(frame, "normal", "at rest", False)
            check(dialog.check_source(0, "kind 0") == "", "no track expected in the combo box")
            for switch in ("/s", "/c"):  # a second start ends at once, else this times out
                subprocess.run(["wine", host, switch], env=env, timeout=10, capture_output=True)
            check(probe(env, "wait-window", SHOW_TITLE, 500)[1].get("found") == "0", "a second start showed")
            check(probe(env, "close-box", DIALOG_TITLE)[0] == 0, "could not send the close command")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after the close box")
        check(file_state() == before, f"the close box wrote {ini.read_bytes()!r}")

        with start(1, 5) as process:
            dialog, before = Dialog(env), file_state()
            check(dialog.check_source(1, "kind 1") == "5", "the combo box's text, expected 5")
            for target, buttons, face, shade_on_top in (
                    (CANCEL, (), "highlight", True), (CANCEL, ("mousedown",), "pressed", True),
                    ((-90, -90), (), "selected", False), (CANCEL, ("mouseup",), "highlight_select", False),
                    (COMBO_TEXT, ("click",), "normal", False)):  # dragged back in: no Click; then focus gone
                dialog.mouse(target, *buttons)
                dialog.wait_face(CANCEL, face, f"after {buttons or 'a move'} at {target}", shade_on_top)
            check(process.poll() is None, "Cancel raised Click without being pressed and released over")
            dialog.mouse(CANCEL, "click")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after Cancel")
        check(file_state() == before, f"Cancel wrote {ini.read_bytes()!r}")

        with start(2, 0) as process:
            dialog = Dialog(env)
            check(dialog.check_source(2, "kind 2") == "", "track 0 shows text in the combo box")
            label = dialog.region(*FILE_LABEL)
            dialog.mouse(FILE, "click")
            code, found = probe(env, "file-dialog", FILE_DIALOG, 30000, chosen.encode().hex())
            check(code == 0 and bytes.fromhex(found.get("filter", "")).decode() == FILTER, f"open-file dialog "
                  f"{found}: expected one titled ﾌｧｲﾙを開く, with the filter {FILTER}, closed by Open")
            wait_for(lambda: dialog.capture().region(*FILE_LABEL) != label, 10, what="the chosen file's path")
            inked = [x for x in range(373) if any(max(dialog.at(84 + x, 132 + y)) < 90 for y in range(2, 15))]
            check(max(inked, default=0) > 150, f"the file label's text ends at {max(inked, default=0)}, not past 150")
            dialog.mouse((56, 72), "click")
            dialog.check_source(1, "after clicking 音楽CD")
            dialog.mouse(COMBO_TEXT, "click")
            xdotool(dialog.display, "type", "12")
            dialog.mouse(OK, "click")
            wait_for(lambda: process.poll() == 0, 15, what="the host's end with exit code 0 after OK")
        expected = b"[Section]\r\n" + KIND + b"=1\r\n" + TRACK + b"=12\r\n" + MUSIC + b"=" + chosen.encode("cp932")
        check(ini.read_bytes() == expected + b"\r\n", f"OK wrote {ini.read_bytes()!r}, expected {expected!r}+CRLF")


if __name__ == "__main__":
    main()
