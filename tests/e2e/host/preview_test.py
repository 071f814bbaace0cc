"""Lullvane.scr /p under Wine: the preview fills a 152 x 112 window with the still picture (and
stretches it over a larger one), ends within two seconds of that window's destruction, and ends
at once when the handle is no window."""

import sys
import threading
from pathlib import Path

from harness import (capture_screen, check, image_pixels, probe, scratch_dir, wait_for, windows_path,
                     wine_session)
from host_support import install, require_windows_build

STILL = Path(__file__).resolve().parents[3] / "assets/preview_still.png"
LEFT, TOP = 100, 60


def region(pixels, width, left, top, w, h):
    rows = []
    for y in range(top, top + h):
        start = 3 * (y * width + left)
        rows.append(pixels[start:start + 3 * w])
    return b"".join(rows)


def mean_difference(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def shrunk(pixels, w, h, factor):
    """Averages factor x factor blocks: a picture twice the size back to the still's size."""
    out = bytearray()
    for y in range(0, h, factor):
        for x in range(0, w, factor):
            for channel in range(3):
                total = sum(pixels[3 * ((y + dy) * w + x + dx) + channel]
                            for dy in range(factor) for dx in range(factor))
                out.append(total // (factor * factor))
    return bytes(out)


def captured_preview(env, display, host, folder, width, height):
    """Hosts a preview in a width x height window, captures it, ends it; returns the pixels."""
    capture = folder / f"capture-{width}x{height}"
    capture.mkdir()
    result = {}
    worker = threading.Thread(target=lambda: result.update(run=probe(
        env, "preview", windows_path(host), width, height, LEFT, TOP, "--capture", windows_path(capture),
        timeout=120)))
    worker.start()
    try:
        wait_for(lambda: (capture / "ready").exists() or not worker.is_alive(), 60, what="the preview")
        check((capture / "ready").exists(), f"no preview to capture: {result}")
        screen_w, _, screen = capture_screen(display, capture / "screen.png")
    finally:
        (capture / "done").touch()
        worker.join(timeout=90)
    code, values = result["run"]
    check(values.get("child") == "1", f"{width}x{height}: no preview child window: {values}")
    check(values.get("width") == str(width) and values.get("height") == str(height)
          and values.get("x") == "0" and values.get("y") == "0",
          f"{width}x{height}: the preview does not fill its window: {values}")
    check(code == 0, f"{width}x{height}: the preview did not end after its window went: {values}")
    return region(screen, screen_w, LEFT, TOP, width, height)


def main():
    require_windows_build()
    still_w, still_h, still = image_pixels(STILL)
    check((still_w, still_h) == (152, 112), "the still must be 152 x 112")
    black = bytes(len(still))
    with wine_session() as env, scratch_dir() as folder:
        display = env["DISPLAY"]
        host = install(folder, renderer=None)  # the preview needs no renderer

        exact = captured_preview(env, display, host, folder, 152, 112)
        difference = mean_difference(exact, still)
        print(f"152x112: mean difference to the still {difference:.2f} (black: {mean_difference(black, still):.2f})")
        check(difference < 1.0, "the preview does not show the still edge to edge")

        stretched = captured_preview(env, display, host, folder, 304, 224)
        difference = mean_difference(shrunk(stretched, 304, 224, 2), still)
        print(f"304x224: mean difference of the halved capture to the still {difference:.2f}")
        check(difference < 4.0, "the preview does not stretch the still over a larger window")

        code, values = probe(env, "preview", windows_path(host), 152, 112, 0, 0)
        check(code == 0, f"the embedded preview did not end within 2 s of its window: {values}")
        print(f"destroyed window: the preview ended after {values['end_ms']} ms")

        code, values = probe(env, "preview-bad", windows_path(host))
        check(code == 0, f"/p with a bad handle did not end: {values}")
        print("bad handles: every /p ended at once")


if __name__ == "__main__":
    sys.exit(main())
