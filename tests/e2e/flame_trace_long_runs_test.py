"""flame-trace over a night's run and after a long pause: emission keeps its rate, the flame comes
back, and every number stays finite."""

import math
import subprocess

from harness import LINUX_BIN, check

TRACE = str(LINUX_BIN / "src/tools/flame-trace")


def trace(*arguments):
    output = subprocess.run([TRACE, *arguments], check=True, capture_output=True, text=True,
                            timeout=300).stdout
    return [dict(pair.split("=", 1) for pair in line.split(" ")[1:]) for line in output.splitlines()]


def main():
    # 1,100,000 frames of 1/64 s: 17187.5 s, past the 16384 s where a single-precision emission
    # clock stalls. The flame runs in 500-frame phases, so half the frames emit: 1024 births per
    # second of running time, to the particle.
    summary = trace("--frames", "1100000")[0]
    print("long run:", summary)
    running_seconds = 550000 / 64
    check(int(summary["birthCount"]) == round(running_seconds * 1024),
          f"births fell behind: {summary['birthCount']}")
    check(int(summary["particleCount"]) >= 2000, "the pool should be close to full")

    records = trace("--first-dt", "3600", "--frames", "200", "--print", "all")
    summary, particles = records[0], records[1:-256]
    print("after an hour's delta:", summary)
    numbers = [float(value) for record in records for value in record.values()]
    check(all(math.isfinite(value) for value in numbers), "non-finite numbers after a long pause")
    check(len(particles) >= 2000, f"only {len(particles)} live particles")
    visible = sum(1 for particle in particles if float(particle["radiusX"]) != 0)
    print(f"{len(particles)} live, {visible} visible")
    check(visible > len(particles) / 2, "most particles should be visible")


if __name__ == "__main__":
    main()
