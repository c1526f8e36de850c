#!/usr/bin/env python3
"""Draws the program's icon (a blue key cap with a white typing cursor) as a .ico file."""
import struct
import sys


def draw(size):
    px = []
    r = size * 0.22  # corner radius
    for y in range(size):
        row = []
        for x in range(size):
            # Distance outside the rounded square, for the alpha edge.
            cx = min(max(x + 0.5, r), size - r)
            cy = min(max(y + 0.5, r), size - r)
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5 - r
            a = 1.0 if d < -0.5 else (0.0 if d > 0.5 else 0.5 - d)
            t = y / (size - 1)
            rr, gg, bb = int(40 + 30 * (1 - t)), int(90 + 60 * (1 - t)), int(200 + 40 * (1 - t))
            # A white "T": the typing cursor on the key.
            u, v = x / size, y / size
            if (0.25 <= u < 0.75 and 0.22 <= v < 0.34) or (0.44 <= u < 0.56 and 0.22 <= v < 0.78):
                rr = gg = bb = 255
            # A lighter rim along the top edge gives the key its depth.
            elif d > -size * 0.08 and v < 0.5:
                rr, gg, bb = min(255, rr + 50), min(255, gg + 50), min(255, bb + 15)
            row.append((bb, gg, rr, int(255 * a)))
        px.append(row)
    return px


def bmp_entry(size):
    px = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = b"".join(bytes(p) for row in reversed(px) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    return header + data + mask


def main(out):
    sizes = [32, 16]
    images = [bmp_entry(s) for s in sizes]
    head = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    entries = b""
    for s, img in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(out, "wb") as f:
        f.write(head + entries + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
