"""Lullvane.dll under Wine: its window, its picture, its debug line, and every way it ends."""

import re
import subprocess
import sys
import time

from harness import (RENDERER_TITLE, WINDOWS_BIN, capture_screen, check, probe, scratch_dir, started,
                     wait_for, wine_session)

RENDERER = WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"
SCREEN = (1024, 768)
SECOND_HEAD = (1280, 1024)  # larger, so that the window reaches beyond the primary monitor

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_THICKFRAME, WS_EX_TOPMOST = 0x00C00000, 0x00040000, 0x00000008
DEBUG_LINE = re.compile(r'OutputDebugStringA "PixelFormat Selected: (\d+)\\nBPP: (\d+)\\n"')


def wait_exit(process, what):
    try:
        return process.wait(timeout=60)
    except subprocess.TimeoutExpired:
        check(False, f"the renderer did not end after {what}")


def find_window(env):
    code, fields = probe(env, "wait-shown", RENDERER_TITLE, 60000, timeout=120)
    check(code == 0, f"no top-level window titled with the renderer's bytes: {fields}")
    return fields


def check_window(fields):
    check(fields["class"] == RENDERER_TITLE and fields["title"] == RENDERER_TITLE,
          f"class/title bytes {fields['class']}/{fields['title']}")
    style, exstyle = int(fields["style"], 16), int(fields["exstyle"], 16)
    check(style & WS_POPUP and style & WS_VISIBLE, f"not a visible popup: style {style:#x}")
    check(not style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME), f"has a frame or parent: {style:#x}")
    check(exstyle & WS_EX_TOPMOST, f"not topmost: exstyle {exstyle:#x}")
    check(fields["parent"] == "0", "not a top-level window")
    check(fields["rect"] == f"0,0,{SCREEN[0]},{SCREEN[1]}" and
          fields["screen"] == f"{SCREEN[0]},{SCREEN[1]}", f"does not cover the screen: {fields}")


def check_flame(display, path, flame_area=SCREEN):
    """The flame's colours everywhere, lit pixels inside `flame_area` (width, height from the
    top-left corner) and black outside it."""
    width, height, pixels = capture_screen(display, path)
    lit = 0
    for i in range(0, len(pixels), 3):
        red, green, blue = pixels[i], pixels[i + 1], pixels[i + 2]
        check(blue == 0, f"blue {blue} at pixel {i // 3}")
        check(red >= green, f"green {green} above red {red} at pixel {i // 3}")
        x, y = (i // 3) % width, (i // 3) // width
        inside = x < flame_area[0] and y < flame_area[1]
        check(inside or red == 0, f"lit pixel at {x},{y}, outside the primary monitor")
        lit += red > 0
    check(lit > flame_area[0] * flame_area[1] // 20, f"only {lit} lit pixels: no flame on screen")
    return lit


def main():
    with wine_session(True, *SCREEN) as env, scratch_dir() as scratch:
        display = env["DISPLAY"]
        env["WINEDEBUG"] = "-all,warn+debugstr"  # the debug channel, on the renderer's stderr

        # Start-up, window, picture and debug line; the three harmless keys, then Esc.
        log = scratch / "renderer.log"
        with open(log, "w") as stderr, started(["wine", str(RENDERER)], env=env, stdout=subprocess.DEVNULL,
                                               stderr=stderr) as renderer:
            check_window(find_window(env))
            time.sleep(3)
            lit = check_flame(display, scratch / "screen.png")
            check(probe(env, "keys", RENDERER_TITLE, 13, 32, 48)[0] == 0,
                  "could not type Enter, Space, 0")
            time.sleep(2)
            check(renderer.poll() is None and probe(env, "wait-shown", RENDERER_TITLE, 0)[0] == 0,
                  "Enter, Space or 0 ended the renderer")
            check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
            check(wait_exit(renderer, "Esc") == 0, "Esc: exit code not 0")
        match = wait_for(lambda: DEBUG_LINE.search(log.read_text(errors="replace")), 10,
                         what="the pixel-format debug line")
        check(int(match.group(1)) > 0 and int(match.group(2)) in (24, 32), match.group(0))
        print(f"window, flame ({lit} lit pixels), keys and debug line [{match.group(0)}] ok")

        # WM_CLOSE from another process.
        with started(["wine", str(RENDERER)], env=env, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL) as renderer:
            find_window(env)
            check(probe(env, "close", RENDERER_TITLE)[0] == 0, "could not post WM_CLOSE")
            check(wait_exit(renderer, "WM_CLOSE") == 0, "WM_CLOSE: exit code not 0")
            check(probe(env, "wait-gone", RENDERER_TITLE, 10000)[0] == 0,
                  "window still there after WM_CLOSE")

        # Another window becoming active.
        with started(["wine", str(RENDERER)], env=env, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL) as renderer:
            find_window(env)
            code, out = probe(env, "activate-other", RENDERER_TITLE, 30000, timeout=120)
            check(code == 0, f"activating another window did not end the renderer: {out}")
            check(wait_exit(renderer, "losing activation") == 0, "activation loss: exit code not 0")
        print("Esc, WM_CLOSE and activation loss each end it with 0")

    # Two monitors: the window covers the virtual screen, the flame stays on the primary.
    with wine_session(True, *SCREEN, second_head=SECOND_HEAD) as env, scratch_dir() as scratch:
        with started(["wine", str(RENDERER)], env=env, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL) as renderer:
            fields = find_window(env)
            check(fields["monitors"] == "2", f"Wine reports {fields['monitors']} monitors, not 2")
            check(fields["rect"] == fields["virtual"] == "0,0,{},{}".format(*SECOND_HEAD),
                  f"window {fields['rect']} does not cover the virtual screen {fields['virtual']}")
            time.sleep(3)
            lit = check_flame(env["DISPLAY"], scratch / "screen.png", SCREEN)
            check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not type Esc")
            check(wait_exit(renderer, "Esc") == 0, "Esc on two monitors: exit code not 0")
        print(f"two monitors: window {fields['rect']}, flame on the primary only ({lit} lit)")


if __name__ == "__main__":
    sys.exit(main())
