"""The cross-built flame-trace.exe under Wine gives the same simulation as the native one."""

import subprocess
import sys

from harness import LINUX_BIN, WINDOWS_BIN, check, run_wine, wine_session

FRAMES = "400"
TOLERANCE = 1e-3


def records(output):
    lines = output.replace("\r", "").strip().split("\n")
    parsed = []
    for line in lines:
        kind, *pairs = line.split(" ")
        parsed.append((kind, dict(pair.split("=", 1) for pair in pairs)))
    return parsed


def close(a, b):
    x, y = float(a), float(b)
    return abs(x - y) <= TOLERANCE * max(1.0, abs(x), abs(y))


def main():
    arguments = ["--frames", FRAMES, "--first-dt", "0.25", "--key", "150:48", "--key", "300:32",
                 "--print", "all"]
    native = subprocess.run([str(LINUX_BIN / "src/tools/flame-trace"), *arguments], check=True,
                            capture_output=True, text=True, timeout=120).stdout
    with wine_session(with_display=False) as env:
        code, wine = run_wine([WINDOWS_BIN / "src/tools/flame-trace.exe", *arguments], env, 300)
    check(code == 0, f"flame-trace.exe exited with {code}")
    native_records, wine_records = records(native), records(wine)
    check(len(native_records) == len(wine_records),
          f"record counts differ: native {len(native_records)}, wine {len(wine_records)}")
    check(native_records[0][0] == "summary" and len(native_records) > 1 + 256,
          "expected a summary, particles and 256 nodes")
    worst = 0.0
    for (kind_n, fields_n), (kind_w, fields_w) in zip(native_records, wine_records):
        check(kind_n == kind_w and fields_n.keys() == fields_w.keys(), f"record shape differs: {kind_n}")
        for key in fields_n:
            a, b = fields_n[key], fields_w[key]
            if "." in a or "e" in a or "." in b or "e" in b:
                check(close(a, b), f"{kind_n} {key}: native {a}, wine {b}")
                worst = max(worst, abs(float(a) - float(b)))
            else:
                check(a == b, f"{kind_n} {key}: native {a}, wine {b}")
    print(f"{len(native_records)} records agree; largest float difference {worst:.3g}")


if __name__ == "__main__":
    sys.exit(main())
