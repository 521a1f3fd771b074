#!/usr/bin/env python3
"""Writes the program's neutral pictures: the window icon (16, 32, 48 and 128 px)
and the banner bitmap (500 x 70 px, 8 bits per pixel, 256-entry palette).
The results are committed under resources/; run again only to change them."""
import math
import struct
import sys
from pathlib import Path

OUT = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources")


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def banner():
    width, height = 500, 70
    # Palette: a soft slate-blue to white ramp.
    dark, light = (70, 96, 130), (255, 255, 255)
    palette = [lerp(dark, light, i / 255) for i in range(256)]
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            t = x / (width - 1)
            wave = 0.5 + 0.5 * math.sin(x / 38.0 + y / 11.0)
            band = 1.0 if abs(y - 35 - 12 * math.sin(x / 60.0)) < 2.5 else 0.0
            v = 0.35 + 0.65 * t
            v = v * (0.93 + 0.07 * wave)
            v = v * (1.0 - 0.35 * band * (1.0 - t))
            row.append(max(0, min(255, round(v * 255))))
        rows.append(bytes(row))
    stride = (width + 3) & ~3
    pixels = b"".join(r + b"\0" * (stride - width) for r in reversed(rows))
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    (OUT / "banner.bmp").write_bytes(head + info + pal + pixels)


def icon_image(size):
    """32-bit BGRA icon image: a slate disc with two white arrows following each other."""
    px = []
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy) / (size / 2)
            alpha = max(0.0, min(1.0, (1.0 - r) * size / 2))
            color = lerp((60, 90, 130), (110, 150, 190), y / max(1, size - 1))
            ang = math.atan2(dy, dx)
            ring = abs(r - 0.58) < 0.12 and not (0.0 < ang < 0.5 or -math.pi < ang < -math.pi + 0.5)
            if ring:
                color = (250, 250, 250)
            px.append((color, round(alpha * 255)))
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            (r, g, b), a = px[y * size + x]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        bits = bytearray(mask_stride)
        for x in range(size):
            if px[y * size + x][1] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def icon():
    sizes = [16, 32, 48, 128]
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    (OUT / "FollowKelvaro.ico").write_bytes(out + b"".join(images))


if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    banner()
    icon()
