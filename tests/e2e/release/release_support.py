"""What the release tests share: the release in build/dist, the probe's reading of a program's
resources, the settings dialog driven to OK, and Wine's registry."""

import subprocess
import sys
import time
from pathlib import Path

E2E = Path(__file__).resolve().parents[1]
sys.path[:0] = [str(E2E / "host"), str(E2E / "settings_dialog"), str(E2E / "renderer")]

from harness import (RENDERER_TITLE, WINDOWS_BIN, check, probe, run_wine,  # noqa: E402
                     started, wait_for, windows_path)
from host_support import wait_until_ended  # noqa: E402
from renderer_wine_test import check_flame  # noqa: E402
from settings_dialog_test import BUTTONS, COMBO, SOURCE_CAPTIONS, Dialog  # noqa: E402

VERSION = sys.argv[1]
DIST = WINDOWS_BIN.parent / "dist"
SETUP = DIST / f"Lullvane-{VERSION}-setup.exe"
ZIP = DIST / f"Lullvane-{VERSION}-win64.zip"

SUPPORTED_OS = {"Windows 7": "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                "Windows 8": "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                "Windows 8.1": "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                "Windows 10 and 11": "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}


DPI_ENTRIES = ("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm<",
               "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
               "PerMonitorV2, PerMonitor<")


def check_resources(env, program, description, dpi_aware=False):
    """The program's version resource carries the project's version and names, and its manifest
    runs it as the user who started it on every supported Windows; only the renderer declares
    per-monitor DPI awareness, the host keeps the system's scaling."""
    code, values = probe(env, "resources", windows_path(program))
    check(code == 0, f"{program}: no version resource or no manifest ({values})")
    text = {key: bytes.fromhex(value).decode() for key, value in values.items()
            if key[0].isupper() and value}
    check(values["file_version"] == values["product_version"] == f"{VERSION}.0",
          f"{program}: fixed versions {values['file_version']}, {values['product_version']}")
    check(text.get("FileVersion") == text.get("ProductVersion") == VERSION, f"{program}: {text}")
    check(text.get("ProductName") == "Lullvane" and text.get("FileDescription") == description
          and text.get("CompanyName") and text.get("LegalCopyright"), f"{program}: {text}")
    manifest = bytes.fromhex(values["manifest"]).decode()
    missing = [name for name, guid in SUPPORTED_OS.items() if f'Id="{{{guid}}}"' not in manifest]
    check(not missing, f"{program}: the manifest does not name {missing}")
    check('level="asInvoker"' in manifest, f"{program}: the manifest asks for other rights")
    declared = [entry in manifest for entry in DPI_ENTRIES]
    check(declared == [dpi_aware] * 2, f"{program}: DPI entries {declared}, expected {dpi_aware}")
    return text


def show_and_escape(env, host, screen_shot, stderr=subprocess.DEVNULL):
    """Lullvane.scr /s: the flame on the screen, then Esc ends the renderer and the host."""
    with started(["wine", str(host), "/s"], env=env, stdout=subprocess.DEVNULL,
                 stderr=stderr) as process:
        code, _ = probe(env, "wait-window", RENDERER_TITLE, 60000)
        check(code == 0, f"{host} /s: no renderer window")
        time.sleep(2)
        lit = check_flame(env["DISPLAY"], screen_shot)
        check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not press Esc")
        check(wait_until_ended(process, 15) == 0, f"{host} /s did not end with 0 after Esc")
    return lit


def store_cd_track(env, scratch, track):
    """In the open settings dialog: the audio CD with `track` typed into the track box, then OK.
    Returns the dialog."""
    dialog = Dialog(env, scratch)
    dialog.click(*SOURCE_CAPTIONS[1])
    wait_for(lambda: dialog.control_at(*COMBO[:2])["enabled"] == "1", 10,
             what="the track box enabled for the audio CD")
    dialog.click(COMBO[0] + 12, COMBO[1] + 8)
    subprocess.run(["xdotool", "type", track], env={"DISPLAY": env["DISPLAY"]}, check=True,
                   timeout=30)
    wait_for(lambda: bytes.fromhex(dialog.control_at(*COMBO[:2])["text"]).decode() == track, 10,
             what=f"{track} in the track box")
    press_ok(dialog)
    return dialog


def click_button(dialog, name):
    x, y, width, height = BUTTONS[name]
    dialog.click(x + width // 2, y + height // 2)


def press_ok(dialog):
    click_button(dialog, "Cmd_Set")


def cancel(dialog):
    click_button(dialog, "Cmd_Can")


def registry(env, key):
    """The values of a registry key as {name: text}, or None when the key does not exist."""
    code, text = run_wine(["reg", "query", key], env, 60)
    if code != 0:
        return None
    values = {}
    for line in text.split("\n"):
        fields = line.strip().split(None, 2)
        if len(fields) >= 2 and fields[1].startswith("REG_"):
            values[fields[0]] = fields[2] if len(fields) == 3 else ""
    return values
