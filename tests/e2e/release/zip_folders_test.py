"""The zip under Wine, in a fresh prefix: it holds exactly the two programs and README.txt, both
programs carry the version and their manifests, and the unpacked programs run from folders named
with characters outside code page 932: /c then OK writes the folder's own Lullvane.ini with the
same bytes as in an ASCII folder, /s plays what that file says, and a decoy in the folder that
code page 932 would have made of the name stays untouched, under the Japanese locale and, for
dir_ü, under ANSI code page 1252. Ten /s started at once give one show."""

import contextlib
import subprocess
import sys
import time
import zipfile

from release_support import ZIP, check_resources, show_and_escape, store_cd_track

from harness import (RENDERER_TITLE, check, fresh_wine_prefix, probe, scratch_dir, started,
                     wait_for, windows_path, wine_session)
from host_support import processes_running_from, start_host, wait_until_ended
from settings_dialog_test import FILE_KEY, KIND_KEY, REPEAT_KEY, SECTION, keys_of

FOLDERS = ["ascii", "dir_ü", "dir_한", "dir_〜"]
CD_OPENED = 'L"open cdaudio"'


def traced(env):
    """Wine's trace of the MCI commands on each program's stderr: what the host plays."""
    return dict(env, WINEDEBUG="-all,trace+mci")


def settings_round(env, folder, scratch):
    """/c with the audio CD and track 12, OK; then /s. Returns the settings file's bytes."""
    host = folder / "Lullvane.scr"
    with start_host(host, "/c", env=env) as process:
        store_cd_track(env, scratch, "12")
        check(wait_until_ended(process, 15) == 0, f"{folder.name}: OK did not end the dialog")
    ini = folder / "Lullvane.ini"
    check(ini.is_file(), f"{folder.name}: OK wrote no Lullvane.ini in the folder")
    written = ini.read_bytes()
    check(keys_of(written) == {KIND_KEY: "1", REPEAT_KEY: "12", FILE_KEY: ""},
          f"{folder.name}: OK wrote {written!r}")
    log = scratch / f"{folder.name}.log"
    with open(log, "wb") as stderr:
        show_and_escape(traced(env), host, scratch / "show.png", stderr)
    commands = log.read_text(errors="replace")
    check(CD_OPENED in commands and "decoy" not in commands,
          f"{folder.name}: /s did not play the audio CD its own file names")
    return written


def ten_at_once(env, folder, scratch):
    """Ten /s started back to back: one host and one renderer, the music opened once; one Esc
    ends them all."""
    host = folder / "Lullvane.scr"
    logs = [scratch / f"burst{i}.log" for i in range(10)]
    with contextlib.ExitStack() as stack:
        starts = [stack.enter_context(started(["wine", str(host), "/s"], env=traced(env),
                                              stdout=subprocess.DEVNULL,
                                              stderr=stack.enter_context(open(log, "wb"))))
                  for log in logs]
        check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, "no renderer window")
        wait_for(lambda: sum(start.poll() is not None for start in starts) == 9, 30,
                 what="nine of the ten starts to end")
        time.sleep(1)
        running = processes_running_from(folder)
        hosts = [line for line in running if "Lullvane.scr" in line]
        renderers = [line for line in running if "Lullvane.dll" in line]
        check(len(hosts) == 1 and len(renderers) == 1, f"running from the folder: {running}")
        check(probe(env, "count", RENDERER_TITLE)[1]["count"] == "1", "more than one renderer window")
        check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not press Esc")
        wait_for(lambda: all(start.poll() is not None for start in starts), 15,
                 what="the show to end")
        wait_for(lambda: not processes_running_from(folder), 15, what="no process left")
    opened = sum(log.read_text(errors="replace").count(CD_OPENED) for log in logs)
    check(opened == 1, f"ten starts opened the music {opened} times")


def main():
    check(ZIP.exists(), f"missing {ZIP}: run make package first")
    with zipfile.ZipFile(ZIP) as archive:
        names = sorted(archive.namelist())
        readme = archive.read("README.txt").decode() if "README.txt" in names else ""
    check(names == ["Lullvane.dll", "Lullvane.scr", "README.txt"], f"the zip holds {names}")
    check("Install" in readme and "Lullvane.dll" in readme and "\r\n" in readme,
          "README.txt does not say how to install")

    with fresh_wine_prefix("release-zip") as prefix, scratch_dir() as scratch:
        decoy = scratch / "dir_u"
        decoy.mkdir()
        (decoy / "decoy.mp3").write_bytes(b"ID3")
        (decoy / "Lullvane.ini").write_bytes(SECTION + KIND_KEY + b"= 2\r\n" + FILE_KEY + b"="
                                             + windows_path(decoy / "decoy.mp3").encode() + b"\r\n")
        decoy_before = (decoy / "Lullvane.ini").read_bytes(), (decoy / "Lullvane.ini").stat().st_mtime_ns
        for name in FOLDERS:
            (scratch / name).mkdir()
            with zipfile.ZipFile(ZIP) as archive:
                archive.extractall(scratch / name)

        with wine_session(prefix=prefix) as env:
            check_resources(env, scratch / "ascii/Lullvane.scr", "Lullvane screen saver")
            check_resources(env, scratch / "ascii/Lullvane.dll", "Lullvane flame renderer",
                            dpi_aware=True)
            written = {name: settings_round(env, scratch / name, scratch) for name in FOLDERS}
            different = [name for name in FOLDERS if written[name] != written["ascii"]]
            check(not different, f"other bytes than in the ASCII folder: {different}")
            print(f"/c, OK and /s in {', '.join(FOLDERS)}: each its own file, {written['ascii']!r}")
            ten_at_once(env, scratch / "ascii", scratch)
            print("ten /s at once: one host, one renderer, the music opened once; Esc ended all")

        with wine_session(prefix=prefix, locale="en_US.UTF-8") as env:
            (scratch / "dir_ü/Lullvane.ini").unlink()
            written_1252 = settings_round(env, scratch / "dir_ü", scratch)
            check(written_1252 == written["ascii"],
                  f"code page 1252 wrote {written_1252!r}, code page 932 {written['ascii']!r}")
            print("dir_ü under en_US.UTF-8: the same bytes, and /s plays them")

        check(((decoy / "Lullvane.ini").read_bytes(), (decoy / "Lullvane.ini").stat().st_mtime_ns)
              == decoy_before, "the decoy dir_u\\Lullvane.ini was touched")


if __name__ == "__main__":
    sys.exit(main())
