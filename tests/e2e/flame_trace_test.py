"""flame-trace over a night's run, and after an hour's pause natively and as flame-trace.exe under
Wine, which agrees with it record for record."""

import math, re

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, started, wine_session

PAUSE = ["--first-dt", "3600", "--frames", "200", "--print", "all"]
TRACE = LINUX_BIN / "src/tools/flame-trace"

def finished(process):
    output = process.communicate(timeout=540)[0].decode()
    check(process.returncode == 0, f"{process.args}: expected exit code 0, saw {process.returncode}")
    return output

# 1,100,000 frames of 1/64 s pass the 16384 s where a single-precision emission clock would stall;
# half a minute of a core, so it runs while the rest is checked.
with started([TRACE, "--frames", "1100000"]) as night, started([TRACE, *PAUSE]) as paused:
    native = finished(paused)
    with wine_session(with_display=False) as env:
        code, wine = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *PAUSE], env, 300)
    summary = finished(night)
pairs, wine_pairs = re.findall(r"(\S+)=(\S+)", native), re.findall(r"(\S+)=(\S+)", wine)
radii = [float(value) for key, value in pairs if key == "radiusX"]
visible = sum(radius != 0 for radius in radii)
check(all(math.isfinite(float(value)) for _, value in pairs) and len(radii) >= 2000 and
      visible > len(radii) / 2, f"after an hour's pause: expected finite numbers and 2000 or more "
      f"live particles, most visible; saw {len(radii)} live, {visible} visible")
# Integers exactly; floats within a relative 1e-3, as two builds may round differently.
differing = [(a, b) for (key, a), (other, b) in zip(pairs, wine_pairs) if key != other or a != b
             and (not re.search(r"[.e]", a + b) or abs(float(a) - float(b)) > 1e-3 * max(1, abs(
                 float(a))))]
check(code == 0 and len(pairs) == len(wine_pairs) and not differing, f"expected flame-trace.exe to "
      f"end with 0 and print the numbers flame-trace prints; saw exit code {code}, {len(wine_pairs)} "
      f"numbers against {len(pairs)}, native against Wine: {differing[:5]}")
# The flame runs in 500-frame phases, so half the frames emit: 1024 births per second of running
# time, to the particle.
check(" birthCount=8800000 " in summary and int(re.search(r"particleCount=(\d+)", summary)[1]) >=
      2000, f"a night's run: expected 8800000 births and a nearly full pool, saw {summary}")
print(f"after an hour's pause {visible} of {len(radii)} visible, {len(pairs)} numbers agree under "
      f"Wine; a night's run: {summary}")
