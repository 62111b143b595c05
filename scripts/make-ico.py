#!/usr/bin/env python3
"""Packs PNG pictures of one icon, each square and at most 256 pixels wide, into a Windows
.ico file that holds them as they are (Windows reads PNG entries since Vista).

Usage: make-ico.py OUT.ico PICTURE.png...
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    pictures = []
    for name in argv[2:]:
        with open(name, "rb") as source:
            data = source.read()
        width, height = png_size(data)
        if width != height or width > 256:
            raise SystemExit(f"{name}: {width}x{height}, not square or wider than 256")
        pictures.append((width, data))
    # Header, then one directory entry per picture, then the pictures; 0 stands for 256.
    out = struct.pack("<HHH", 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    for width, data in pictures:
        side = width % 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in pictures:
        out += data
    with open(argv[1], "wb") as target:
        target.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
