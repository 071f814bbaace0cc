"""Lullvane.dll under Wine: window, picture, debug line, keys, every way it ends; two monitors."""

import re, subprocess

from harness import (RENDERER_TITLE, WINDOWS_BIN, check, check_flame, probe, scratch_dir, started,
                     wine_session)

RENDERER = ["wine", str(WINDOWS_BIN / "src/renderer_win32/Lullvane.dll")]
POPUP_VISIBLE, CHILD_CAPTION_THICKFRAME, TOPMOST = 0x90000000, 0x40C40000, 0x8
DEBUG_LINE = re.compile(r'OutputDebugStringA "PixelFormat Selected: (\d+)\\nBPP: (\d+)\\n"')

def session(env, scratch, how="type Esc", *ending):
    """Its shown window (then flame, Enter, Space, 0 unless `ending`), ended with exit code 0."""
    with open(scratch / "log", "w") as log, started(
            RENDERER, env=dict(env, WINEDEBUG="-all,warn+debugstr"), stdout=subprocess.DEVNULL,
            stderr=log) as renderer:
        code, window = probe(env, "wait-shown", RENDERER_TITLE, 60000, timeout=120)
        check(code == 0, f"expected a shown window titled with the renderer's bytes, saw {window}")
        if not ending:
            window["lit"] = check_flame(env["DISPLAY"], scratch / "screen.png")
            check(probe(env, "keys", RENDERER_TITLE, 13, 32, 48)[0] == 0
                  and probe(env, "wait-gone", RENDERER_TITLE, 2000)[0] == 1
                  and renderer.poll() is None, "expected Enter, Space and 0 to leave it running")
        check(probe(env, *(ending or ("keys", RENDERER_TITLE, 27)), timeout=120)[0] == 0,
              f"could not {how}")
        check(renderer.wait(timeout=60) == 0, f"{how}: expected exit code 0, saw {renderer.poll()}")
    return window

with wine_session() as env, scratch_dir() as scratch:
    window = session(env, scratch)
    style, exstyle = int(window["style"], 16), int(window["exstyle"], 16)
    seen = ([window["class"], window["title"]], style & POPUP_VISIBLE,
            style & CHILD_CAPTION_THICKFRAME, exstyle & TOPMOST,
            [window[key] for key in ("parent", "rect", "screen")])
    expected = ([RENDERER_TITLE] * 2, POPUP_VISIBLE, 0, TOPMOST, ["0", "0,0,1024,768", "1024,768"])
    check(seen == expected, f"class, title; popup, visible; child, caption, frame; topmost; "
          f"parent, rect, screen: expected {expected}, saw {seen}")
    line = DEBUG_LINE.search((scratch / "log").read_text(errors="replace"))  # once it has ended
    check(line and int(line[1]) > 0 and int(line[2]) in (24, 32),
          f"expected the debug line with a pixel format and 24 or 32 bits, saw {line}")
    session(env, scratch, "post WM_CLOSE", "close", RENDERER_TITLE)
    session(env, scratch, "activate another window", "activate-other", RENDERER_TITLE, 30000)
    print(f"one monitor: window {window['rect']}, flame ({window['lit']} lit), {line[0]}")

with wine_session(second_head=(1280, 1024)) as env, scratch_dir() as scratch:
    window = session(env, scratch)
    seen = [window[key] for key in ("monitors", "virtual", "rect")]
    check(seen == ["2", "0,0,1280,1024", "0,0,1280,1024"],
          f"expected 2 monitors and the window covering the virtual screen, saw {seen}")
    print(f"two monitors: window {window['rect']}, flame ({window['lit']} lit) on the primary only")
