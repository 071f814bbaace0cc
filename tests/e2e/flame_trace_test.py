"""flame-trace over a night's run and after an hour's pause: emission keeps its rate, the flame
comes back, every number stays finite; and the cross-built flame-trace.exe under Wine gives the
same simulation as the native one."""

import math
import subprocess
import sys

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, wine_session

TRACE = str(LINUX_BIN / "src/tools/flame-trace")
TOLERANCE = 1e-3  # relative, for floats: the two builds may round differently


def records(output):
    """(kind, {key: value}) for each line of flame-trace's output."""
    parsed = []
    for line in output.splitlines():
        kind, *pairs = line.split(" ")
        parsed.append((kind, dict(pair.split("=", 1) for pair in pairs)))
    return parsed


def trace(*arguments):
    return records(subprocess.run([TRACE, *arguments], check=True, capture_output=True, text=True,
                                  timeout=540).stdout)


def check_wine_agrees():
    arguments = ["--frames", "400", "--first-dt", "0.25", "--key", "150:48", "--key", "300:32",
                 "--print", "all"]
    native = trace(*arguments)
    with wine_session(with_display=False) as env:
        code, output = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *arguments], env, 300)
    check(code == 0, f"flame-trace.exe: expected exit code 0, saw {code}")
    wine = records(output)
    shape = [(kind, list(fields)) for kind, fields in native]
    check(shape == [(kind, list(fields)) for kind, fields in wine] and len(native) > 1 + 256,
          f"expected the same records (a summary, particles, 256 nodes) natively and under Wine; "
          f"saw {len(native)} and {len(wine)}")
    worst = 0.0
    for (kind, ours), (_, theirs) in zip(native, wine):
        for key, a in ours.items():
            b = theirs[key]
            if a.lstrip("-").isdigit() and b.lstrip("-").isdigit():
                check(a == b, f"{kind} {key}: native {a}, under Wine {b}")
            else:
                difference = abs(float(a) - float(b))
                check(difference <= TOLERANCE * max(1.0, abs(float(a)), abs(float(b))),
                      f"{kind} {key}: native {a}, under Wine {b}")
                worst = max(worst, difference)
    print(f"{len(native)} records agree natively and under Wine; largest float difference {worst:.3g}")


def main():
    # 1,100,000 frames of 1/64 s: 17187.5 s, past the 16384 s where a single-precision emission
    # clock stalls. The flame runs in 500-frame phases, so half the frames emit: 1024 births per
    # second of running time, to the particle.
    summary = trace("--frames", "1100000")[0][1]
    check(int(summary["birthCount"]) == round(550000 / 64 * 1024)
          and int(summary["particleCount"]) >= 2000,
          f"a night's run: expected 8800000 births and a nearly full pool, saw {summary}")
    print("a night's run:", summary)

    after_pause = trace("--first-dt", "3600", "--frames", "200", "--print", "all")
    numbers = [float(value) for _, fields in after_pause for value in fields.values()]
    particles = [fields for kind, fields in after_pause if kind == "particle"]
    visible = sum(1 for particle in particles if float(particle["radiusX"]) != 0)
    check(all(math.isfinite(number) for number in numbers) and len(particles) >= 2000
          and visible > len(particles) / 2,
          f"after an hour's pause: expected finite numbers and 2000 or more live particles, most "
          f"of them visible; saw {len(particles)} live, {visible} visible, finite: "
          f"{all(math.isfinite(number) for number in numbers)}")
    print(f"after an hour's pause: {len(particles)} live, {visible} visible, all numbers finite")
    check_wine_agrees()


if __name__ == "__main__":
    sys.exit(main())
