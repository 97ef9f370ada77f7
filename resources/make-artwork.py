#!/usr/bin/env python3
"""Draws the program's artwork and writes the icon and bitmap files into art/.

Pure Python (no image libraries): every picture is drawn on an RGBA canvas from shapes
that are anti-aliased by supersampling, then written as .ico files (32-bit with alpha,
8-bit and 4-bit with a palette and a mask) or .bmp files (8-bit RLE with a palette). The generated files are
committed, so building the program needs none of this. Run it after changing a picture:

    python3 resources/make-artwork.py

The pictures share one palette of greys and one blue, and one light source (from above).
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "art")

SAMPLES = 4  # supersampling grid per pixel and axis

WHITE = (255, 255, 255, 255)
MAGENTA = (255, 0, 255)
BLUE_LIGHT, BLUE, BLUE_DARK = (112, 170, 238, 255), (46, 110, 196, 255), (22, 62, 128, 255)


# ----------------------------------------------------------------------------- canvas

class Canvas:
    """An RGBA picture with straight (not premultiplied) float channels."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(map(float, fill)) for _ in range(w * h)]

    def blend(self, x, y, rgba, cover):
        r, g, b, a = rgba
        a = a / 255.0 * min(cover, 1.0)
        d = self.px[y * self.w + x]
        da = d[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i, c in enumerate((r, g, b)):
            d[i] = (c * a + d[i] * da * (1 - a)) / oa
        d[3] = oa * 255.0

    def fill(self, shape, paint):
        """Paints the shape; paint is an RGBA tuple or a function of the pixel centre."""
        x0, y0, x1, y1 = shape.box
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        step = 1.0 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        total = SAMPLES * SAMPLES
        inside = shape.inside
        for y in range(y0, y1):
            for x in range(x0, x1):
                n = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(x + ox, y + oy):
                            n += 1
                if n:
                    colour = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                    self.blend(x, y, colour, n / total)

    def pixel(self, x, y):
        return tuple(int(round(max(0.0, min(255.0, v)))) for v in self.px[y * self.w + x])

    def flattened(self, background):
        """Opaque RGB rows: the picture composited over a background colour."""
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                a /= 255.0
                row.append(tuple(int(round(c * a + bg * (1 - a))) for c, bg in zip((r, g, b), background)))
            out.append(row)
        return out


class Scaled:
    """Draws shapes measured at 100 % on a canvas k times as large, so a picture for a
    higher display scale has its own detail instead of enlarged pixels."""

    def __init__(self, canvas, k):
        self.canvas, self.k = canvas, k

    def fill(self, shape, paint):
        k, inside = self.k, shape.inside
        box = tuple(v * k for v in shape.box)
        scaled = (lambda x, y: paint(x / k, y / k)) if callable(paint) else paint
        self.canvas.fill(Shape(box, lambda x, y: inside(x / k, y / k)), scaled)


def canvas_at(w, h, k, fill=(0, 0, 0, 0)):
    """A canvas for a w x h picture at scale k, and what its shapes are drawn on."""
    c = Canvas(int(round(w * k)), int(round(h * k)), fill)
    return c, (c if k == 1 else Scaled(c, k))


# ----------------------------------------------------------------------------- shapes

class Shape:
    def __init__(self, box, inside):
        self.box, self.inside = box, inside

    def __sub__(self, other):
        a, b = self.inside, other.inside
        return Shape(self.box, lambda x, y: a(x, y) and not b(x, y))

    def __and__(self, other):
        a, b = self.inside, other.inside
        box = (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
               min(self.box[2], other.box[2]), min(self.box[3], other.box[3]))
        return Shape(box, lambda x, y: a(x, y) and b(x, y))


def rect(x0, y0, x1, y1):
    return Shape((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1)


def rrect(x0, y0, x1, y1, r):
    """A rectangle with corners rounded by radius r."""
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return Shape((x0, y0, x1, y1), inside)


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return Shape((cx - rx, cy - ry, cx + rx, cy + ry),
                 lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0)


def polygon(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        odd = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                odd = not odd
        return odd
    return Shape((min(xs), min(ys), max(xs), max(ys)), inside)


def stroke(points, width):
    """A polyline of the given width with round joins and caps."""
    half = width / 2.0
    segs = list(zip(points, points[1:])) or [(points[0], points[0])]

    def inside(x, y):
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= half * half:
                return True
        return False
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape((min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), inside)


def gear(cx, cy, outer, root, teeth, top_share=0.22, base_share=0.34, phase=0.0):
    """A gear wheel: trapezoid teeth between radius root and outer."""
    pitch = 2 * math.pi / teeth

    def inside(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r <= root:
            return True
        if r > outer:
            return False
        a = (math.atan2(dy, dx) - phase) % pitch
        a = min(a, pitch - a) / pitch  # 0 at a tooth's centre line, 0.5 halfway between teeth
        h = (r - root) / (outer - root)
        return a <= base_share - (base_share - top_share) * h
    return Shape((cx - outer, cy - outer, cx + outer, cy + outer), inside)


def vertical(y0, c0, y1, c1):
    """Paint that runs from colour c0 at y0 to c1 at y1."""
    def paint(x, y):
        t = 0.0 if y1 == y0 else max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return paint


def radial(cx, cy, radius, c0, c1):
    def paint(x, y):
        t = max(0.0, min(1.0, math.hypot(x - cx, y - cy) / radius))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return paint


def grey(v, a=255):
    return (v, v, v, a)


# ----------------------------------------------------------------------------- printer

def draw_printer(c, x, y, size):
    """A desktop printer seen from the front and a little above, in a square of the given
    size at (x, y). At 32 pixels and less the edges stay on whole pixels."""
    u = size / 48.0

    def p(v, axis):
        v = (x if axis == 0 else y) + v * u
        return round(v) if size <= 32 else v

    def R(x0, y0, x1, y1):
        return p(x0, 0), p(y0, 1), p(x1, 0), p(y1, 1)

    outline = grey(70)
    # The sheet waiting in the feeder at the back.
    fx0, fy0, fx1, fy1 = R(13, 3, 35, 18)
    c.fill(rect(fx0, fy0, fx1, fy1), grey(120))
    c.fill(rect(fx0 + 1, fy0 + 1, fx1 - 1, fy1), vertical(fy0, grey(255), fy1, grey(232)))
    for i in range(3):
        lx0, ly0, lx1, ly1 = R(17, 7 + 3 * i, 31 - 4 * (i == 2), 8.2 + 3 * i)
        c.fill(rect(lx0, ly0, lx1, max(ly1, ly0 + 1)), grey(205))
    # Top face, narrower at the back, with the feeder's slot.
    tx0, ty0, tx1, ty1 = R(8, 15, 40, 21)
    bx0, bx1 = p(3, 0), p(45, 0)
    c.fill(polygon([(tx0, ty0), (tx1, ty0), (bx1, ty1), (bx0, ty1)]), outline)
    c.fill(polygon([(tx0 + 1, ty0 + 1), (tx1 - 1, ty0 + 1), (bx1 - 1, ty1), (bx0 + 1, ty1)]),
           vertical(ty0, grey(246), ty1, grey(212)))
    sx0, sy0, sx1, sy1 = R(12, 16.5, 36, 18.5)
    c.fill(rect(sx0, sy0, sx1, max(sy1, sy0 + 1)), grey(95))
    # Front of the body, with a base that sits a little darker.
    ox0, oy0, ox1, oy1 = R(3, 20, 45, 38)
    radius = max(1.0, 2.5 * u)
    c.fill(rrect(ox0, oy0, ox1, oy1, radius), outline)
    c.fill(rrect(ox0 + 1, oy0, ox1 - 1, oy1 - 1, max(0.5, radius - 1)),
           vertical(oy0, grey(222), oy1, grey(158)))
    c.fill(rect(ox0 + 1, oy0, ox1 - 1, oy0 + max(1, u)), grey(250, 200))  # highlight
    if size >= 64:
        c.fill(rect(ox0 + 2, oy1 - 3 * u, ox1 - 2, oy1 - 2.4 * u), grey(120, 90))
    # Control panel with a power light.
    px0, py0, px1, py1 = R(30, 23.5, 41, 28)
    c.fill(rrect(px0, py0, px1, py1, 1.0 * u), grey(96))
    lx, ly = p(38.2, 0), p(25.75, 1)
    c.fill(ellipse(lx, ly, 1.25 * u), radial(lx - 0.3 * u, ly - 0.3 * u, 1.3 * u, (170, 255, 150, 255), (40, 170, 50, 255)))
    for i in range(2):
        bx = p(32 + 2.6 * i, 0)
        c.fill(rrect(bx, py0 + u, bx + 1.6 * u, py1 - u, 0.4 * u), grey(170))
    # Output slot and the printed page coming out of it.
    ux0, uy0, ux1, uy1 = R(8, 29, 40, 32)
    c.fill(rect(ux0, uy0, ux1, uy1), grey(60))
    gx0, gy0, gx1, gy1 = R(12, 30, 36, 46)
    c.fill(rect(gx0, gy0, gx1, gy1), grey(120))
    c.fill(rect(gx0 + 1, gy0, gx1 - 1, gy1 - 1), vertical(gy0, grey(226), gy1, grey(255)))
    for i in range(4):
        lx0, ly0, lx1, ly1 = R(15.5, 34 + 2.6 * i, 32.5 - 5 * (i == 3), 35.2 + 2.6 * i)
        c.fill(rect(lx0, ly0, lx1, max(ly1, ly0 + 1)), (110, 140, 200, 255))


def draw_printer_16(c):
    """The printer at 16 pixels, laid out pixel by pixel so that it stays legible."""
    c.fill(rect(4, 1, 12, 6), grey(120))
    c.fill(rect(5, 2, 11, 6), grey(255))
    c.fill(rect(6, 3, 10, 4), grey(200))
    c.fill(polygon([(3, 5), (13, 5), (15, 7), (1, 7)]), grey(70))
    c.fill(rect(3, 6, 13, 7), grey(236))
    c.fill(rrect(1, 7, 15, 13, 1.0), grey(70))
    c.fill(rect(2, 7, 14, 12), vertical(7, grey(224), 12, grey(170)))
    c.fill(rect(11, 8, 13, 9), (40, 170, 50, 255))
    c.fill(rect(3, 10, 13, 11), grey(60))
    c.fill(rect(4, 10, 12, 16), grey(120))
    c.fill(rect(5, 10, 11, 15), grey(255))
    c.fill(rect(6, 12, 10, 13), (100, 130, 196, 255))


def printer_icon(size):
    c = Canvas(size, size)
    if size == 16:
        draw_printer_16(c)
    else:
        draw_printer(c, 0, 0, size)
    return c


def printer_bitmap(k=1):
    """Bitmap 136: a large printer on magenta, the colour that is drawn transparent."""
    c, d = canvas_at(108, 105, k)
    draw_printer(d, 2, 0, 104)
    return c


# ----------------------------------------------------------------------------- gear

def draw_gear(c, size):
    u = size / 48.0
    cx = cy = size / 2.0
    teeth = 8
    outer, root, hole = 22.5 * u, 16.5 * u, 6.5 * u
    rim = max(1.0, 1.3 * u)
    phase = math.pi / teeth
    body = gear(cx, cy, outer, root, teeth, phase=phase) - ellipse(cx, cy, hole)
    c.fill(body, BLUE_DARK)
    inner = gear(cx, cy, outer - rim, root - rim, teeth, phase=phase) - ellipse(cx, cy, hole + rim)
    c.fill(inner, vertical(cy - outer, BLUE_LIGHT, cy + outer, BLUE))
    if size > 16:
        # A raised ring around the hub catches the light.
        ring = ellipse(cx, cy, 12 * u) - ellipse(cx, cy, 10.5 * u)
        c.fill(ring, (28, 78, 160, 150))
        c.fill(ellipse(cx, cy, 10.5 * u) - ellipse(cx, cy, hole + rim), vertical(cy - 10 * u, (150, 196, 246, 255), cy + 10 * u, (74, 136, 214, 255)))


def gear_icon(size):
    c = Canvas(size, size)
    draw_gear(c, size)
    return c


# ----------------------------------------------------------------------------- emblem

def emblem_bitmap(k=1):
    """Bitmap 134: Morrowick Design's emblem, pale like a watermark, in the 74 x 75 area at
    (16, 0) that the wizard shows in the lower left corner of its strip."""
    c, d = canvas_at(90, 85, k, WHITE)
    cx, cy, r = 16 + 37.0, 37.5, 34.0
    d.fill(ellipse(cx, cy, r) - ellipse(cx, cy, r - 3.2), (222, 230, 241, 255))
    d.fill(ellipse(cx, cy, r - 6) - ellipse(cx, cy, r - 7.2), (232, 238, 246, 255))
    # A monogram M whose middle strokes spread like a kestrel's wings.
    m = [(cx - 17, cy + 15), (cx - 11, cy - 14), (cx, cy + 6), (cx + 11, cy - 14), (cx + 17, cy + 15)]
    d.fill(stroke(m, 6.0), (208, 219, 235, 255))
    d.fill(stroke([(cx - 19, cy + 21), (cx + 19, cy + 21)], 2.4), (222, 230, 241, 255))
    return c


# ----------------------------------------------------------------------------- busy, check, cross

def busy_strip(k=1, frames=12, size=40):
    """Bitmap 138: frames of a spinner side by side; the dark spoke moves clockwise."""
    c, d = canvas_at(size * frames, size, k, WHITE)
    cx = cy = size / 2.0
    for f in range(frames):
        for k in range(12):
            angle = 2 * math.pi * k / 12 - math.pi / 2
            age = (f - k) % 12  # 0: the leading spoke
            t = min(1.0, age / 8.0)
            colour = tuple(a + (b - a) * t for a, b in zip(BLUE, (214, 226, 242, 255)))
            dx, dy = math.cos(angle), math.sin(angle)
            d.fill(stroke([(f * size + cx + 8.5 * dx, cy + 8.5 * dy),
                           (f * size + cx + 15.5 * dx, cy + 15.5 * dy)], 3.6), colour)
    return c


def badge(k, top, bottom, edge, mark):
    c, d = canvas_at(40, 40, k, WHITE)
    d.fill(ellipse(20, 20, 18.5), edge)
    d.fill(ellipse(20, 20, 17.3), vertical(3, top, 37, bottom))
    d.fill(ellipse(20, 13, 13, 8.5) & ellipse(20, 20, 16.3), (255, 255, 255, 56))  # gloss
    for points, width in mark:
        d.fill(stroke(points, width), WHITE)
    return c


def success_image(k=1):
    """Bitmap 139: a white check on a green disc."""
    return badge(k, (104, 200, 100, 255), (34, 138, 52, 255), (26, 106, 40, 255),
                 [([(11.5, 20.5), (17.5, 26.5), (28.5, 13.5)], 4.6)])


def failure_image(k=1):
    """Bitmap 140: a white cross on a red disc."""
    return badge(k, (240, 110, 96, 255), (190, 40, 34, 255), (146, 28, 24, 255),
                 [([(13.5, 13.5), (26.5, 26.5)], 4.6), ([(26.5, 13.5), (13.5, 26.5)], 4.6)])


# ----------------------------------------------------------------------------- file formats

def median_cut(colours, count):
    """At most count representative colours of a list of RGB tuples (with repeats)."""
    boxes = [list(colours)]
    while len(boxes) < count:
        best, axis, spread = None, 0, -1
        for i, box in enumerate(boxes):
            if len(set(box)) < 2:
                continue
            for a in range(3):
                vals = [col[a] for col in box]
                if max(vals) - min(vals) > spread:
                    best, axis, spread = i, a, max(vals) - min(vals)
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda col: col[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(int(round(sum(col[a] for col in box) / len(box))) for a in range(3)) for box in boxes if box]


def icon_pixels(c, bpp):
    """The XOR bitmap (bottom-up) and the palette of one icon image."""
    w, h = c.w, c.h
    rows = [[c.pixel(x, y) for x in range(w)] for y in range(h - 1, -1, -1)]
    if bpp == 32:
        return b"".join(bytes((b, g, r, a)) for row in rows for (r, g, b, a) in row), b""
    opaque = [p[:3] for row in rows for p in row if p[3] >= 128]
    limit = (1 << bpp) - 1  # entry 0 stays black for the transparent pixels
    colours = [(0, 0, 0)] + median_cut(opaque, limit) if len(set(opaque)) > limit else [(0, 0, 0)] + sorted(set(opaque))
    cache = {}

    def index(p):
        if p[3] < 128:
            return 0
        key = p[:3]
        if key not in cache:
            cache[key] = min(range(1, len(colours)),
                             key=lambda i: sum((a - b) ** 2 for a, b in zip(colours[i], key)))
        return cache[key]
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    palette += b"\0" * (4 * ((1 << bpp) - len(colours)))
    stride = ((w * bpp + 31) // 32) * 4
    data = bytearray()
    for row in rows:
        idx = [index(p) for p in row]
        line = bytearray()
        if bpp == 8:
            line = bytearray(idx)
        else:
            for i in range(0, w, 2):
                line.append((idx[i] << 4) | (idx[i + 1] if i + 1 < w else 0))
        data += line + b"\0" * (stride - len(line))
    return bytes(data), palette


def ico_image(c, bpp):
    """One icon image as stored in an .ico file: header, palette, colour bits, AND mask."""
    w, h = c.w, c.h
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray(mask_stride * h)
    for y in range(h):
        for x in range(w):
            if c.pixel(x, h - 1 - y)[3] < 128:
                mask[y * mask_stride + x // 8] |= 0x80 >> (x % 8)
    pixels, palette = icon_pixels(c, bpp)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(pixels) + len(mask), 0, 0,
                         0 if bpp == 32 else 1 << bpp, 0)
    return header + palette + pixels + bytes(mask)


def write_ico(name, images):
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for c, bpp in images:
        blob = write_png(c) if bpp == "png" else ico_image(c, bpp)
        bpp = 32 if bpp == "png" else bpp
        colours = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
        data += blob
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + data)


def rle8(indices):
    """One row of palette indices in BI_RLE8: runs of a repeated index as (count, index),
    other stretches of three or more in absolute mode, each ended by an end-of-line."""
    out, i, n = bytearray(), 0, len(indices)
    while i < n:
        run = 1
        while i + run < n and run < 255 and indices[i + run] == indices[i]:
            run += 1
        if run >= 2 or n - i < 3:
            out += bytes((run, indices[i]))
            i += run
            continue
        j = i + 1  # a literal stretch ends where a run of two begins
        while j < n and j - i < 255 and not (j + 1 < n and indices[j] == indices[j + 1]):
            j += 1
        if j - i < 3:
            out += b"".join(bytes((1, v)) for v in indices[i:j])
        else:
            out += bytes((0, j - i)) + bytes(indices[i:j]) + b"\0" * ((j - i) % 2)
        i = j
    return out + b"\0\0"


def quantized(rows, most):
    """The rows in at most `most` colours (each pixel its nearest), and those colours: a
    large anti-aliased picture then still goes into the file as compressed 8-bit."""
    colours = sorted(set(median_cut([p for row in rows for p in row], most)))
    cache = {}

    def nearest(p):
        if p not in cache:
            cache[p] = min(colours, key=lambda q: sum((a - b) ** 2 for a, b in zip(p, q)))
        return cache[p]
    return [[nearest(p) for p in row] for row in rows], colours


def write_png(c):
    """One RGBA picture as PNG, the form Windows Vista and later read for large icons."""
    import zlib
    raw = b"".join(b"\0" + bytes(v for x in range(c.w) for v in c.pixel(x, y)) for y in range(c.h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", c.w, c.h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_bmp(name, rows, most=256):
    """A bottom-up bitmap file from rows of RGB tuples: 8-bit with a palette of exactly its
    colours and compressed as BI_RLE8 when it has at most 256 of them (the same pixels at a
    fraction of the bytes), 24-bit BI_RGB otherwise."""
    h, w = len(rows), len(rows[0])
    colours = sorted({p for row in rows for p in row})
    if len(colours) > most:
        rows, colours = quantized(rows, most)
    if len(colours) <= 256:
        index = {c: i for i, c in enumerate(colours)}
        bits = b"".join(rle8([index[p] for p in row]) for row in reversed(rows)) + b"\0\1"
        palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(bits), 2835, 2835, len(colours), 0)
    else:
        stride = ((w * 3 + 3) // 4) * 4
        bits = b"".join(b"".join(bytes((b, g, r)) for (r, g, b) in row) + b"\0" * (stride - 3 * w)
                        for row in reversed(rows))
        palette = b""
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + palette + bits)


def keyed(c, key, threshold=0.35, behind=(240, 240, 240)):
    """Rows for a bitmap drawn with a transparent key colour: pixels that are mostly empty
    become the key, the others are composited over a light dialog grey, which suits both
    the white strip and a dialog's face."""
    rows = c.flattened(behind)
    for y in range(c.h):
        for x in range(c.w):
            if c.px[y * c.w + x][3] < threshold * 255:
                rows[y][x] = key
    return rows


# The icon sizes Windows asks for between 100 % and 200 % (and 256 for Explorer), and those
# of the start page's buttons (48 at 100 %, 72 and 96), as PNG,
# which Windows Vista and later read and which takes a fraction of the bytes. The sizes of
# 100 % keep their bitmap images, with palette images for displays of few colours.
ICON_SIZES = [(s, "png") for s in (20, 24, 40, 64, 72, 96, 256)]


def main():
    os.makedirs(OUT, exist_ok=True)
    printer = {s: printer_icon(s) for s in (256, 96, 72, 64, 48, 40, 32, 24, 20, 16)}
    write_ico("printer.ico", [(printer[s], bpp) for s in (48, 32, 16) for bpp in (8, 32)]
              + [(printer[s], bpp) for s, bpp in ICON_SIZES])
    write_ico("printer-small.ico", [(printer[16], 8), (printer[16], 32)]
              + [(printer[s], "png") for s in (20, 24, 32)])
    gears = {s: gear_icon(s) for s in (96, 72, 48, 32, 16)}
    write_ico("gear.ico", [(gears[s], bpp) for s in (48, 32, 16) for bpp in (4, 8, 32)]
              + [(gears[s], "png") for s in (72, 96)])  # only ever on a button
    # Each bitmap at 100 % and at 200 % ("-200"); the program scales between them.
    for k, suffix in ((1, ""), (2, "-200")):
        write_bmp("emblem%s.bmp" % suffix, emblem_bitmap(k).flattened((255, 255, 255)))
        write_bmp("printer%s.bmp" % suffix, keyed(printer_bitmap(k), MAGENTA))
        write_bmp("busy%s.bmp" % suffix, busy_strip(k).flattened((255, 255, 255)))
        write_bmp("success%s.bmp" % suffix, success_image(k).flattened((255, 255, 255)))
        write_bmp("failure%s.bmp" % suffix, failure_image(k).flattened((255, 255, 255)))


if __name__ == "__main__":
    main()
