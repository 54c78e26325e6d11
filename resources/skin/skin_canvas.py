"""A small anti-aliased rasteriser for the installer's skin images.

Shapes are signed-distance functions (negative inside, in pixels); a shape is
painted with a paint (a constant RGBA or a function of the pixel position)
and composited "over" the canvas in premultiplied floating point. The edge
ramp is one pixel wide by default (`aa`), which gives smooth rounded
corners and lines without supersampling; a wider ramp gives soft glows.

Everything is plain Python and deterministic: the same script version
always writes byte-identical PNG files (no time stamps, fixed zlib level).
"""

import math
import struct
import zlib

# --------------------------------------------------------------------------
# Colours: tuples (r, g, b, a) with components 0..1, straight alpha.


def rgb(hex_text, alpha=1.0):
    hex_text = hex_text.lstrip("#")
    return (int(hex_text[0:2], 16) / 255.0, int(hex_text[2:4], 16) / 255.0,
            int(hex_text[4:6], 16) / 255.0, alpha)


def with_alpha(colour, alpha):
    return (colour[0], colour[1], colour[2], alpha)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def _stop_colour(stops, t):
    t = clamp01(t)
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return stops[-1][1]


# --------------------------------------------------------------------------
# Paints: functions (x, y) -> colour.


def linear(x0, y0, x1, y1, stops):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0

    def paint(x, y):
        return _stop_colour(stops, ((x - x0) * dx + (y - y0) * dy) / length2)
    return paint


def radial(cx, cy, radius, stops, sy=1.0):
    def paint(x, y):
        return _stop_colour(stops, math.hypot(x - cx, (y - cy) / sy) / radius)
    return paint


# --------------------------------------------------------------------------
# Shapes: (sdf, bounds) where bounds = (x0, y0, x1, y1) covers the inside.


class Shape:
    def __init__(self, sdf, bounds):
        self.sdf = sdf
        self.bounds = bounds


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    r = min(radius, hx, hy)

    def sdf(x, y):
        qx = abs(x - cx) - hx + r
        qy = abs(y - cy) - hy + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return Shape(sdf, (x0, y0, x1, y1))


def rect(x0, y0, x1, y1):
    return rounded_rect(x0, y0, x1, y1, 0.0)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def capsule(ax, ay, bx, by, r):
    """A line segment with round ends, radius r (half the stroke width)."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = clamp01(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - dx * t, y - ay - dy * t) - r
    return Shape(sdf, (min(ax, bx) - r, min(ay, by) - r,
                       max(ax, bx) + r, max(ay, by) + r))


def polygon(points):
    """A convex or concave simple polygon (even-odd rule)."""
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey or 1e-9))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -d if inside else d
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


def ring(shape, width):
    """The outline of a shape, `width` wide, centred on its edge."""
    half = width / 2.0
    x0, y0, x1, y1 = shape.bounds
    return Shape(lambda x, y: abs(shape.sdf(x, y)) - half,
                 (x0 - half, y0 - half, x1 + half, y1 + half))


def inset(shape, amount):
    x0, y0, x1, y1 = shape.bounds
    return Shape(lambda x, y: shape.sdf(x, y) + amount,
                 (x0 + amount, y0 + amount, x1 - amount, y1 - amount))


def union(*shapes):
    xs0 = min(s.bounds[0] for s in shapes)
    ys0 = min(s.bounds[1] for s in shapes)
    xs1 = max(s.bounds[2] for s in shapes)
    ys1 = max(s.bounds[3] for s in shapes)
    return Shape(lambda x, y: min(s.sdf(x, y) for s in shapes),
                 (xs0, ys0, xs1, ys1))


def intersect(a, b):
    bounds = (max(a.bounds[0], b.bounds[0]), max(a.bounds[1], b.bounds[1]),
              min(a.bounds[2], b.bounds[2]), min(a.bounds[3], b.bounds[3]))
    return Shape(lambda x, y: max(a.sdf(x, y), b.sdf(x, y)), bounds)


def subtract(a, b):
    return Shape(lambda x, y: max(a.sdf(x, y), -b.sdf(x, y)), a.bounds)


def rotated(shape, cx, cy, degrees):
    """The shape turned by `degrees` around (cx, cy)."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        return shape.sdf(cx + dx * c + dy * s, cy - dx * s + dy * c)
    x0, y0, x1, y1 = shape.bounds
    corners = [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]
    pts = [(cx + (px - cx) * c - (py - cy) * s,
            cy + (px - cx) * s + (py - cy) * c) for px, py in corners]
    return Shape(sdf, (min(p[0] for p in pts), min(p[1] for p in pts),
                       max(p[0] for p in pts), max(p[1] for p in pts)))


def translated(shape, dx, dy):
    x0, y0, x1, y1 = shape.bounds
    return Shape(lambda x, y: shape.sdf(x - dx, y - dy),
                 (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


# --------------------------------------------------------------------------
# The canvas.


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        # Premultiplied r, g, b, a per pixel.
        self.px = [0.0] * (width * height * 4)

    def _over(self, index, colour, coverage):
        a = colour[3] * coverage
        if a <= 0.0:
            return
        px = self.px
        keep = 1.0 - a
        px[index] = colour[0] * a + px[index] * keep
        px[index + 1] = colour[1] * a + px[index + 1] * keep
        px[index + 2] = colour[2] * a + px[index + 2] * keep
        px[index + 3] = a + px[index + 3] * keep

    def fill(self, shape, paint, aa=1.0, opacity=1.0, glow=0.0, clip=None):
        """Paints `shape`. aa: width of the edge ramp in pixels. glow > 0
        replaces the ramp outside the shape with a Gaussian fall-off of that
        radius (soft light). clip: a shape limiting where paint lands."""
        margin = aa + glow * 3.0 + 1.0
        x0, y0, x1, y1 = shape.bounds
        ix0 = max(0, int(math.floor(x0 - margin)))
        iy0 = max(0, int(math.floor(y0 - margin)))
        ix1 = min(self.width, int(math.ceil(x1 + margin)))
        iy1 = min(self.height, int(math.ceil(y1 + margin)))
        constant = None if callable(paint) else paint
        for y in range(iy0, iy1):
            py = y + 0.5
            row = y * self.width
            for x in range(ix0, ix1):
                px = x + 0.5
                d = shape.sdf(px, py)
                if glow > 0.0:
                    cov = 1.0 if d <= 0.0 else math.exp(-(d * d) / (glow * glow))
                else:
                    cov = clamp01(0.5 - d / aa)
                if cov <= 0.0:
                    continue
                if clip is not None:
                    cov *= clamp01(0.5 - clip.sdf(px, py))
                    if cov <= 0.0:
                        continue
                colour = constant or paint(px, py)
                self._over((row + x) * 4, colour, cov * opacity)

    def fill_all(self, paint, opacity=1.0):
        self.fill(rect(0, 0, self.width, self.height), paint, opacity=opacity)

    def mask_with(self, shape, aa=1.0):
        """Multiplies every pixel by the coverage of `shape` (cuts corners)."""
        for y in range(self.height):
            for x in range(self.width):
                cov = clamp01(0.5 - shape.sdf(x + 0.5, y + 0.5) / aa)
                if cov < 1.0:
                    i = (y * self.width + x) * 4
                    for k in range(4):
                        self.px[i + k] *= cov

    def blit(self, other, ox, oy):
        """Composites another canvas over this one at (ox, oy)."""
        for y in range(other.height):
            ty = y + oy
            if ty < 0 or ty >= self.height:
                continue
            for x in range(other.width):
                tx = x + ox
                if tx < 0 or tx >= self.width:
                    continue
                s = (y * other.width + x) * 4
                a = other.px[s + 3]
                if a <= 0.0:
                    continue
                d = (ty * self.width + tx) * 4
                keep = 1.0 - a
                for k in range(4):
                    self.px[d + k] = other.px[s + k] + self.px[d + k] * keep

    def to_rgba8(self, dither=False):
        """Straight-alpha 8-bit RGBA rows. With dither, an ordered 4x4
        pattern of +-half a level breaks up banding in wide gradients."""
        bayer = (0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5)
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                i = (y * self.width + x) * 4
                a = clamp01(self.px[i + 3])
                offset = (bayer[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5 if dither else 0.0
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                out = []
                for k in range(3):
                    v = clamp01(self.px[i + k] / a)
                    out.append(max(0, min(255, int(math.floor(v * 255.0 + 0.5 + offset)))))
                out.append(max(0, min(255, int(math.floor(a * 255.0 + 0.5)))))
                row += bytes(out)
            rows.append(bytes(row))
        return rows

    def write_png(self, path, dither=False):
        write_png(path, self.width, self.height, self.to_rgba8(dither))


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body +
                struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))
    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw, 9)) +
           chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def read_png(path):
    """Reads back an 8-bit RGBA PNG written by write_png (for the preview)."""
    with open(path, "rb") as f:
        data = f.read()
    pos = 8
    width = height = 0
    idat = b""
    while pos < len(data):
        length = struct.unpack(">I", data[pos:pos + 4])[0]
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    canvas = Canvas(width, height)
    stride = width * 4 + 1
    for y in range(height):
        line = raw[y * stride + 1:(y + 1) * stride]
        for x in range(width):
            r, g, b, a = line[x * 4:x * 4 + 4]
            i = (y * width + x) * 4
            af = a / 255.0
            canvas.px[i:i + 4] = [r / 255.0 * af, g / 255.0 * af, b / 255.0 * af, af]
    return canvas
