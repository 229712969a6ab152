"""A tiny anti-aliased vector rasterizer and the image file writers the artwork needs.

Only Python's standard library is used, so the artwork can be redrawn on any machine with
python3. Shapes are signed distance functions: shape(x, y) is the distance in pixels from the
point to the shape's edge, negative inside. A pixel's coverage is taken at its centre
(x + 0.5, y + 0.5) as clamp(0.5 - distance, 0, 1), which anti-aliases every edge by one pixel.

Canvases hold premultiplied RGBA floats in 0..1, rows top first.
"""

import math
import struct
import zlib

# ---------------------------------------------------------------------------------------------
# Shapes


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, r=0.0):
    """Axis-aligned rectangle from (x0, y0) to (x1, y1) with corner radius r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    return f


def segment(ax, ay, bx, by, r):
    """A line from a to b, r pixels either side, with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def f(x, y):
        px, py = x - ax, y - ay
        h = 0.0 if length2 == 0 else max(0.0, min(1.0, (px * dx + py * dy) / length2))
        return math.hypot(px - dx * h, py - dy * h) - r

    return f


def polyline(points, r):
    return union(*[segment(*points[i], *points[i + 1], r) for i in range(len(points) - 1)])


def polygon(points):
    """A closed polygon (any winding)."""
    pts = list(points)
    n = len(pts)

    def f(x, y):
        d = float("inf")
        s = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            h = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            bx, by = wx - ex * h, wy - ey * h
            d = min(d, bx * bx + by * by)
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)

    return f


def arc(cx, cy, r, a0, a1, w):
    """The arc of radius r about (cx, cy) from angle a0 to a1 (degrees, clockwise on screen,
    0 pointing right), w pixels either side, with round ends."""
    t0 = math.radians(a0)
    sweep = math.radians(a1 - a0)
    ends = [(cx + r * math.cos(t0), cy + r * math.sin(t0)),
            (cx + r * math.cos(t0 + sweep), cy + r * math.sin(t0 + sweep))]

    def f(x, y):
        t = (math.atan2(y - cy, x - cx) - t0) % (2.0 * math.pi)
        if t <= sweep:
            return abs(math.hypot(x - cx, y - cy) - r) - w
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w

    return f


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(a, *bs):
    return lambda x, y: max(a(x, y), *(-b(x, y) for b in bs))


def grow(shape, d):
    """The shape enlarged by d pixels all round (shrunk for negative d)."""
    return lambda x, y: shape(x, y) - d


def outline(shape, w):
    """A band w pixels wide centred on the shape's edge."""
    return lambda x, y: abs(shape(x, y)) - w / 2.0


def move(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def rotate(shape, cx, cy, degrees):
    """The shape turned clockwise on screen about (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def f(x, y):
        px, py = x - cx, y - cy
        return shape(cx + c * px + s * py, cy - s * px + c * py)

    return f


def arrow_head(tip_x, tip_y, direction_degrees, length, half_width):
    """A filled triangle pointing in the given direction (clockwise on screen, 0 = right)."""
    t = math.radians(direction_degrees)
    ux, uy = math.cos(t), math.sin(t)
    bx, by = tip_x - ux * length, tip_y - uy * length
    return polygon([(tip_x, tip_y), (bx - uy * half_width, by + ux * half_width),
                    (bx + uy * half_width, by - ux * half_width)])


# ---------------------------------------------------------------------------------------------
# Paints: an (r, g, b) or (r, g, b, a) tuple in 0..255, or a function (x, y) -> such a tuple.


def vertical_gradient(y0, top, y1, bottom):
    def f(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return f


def linear_gradient(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def f(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))

    return f


# ---------------------------------------------------------------------------------------------
# Canvas


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def paint(self, shape, colour, opacity=1.0, bounds=None):
        """Composites the shape filled with colour over the canvas."""
        x0, y0, x1, y1 = bounds if bounds else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        solid = None if callable(colour) else _rgba(colour)
        # Tiles whose centre lies farther from the shape than their half diagonal (plus the
        # anti-aliasing half pixel) are skipped: a distance never overstates the true one.
        tile = 8
        reach = tile * 0.7072 + 0.5
        for ty in range(y0, y1, tile):
            for tx in range(x0, x1, tile):
                if shape(tx + tile / 2.0, ty + tile / 2.0) > reach:
                    continue
                self._paint_tile(shape, colour, solid, opacity, tx, ty, min(tx + tile, x1), min(ty + tile, y1))

    def _paint_tile(self, shape, colour, solid, opacity, x0, y0, x1, y1):
        for y in range(y0, y1):
            cy = y + 0.5
            row = y * self.width
            for x in range(x0, x1):
                cx = x + 0.5
                cover = 0.5 - shape(cx, cy)
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                r, g, b, a = solid if solid else _rgba(colour(cx, cy))
                a *= cover * opacity
                if a <= 0.0:
                    continue
                p = self.px[row + x]
                k = 1.0 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def draw(self, other, dx=0, dy=0, opacity=1.0):
        """Composites another canvas over this one, moved by whole pixels."""
        for y in range(other.height):
            ty = y + dy
            if ty < 0 or ty >= self.height:
                continue
            for x in range(other.width):
                tx = x + dx
                if tx < 0 or tx >= self.width:
                    continue
                s = other.px[y * other.width + x]
                a = s[3] * opacity
                if a <= 0.0:
                    continue
                p = self.px[ty * self.width + tx]
                k = 1.0 - a
                for i in range(3):
                    p[i] = s[i] * opacity + p[i] * k
                p[3] = a + p[3] * k

    def map(self, fn):
        """A new canvas with fn(r, g, b, a) -> (r, g, b, a) applied to each straight-alpha pixel
        (components 0..1)."""
        out = Canvas(self.width, self.height)
        for i, (r, g, b, a) in enumerate(self.px):
            if a <= 0.0:
                continue
            nr, ng, nb, na = fn(r / a, g / a, b / a, a)
            out.px[i] = [nr * na, ng * na, nb * na, na]
        return out

    def rgba_bytes(self):
        """Straight-alpha 8-bit RGBA, rows top first."""
        out = bytearray()
        for r, g, b, a in self.px:
            if a <= 0.0:
                out += b"\0\0\0\0"
                continue
            out += bytes((_byte(r / a), _byte(g / a), _byte(b / a), _byte(a)))
        return bytes(out)

    def blit(self, other, x, y):
        """Copies another canvas into this one at (x, y), replacing what was there."""
        for row in range(other.height):
            for col in range(other.width):
                self.px[(y + row) * self.width + x + col] = list(other.px[row * other.width + col])


def _rgba(colour):
    if len(colour) == 3:
        return (colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0, 1.0)
    return (colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0, colour[3] / 255.0)


def _byte(v):
    return max(0, min(255, int(v * 255.0 + 0.5)))


# ---------------------------------------------------------------------------------------------
# File writers


def png_bytes(width, height, rgba):
    """An 8-bit RGBA PNG, every row with filter 0."""
    raw = bytearray()
    stride = width * 4
    for y in range(height):
        raw.append(0)
        raw += rgba[y * stride:(y + 1) * stride]

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def png_pixels(data):
    """(width, height, RGBA bytes) of a PNG written by png_bytes."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos = 8
    idat = b""
    width = height = None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour_type = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour_type != 6:
                raise ValueError("not an 8-bit RGBA PNG")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    out = bytearray()
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        if line[0] != 0:
            raise ValueError("unexpected PNG row filter")
        out += line[1:]
    return width, height, bytes(out)


def _dib_32(canvas):
    """A 32-bit icon or cursor image: header, BGRA rows bottom first, then the AND mask."""
    w, h = canvas.width, canvas.height
    rgba = canvas.rgba_bytes()
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = rgba[(y * w + x) * 4:(y * w + x) * 4 + 4]
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico_bytes(canvases):
    """An icon file with one 32-bit image per canvas."""
    return _icon_dir(1, [(c, 1, 32) for c in canvases])


def cur_bytes(canvas, hot_x, hot_y):
    """A cursor file with one 32-bit image and its hotspot."""
    return _icon_dir(2, [(canvas, hot_x, hot_y)])


def _icon_dir(kind, entries):
    images = [_dib_32(c) for c, _, _ in entries]
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, kind, len(entries))
    for (c, a, b), img in zip(entries, images):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, a, b, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def bmp_bytes(canvas, background=(255, 255, 255)):
    """A 24-bit bottom-up BMP file; transparent parts are composited over the background."""
    w, h = canvas.width, canvas.height
    stride = (w * 3 + 3) & ~3
    rgba = canvas.rgba_bytes()
    rows = bytearray()
    for y in reversed(range(h)):
        line = bytearray()
        for x in range(w):
            r, g, b, a = rgba[(y * w + x) * 4:(y * w + x) * 4 + 4]
            mix = [(c * a + bg * (255 - a) + 127) // 255 for c, bg in zip((r, g, b), background)]
            line += bytes((mix[2], mix[1], mix[0]))
        line += bytes(stride - len(line))
        rows += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + bytes(rows)
