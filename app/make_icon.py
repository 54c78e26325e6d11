#!/usr/bin/env python3
"""Draws the installer's icon (a rounded tile with a ring and a play mark)
and writes it as a Windows .ico holding PNG images of 256, 48, 32 and 16
pixels. Standard library only; the build runs it, nothing binary is kept."""
import math
import struct
import sys
import zlib

TOP = (0x3A, 0x8D, 0xFF)      # accent blue, tile top
BOTTOM = (0x1B, 0x3F, 0xB8)   # tile bottom
MARK = (0xFF, 0xFF, 0xFF)


def coverage(size, x, y):
    """Returns (alpha of the tile, alpha of the white mark) at pixel centre x, y
    of an image size x size, both in 0..1, with 4x4 supersampling."""
    tile = mark = 0.0
    r_corner = size * 0.22
    c = size / 2.0
    ring_out, ring_in = size * 0.33, size * 0.24
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4.0
            py = y + (sy + 0.5) / 4.0
            # Rounded square tile with a 6 % margin.
            m = size * 0.06
            qx = max(m + r_corner - px, 0, px - (size - m - r_corner))
            qy = max(m + r_corner - py, 0, py - (size - m - r_corner))
            if qx * qx + qy * qy > r_corner * r_corner:
                continue
            tile += 1
            d = math.hypot(px - c, py - c)
            in_ring = ring_in <= d <= ring_out
            # Tail of the ring towards the lower right.
            tx, ty = px - c, py - c
            along = (tx + ty) / math.sqrt(2)
            across = (tx - ty) / math.sqrt(2)
            in_tail = ring_out * 0.75 <= along <= ring_out * 1.35 and abs(across) <= size * 0.045
            # Play triangle in the middle.
            ax, ay = c - size * 0.07, c - size * 0.11
            in_play = (px >= ax and abs(py - c) <= (size * 0.11) * (1 - (px - ax) / (size * 0.19)))
            if in_ring or in_tail or in_play:
                mark += 1
    return tile / 16.0, mark / 16.0


def render(size):
    rows = []
    for y in range(size):
        row = bytearray([0])
        t = y / max(size - 1, 1)
        base = [round(TOP[i] * (1 - t) + BOTTOM[i] * t) for i in range(3)]
        for x in range(size):
            a_tile, a_mark = coverage(size, x, y)
            if a_tile == 0:
                row += b"\0\0\0\0"
                continue
            k = a_mark / a_tile if a_tile else 0
            rgb = [round(base[i] * (1 - k) + MARK[i] * k) for i in range(3)]
            row += bytes(rgb + [round(255 * a_tile)])
        rows.append(bytes(row))
    raw = b"".join(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main(out_path):
    sizes = [256, 48, 32, 16]
    images = [render(s) for s in sizes]
    offset = 6 + 16 * len(sizes)
    directory = b""
    for s, png in zip(sizes, images):
        dim = 0 if s == 256 else s
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
    with open(out_path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(sizes)) + directory + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
