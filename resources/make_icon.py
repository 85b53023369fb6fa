#!/usr/bin/env python3
"""Draws Tavrilo's icon, a red envelope with a gold seal and a mouse pointer, into tavrilo.ico.

Run from anywhere: python3 resources/make_icon.py. The images are 32-bit BGRA bitmaps at
16, 32 and 48 pixels, drawn from the same shapes at each size.
"""
import os
import struct

RED = (0xD8, 0x1E, 0x1E)
DARK_RED = (0x9E, 0x12, 0x12)
GOLD = (0xF5, 0xC5, 0x42)
WHITE = (0xFF, 0xFF, 0xFF)
BLACK = (0x20, 0x20, 0x20)

# The pointer arrow on a 12 x 12 grid: its outline and its inside.
ARROW = [
    "X...........",
    "XX..........",
    "XoX.........",
    "XooX........",
    "XoooX.......",
    "XooooX......",
    "XoooooX.....",
    "XooooooX....",
    "XooooXXXX...",
    "XooXoX......",
    "XoX.XoX.....",
    "XX..XXX.....",
]


def pixel(u, v):
    """Colour (r, g, b, a) at the point (u, v) of the unit square, or None where transparent."""
    # The pointer, in the lower right quarter.
    au, av = (u - 0.55) / 0.42, (v - 0.50) / 0.46
    if 0 <= au < 1 and 0 <= av < 1:
        cell = ARROW[int(av * 12)][int(au * 12)]
        if cell == "X":
            return BLACK + (255,)
        if cell == "o":
            return WHITE + (255,)
    # The envelope: a tall red card with a darker flap and a gold seal.
    if 0.14 <= u <= 0.76 and 0.06 <= v <= 0.94:
        if (u - 0.45) ** 2 + (v - 0.40) ** 2 <= 0.11 ** 2:
            return GOLD + (255,)
        flap = 0.06 + 0.30 * (1 - abs(u - 0.45) / 0.31)
        return (DARK_RED if v <= flap else RED) + (255,)
    return None


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bitmaps are stored bottom-up
        row = b""
        for x in range(size):
            c = pixel((x + 0.5) / size, (y + 0.5) / size)
            r, g, b, a = c if c else (0, 0, 0, 0)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # alpha decides; the AND mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main():
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tavrilo.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
