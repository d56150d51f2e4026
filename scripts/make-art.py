#!/usr/bin/env python3
"""Draws the program's own pictures: the product icon (thermowl.ico, 16 and 32 pixels) and the
32 x 32 drive picture (drive.bmp, magenta background = see-through). Run it again after a change;
its output is checked in under resources/."""
import struct, sys, os

def bmp_rows_bgr(pixels, w, h):
    """Bottom-up 24-bit rows padded to 4 bytes."""
    out = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in pixels[y])
        out += row + b"\0" * ((4 - len(row) % 4) % 4)
    return out

def write_bmp(path, pixels):
    h, w = len(pixels), len(pixels[0])
    data = bmp_rows_bgr(pixels, w, h)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + data)

def icon_image(pixels, alpha):
    """One icon entry: 32-bit BGRA XOR image plus the 1-bit AND mask."""
    h, w = len(pixels), len(pixels[0])
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b""
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = pixels[y][x]
            xor += struct.pack("BBBB", b, g, r, 255 if alpha[y][x] else 0)
    stride = ((w + 31) // 32) * 4
    andmask = b""
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not alpha[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(row)
    return info + xor + andmask

def thermometer(size):
    s = size / 32.0
    px = [[(0, 0, 0)] * size for _ in range(size)]
    a = [[False] * size for _ in range(size)]
    cx, cy, rad = 15.5 * s, 15.5 * s, 15.0 * s
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= rad:
                a[y][x] = True
                px[y][x] = (0, 0, 160) if d < rad - 1.5 * s else (0, 0, 90)
            # the tube and the bulb
            if abs(x - cx) <= 2.5 * s and 5 * s <= y <= 22 * s:
                px[y][x] = (255, 255, 255)
                if y >= 12 * s and abs(x - cx) <= 1.2 * s:
                    px[y][x] = (255, 128, 0)
            if ((x - cx) ** 2 + (y - 24 * s) ** 2) ** 0.5 <= 4.5 * s:
                px[y][x] = (255, 128, 0) if ((x - cx) ** 2 + (y - 24 * s) ** 2) ** 0.5 <= 3.3 * s else (255, 255, 255)
    return px, a

def write_ico(path):
    images = [icon_image(*thermometer(n)) for n in (16, 32)]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for n, img in zip((16, 32), images):
        entries += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    open(path, "wb").write(head + entries + b"".join(images))

def drive():
    m = (255, 0, 255)
    px = [[m] * 32 for _ in range(32)]
    for y in range(6, 27):
        for x in range(2, 30):
            edge = y in (6, 26) or x in (2, 29)
            px[y][x] = (64, 64, 64) if edge else (176, 180, 188)
    for y in range(8, 25):              # the platter seen through the cover
        for x in range(4, 24):
            d = ((x - 13.5) ** 2 + (y - 16) ** 2) ** 0.5
            if d <= 8:
                px[y][x] = (120, 124, 132) if d > 7 else (208, 212, 220)
            if d <= 1.5:
                px[y][x] = (64, 64, 64)
    for y in range(20, 23):             # the activity light
        for x in range(25, 28):
            px[y][x] = (0, 200, 0)
    return px

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
write_ico(os.path.join(out, "thermowl.ico"))
write_bmp(os.path.join(out, "drive.bmp"), drive())
