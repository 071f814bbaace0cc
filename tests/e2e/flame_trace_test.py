"""flame-trace over a night's run, and after an hour's pause natively and as flame-trace.exe under
Wine, which agrees with it record for record."""

import math, re

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, started, wine_session

PAUSE = ["--first-dt", "3600", "--frames", "200", "--print", "all"]
TRACE = LINUX_BIN / "src/tools/flame-trace"

# A night (half a minute of a core, run meanwhile) passes the 16384 s where a float clock stalls.
with started([TRACE, "--frames", "1100000"]) as night, started([TRACE, *PAUSE]) as paused:
    native = paused.communicate(timeout=540)[0].decode()
    with wine_session(with_display=False) as env:
        code, wine = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *PAUSE], env, 300)
    summary = night.communicate(timeout=540)[0].decode()
pairs, wine_pairs = re.findall(r"(\S+)=(\S+)", native), re.findall(r"(\S+)=(\S+)", wine)
visible = [float(value) != 0 for key, value in pairs if key == "radiusX"]  # one per live particle
check(paused.returncode == 0 and all(math.isfinite(float(value)) for _, value in pairs) and
      sum(visible) > len(visible) / 2 >= 1000, f"after an hour's pause: expected exit code 0, "
      f"finite numbers, 2000 or more live particles, most visible; saw {paused.returncode}, "
      f"{len(visible)} live, {sum(visible)} visible")
# Integers exactly; floats within a relative 1e-3, as two builds may round differently.
differing = [(a, b) for (key, a), (other, b) in zip(pairs, wine_pairs) if key != other or a != b
             and not (re.search(r"[.e]", a + b) and math.isclose(float(a), float(b), rel_tol=1e-3,
                                                                 abs_tol=1e-3))]
check(code == 0 and len(pairs) == len(wine_pairs) and not differing, f"expected flame-trace.exe "
      f"to end with 0 and print what flame-trace prints; saw exit code {code}, {len(wine_pairs)} "
      f"numbers against {len(pairs)}, native against Wine: {differing[:5]}")
# Half the frames emit (500-frame phases): 1024 births per second of running time, exactly.
check(night.returncode == 0 and " birthCount=8800000 " in summary and
      int(re.search(r"particleCount=(\d+)", summary)[1]) >= 2000, f"a night's run: expected exit "
      f"code 0, 8800000 births and a nearly full pool; saw {night.returncode}, {summary}")
