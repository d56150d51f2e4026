#!/usr/bin/env python3
"""Draws the small bitmaps of the styled dialog controls and writes them as .bmp files.

Run it from anywhere; it writes next to itself. The .bmp files are checked in, so the build
does not need Python; run this again only after changing a picture here.

Colours are given as (R, G, B). Magenta (255, 0, 255) marks see-through pixels of the
check-box and radio pictures; olive marks those of the spin arrows.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)
OLIVE = (128, 128, 0)
BLACK = (0, 0, 0)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def diagonal(a, b, n):
    """Weight of the bottom-right colour at each pixel of an n x n diagonal gradient."""
    return [[(x + y) / (2 * (n - 1)) for x in range(n)] for y in range(n)]


def write_24(name, rows):
    """rows: top-down list of lists of (R, G, B)."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):  # a .bmp stores its bottom row first
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    write_file(name, header, b"", data)


# The 16 colours of the standard VGA palette, as 4-bit bitmaps use them.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def write_4(name, rows):
    """A 16-colour bitmap; every colour in rows must be in VGA16."""
    h, w = len(rows), len(rows[0])
    stride = ((w + 1) // 2 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        idx = [VGA16.index(c) for c in row] + [0]
        line = bytearray((idx[i] << 4) | (idx[i + 1] if i + 1 < w else 0) for i in range(0, w, 2))
        line += bytes(stride - len(line))
        data += line
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    write_file(name, header, palette, data)


def write_file(name, info, palette, data):
    offset = 14 + len(info) + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(os.path.join(HERE, name.lower() + ".bmp"), "wb") as f:
        f.write(file_header + info + palette + data)


def gradient_square(a, b, n):
    return [[mix(a, b, t) for t in row] for row in diagonal(a, b, n)]


def square_ring(a, b, n, width):
    rows = gradient_square(a, b, n)
    for y in range(width, n - width):
        for x in range(width, n - width):
            rows[y][x] = MAGENTA
    return rows


# Pixels of the tick, row by row from the top: the columns that carry it.
TICK = [[6], [5, 6], [0, 4, 5, 6], [0, 1, 3, 4, 5], [0, 1, 2, 3, 4], [1, 2, 3], [2]]


def tick(colour):
    return [[colour if x in TICK[y] else MAGENTA for x in range(7)] for y in range(7)]


def coverage(n, x, y, radius, samples=8):
    """Share of pixel (x, y) inside the circle of `radius` around the centre of an n x n image."""
    c = n / 2
    inside = 0
    for sy in range(samples):
        for sx in range(samples):
            px, py = x + (sx + 0.5) / samples - c, y + (sy + 0.5) / samples - c
            inside += px * px + py * py <= radius * radius
    return inside / (samples * samples)


def disc(n, outer, inner, ring_colour, inside, edge_colour, cutoff=0.3):
    """A circle: `ring_colour` between the radii, inside(x, y) within, magenta outside.

    Pixels only partly covered by the circle are blended with `edge_colour`, a colour close to
    the dialog face, so the edge looks soft; pixels covered less than `cutoff` stay see-through.
    """
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            c_out = coverage(n, x, y, outer)
            c_in = coverage(n, x, y, inner) if inner > 0 else 0.0
            if c_out < cutoff:
                row.append(MAGENTA)
                continue
            ring = c_out - c_in
            total = [0.0, 0.0, 0.0]
            parts = [(ring, ring_colour), (1.0 - c_out, edge_colour)]
            if inside is not None:
                parts.append((c_in, inside(x, y)))
            else:
                parts.append((c_in, edge_colour))
            for weight, colour in parts:
                for i in range(3):
                    total[i] += weight * colour[i]
            row.append(tuple(int(round(v)) for v in total))
        rows.append(row)
    return rows


def radio_face(inside_a, inside_b):
    weights = diagonal(inside_a, inside_b, 13)
    return disc(13, 6.5, 5.5, (24, 81, 123), lambda x, y: mix(inside_a, inside_b, weights[y][x]), (214, 211, 206))


def thin_ring(n, outer, inner, colour_at, threshold=0.45):
    """A ring without soft edges: pixels mostly on it take colour_at(x, y), the rest magenta."""
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            on_ring = coverage(n, x, y, outer) - coverage(n, x, y, inner)
            row.append(colour_at(x, y) if on_ring >= threshold else MAGENTA)
        rows.append(row)
    return rows


def radio_hot_ring():
    a, b = (255, 223, 156), (255, 186, 57)
    weights = diagonal(a, b, 11)
    return thin_ring(11, 5.5, 3.5, lambda x, y: mix(a, b, weights[y][x]))


def radio_dot(centre, rim):
    rows = []
    for y in range(5):
        row = []
        for x in range(5):
            d = ((x - 2) ** 2 + (y - 2) ** 2) ** 0.5
            row.append(MAGENTA if d > 2.3 else mix(centre, rim, min(d / 2.3, 1.0)))
        rows.append(row)
    return rows


def arrow(up):
    rows = [[OLIVE] * 9 for _ in range(6)]
    for i in range(4):  # widths 1, 3, 5, 7 from the point
        y = 1 + i if up else 4 - i
        for x in range(4 - i, 5 + i):
            rows[y][x] = BLACK
    return rows


def main():
    write_24("CB_UNPRESS", gradient_square((222, 223, 214), (255, 255, 255), 11))
    write_24("CB_PRESS", gradient_square((181, 178, 165), (247, 239, 222), 11))
    write_24("CB_BORDER", square_ring((255, 243, 206), (255, 178, 49), 11, 2))
    write_24("CB_FLAG", tick((33, 162, 33)))
    write_24("CB_DISFLAG", tick((206, 203, 189)))
    write_24("CB_GRAYED", gradient_square((107, 186, 107), (115, 199, 115), 7))
    write_24("CB_DISGRAYED", [[(206, 203, 189)] * 7 for _ in range(7)])
    write_24("RD_UNPRESS", radio_face((220, 220, 215), (255, 255, 255)))
    write_24("RD_PRESS", radio_face((181, 182, 173), (239, 235, 222)))
    write_24("RD_BORDER", radio_hot_ring())
    write_24("RD_FLAG", radio_dot((33, 162, 33), (140, 214, 140)))
    write_24("RD_DISABLED", thin_ring(13, 6.5, 5.5, lambda x, y: (206, 203, 189), 0.35))
    write_24("RD_DISFLAG", radio_dot((198, 190, 181), (198, 190, 181)))
    write_4("SpinUp", arrow(True))
    write_4("SpinDown", arrow(False))


if __name__ == "__main__":
    main()
