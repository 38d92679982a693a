#!/usr/bin/env python3
"""Makes a Windows icon file (.ico) from a pixel source: a palette of one-letter colours
and 16 rows of 16 letters ("." is transparent). The icon holds the 16x16 image and a
32x32 one of each pixel doubled, both as 32-bit images with their transparency mask, the
form every Windows version reads.

    make-ico.py SOURCE.txt TARGET.ico
"""

import struct
import sys

SIZE = 16


def read_source(path):
    palette = {".": (0, 0, 0, 0)}
    rows = []
    for line in open(path, encoding="ascii").read().splitlines():
        line = line.rstrip()
        if not line or line.startswith("#"):
            continue
        if "=" in line:  # "G = 2e9e3e"
            letter, colour = (part.strip() for part in line.split("=", 1))
            rgb = bytes.fromhex(colour)
            palette[letter] = (rgb[0], rgb[1], rgb[2], 255)
        else:
            rows.append(line)
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit("%s: %d rows of %d letters expected" % (path, SIZE, SIZE))
    return [[palette[letter] for letter in row] for row in rows]


def scaled(pixels, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in pixels for _ in range(factor)]


def image(pixels):
    """A BITMAPINFOHEADER (height doubled for the mask), the colour rows bottom-up in
    blue, green, red, alpha, then the 1-bit mask rows (1: transparent), each padded to 32 bits."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (mask_row_bytes * 8 - 1 - x)
        mask += bits.to_bytes(mask_row_bytes, "big")
    return header + colour + mask


def main(source, target):
    pixels = read_source(source)
    images = [image(pixels), image(scaled(pixels, 2))]
    sizes = [SIZE, SIZE * 2]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for data, size in zip(images, sizes):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(target, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(*sys.argv[1:3])
