"""Lullvane.scr /s under Wine: it starts the renderer, keeps its hidden "Torvane2_Main" window,
turns a second start away, and ends soon after the renderer closes on Esc. A renderer that is
slow to open its window keeps the show alive."""

import sys
import time

from harness import (PROBE, RENDERER_TITLE, SHOW_TITLE, check, probe, scratch_dir, wait_for,
                     windows_path, wine_session)
from host_support import (REAL_RENDERER, install, processes_running_from, require_windows_build,
                          run_host, start_host, wait_until_ended)


def renderer_count(env):
    code, values = probe(env, "count", RENDERER_TITLE)
    check(code == 0, "probe count failed")
    return int(values["count"])


def end_with_escape(env, host, folder):
    code, _ = probe(env, "keys", RENDERER_TITLE, 27)
    check(code == 0, "could not press Esc on the renderer")
    pressed = time.monotonic()
    exit_code = wait_until_ended(host, 10)
    took = time.monotonic() - pressed
    check(renderer_count(env) == 0, "the renderer's window is still there")
    check(exit_code == 0, f"the host exited with {exit_code}")
    wait_for(lambda: not processes_running_from(folder), 10, what="the renderer's process to end")
    return took


def show_and_second_starts(env):
    with scratch_dir() as folder:
        host_path = install(folder)
        with start_host(host_path, "/s", env=env) as host:
            code, values = probe(env, "wait-window", RENDERER_TITLE, 60000)
            check(code == 0, "the renderer's window did not appear")
            code, values = probe(env, "wait-window", SHOW_TITLE, 10000)
            check(code == 0, "no window titled Torvane2_Main")
            check(values["visible"] == "0", "the show form must stay hidden")

            # A second start of any mode ends at once and starts nothing.
            for arguments in (["/s"], ["/c"], ["/S:1"], []):
                exit_code, took = run_host(env, host_path, *arguments)
                check(exit_code == 0 and took < 10, f"second start {arguments}: {exit_code}, {took:.1f} s")
            code, values = probe(env, "preview", windows_path(host_path), 152, 112, 0, 0, "--refused")
            check(code == 0, f"second start /p drew a preview or did not end: {values}")
            count = renderer_count(env)
            check(count == 1, f"{count} renderer windows after the second starts")
            check(host.poll() is None, "the first show ended")

            took = end_with_escape(env, host, folder)
            print(f"/s: host ended {took:.2f} s after Esc to the renderer")
            check(took < 2.0, f"the host took {took:.2f} s to follow the renderer")


def slow_renderer(env):
    """A renderer taking 2.5 s to open its window, started without arguments: the probe, installed
    as Lullvane.dll, starts the real renderer 2.5 s late."""
    with scratch_dir() as folder:
        host_path = install(folder, renderer=PROBE)
        slow = dict(env, LULLVANE_PROBE_COMMAND=f"start-late 2500 {windows_path(REAL_RENDERER)}")
        with start_host(host_path, env=slow) as host:
            time.sleep(2.0)
            check(host.poll() is None, "the host gave up on a renderer that was still starting")
            code, _ = probe(env, "wait-window", RENDERER_TITLE, 30000)
            check(code == 0, "the slow renderer's window did not appear")
            time.sleep(1.0)
            check(host.poll() is None, "the host ended while the renderer ran")
            took = end_with_escape(env, host, folder)
            print(f"slow renderer: host ended {took:.2f} s after Esc")


def main():
    require_windows_build()
    with wine_session() as env:
        show_and_second_starts(env)
        slow_renderer(env)
    print("show mode: ok")


if __name__ == "__main__":
    sys.exit(main())
