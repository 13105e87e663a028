#!/usr/bin/env python3
"""Draws Kestrune's icon: a kestrel's wing over a dark blue disc, 32 x 32 at 24 bits per pixel.
Writes src/app/resources/kestrune.ico (run again after changing the drawing)."""
import math
import struct
from pathlib import Path

SIZE = 32


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    r = math.hypot(x - cx, y - cy)
    if r > 15.5:
        return None  # outside the disc: transparent through the mask
    # A wing: a crescent sweeping from the lower left to the upper right.
    outer = math.hypot(x - 6, y - 30) < 24
    inner = math.hypot(x - 2, y - 34) < 22
    if outer and not inner and y < 26:
        return (230, 140, 40)  # rust, the kestrel's back
    # A small eye of a server light in the lower right: green means answering.
    if math.hypot(x - 22, y - 22) < 3.2:
        return (60, 200, 90)
    shade = int(90 - r * 2.5)
    return (20, 40 + shade // 2, 90 + shade)


def main():
    rows = []
    mask_rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up, as bitmaps are stored
        row = b""
        bits = 0
        mask = b""
        for x in range(SIZE):
            color = pixel(x, y)
            transparent = color is None
            r, g, b = color or (0, 0, 0)
            row += bytes((b, g, r))
            bits = (bits << 1) | (1 if transparent else 0)
            if x % 8 == 7:
                mask += bytes((bits,))
                bits = 0
        rows.append(row)
        mask_rows.append(mask + b"\0" * ((4 - len(mask) % 4) % 4))
    xor = b"".join(rows)
    and_mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24,
                                                           len(image), 6 + 16)
    out = Path(__file__).resolve().parent.parent / "src" / "app" / "resources" / "kestrune.ico"
    out.write_bytes(directory + image)


if __name__ == "__main__":
    main()
