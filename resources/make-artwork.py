#!/usr/bin/env python3
"""Draws the program's artwork and writes the icon and bitmap files beside this script.

Pure Python (no image libraries): the pictures are drawn on small RGBA canvases with
anti-aliased shapes and written as .ico and 24-bit .bmp files. The generated files are
committed, so building the program needs none of this.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "art")


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def blend(self, x, y, rgba, cover=1.0):
        if not (0 <= x < self.w and 0 <= y < self.h) or cover <= 0:
            return
        r, g, b, a = rgba
        a = a / 255.0 * min(cover, 1.0)
        d = self.px[y * self.w + x]
        da = d[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i, c in enumerate((r, g, b)):
            d[i] = int(round((c * a + d[i] * da * (1 - a)) / oa))
        d[3] = int(round(oa * 255))

    def rect(self, x0, y0, x1, y1, rgba):
        """Fills [x0, x1) x [y0, y1) in canvas units, anti-aliased at fractional edges."""
        for y in range(int(y0), int(y1) + 1):
            cy = max(0.0, min(y + 1, y1) - max(y, y0))
            for x in range(int(x0), int(x1) + 1):
                cx = max(0.0, min(x + 1, x1) - max(x, x0))
                self.blend(x, y, rgba, cx * cy)


def scaled(size, draw):
    """Draws a 48-unit design at the given pixel size."""
    c = Canvas(size, size)
    draw(c, size / 48.0)
    return c


def draw_printer(c, s):
    dark, body, light, paper = (60, 64, 72, 255), (112, 120, 134, 255), (196, 202, 212, 255), (255, 255, 255, 255)
    c.rect(14 * s, 4 * s, 34 * s, 20 * s, (150, 150, 150, 255))
    c.rect(15 * s, 5 * s, 33 * s, 20 * s, paper)
    c.rect(5 * s, 18 * s, 43 * s, 36 * s, dark)
    c.rect(6 * s, 19 * s, 42 * s, 35 * s, body)
    c.rect(6 * s, 19 * s, 42 * s, 23 * s, light)
    c.rect(35 * s, 26 * s, 39 * s, 29 * s, (90, 200, 90, 255))
    c.rect(12 * s, 30 * s, 36 * s, 44 * s, (150, 150, 150, 255))
    c.rect(13 * s, 30 * s, 35 * s, 43 * s, paper)
    for i in range(3):
        c.rect(16 * s, (33 + 3 * i) * s, 32 * s, (34 + 3 * i) * s, (120, 140, 190, 255))


def ico_image(c, bpp):
    """One icon image as a BMP-in-ICO entry (32-bit with alpha, or 8-bit paletted)."""
    w, h = c.w, c.h
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray(mask_stride * h)
    for y in range(h):
        for x in range(w):
            if c.px[(h - 1 - y) * w + x][3] < 128:
                mask[y * mask_stride + x // 8] |= 0x80 >> (x % 8)
    if bpp == 32:
        pixels = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = c.px[y * w + x]
                pixels += bytes((b, g, r, a))
        palette = b""
    else:
        colours = quantise(c)
        index = {col: i for i, col in enumerate(colours)}
        palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
        palette += b"\0" * (4 * (256 - len(colours)))
        stride = ((w + 3) // 4) * 4
        pixels = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(nearest(index, colours, c.px[y * w + x]) for x in range(w))
            pixels += row + b"\0" * (stride - w)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(pixels) + len(mask), 0, 0,
                         0 if bpp == 32 else 256, 0)
    return header + palette + bytes(pixels) + bytes(mask)


def quantise(c):
    """A palette of at most 256 colours: the opaque colours, coarsened until they fit."""
    shift = 0
    while True:
        cols = sorted({tuple((v >> shift) << shift for v in p[:3]) for p in c.px if p[3] >= 128})
        if len(cols) <= 255:
            return [(0, 0, 0)] + cols
        shift += 1


def nearest(index, colours, p):
    if p[3] < 128:
        return 0
    key = tuple(p[:3])
    if key in index:
        return index[key]
    best = min(range(1, len(colours)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colours[i], key)))
    index[key] = best
    return best


def write_ico(path, images):
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for c, bpp in images:
        blob = ico_image(c, bpp)
        entries += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
        data += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + data)


def main():
    os.makedirs(OUT, exist_ok=True)
    printer = {size: scaled(size, draw_printer) for size in (48, 32, 16)}
    write_ico(os.path.join(OUT, "printer.ico"),
              [(printer[s], bpp) for s in (48, 32, 16) for bpp in (8, 32)])
    write_ico(os.path.join(OUT, "printer-small.ico"), [(printer[16], 8), (printer[16], 32)])


if __name__ == "__main__":
    main()
