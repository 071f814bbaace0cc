"""Lullvane.dll under Wine: its window, picture and debug line, the keys and every way it ends; then
on two monitors."""

import re
import subprocess

from harness import (QUIET, RENDERER_TITLE, WINDOWS_BIN, check, check_flame, probe, scratch_dir,
                     started, wait_for, wine_session)

RENDERER = ["wine", str(WINDOWS_BIN / "src/renderer_win32/Lullvane.dll")]
WS_POPUP, WS_VISIBLE, WS_EX_TOPMOST = 0x80000000, 0x10000000, 0x8
WS_CHILD_CAPTION_THICKFRAME = 0x40000000 | 0x00C00000 | 0x00040000
DEBUG_LINE = re.compile(r'OutputDebugStringA "PixelFormat Selected: (\d+)\\nBPP: (\d+)\\n"')


def shown(env):
    code, window = probe(env, "wait-shown", RENDERER_TITLE, 60000, timeout=120)
    check(code == 0, f"expected a shown window titled with the renderer's bytes, saw {window}")
    return window


def ends_with_0(renderer, how, env, *probe_arguments):
    check(probe(env, *probe_arguments, timeout=120)[0] == 0, f"could not {how}")
    check(renderer.wait(timeout=60) == 0, f"{how}: expected exit code 0, saw {renderer.poll()}")


with wine_session() as env, scratch_dir() as scratch:
    log = scratch / "renderer.log"
    with open(log, "w") as stderr, started(RENDERER, env=dict(env, WINEDEBUG="-all,warn+debugstr"),
                                           stdout=subprocess.DEVNULL, stderr=stderr) as renderer:
        window = shown(env)
        style, exstyle = int(window["style"], 16), int(window["exstyle"], 16)
        expected = ([RENDERER_TITLE] * 2, WS_POPUP | WS_VISIBLE, 0, WS_EX_TOPMOST, "0",
                    "0,0,1024,768", "1024,768")
        seen = ([window["class"], window["title"]], style & (WS_POPUP | WS_VISIBLE),
                style & WS_CHILD_CAPTION_THICKFRAME, exstyle & WS_EX_TOPMOST, window["parent"],
                window["rect"], window["screen"])
        check(seen == expected, f"class, title, style, exstyle, parent, rect, screen: expected "
              f"{expected}, saw {seen}")
        lit = check_flame(env["DISPLAY"], scratch / "one.png")
        check(probe(env, "keys", RENDERER_TITLE, 13, 32, 48)[0] == 0, "cannot type Enter Space 0")
        check(probe(env, "wait-gone", RENDERER_TITLE, 2000)[0] == 1 and renderer.poll() is None,
              "expected the renderer to stay after Enter, Space and 0; it ended")
        ends_with_0(renderer, "type Esc", env, "keys", RENDERER_TITLE, 27)
    line = wait_for(lambda: DEBUG_LINE.search(log.read_text(errors="replace")), 10,
                    what="the pixel-format debug line")
    check(int(line[1]) > 0 and int(line[2]) in (24, 32), f"expected a format, 24/32 bpp: {line[0]}")
    for how, arguments in (("post WM_CLOSE", ("close", RENDERER_TITLE)),
                           ("activate another window", ("activate-other", RENDERER_TITLE, 30000))):
        with started(RENDERER, env=env, **QUIET) as renderer:
            shown(env)
            ends_with_0(renderer, how, env, *arguments)
            check(probe(env, "wait-gone", RENDERER_TITLE, 10000)[0] == 0, f"window after {how}")
    print(f"window {window['rect']}, flame ({lit} lit), {line[0]}; Esc, WM_CLOSE and activation "
          "loss end with 0; Enter, Space and 0 do not")

with wine_session(second_head=(1280, 1024)) as env, scratch_dir() as scratch:
    with started(RENDERER, env=env, **QUIET) as renderer:
        window = shown(env)
        seen = window["monitors"], window["virtual"], window["rect"]
        check(seen == ("2", "0,0,1280,1024", "0,0,1280,1024"),
              f"expected 2 monitors and the window covering the virtual screen, saw {seen}")
        lit = check_flame(env["DISPLAY"], scratch / "two.png")
        ends_with_0(renderer, "type Esc on two monitors", env, "keys", RENDERER_TITLE, 27)
    print(f"two monitors: window {window['rect']}, flame ({lit} lit) on the primary only, Esc: 0")
