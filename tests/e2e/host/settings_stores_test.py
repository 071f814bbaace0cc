"""The settings file through the platform's profile routines (Lullvane's Win32 store under Wine)
and through the portable store (native): the same values give the same bytes, and each store
reads what the other wrote."""

import subprocess
import sys
import tempfile

from harness import LINUX_BIN, PROBE, check, scratch_dir, windows_path, wine_session

NATIVE_TOOL = LINUX_BIN / "tests/e2e/probe/settings-store-tool"

KIND_KEY = "BGM区分".encode("cp932")
REPEAT_KEY = "BGMﾘﾋﾟｰﾄ".encode("cp932")


def units(text):
    return text.encode("utf-16-be").hex()


def text_of(hex_units):
    return bytes.fromhex(hex_units).decode("utf-16-be")


def run(command, env=None):
    # Output through a file: a Wine server started here would hold a pipe open.
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(command, env=env, stdout=output, stderr=subprocess.DEVNULL, timeout=120)
        output.seek(0)
        text = output.read().decode().replace("\r", "").strip()
    check(result.returncode == 0, f"{command[:3]} failed with {result.returncode}")
    return dict(pair.split("=", 1) for pair in text.split(" ") if "=" in pair)


class Store:
    def __init__(self, name, command, path_of, env=None):
        self.name, self.command, self.path_of, self.env = name, command, path_of, env

    def save(self, folder, kind, track, file):
        return run([*self.command, "settings-save", units(self.path_of(folder)), str(kind), units(track),
                    units(file)], self.env)

    def load(self, folder):
        values = run([*self.command, "settings-load", units(self.path_of(folder))], self.env)
        return int(values["kind"]), int(values["track"]), text_of(values["file"]), text_of(values["folder"])


def without_wines_blank(portable_bytes):
    """Wine's profile routines drop the blank that leads a written value (Windows keeps it): the
    number keys' " 2" arrives as "2". Every other byte must be the same."""
    lines = portable_bytes.split(b"\r\n")
    for i, line in enumerate(lines):
        for key in (KIND_KEY, REPEAT_KEY):
            if line.startswith(key + b"= "):
                lines[i] = key + b"=" + line[len(key) + 2:]
    return b"\r\n".join(lines)


def main():
    check(PROBE.exists() and NATIVE_TOOL.exists(), "build both presets first")
    with wine_session(with_display=False) as env, scratch_dir() as scratch:
        win32 = Store("win32", ["wine", str(PROBE)], windows_path, env)
        portable = Store("portable", [str(NATIVE_TOOL)], str)
        # The program folders carry Japanese names: the file path goes through code page 932 too.
        a, b = scratch / "設定A", scratch / "設定B"
        a.mkdir()
        b.mkdir()

        cases = [(2, "3", "C:\\音楽\\曲 01.mp3"), (-1, "", ""), (1, "2.5", "D:a.wav"), (0, "abc", "x" * 200)]
        for kind, track, file in cases:
            win32.save(a, kind, track, file)
            portable.save(b, kind, track, file)
            written_a = (a / "Lullvane.ini").read_bytes()
            written_b = (b / "Lullvane.ini").read_bytes()
            check(written_a == without_wines_blank(written_b),
                  f"case {kind}, {track!r}: the stores wrote\n{written_a!r}\n{written_b!r}")
        print(f"{len(cases)} saves: same bytes from both stores; last file {written_b!r}")
        check(written_b.startswith(b"[Section]\r\n" + KIND_KEY + b"= 0\r\n" + REPEAT_KEY + b"= 0\r\n"),
              f"the portable store's number form: {written_b!r}")

        # Each store reads the other's file; a music file that exists is kept.
        song = "曲 01.mp3"
        (a / song).write_bytes(b"ID3")
        (b / song).write_bytes(b"ID3")
        win32.save(a, 2, "7", str(a) + "\\" + song)  # read natively below
        portable.save(b, 2, "12", windows_path(b / song))  # read under Wine below
        check(portable.load(a) == (2, 7, str(a) + "\\" + song, str(a)),
              f"portable store reading Wine's file: {portable.load(a)}")
        check(win32.load(b) == (2, 12, windows_path(b / song), windows_path(b)),
              f"Wine reading the portable store's file: {win32.load(b)}")
        (b / song).unlink()
        check(win32.load(b) == (0, 12, "", windows_path(b)), "a deleted music file must be forgotten")
        print("each store reads the other's file")


if __name__ == "__main__":
    sys.exit(main())
