"""Two hundred rounds of /p start and destruction of the preview's window under Wine: every
round's preview ends within two seconds, and no host process is left behind."""

import sys
import time

from harness import check, probe, scratch_dir, wait_for, windows_path, wine_session
from host_support import install, processes_running_from, require_windows_build

ROUNDS = 200


def main():
    require_windows_build()
    with wine_session() as env, scratch_dir() as folder:
        host = install(folder, renderer=None)
        start = time.monotonic()
        code, values = probe(env, "preview-loop", windows_path(host), ROUNDS, timeout=900)
        took = time.monotonic() - start
        print(f"{values.get('rounds')} rounds in {took:.1f} s, failures {values.get('failures')}, "
              f"slowest start {values.get('slowest_child_ms')} ms, slowest end {values.get('slowest_end_ms')} ms")
        check(code == 0 and values.get("rounds") == str(ROUNDS), f"the loop failed: {values}")
        wait_for(lambda: not processes_running_from(folder), 10, what="no host process left")


if __name__ == "__main__":
    sys.exit(main())
