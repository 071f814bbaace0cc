"""flame-still draws a flame: a bright yellow core, orange and red edges, black background, no
blue; and it refuses bad arguments."""

import subprocess

from harness import LINUX_BIN, check, image_pixels, scratch_dir

STILL = str(LINUX_BIN / "src/tools/flame-still")


def main():
    with scratch_dir() as folder:
        picture = folder / "flame.png"
        subprocess.run([STILL, "--frames", "300", "--width", "640", "--height", "480", "--out",
                        str(picture)], check=True, timeout=120)
        width, height, pixels = image_pixels(picture)
        check((width, height) == (640, 480), f"size {width}x{height}")
        triples = [pixels[i:i + 3] for i in range(0, len(pixels), 3)]
        check(all(b == 0 for _, _, b in triples), "blue in the flame")
        check(all(r >= g for r, g, _ in triples), "green above red somewhere")
        black = sum(1 for t in triples if t == b"\0\0\0")
        yellow = sum(1 for r, g, _ in triples if r > 200 and g > 150)
        reddish = sum(1 for r, g, _ in triples if r > 60 and g < r * 0.6)
        print(f"black {black}, yellow {yellow}, red/orange {reddish} of {len(triples)}")
        check(black > len(triples) * 0.2, "the background should be black")
        check(yellow > 200, "no yellow core")
        check(reddish > 2000, "no red edges")
        corners = [triples[0], triples[width - 1], triples[-width], triples[-1]]
        check(all(sum(c) < 30 for c in corners), "corners should be dark")

        result = subprocess.run([STILL, "--width", "-3", "--out", str(picture)], capture_output=True,
                                text=True, timeout=60)
        check(result.returncode == 2 and "--width" in result.stderr, "bad width not refused")
        result = subprocess.run([STILL, "--out", str(folder / "missing" / "x.png")],
                                capture_output=True, text=True, timeout=60)
        check(result.returncode == 1, "an unwritable output must fail")


if __name__ == "__main__":
    main()
