"""Lullvane.scr and its music under Wine, in one session, from a missing renderer to a slow one."""

import re, shutil, subprocess, sys, time
from pathlib import Path

from harness import (PROBE, PRODUCT_TITLE, QUIET, RENDERER_TITLE, SHOW_TITLE, WINDOWS_BIN, capture_screen,
                     check, exit_code, image_pixels, probe, processes_running_from, run_probe, scratch_dir, started,
                     wait_for, windows_path, wine_session)

HOST, RENDERER = WINDOWS_BIN / "src/scr/Lullvane.scr", WINDOWS_BIN / "src/renderer_win32/Lullvane.dll"
MESSAGE = "Lullvane.dll が同じﾌｫﾙﾀﾞに見つかりません！"
OPEN_MP3 = r'open "C:\no such folder\曲 missing.mp3" type MPEGVideo Alias MP3Play'
# What each kind of MCI step tells with no CD drive: code and Wine's text, the code, the watch off.
TOLD = {"send": r"[1-9]\d*\t(?!Error \().+", "query": r"Error:[1-9]\d*", "cd": "0\n0\n0", "mp3": "", "wav": ""}

def music(env):
    steps = ["send:open cdaudio", f"send:{OPEN_MP3}", "query:status cdaudio current track", "cd:3",
             r"mp3:C:\曲.mp3", r"wav:C:\音.wav"]
    code, output = run_probe(env, "mci", *steps, timeout=180)
    lines = [line.split("\t", 2) for line in output.splitlines()]
    check(code == 0 and [step for step, what, _ in lines if what == "done"] == steps, f"want {steps}: {output}")
    for step in steps:
        told = "\n".join(text for name, what, text in lines if (name, what) == (step, "result"))
        [ms] = [int(text) for name, what, text in lines if (name, what) == (step, "done")]
        want = TOLD[step.split(":")[0]]
        check(ms < 20000 and re.fullmatch(want, told), f"{step}: want {want!r} in 20 s, saw {told!r} in {ms} ms")

def preview(env, host, *arguments, timeout=60):
    code, values = probe(env, "preview", windows_path(host), *arguments, timeout=timeout)
    check(code == 0, f"preview {arguments}: want each to end in time, as a preview or refused: {values}")

def preview_picture(env, host, width, height):  # every (width // 152)-th pixel
    command = ["wine", str(PROBE), "preview", windows_path(host), *map(str, (width, height, 100, 60, 1))]
    with scratch_dir() as capture, started([*command, "--capture", windows_path(capture)], env=env) as running:
        wait_for(lambda: (capture / "ready").exists() or running.poll() is not None, 60, what="a preview")
        screen_w, _, screen = capture_screen(env["DISPLAY"], capture / "screen.png")
        (capture / "done").touch()
        check(exit_code(running, "the preview", 90) == 0, f"{width}x{height}: want a preview filling its window")
    return bytes(screen[3 * (y * screen_w + x) + c] for y in range(60, 60 + height, width // 152)
                 for x in range(100, 100 + width, width // 152) for c in range(3))

def end_with_escape(env, running, folder):  # then no process left whose command line names `folder`
    check(probe(env, "keys", RENDERER_TITLE, 27)[0] == 0, "could not press Esc on the renderer")
    pressed = time.monotonic()
    code, took = exit_code(running, "the host after Esc", 10), time.monotonic() - pressed
    check(code == 0 and took < 2.0, f"want the host ended with 0 within 2 s of Esc: {code} after {took:.2f} s")
    wait_for(lambda: not processes_running_from(folder), 10, what="the renderer's process to end")

def main():
    check(all(path.exists() for path in (HOST, PROBE, RENDERER)), "missing programs: build the windows preset")
    _, _, still = image_pixels(Path(__file__).resolve().parents[3] / "assets/preview_still.png")
    with wine_session() as env, scratch_dir() as folder:
        music(env)
        host = shutil.copy(HOST, folder / "Lullvane.scr")
        for switch in ("/s", "/c"):
            with started(["wine", str(host), switch], env=env, **QUIET) as running:
                code, box = probe(env, "message-box", PRODUCT_TITLE, 30000)
                seen = (code, bytes.fromhex(box.get("text", "")).decode(), box.get("buttons"), box.get("ok"),
                        box.get("icon"), exit_code(running, f"{switch} after OK", 10))
                check(seen == (0, MESSAGE, "1", "1", "0", 0), f"{switch}: want an OK box {MESSAGE}, then 0: {seen}")
        for width, height, tolerance in ((152, 112, 1.0), (304, 224, 4.0)):
            seen = preview_picture(env, host, width, height)
            difference = sum(abs(a - b) for a, b in zip(seen, still, strict=True)) / len(still)
            check(difference < tolerance, f"{width}: want the still within {tolerance}, saw {difference:.2f}")
        preview(env, host, 152, 112, 0, 0, 200, timeout=900)
        for arguments in ("/p 0", "/p", "/p garbage", "/p:99999999999", "/p 12345678"):
            preview(env, host, 152, 112, 0, 0, 1, "--refused", arguments)
        check(not (folder / "Lullvane.ini").exists(), "reading the settings created the file")
        shutil.copy(RENDERER, folder / "Lullvane.dll")
        with started(["wine", str(host), "/s"], env=env, **QUIET) as running:
            check(probe(env, "wait-window", RENDERER_TITLE, 60000)[0] == 0, "no renderer window")
            code, form = probe(env, "wait-window", SHOW_TITLE, 10000)
            check(code == 0 and form["visible"] == "0", f"want a hidden Torvane2_Main, saw {form}")
            for arguments in (["/s"], ["/c"], ["/S:1"], []):
                start = time.monotonic()
                code = subprocess.run(["wine", str(host), *arguments], env=env, timeout=30, **QUIET).returncode
                took = time.monotonic() - start
                check(code == 0 and took < 10, f"second start {arguments}: want 0 at once: {code} after {took:.1f} s")
            preview(env, host, 152, 112, 0, 0, 1, "--refused")
            count = probe(env, "count", RENDERER_TITLE)[1].get("count")
            check(count == "1" and running.poll() is None, f"want the first show alone: {count} renderers")
            end_with_escape(env, running, folder)
        shutil.copy(PROBE, folder / "Lullvane.dll")  # a renderer that opens its window 2.5 s late
        slow = dict(env, LULLVANE_PROBE_COMMAND=f"start-late 2500 {windows_path(RENDERER)}")
        with started(["wine", str(host)], env=slow, **QUIET) as running:
            shown = probe(env, "wait-shown", RENDERER_TITLE, 30000)[0] == 0
            check(shown and running.poll() is None, "want the show to wait for a slow renderer, it gave up")
            end_with_escape(env, running, folder)

if __name__ == "__main__":
    sys.exit(main())
