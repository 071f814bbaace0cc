"""The Windows release under Wine, each part in a fresh prefix of its own. `installer`: a silent
install for the user alone, the installed saver's show and settings, OK that cannot save, an
interactive install over it, and the uninstaller. `zip`: its files, the programs' resources, and
the unpacked programs in folders named outside code page 932 (under code pages 932 and 1252)
keeping their own settings beside them; ten /s at once give one show."""

import contextlib
import re
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

from harness import (DIALOG_TITLE, PRODUCT_TITLE, PROBE, QUIET, RENDERER_TITLE, WINDOWS_BIN, check,
                     check_flame, exit_code, fresh_wine_prefix, probe, probe_lines, run_wine,
                     scratch_dir, started, wait_for, wait_for_wine_session_end, windows_path,
                     wine_session)

PART, VERSION = sys.argv[1:3]
SETUP = WINDOWS_BIN.parent / f"dist/Lullvane-{VERSION}-setup.exe"
ZIP = WINDOWS_BIN.parent / f"dist/Lullvane-{VERSION}-win64.zip"
DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lullvane"
KIND, REPEAT, FILE = (key.encode("cp932") for key in ("BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"))
OS_GUIDS = ("35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
            "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a")
DPI = ('<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm<',
       '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, '
       'PerMonitor<')
CD_OPENED = 'L"open cdaudio"'  # in Wine's MCI trace


def check_resources(env, program, description, dpi_aware=False):
    """Version resource: the project's version and names; manifest: as invoker, Windows 7 to 11,
    and per-monitor DPI awareness only where asked."""
    code, values = probe(env, "resources", windows_path(program))
    text = {key: bytes.fromhex(value).decode() for key, value in values.items() if key[0].isupper()}
    manifest = bytes.fromhex(values.get("manifest", "")).decode()
    names = ("FileVersion", "ProductVersion", "ProductName", "FileDescription")
    seen = ([values.get("file_version"), values.get("product_version")],
            [text.get(key) for key in names],
            [bool(text.get("CompanyName")), bool(text.get("LegalCopyright"))],
            'level="asInvoker"' in manifest, [f'Id="{{{guid}}}"' in manifest for guid in OS_GUIDS],
            [entry in manifest for entry in DPI])
    expected = ([f"{VERSION}.0"] * 2, [VERSION, VERSION, "Lullvane", description], [True] * 2, True,
                [True] * 4, [dpi_aware] * 2)
    check(code == 0 and seen == expected, f"{program.name}: expected {expected}, saw {seen}")


def xdotool(env, *arguments):
    subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": env["DISPLAY"]}, check=True,
                   timeout=30)


@contextlib.contextmanager
def open_dialog(env, scr, track=None):
    """Lullvane.scr /c; with a track, the audio CD chosen and the track typed. Yields a function
    that clicks a point of the dialog's client area."""
    with started(["wine", scr, "/c"], env=env, **QUIET) as host:
        code, window = probe(env, "wait-shown", DIALOG_TITLE, 30000)
        check(code == 0, f"{scr} /c: expected the settings dialog, saw {window}")
        x, y = map(int, window["client"].split(",")[:2])

        def click(at_x, at_y):  # then away, so that no button stays highlighted
            xdotool(env, "mousemove", x + at_x, y + at_y, "sleep", 0.3, "click", 1,
                    "mousemove", 3, 3)

        if track:
            box = lambda: next((line for line in probe_lines(env, "controls", DIALOG_TITLE)[1]
                                if (line.get("x"), line.get("y")) == ("124", "68")), {})
            click(56, 72)  # the audio CD
            wait_for(lambda: box().get("enabled") == "1", 10, what="the track box enabled")
            click(136, 76)
            xdotool(env, "type", track)
            wait_for(lambda: bytes.fromhex(box().get("text", "")).decode() == track, 10,
                     what=f"{track} in the track box")
        yield host, click


def store_track(env, scr, track):
    """/c, the audio CD with `track`, OK; returns what the folder's Lullvane.ini then holds."""
    with open_dialog(env, scr, track) as (host, click):
        click(362, 212)  # OK
        check(exit_code(host, "the dialog after OK", 15) == 0, "OK: expected exit code 0")
    ini = scr.parent / "Lullvane.ini"
    return ini.read_bytes() if ini.is_file() else b""


def keys_of(ini):
    pairs = (line.split(b"=", 1) for line in ini.split(b"\r\n") if b"=" in line)
    return {key: value.strip() for key, value in pairs}


def show(env, scr, shot, trace=subprocess.DEVNULL):
    """Lullvane.scr /s: the flame on the screen, then Esc ends the renderer and the host."""
    with started(["wine", scr, "/s"], env=env, stdout=subprocess.DEVNULL, stderr=trace) as host:
        check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, f"{scr} /s: no renderer")
        lit = check_flame(env["DISPLAY"], shot)
        check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
        check(exit_code(host, f"{scr} /s after Esc", 15) == 0, f"{scr} /s after Esc: exit code")
    return lit


def registry(env, key):
    """The key's values as {name: text}, or None when there is no such key."""
    code, text = run_wine(["reg", "query", key], env, 60)
    rows = (line.strip().split(None, 2) + ["", "", ""] for line in text.split("\n"))
    return {row[0]: row[2] for row in rows if row[1].startswith("REG_")} if code == 0 else None


def install(env, prefix, silent=True):
    """The installer, with /S or closed with Enter on its last page (Enter does nothing until the
    files are in). Returns the install folder, the seconds taken and the programs it started."""
    start = time.monotonic()
    traced = dict(env, WINEDEBUG="-all,trace+process")
    with tempfile.TemporaryFile() as trace, started(["wine", SETUP, *(["/S"] if silent else [])],
                                                    env=traced, stdout=subprocess.DEVNULL,
                                                    stderr=trace) as setup:
        if not silent:
            found = ["xdotool", "search", "--name", "^Lullvane "]
            x = {"env": {"DISPLAY": env["DISPLAY"]}, "timeout": 30, **QUIET}
            wait_for(lambda: subprocess.run(found, **x).returncode == 0, 60, what="the installer")
            wait_for(lambda: subprocess.run(["xdotool", "key", "Return"], **x)
                     and setup.poll() is not None, 60, interval=2, what="Enter to close it")
        check(exit_code(setup, "the installer", 120) == 0, f"installer's exit code {setup.poll()}")
        trace.seek(0)
        lines = re.findall(r'CreateProcessInternalW app \S+ cmdline L"(.*)"',
                           trace.read().decode(errors="replace"))
    programs = [re.sub(r"\\(.)", r"\1", line) for line in lines]
    folders = list(prefix.glob("drive_c/users/*/AppData/Local/Programs/Lullvane"))
    check(len(folders) == 1, f"expected one install folder in the user's programs, saw {folders}")
    return folders[0], time.monotonic() - start, programs


def uninstall(env, folder):
    """Uninstall.exe /S; returns the seconds until its folder had gone."""
    start = time.monotonic()
    subprocess.run(["wine", folder / "Uninstall.exe", "/S"], env=env, timeout=120, **QUIET)
    wait_for(lambda: not folder.exists(), 60, what="the uninstaller to remove the folder")
    took = time.monotonic() - start
    wait_for_wine_session_end(env)  # it runs from a temporary copy: then all it did is done
    return took


@contextlib.contextmanager
def unwritable(file):
    """The file immutable where the file system allows, else a folder in its place (tests run as
    root, whom a file mode stops not). Yields a function returning what the file is meanwhile."""
    if subprocess.run(["chattr", "+i", file], stderr=subprocess.DEVNULL).returncode == 0:
        yield file.read_bytes
        subprocess.run(["chattr", "-i", file], check=True)
    else:
        saved = file.read_bytes()
        file.unlink()
        file.mkdir()
        yield lambda: sorted(file.iterdir())
        file.rmdir()
        file.write_bytes(saved)


def check_rows(context, rows):
    """Each row: what, seen, expected."""
    wrong = [f"{what}: expected {expected!r}, saw {seen!r}"
             for what, seen, expected in rows if seen != expected]
    check(not wrong, f"{context}: " + "; ".join(wrong))


def installer_part(env, prefix, scratch):
    check_resources(env, SETUP, "Lullvane setup")
    folder, install_time, programs = install(env, prefix)
    entry, desktop = registry(env, UNINSTALL) or {}, registry(env, DESKTOP)
    location = entry.get("InstallLocation", "")
    saver, ini = location + r"\Lullvane.scr", folder / "Lullvane.ini"
    same = [(folder / name).read_bytes() == (WINDOWS_BIN / built / name).read_bytes()
            for name, built in
            (("Lullvane.scr", "src/scr"), ("Lullvane.dll", "src/renderer_win32"))]
    expected_entry = {"DisplayName": "Lullvane", "DisplayVersion": VERSION,
                      "DisplayIcon": saver + ",0", "Publisher": "the Lullvane developers",
                      "UninstallString": f'"{location}\\Uninstall.exe"'}
    on_disk = sum(path.stat().st_size for path in folder.iterdir()) // 1024
    check_rows("silent install", [
        ("files", sorted(path.name for path in folder.iterdir()),
         ["Lullvane.dll", "Lullvane.scr", "Uninstall.exe"]),
        ("the built programs", same, [True, True]),
        ("folder", location.lower().endswith(r"\appdata\local\programs\lullvane"), True),
        ("saver", [desktop.get("SCRNSAVE.EXE"), desktop.get("ScreenSaveActive")], [saver, "1"]),
        ("entry", {name: entry.get(name) for name in expected_entry}, expected_entry),
        ("size within 8 KB", abs(int(entry.get("EstimatedSize", "0"), 16) - on_disk) <= 8, True),
        ("settings opened", [line for line in programs if "InstallScreenSaver" in line], [])])
    lit = show(env, folder / "Lullvane.scr", scratch / "show.png")
    saved = store_track(env, folder / "Lullvane.scr", "7")
    check([keys_of(saved).get(KIND), keys_of(saved).get(REPEAT)] == [b"1", b"7"],
          f"expected OK to store the audio CD and 7, saw {saved!r}")
    print(f"installed with /S in {install_time:.1f} s, SCRNSAVE.EXE={saver}; /s showed {lit} lit "
          f"pixels; /c OK wrote {saved!r}")

    with unwritable(ini) as state, open_dialog(env, folder / "Lullvane.scr") as (host, click):
        before = state()
        click(56, 92)  # no music
        click(362, 212)  # OK
        code, box = probe(env, "message-box", PRODUCT_TITLE, 20000)
        text = bytes.fromhex(box.get("text", "")).decode()
        check(code == 0 and "設定を保存できませんでした" in text and saver[:-4] + ".ini" in text,
              f"expected a box saying {saver[:-4]}.ini could not be saved, saw {box}: {text!r}")
        check(probe(env, "wait-gone", DIALOG_TITLE, 1000)[0] == 1 and host.poll() is None
              and probe(env, "count", DIALOG_TITLE)[1]["count"] == "1",
              "expected the dialog to stay open after a failed save; it closed")
        click(442, 212)  # Cancel
        check(exit_code(host, "the dialog after Cancel", 15) == 0, "Cancel: expected exit code 0")
        check(state() == before, "the failed save changed the settings file")
    print(f"OK that cannot save: {text!r}, the dialog open until Cancel")

    _, _, programs = install(env, prefix, silent=False)
    opened = f'"C:\\windows\\system32\\rundll32.exe" desk.cpl,InstallScreenSaver {saver}'
    after = sorted(path.name for path in folder.iterdir()), ini.read_bytes()
    uninstall_time = uninstall(env, folder)
    check_rows("installing again, interactively, then uninstalling", [
        ("programs started", opened in programs, True),
        ("files and settings", after,
         (["Lullvane.dll", "Lullvane.ini", "Lullvane.scr", "Uninstall.exe"], saved)),
        ("uninstall key", registry(env, UNINSTALL), None),
        ("SCRNSAVE.EXE", registry(env, DESKTOP).get("SCRNSAVE.EXE"), None)])
    print(f"installed again keeping the settings, then {opened}; uninstalled: {uninstall_time:.1f}s")

    folder, _, _ = install(env, prefix)
    other = r"C:\windows\system32\other.scr"
    run_wine(["reg", "add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", other, "/f"], env, 60)
    uninstall(env, folder)
    check_rows("uninstalling with another saver chosen", [
        ("SCRNSAVE.EXE", registry(env, DESKTOP).get("SCRNSAVE.EXE"), other),
        ("uninstall key", registry(env, UNINSTALL), None)])
    print("another saver chosen before uninstalling stays chosen")


def running_from(folder):
    """The command lines of processes whose program lies in `folder`, the probe's aside."""
    marks, found = (str(folder).lower(), windows_path(folder).lower()), []
    for cmdline in Path("/proc").glob("[0-9]*/cmdline"):
        with contextlib.suppress(OSError):
            line = cmdline.read_bytes().replace(b"\0", b" ").decode(errors="replace")
            if any(mark in line.lower() for mark in marks) and PROBE.name not in line:
                found.append(line)
    return found


def zip_part(prefix, scratch):
    with zipfile.ZipFile(ZIP) as archive:
        names = sorted(archive.namelist())
        readme = archive.read("README.txt").decode() if "README.txt" in names else ""
        for name in FOLDERS:
            archive.extractall(scratch / name)
    check_rows("the zip", [
        ("files", names, ["Lullvane.dll", "Lullvane.scr", "README.txt"]),
        ("README.txt", [text in readme for text in ("Install", "Lullvane.dll", "\r\n")],
         [True] * 3)])
    decoy = scratch / "dir_u"  # what code page 932 would make of dir_ü
    decoy.mkdir()
    decoy_file = windows_path(decoy / "decoy.mp3").encode()
    decoy_ini = decoy / "Lullvane.ini"
    decoy_ini.write_bytes(b"[Section]\r\n" + KIND + b"= 2\r\n" + FILE + b"=" + decoy_file + b"\r\n")
    decoy_before = decoy_ini.read_bytes(), decoy_ini.stat().st_mtime_ns

    def round_trip(env, name):
        """/c with the audio CD and track 12, OK; then /s plays that. Returns the file's bytes."""
        written = store_track(env, scratch / name / "Lullvane.scr", "12")
        log = scratch / f"{name}.log"
        with open(log, "wb") as trace:
            show(dict(env, WINEDEBUG="-all,trace+mci"), scratch / name / "Lullvane.scr",
                 scratch / "show.png", trace)
        commands = log.read_text(errors="replace")
        check_rows(name, [("settings", keys_of(written), {KIND: b"1", REPEAT: b"12", FILE: b""}),
                          ("/s opened the audio CD", CD_OPENED in commands, True),
                          ("/s opened the decoy's file", "decoy" in commands, False)])
        return written

    with wine_session(prefix=prefix) as env:
        check_resources(env, scratch / "ascii/Lullvane.scr", "Lullvane screen saver")
        check_resources(env, scratch / "ascii/Lullvane.dll", "Lullvane flame renderer", True)
        written = {name: round_trip(env, name) for name in FOLDERS}
        ten_at_once(env, scratch)
    with wine_session(prefix=prefix, locale="en_US.UTF-8") as env:
        (scratch / "dir_ü/Lullvane.ini").unlink()
        written["dir_ü under code page 1252"] = round_trip(env, "dir_ü")
    check_rows("settings files like the ASCII folder's", [
        *((name, data, written["ascii"]) for name, data in written.items()),
        ("the decoy dir_u\\Lullvane.ini", (decoy_ini.read_bytes(), decoy_ini.stat().st_mtime_ns),
         decoy_before)])
    print(f"/c, OK and /s in {', '.join(written)}: each its own {written['ascii']!r}; decoy kept")


def ten_at_once(env, scratch):
    """Ten /s back to back: one host and one renderer, the music opened once; Esc ends all."""
    folder, logs = scratch / "ascii", [scratch / f"burst{i}.log" for i in range(10)]
    with contextlib.ExitStack() as stack:
        traced = dict(env, WINEDEBUG="-all,trace+mci")
        starts = [stack.enter_context(started(["wine", folder / "Lullvane.scr", "/s"], env=traced,
                                              stdout=subprocess.DEVNULL,
                                              stderr=stack.enter_context(open(log, "wb"))))
                  for log in logs]
        check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, "no renderer window")
        wait_for(lambda: sum(start.poll() is not None for start in starts) == 9, 30,
                 what="nine of ten starts to end")
        running = running_from(folder)
        windows = probe(env, "count", RENDERER_TITLE)[1].get("count")
        check_rows("ten starts", [("hosts", sum("Lullvane.scr" in line for line in running), 1),
                                  ("renderers", sum("Lullvane.dll" in line for line in running), 1),
                                  ("renderer windows", windows, "1")])
        check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
        wait_for(lambda: all(start.poll() is not None for start in starts)
                 and not running_from(folder), 15, what="no process left")
    opened = sum(log.read_text(errors="replace").count(CD_OPENED) for log in logs)
    check(opened == 1, f"expected the music opened once by ten starts, saw {opened}")
    print("ten /s at once: one host, one renderer, the music opened once; Esc ended all")


FOLDERS = ["ascii", "dir_ü", "dir_한", "dir_〜"]
check((SETUP if PART == "installer" else ZIP).exists(), f"missing {SETUP.parent}: make package")
with fresh_wine_prefix(f"release-{PART}") as prefix, scratch_dir() as scratch:
    if PART == "installer":
        with wine_session(prefix=prefix) as env:
            installer_part(env, prefix, scratch)
    else:
        zip_part(prefix, scratch)
