"""The Windows release under Wine, each part in a fresh prefix. `installer`: (un)installing, the
saver installed, OK that cannot save. `zip`: its programs in folders named outside code page 932."""

import contextlib, re, subprocess, sys, tempfile, time, zipfile

from harness import (DIALOG_TITLE, LINUX_BIN, PRODUCT_TITLE, QUIET, RENDERER_TITLE,
                     WINDOWS_BIN, check, check_flame, check_rows, exit_code, probe, run_wine,
                     processes_running_from, scratch_dir, started, wait_for,
                     wait_for_wine_session_end, windows_path, wine_session)

PART, VERSION = sys.argv[1:3]
SETUP = WINDOWS_BIN.parent / f"dist/Lullvane-{VERSION}-setup.exe"
ZIP = WINDOWS_BIN.parent / f"dist/Lullvane-{VERSION}-win64.zip"
DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lullvane"
KIND, FILE = "BGM区分".encode("cp932"), "BGMﾌｧｲﾙ".encode("cp932")
PROGRAMS, FOLDERS = ["Lullvane.dll", "Lullvane.scr"], ["ascii", "dir_ü", "dir_한", "dir_〜"]
MANIFEST = ['level="asInvoker"', *(f'Id="{{{guid}}}"' for guid in (
    "35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
    "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"))]
DPI = [f'<{name} xmlns="http://schemas.microsoft.com/SMI/{year}/WindowsSettings">{value}<'
       for name, year, value in (("dpiAware", 2005, "true/pm"),
                                 ("dpiAwareness", 2016, "PerMonitorV2, PerMonitor"))]
CD_OPENED = 'L"open cdaudio"'  # in Wine's MCI trace

def check_resources(env, program, description, dpi_aware=False):
    """The version resource's versions and names; the manifest's entries, DPI ones where asked."""
    code, values = probe(env, "resources", windows_path(program))
    text = {key: bytes.fromhex(value).decode() for key, value in values.items() if key[0].isupper()}
    manifest = bytes.fromhex(values.get("manifest", "")).decode()
    seen = [code, values.get("file_version"), values.get("product_version"),
            *map(text.get, ("FileVersion", "ProductVersion", "ProductName", "FileDescription")),
            bool(text.get("CompanyName")), bool(text.get("LegalCopyright")),
            [entry in manifest for entry in MANIFEST], [entry in manifest for entry in DPI]]
    expected = [0, f"{VERSION}.0", f"{VERSION}.0", VERSION, VERSION, "Lullvane", description, True,
                True, [True] * len(MANIFEST), [dpi_aware] * 2]
    check(seen == expected, f"{program.name}: expected {expected}, saw {seen}")

def xdotool(env, *arguments):
    return subprocess.run(["xdotool", *map(str, arguments)], env={"DISPLAY": env["DISPLAY"]},
                          timeout=30, **QUIET).returncode

@contextlib.contextmanager
def open_dialog(env, scr):
    """Lullvane.scr /c: the host and a function clicking a point of the client area (then away)."""
    with started(["wine", scr, "/c"], env=env, **QUIET) as host:
        code, window = probe(env, "wait-shown", DIALOG_TITLE, 30000)
        check(code == 0, f"{scr} /c: expected the settings dialog, saw {window}")
        x, y = map(int, window["client"].split(",")[:2])
        yield host, lambda at_x, at_y: xdotool(env, "mousemove", x + at_x, y + at_y, "sleep", 0.3,
                                               "click", 1, "mousemove", 3, 3)

def store_audio_cd(env, scr):
    """/c, the audio CD, OK; returns the folder's Lullvane.ini as {key: value}."""
    with open_dialog(env, scr) as (host, click):
        click(56, 72)  # the audio CD
        click(362, 212)  # OK
        check(exit_code(host, "the dialog after OK", 15) == 0, "OK: expected exit code 0")
    lines = (scr.parent / "Lullvane.ini").read_bytes().split(b"\r\n")
    return {key: value.strip() for key, _, value in (line.partition(b"=") for line in lines)}

def show(env, scr, scratch):
    """Lullvane.scr /s: the flame on the screen, then Esc ends it all. Returns its MCI trace."""
    with open(scratch / "mci.log", "wb") as trace, started(
            ["wine", scr, "/s"], env=dict(env, WINEDEBUG="-all,trace+mci"),
            stdout=subprocess.DEVNULL, stderr=trace) as host:
        check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, f"{scr} /s: no renderer")
        check_flame(env["DISPLAY"], scratch / "show.png")
        check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
        check(exit_code(host, f"{scr} /s after Esc", 15) == 0, f"{scr} /s after Esc: exit code")
    return (scratch / "mci.log").read_text(errors="replace")

def registry(env, key):
    """The key's values as {name: text}, or None when there is no such key."""
    code, text = run_wine(["reg", "query", key], env, 60)
    rows = (line.strip().split(None, 2) + ["", "", ""] for line in text.split("\n"))
    return {row[0]: row[2] for row in rows if row[1].startswith("REG_")} if code == 0 else None

def install(env, prefix, *switches):
    """The installer (Enter until it ends unless /S): its folder, seconds and process trace."""
    start = time.monotonic()
    with tempfile.TemporaryFile() as trace, started(
            ["wine", SETUP, *switches], env=dict(env, WINEDEBUG="-all,trace+process"),
            stdout=subprocess.DEVNULL, stderr=trace) as setup:
        if not switches:
            wait_for(lambda: xdotool(env, "key", "Return") == 0 and setup.poll() is not None, 120,
                     interval=2, what="Enter to close the installer")
        check(exit_code(setup, "the installer", 120) == 0, f"installer's exit code {setup.poll()}")
        trace.seek(0)
        processes = re.sub(r"\\(.)", r"\1", trace.read().decode(errors="replace"))  # unquoted
    folders = list(prefix.glob("drive_c/users/*/AppData/Local/Programs/Lullvane"))
    check(len(folders) == 1, f"expected one install folder in the user's programs, saw {folders}")
    return folders[0], time.monotonic() - start, processes

def uninstall(env, folder):
    """Uninstall.exe /S; returns the seconds until its folder has gone."""
    start = time.monotonic()
    subprocess.run(["wine", folder / "Uninstall.exe", "/S"], env=env, timeout=120, **QUIET)
    wait_for(lambda: not folder.exists(), 60, what="the uninstaller to remove the folder")
    wait_for_wine_session_end(env)  # it runs from a temporary copy: then all it did is done
    return time.monotonic() - start

def installer_part(env, prefix, scratch):
    check_resources(env, SETUP, "Lullvane setup")
    folder, install_time, programs = install(env, prefix, "/S")
    entry, desktop = registry(env, UNINSTALL) or {}, registry(env, DESKTOP)
    location = entry.get("InstallLocation", "")
    saver, scr, ini = location + r"\Lullvane.scr", folder / "Lullvane.scr", folder / "Lullvane.ini"
    expected_entry = {"DisplayName": "Lullvane", "DisplayVersion": VERSION,
                      "DisplayIcon": saver + ",0", "Publisher": "the Lullvane developers",
                      "UninstallString": f'"{location}\\Uninstall.exe"'}
    on_disk = sum(path.stat().st_size for path in folder.iterdir()) // 1024
    check_rows("silent install", [
        ("files", sorted(path.name for path in folder.iterdir()), [*PROGRAMS, "Uninstall.exe"]),
        ("folder", location.lower().endswith(r"\appdata\local\programs\lullvane"), True),
        ("saver", [desktop.get("SCRNSAVE.EXE"), desktop.get("ScreenSaveActive")], [saver, "1"]),
        ("entry", {name: entry.get(name) for name in expected_entry}, expected_entry),
        ("size within 8 KB", abs(int(entry.get("EstimatedSize", "0"), 16) - on_disk) <= 8, True),
        ("settings opened", "InstallScreenSaver" in programs, False)])
    show(env, scr, scratch)
    check(store_audio_cd(env, scr).get(KIND) == b"1", f"expected /c OK to store it in {ini}")
    saved = ini.read_bytes()
    ini.unlink()
    ini.mkdir()  # which no one can write, not even root, whom a read-only file would not stop
    with open_dialog(env, scr) as (host, click):
        click(56, 92)  # no music
        click(362, 212)  # OK
        code, box = probe(env, "message-box", PRODUCT_TITLE, 20000)
        text = bytes.fromhex(box.get("text", "")).decode()
        check(code == 0 and "設定を保存できませんでした" in text and saver[:-4] + ".ini" in text,
              f"expected a box saying {saver[:-4]}.ini could not be saved, saw {box}: {text!r}")
        check(probe(env, "wait-gone", DIALOG_TITLE, 1000)[0] == 1 and host.poll() is None,
              "expected the dialog to stay open after a failed save; it closed")
        click(442, 212)  # Cancel
        check(exit_code(host, "the dialog after Cancel", 15) == 0, "Cancel: expected exit code 0")
    check(not any(ini.iterdir()), "the failed save wrote into the folder in the file's place")
    ini.rmdir()
    ini.write_bytes(saved)
    _, _, programs = install(env, prefix)
    opened = f'"C:\\windows\\system32\\rundll32.exe" desk.cpl,InstallScreenSaver {saver}'
    after = sorted(path.name for path in folder.iterdir()), ini.read_bytes()
    uninstall_time = uninstall(env, folder)
    check_rows("installing again, interactively, then uninstalling", [
        ("programs started", opened in programs, True),
        ("files, settings", after, (sorted([*PROGRAMS, "Lullvane.ini", "Uninstall.exe"]), saved)),
        ("uninstall key", registry(env, UNINSTALL), None),
        ("SCRNSAVE.EXE", registry(env, DESKTOP).get("SCRNSAVE.EXE"), None)])
    folder, _, _ = install(env, prefix, "/S")
    other = r"C:\windows\system32\other.scr"
    run_wine(["reg", "add", DESKTOP, "/v", "SCRNSAVE.EXE", "/d", other, "/f"], env, 60)
    uninstall(env, folder)
    check_rows("uninstalling with another saver chosen", [
        ("SCRNSAVE.EXE", registry(env, DESKTOP).get("SCRNSAVE.EXE"), other),
        ("uninstall key", registry(env, UNINSTALL), None)])
    print(f"{SETUP.name}: {SETUP.stat().st_size} bytes; /S: {install_time:.1f} s, SCRNSAVE.EXE="
          f"{saver}; uninstalling: {uninstall_time:.1f} s; a failed save said {text!r}")

def round_trip(env, scratch, name):
    """/c with the audio CD, OK; then /s plays that. Returns the settings file's bytes."""
    scr = scratch / name / "Lullvane.scr"
    stored, commands = store_audio_cd(env, scr), show(env, scr, scratch)
    check_rows(name, [("settings", [stored.get(KIND), stored.get(FILE)], [b"1", b""]),
                      ("/s opened the audio CD", CD_OPENED in commands, True),
                      ("/s opened the decoy's file", "decoy" in commands, False)])
    return (scratch / name / "Lullvane.ini").read_bytes()

def zip_part(prefix, scratch):
    with zipfile.ZipFile(ZIP) as archive:
        names = sorted(archive.namelist())
        readme = archive.read("README.txt").decode() if "README.txt" in names else ""
        for name in FOLDERS:
            archive.extractall(scratch / name)
    check(names == [*PROGRAMS, "README.txt"] and "Install" in readme and "\r\n" in readme,
          f"expected the programs and a README.txt on installing, saw {names}: {readme!r}")
    decoy = scratch / "dir_u/Lullvane.ini"  # what code page 932 makes of dir_ü's
    decoy.parent.mkdir()
    decoy.write_bytes(b"[Section]\r\n" + KIND + b"= 2\r\n" + FILE + b"="
                      + windows_path(decoy.parent / "decoy.mp3").encode() + b"\r\n")
    decoy_before = decoy.read_bytes(), decoy.stat().st_mtime_ns
    with wine_session(prefix=prefix) as env:
        check_resources(env, scratch / "ascii/Lullvane.scr", "Lullvane screen saver")
        check_resources(env, scratch / "ascii/Lullvane.dll", "Lullvane flame renderer", True)
        written = {name: round_trip(env, scratch, name) for name in FOLDERS}
        with contextlib.ExitStack() as stack, open(scratch / "ten.log", "ab") as trace:
            starts = [stack.enter_context(started(  # appending: no start overwrites another
                ["wine", scratch / "ascii/Lullvane.scr", "/s"], stdout=subprocess.DEVNULL,
                env=dict(env, WINEDEBUG="-all,trace+mci"), stderr=trace)) for _ in range(10)]
            check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, "no renderer window")
            wait_for(lambda: sum(start.poll() is not None for start in starts) == 9, 30,
                     what="nine of ten starts to end")
            running = processes_running_from(scratch / "ascii")
            check_rows("ten /s back to back", [
                ("hosts", sum("Lullvane.scr" in line for line in running), 1),
                ("renderers", sum("Lullvane.dll" in line for line in running), 1)])
            check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
            wait_for(lambda: all(start.poll() is not None for start in starts)
                     and not processes_running_from(scratch / "ascii"), 15, what="no process left")
        opened = (scratch / "ten.log").read_text(errors="replace").count(CD_OPENED)
        check(opened == 1, f"expected the music opened once by ten starts, saw {opened}")
    with wine_session(prefix=prefix, locale="en_US.UTF-8") as env:
        (scratch / "dir_ü/Lullvane.ini").unlink()
        written["dir_ü under code page 1252"] = round_trip(env, scratch, "dir_ü")
    check_rows("settings files like the ASCII folder's", [
        *((name, data, written["ascii"]) for name, data in written.items()),
        ("the decoy dir_u\\Lullvane.ini", (decoy.read_bytes(), decoy.stat().st_mtime_ns),
         decoy_before)])
    print(f"{ZIP.name}: {ZIP.stat().st_size} bytes; /c, OK and /s in {', '.join(written)}")

check((SETUP if PART == "installer" else ZIP).exists(), f"missing {SETUP.parent}: make package")
with scratch_dir(LINUX_BIN) as scratch:  # the Wine prefix inside it, for this test alone
    if PART == "installer":
        with wine_session(prefix=scratch / "wineprefix") as env:
            installer_part(env, scratch / "wineprefix", scratch)
    else:
        zip_part(scratch / "wineprefix", scratch)
