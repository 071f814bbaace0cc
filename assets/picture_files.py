"""What the picture generators share: write their files beside them, or with --check report the
ones whose committed bytes differ from what the generator draws now."""

import sys
from pathlib import Path


def write_or_check(generator_file, usage, pictures):
    """`pictures` maps file names to functions that draw their bytes."""
    arguments = sys.argv[1:]
    check = arguments == ["--check"]
    if arguments and not check:
        sys.exit(usage)
    folder = Path(generator_file).resolve().parent
    stale = []
    for name, draw in pictures.items():
        data = draw()
        path = folder / name
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.write_bytes(data)
    if stale:
        sys.exit(f"stale pictures (run {Path(generator_file).name}): {', '.join(stale)}")
