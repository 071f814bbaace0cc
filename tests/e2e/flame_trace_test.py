"""flame-trace over a night's run and after an hour's pause: emission keeps its rate, the flame
comes back, every number stays finite; and flame-trace.exe under Wine agrees with it."""

import math
import re
import sys

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, started, wine_session

TRACE = str(LINUX_BIN / "src/tools/flame-trace")


def finished(process, what):
    """The output of a flame-trace run, which must end with 0."""
    output, _ = process.communicate(timeout=540)
    check(process.returncode == 0, f"{what}: expected exit code 0, saw {process.returncode}")
    return output.decode()


def trace(*arguments):
    with started([TRACE, *arguments]) as process:
        return finished(process, f"flame-trace {' '.join(arguments)}")


def agree(a, b):
    """The same text; for floats, within a relative 1e-3, as two builds may round differently."""
    if a == b:
        return True
    if "." not in a + b and "e" not in a + b:  # integers differ
        return False
    x, y = float(a), float(b)
    return abs(x - y) <= 1e-3 * max(1.0, abs(x), abs(y))


def check_after_pause():
    output = trace("--first-dt", "3600", "--frames", "200", "--print", "all")
    finite = all(math.isfinite(float(value)) for value in re.findall(r"=(\S+)", output))
    radii = [float(radius) for radius in re.findall(r" radiusX=(\S+)", output)]
    visible = sum(1 for radius in radii if radius != 0)
    check(finite and len(radii) >= 2000 and visible > len(radii) / 2,
          f"after an hour's pause: expected finite numbers, 2000 or more live particles, most of "
          f"them visible; saw {len(radii)} live, {visible} visible, all finite: {finite}")
    print(f"after an hour's pause: {len(radii)} live, {visible} visible, all numbers finite")


def check_wine_agrees():
    """The same records with the same keys in the same order, and values that agree."""
    arguments = ["--frames", "400", "--first-dt", "0.25", "--key", "150:48", "--key", "300:32",
                 "--print", "all"]
    native = trace(*arguments)
    with wine_session(with_display=False) as env:
        code, wine = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *arguments], env, 300)
    shape = re.sub(r"=\S+", "=", native)
    check(code == 0 and re.sub(r"=\S+", "=", wine) == shape and shape.count("\nnode ") == 256,
          f"expected flame-trace.exe to end with 0 and print the records flame-trace prints (a "
          f"summary, particles, 256 nodes); saw exit code {code}, {len(wine.splitlines())} "
          f"lines against {len(native.splitlines())}")
    differing = [(a, b) for a, b in zip(re.findall(r"\S+=\S+", native),
                                        re.findall(r"\S+=\S+", wine))
                 if not agree(a.split("=")[1], b.split("=")[1])]
    check(not differing, f"expected the same simulation under Wine; native against Wine: "
          f"{differing[:5]}")
    print(f"{len(native.splitlines())} records agree natively and under Wine")


def main():
    # 1,100,000 frames of 1/64 s: 17187.5 s, past the 16384 s where a single-precision emission
    # clock stalls. It takes half a minute of a core: it runs while the rest is checked.
    with started([TRACE, "--frames", "1100000"]) as night:
        check_after_pause()
        check_wine_agrees()
        summary = finished(night, "a night's run")
    # The flame runs in 500-frame phases, so half the frames emit: 1024 births per second of
    # running time, to the particle.
    particles = int(re.search(r" particleCount=(\d+)", summary).group(1))
    check(" birthCount=8800000 " in summary and particles >= 2000,
          f"a night's run: expected 8800000 births and a nearly full pool, saw {summary}")
    print("a night's run:", summary)


if __name__ == "__main__":
    sys.exit(main())
