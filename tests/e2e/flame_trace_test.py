"""flame-trace over a night's run and after an hour's pause, and flame-trace.exe under Wine
agreeing with it record for record."""

import math
import re

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, started, wine_session

TRACE = str(LINUX_BIN / "src/tools/flame-trace")


def finished(process):
    output = process.communicate(timeout=540)[0].decode()
    check(process.returncode == 0, f"{process.args}: expected exit code 0, saw {process.returncode}")
    return output


def values(text):
    return [pair.split("=") for pair in re.findall(r"\S+=\S+", text)]


# 1,100,000 frames of 1/64 s pass the 16384 s where a single-precision emission clock would stall;
# half a minute of a core, so it runs while the rest is checked.
with started([TRACE, "--frames", "1100000"]) as night:
    with started([TRACE, "--first-dt", "3600", "--frames", "200", "--print", "all"]) as paused:
        after_pause = finished(paused)
    radii = [float(value) for key, value in values(after_pause) if key == "radiusX"]
    visible = sum(radius != 0 for radius in radii)
    finite = all(math.isfinite(float(value)) for _, value in values(after_pause))
    check(finite and len(radii) >= 2000 and visible > len(radii) / 2,
          f"after an hour's pause: expected finite numbers and 2000 or more live particles, most "
          f"visible; saw {len(radii)} live, {visible} visible, all finite: {finite}")

    arguments = ["--frames", "400", "--first-dt", "0.25", "--key", "150:48", "--key", "300:32",
                 "--print", "all"]
    with started([TRACE, *arguments]) as native_run:
        native = finished(native_run)
    with wine_session(with_display=False) as env:
        code, wine = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *arguments], env, 300)
    shape = re.sub(r"=\S+", "=", native)
    check(code == 0 and re.sub(r"=\S+", "=", wine) == shape and shape.count("\nnode ") == 256,
          f"expected flame-trace.exe to end with 0 and print the records flame-trace prints (a "
          f"summary, particles, 256 nodes); saw exit code {code}, {len(wine.splitlines())} lines "
          f"against {len(native.splitlines())}")
    # Integers exactly; floats within a relative 1e-3, as two builds may round differently.
    differing = [(a, b) for (_, a), (_, b) in zip(values(native), values(wine)) if a != b and (
        not re.search(r"[.e]", a + b) or abs(float(a) - float(b)) > 1e-3 * max(1, abs(float(a))))]
    check(not differing, f"expected the same numbers under Wine; native against Wine: "
          f"{differing[:5]}")
    summary = finished(night)
# The flame runs in 500-frame phases, so half the frames emit: 1024 births per second of running
# time, to the particle.
particles = int(re.search(r" particleCount=(\d+)", summary).group(1))
check(" birthCount=8800000 " in summary and particles >= 2000,
      f"a night's run: expected 8800000 births and a nearly full pool, saw {summary}")
print(f"after an hour's pause {visible} of {len(radii)} visible; {len(native.splitlines())} "
      f"records agree under Wine; a night's run: {summary}")
