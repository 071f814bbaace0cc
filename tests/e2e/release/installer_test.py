"""The Windows installer under Wine, in a fresh prefix: a silent install for the user alone, the
installed saver's show and settings, OK that cannot save, installing over an earlier install,
and the uninstaller, which clears the system's choice of saver only while it is still Lullvane."""

import contextlib
import re
import subprocess
import sys
import tempfile
import time

from release_support import (SETUP, VERSION, cancel, check_resources, press_ok, registry,
                             show_and_escape, store_cd_track)

from harness import (DIALOG_TITLE, PRODUCT_TITLE, check, fresh_wine_prefix, probe, run_wine,
                     scratch_dir, started, wait_for, wait_for_wine_session_end, wine_session)
from host_support import HOST, REAL_RENDERER, start_host, wait_until_ended
from settings_dialog_test import KIND_KEY, REPEAT_KEY, SOURCE_CAPTIONS, Dialog, keys_of

DESKTOP = r"HKCU\Control Panel\Desktop"
UNINSTALL = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lullvane"


def install(env, prefix, silent=True):
    """Runs the installer, with /S or to its last page, closed with Enter. Returns the install
    folder, the seconds it took and the command lines of the programs it started."""
    start = time.monotonic()
    with tempfile.TemporaryFile() as trace, \
            started(["wine", str(SETUP), *(["/S"] if silent else [])],
                    env=dict(env, WINEDEBUG="-all,trace+process"), stdout=subprocess.DEVNULL,
                    stderr=trace) as process:
        if not silent:
            # Enter closes the last page once the files are in; until then it does nothing.
            display = {"DISPLAY": env["DISPLAY"]}
            wait_for(lambda: subprocess.run(["xdotool", "search", "--name", "^Lullvane "],
                                            env=display, stdout=subprocess.DEVNULL).returncode == 0,
                     60, what="the installer's window")
            wait_for(lambda: subprocess.run(["xdotool", "key", "Return"], env=display, timeout=30)
                     and process.poll() is not None, 60, interval=2, what="the installer to close")
        code = wait_until_ended(process, 120)
        took = time.monotonic() - start
        trace.seek(0)
        programs = [re.sub(r"\\(.)", r"\1", line) for line in
                   re.findall(r'CreateProcessInternalW app \S+ cmdline L"(.*)"',
                              trace.read().decode(errors="replace"))]
    check(code == 0, f"the installer exited with {code}")
    folders = list(prefix.glob("drive_c/users/*/AppData/Local/Programs/Lullvane"))
    check(len(folders) == 1, f"install folders under the users' local programs: {folders}")
    return folders[0], took, programs


def uninstall(env, folder):
    """Runs the uninstaller silently; returns the seconds until its folder had gone."""
    start = time.monotonic()
    subprocess.run(["wine", str(folder / "Uninstall.exe"), "/S"], env=env, timeout=120,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: not folder.exists(), 60, what="the uninstaller to remove the folder")
    took = time.monotonic() - start
    # It runs from a temporary copy; all it did is done once the Wine server has ended.
    wait_for_wine_session_end(env)
    return took


@contextlib.contextmanager
def unwritable(file):
    """The file made unwritable even for root: immutable where the file system allows it, else
    a folder of that name in its place. Yields what the file is meanwhile."""
    if subprocess.run(["chattr", "+i", str(file)], stderr=subprocess.DEVNULL).returncode == 0:
        try:
            yield lambda: file.read_bytes()
        finally:
            subprocess.run(["chattr", "-i", str(file)], check=True)
        return
    saved = file.read_bytes()
    file.unlink()
    file.mkdir()
    try:
        yield lambda: sorted(file.iterdir())
    finally:
        file.rmdir()
        file.write_bytes(saved)


def check_installed(env, folder):
    names = sorted(path.name for path in folder.iterdir())
    check(names == ["Lullvane.dll", "Lullvane.scr", "Uninstall.exe"], f"installed files {names}")
    check((folder / "Lullvane.scr").read_bytes() == HOST.read_bytes()
          and (folder / "Lullvane.dll").read_bytes() == REAL_RENDERER.read_bytes(),
          "the installed programs are not the ones built")
    entry = registry(env, UNINSTALL)
    check(entry is not None, f"no key {UNINSTALL}")
    location = entry.get("InstallLocation", "")
    check(location.lower().endswith(r"\appdata\local\programs\lullvane"),
          f"installed into {location}")
    desktop = registry(env, DESKTOP)
    saver = location + r"\Lullvane.scr"
    check(desktop.get("SCRNSAVE.EXE") == saver and desktop.get("ScreenSaveActive") == "1",
          f"Control Panel\\Desktop: SCRNSAVE.EXE={desktop.get('SCRNSAVE.EXE')} "
          f"ScreenSaveActive={desktop.get('ScreenSaveActive')}")
    expected = {"DisplayName": "Lullvane", "DisplayVersion": VERSION,
                "Publisher": "the Lullvane developers", "DisplayIcon": saver + ",0",
                "UninstallString": f'"{location}\\Uninstall.exe"'}
    check(all(entry.get(name) == value for name, value in expected.items()),
          f"uninstall entry {entry}")
    size = int(entry.get("EstimatedSize", "0"), 16)
    on_disk = sum(path.stat().st_size for path in folder.iterdir()) // 1024
    check(abs(size - on_disk) <= 8, f"estimated size {size} KB, {on_disk} KB on disk")
    return saver


def main():
    check(SETUP.exists(), f"missing {SETUP}: run make package first")
    with fresh_wine_prefix("release-installer") as prefix, wine_session(prefix=prefix) as env, \
            scratch_dir() as scratch:
        check_resources(env, SETUP, "Lullvane setup")
        folder, install_time, programs = install(env, prefix)
        saver = check_installed(env, folder)
        check(not any("InstallScreenSaver" in line for line in programs),
              f"the silent install opened the screen-saver settings: {programs}")
        print(f"installed with /S in {install_time:.1f} s; SCRNSAVE.EXE={saver}")

        # The installed saver shows the flame; /c then OK keeps the settings beside it.
        lit = show_and_escape(env, folder / "Lullvane.scr", scratch / "show.png")
        ini = folder / "Lullvane.ini"
        with start_host(folder / "Lullvane.scr", "/c", env=env) as host:
            store_cd_track(env, scratch, "7")
            check(wait_until_ended(host, 15) == 0, "OK did not end the dialog")
        saved = ini.read_bytes() if ini.is_file() else b""
        values = keys_of(saved)
        check(values.get(KIND_KEY) == "1" and values.get(REPEAT_KEY) == "7",
              f"OK wrote {saved!r} into the install folder")
        print(f"/s showed the flame ({lit} lit pixels); /c and OK wrote {saved!r}")

        # OK that cannot save says so, with the path, and leaves the dialog open for Cancel.
        with unwritable(ini) as state, start_host(folder / "Lullvane.scr", "/c", env=env) as host:
            before = state()
            dialog = Dialog(env, scratch)
            dialog.click(*SOURCE_CAPTIONS[0])
            press_ok(dialog)
            code, box = probe(env, "message-box", PRODUCT_TITLE, 20000)
            check(code == 0, f"no message box after OK: {box}")
            text = bytes.fromhex(box["text"]).decode()
            check("設定を保存できませんでした" in text and saver[:-4] + ".ini" in text,
                  f"the message box says {text!r}")
            time.sleep(1)
            code, count = probe(env, "count", DIALOG_TITLE)
            check(host.poll() is None and count["count"] == "1", "the dialog closed after the failed save")
            cancel(dialog)
            check(wait_until_ended(host, 15) == 0, "Cancel did not end the dialog")
            check(state() == before, "the failed save changed the settings file")
        print(f"OK with the settings file unwritable: message box {text!r}, dialog open until Cancel")

        # Installing over it, interactively, keeps the settings and ends in the system's
        # screen-saver settings with Lullvane chosen; the uninstaller then removes everything.
        _, _, programs = install(env, prefix, silent=False)
        opened = f'"C:\\windows\\system32\\rundll32.exe" desk.cpl,InstallScreenSaver {saver}'
        check(opened in programs, f"the interactive install did not end in {opened}: {programs}")
        check(ini.read_bytes() == saved, "installing again changed Lullvane.ini")
        names = sorted(path.name for path in folder.iterdir())
        check(names == ["Lullvane.dll", "Lullvane.ini", "Lullvane.scr", "Uninstall.exe"],
              f"after installing again: {names}")
        uninstall_time = uninstall(env, folder)
        check(registry(env, UNINSTALL) is None, "the uninstall key is still there")
        check("SCRNSAVE.EXE" not in registry(env, DESKTOP), "SCRNSAVE.EXE still names Lullvane")
        print(f"installed again, interactively, keeping Lullvane.ini, then {opened}; "
              f"uninstalled with /S in {uninstall_time:.1f} s: files, folder, key and "
              "SCRNSAVE.EXE gone")

        # Another saver chosen since stays chosen.
        folder, _, _ = install(env, prefix)
        other = r"C:\windows\system32\other.scr"
        run_wine(["reg", "add", DESKTOP, "/v", "SCRNSAVE.EXE", "/t", "REG_SZ", "/d", other, "/f"],
                 env, 60)
        uninstall(env, folder)
        check(registry(env, DESKTOP).get("SCRNSAVE.EXE") == other, "the other saver was unchosen")
        check(registry(env, UNINSTALL) is None, "the uninstall key is still there")
        print("another saver chosen before uninstalling stays chosen")


if __name__ == "__main__":
    sys.exit(main())
