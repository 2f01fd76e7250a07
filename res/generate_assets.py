#!/usr/bin/env python3
"""Writes ClumaDeck's pictures into res/assets/, byte by byte.

    python3 res/generate_assets.py            # rewrite every picture in res/assets/
    python3 res/generate_assets.py --out DIR  # write them somewhere else
    python3 res/generate_assets.py --check    # fail if res/assets/ differs from what it writes

Needs only Python 3's standard library. The files are committed; run this after changing
anything under res/artgen/ and commit the results with it. --check compares BMP, ICO and CUR
files byte for byte and PNG files by header and pixel rows (zlib versions may compress the same
rows differently). The resource script (ClumaDeck.rc) names the files; what each one is:
see ALL in artgen/pictures.py.
"""

import argparse
import os
import sys
import tempfile

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artgen import formats, pictures  # noqa: E402

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "assets")


def _same(name, made, committed):
    if name.lower().endswith(".png"):
        return formats.png_pixels(made) == formats.png_pixels(committed)
    return made == committed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=ASSETS, help="output directory (default res/assets)")
    parser.add_argument("--check", action="store_true",
                        help="compare with res/assets instead of writing")
    parser.add_argument("names", nargs="*", help="only these files (default: all)")
    args = parser.parse_args()

    names = args.names or list(pictures.ALL)
    unknown = [n for n in names if n not in pictures.ALL]
    if unknown:
        parser.error("unknown picture(s): " + ", ".join(unknown))

    stale = []
    for name in names:
        make, what = pictures.ALL[name]
        data = make()
        if args.check:
            path = os.path.join(ASSETS, name)
            try:
                with open(path, "rb") as f:
                    committed = f.read()
            except OSError as e:
                stale.append(f"{name}: cannot read ({e.strerror})")
                continue
            if not _same(name, data, committed):
                stale.append(f"{name}: differs from what the generator writes")
            continue
        os.makedirs(args.out, exist_ok=True)
        # Write beside the target and rename, so an interrupted run leaves no half file.
        fd, temp = tempfile.mkstemp(dir=args.out, prefix="." + name)
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.replace(temp, os.path.join(args.out, name))
        print(f"{name:24} {len(data):8} bytes  {what}")

    if stale:
        print("res/assets is out of date; run python3 res/generate_assets.py:", file=sys.stderr)
        for line in stale:
            print("  " + line, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
