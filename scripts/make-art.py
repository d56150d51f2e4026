#!/usr/bin/env python3
"""Draws the program's own pictures: the product icon (thermowl.ico, 16, 20, 24, 32, 40 and 48 pixels),
the 32 x 32 drive picture (drive.bmp) and its 40 x 40, 48 x 48 and 64 x 64 ones for 125 %, 150 % and
200 % (drive40.bmp, drive48.bmp, drive64.bmp), the strip of nine 16 x 16 menu and button images
(menuimages.bmp), magenta being see-through in both bitmaps, and the 304 x 60 banner of the
options dialog (banner.jpg, encoded by ImageMagick's convert). Run it again after a change; its
output is checked in under resources/."""
import math, os, struct, subprocess, sys

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
    # 20 and 40, 24 and 48 pixels: the small and large icon at 125 % and 150 %, drawn for that size.
    sizes = (16, 20, 24, 32, 40, 48)
    images = [icon_image(*thermometer(n)) for n in sizes]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for n, img in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    open(path, "wb").write(head + entries + b"".join(images))

def drive(size=32):
    # Drawn for its size (32, 40, 48 or 64 pixels) rather than stretched.
    k = size / 32
    r = lambda v: round(v * k)
    m = (255, 0, 255)
    px = [[m] * size for _ in range(size)]
    for y in range(r(6), r(27)):
        for x in range(r(2), r(30)):
            edge = y in (r(6), r(27) - 1) or x in (r(2), r(30) - 1)
            px[y][x] = (64, 64, 64) if edge else (176, 180, 188)
    for y in range(r(8), r(25)):        # the platter seen through the cover
        for x in range(r(4), r(24)):
            d = ((x - 13.5 * k) ** 2 + (y - 16 * k) ** 2) ** 0.5
            if d <= 8 * k:
                px[y][x] = (120, 124, 132) if d > 8 * k - 1 else (208, 212, 220)
            if d <= 1.5 * k:
                px[y][x] = (64, 64, 64)
    for y in range(r(20), r(23)):       # the activity light
        for x in range(r(25), r(28)):
            px[y][x] = (0, 200, 0)
    return px

# --- the 16 x 16 images of the menu and the options dialog, one strip in index order ----------

KEY = (255, 0, 255)

def blank16():
    return [[KEY] * 16 for _ in range(16)]

def disc(px, cx, cy, r, fill, edge):
    for y in range(16):
        for x in range(16):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= r:
                px[y][x] = edge if d > r - 1.2 else fill

def put(px, points, colour):
    for x, y in points:
        if 0 <= x < 16 and 0 <= y < 16:
            px[y][x] = colour

def thick_line(px, x0, y0, x1, y1, colour, width=2):
    n = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i / n
        y = y0 + (y1 - y0) * i / n
        put(px, [(int(round(x)) + dx, int(round(y)) + dy) for dx in range(width) for dy in range(width)], colour)

def about_image():
    px = blank16()
    disc(px, 7.5, 7.5, 7.5, (40, 100, 220), (10, 50, 150))
    put(px, [(7, 3), (8, 3), (7, 4), (8, 4)], (255, 255, 255))
    put(px, [(x, y) for x in (7, 8) for y in range(6, 12)] + [(6, 6), (6, 11), (9, 11)], (255, 255, 255))
    return px

def exit_image():
    px = blank16()
    for y in range(1, 15):                     # the door frame and the open door
        for x in range(2, 11):
            px[y][x] = (90, 60, 30) if x in (2, 10) or y in (1, 14) else (250, 245, 230)
    for y in range(2, 14):
        for x in range(3, 7):
            px[y][x] = (170, 110, 50)
    put(px, [(6, 8)], (250, 220, 0))           # the handle
    thick_line(px, 8, 7, 14, 7, (0, 150, 0), 2)  # the arrow out
    put(px, [(12, 5), (13, 6), (12, 9), (13, 8), (11, 4), (11, 10)], (0, 150, 0))
    return px

def options_image():
    px = blank16()
    steel, dark = (150, 156, 168), (70, 74, 84)
    for y in range(16):
        for x in range(16):
            dx, dy = x - 7.5, y - 7.5
            d = (dx * dx + dy * dy) ** 0.5
            a = math.atan2(dy, dx)
            tooth = math.cos(a * 6) > 0.0
            if d <= 5.0 or (tooth and d <= 7.6):
                px[y][x] = steel
            if (5.0 < d <= 7.6 and tooth and d > 6.7) or 4.3 < d <= 5.0 and not tooth:
                px[y][x] = dark
            if d <= 1.6:
                px[y][x] = KEY
            elif d <= 2.6:
                px[y][x] = dark
    return px

def thermometer_image():
    px = blank16()
    for y in range(1, 11):
        put(px, [(6, y), (9, y)], (60, 60, 60))
        put(px, [(7, y), (8, y)], (255, 255, 255) if y < 5 else (220, 30, 30))
    put(px, [(7, 0), (8, 0)], (60, 60, 60))
    disc(px, 7.5, 12, 3.5, (220, 30, 30), (60, 60, 60))
    return px

def screen_image(lit):
    px = blank16()
    for y in range(1, 12):
        for x in range(0, 16):
            edge = y in (1, 11) or x in (0, 15)
            px[y][x] = (40, 40, 48) if edge else ((90, 170, 240) if lit else (110, 114, 122))
    for x in range(6, 10):                     # the stand
        px[12][x] = (40, 40, 48)
    for x in range(3, 13):
        px[13][x] = (40, 40, 48)
    return px

def show_monitor_image():
    px = screen_image(True)
    # a temperature line on the screen
    thick_line(px, 2, 8, 6, 5, (255, 128, 0), 1)
    thick_line(px, 6, 5, 9, 7, (255, 128, 0), 1)
    thick_line(px, 9, 7, 13, 3, (255, 128, 0), 1)
    return px

def hide_monitor_image():
    px = screen_image(False)
    for i in range(5):                         # an arrow down: the monitor goes away
        put(px, [(x, 4 + i) for x in range(3 + i, 13 - i)], (255, 255, 255))
    put(px, [(x, y) for x in (7, 8) for y in (2, 3)], (255, 255, 255))
    return px

def bell_image():
    px = blank16()
    gold, dark = (240, 190, 30), (140, 100, 10)
    for y in range(2, 12):
        half = 2 + (y - 2) * 0.45
        for x in range(16):
            if abs(x - 7.5) <= half:
                px[y][x] = dark if abs(x - 7.5) > half - 1 else gold
    for x in range(1, 15):
        px[12][x] = dark
    put(px, [(7, 1), (8, 1)], dark)
    disc(px, 7.5, 13.5, 1.5, dark, dark)
    return px

def cancel_image():
    px = blank16()
    thick_line(px, 2, 2, 12, 12, (200, 0, 0), 3)
    thick_line(px, 12, 2, 2, 12, (200, 0, 0), 3)
    return px

def apply_image():
    px = blank16()
    thick_line(px, 1, 8, 5, 12, (0, 150, 0), 3)
    thick_line(px, 5, 12, 13, 2, (0, 150, 0), 3)
    return px

def menu_images():
    """0 About, 1 Exit, 2 Options, 3 thermometer, 4 Show monitor, 5 Hide monitor, 6 alarm bell,
    7 Cancel, 8 Apply, side by side."""
    images = [about_image(), exit_image(), options_image(), thermometer_image(), show_monitor_image(),
              hide_monitor_image(), bell_image(), cancel_image(), apply_image()]
    return [sum((img[y] for img in images), []) for y in range(16)]

# A 5 x 7 pixel font, just the letters the banner needs.
GLYPHS = {
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "W": ["10001", "10001", "10001", "10101", "10101", "11011", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
}

def put_text(px, text, x0, y0, scale, colour):
    for i, ch in enumerate(text):
        for gy, row in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(row):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            x, y = x0 + (i * 6 + gx) * scale + dx, y0 + gy * scale + dy
                            if 0 <= x < len(px[0]) and 0 <= y < len(px):
                                px[y][x] = colour

def banner():
    """304 x 60: a blue ramp, the product's thermometer, the name and a temperature trace."""
    w, h = 304, 60
    px = [[(0, 0, 0)] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            t = x / (w - 1)
            shade = 1.0 - 0.25 * (y / (h - 1))
            px[y][x] = tuple(int((a + (b - a) * t) * shade) for a, b in zip((16, 40, 112), (72, 150, 220)))
    icon, alpha = thermometer(32)
    for y in range(32):
        for x in range(32):
            if alpha[y][x]:
                px[14 + y][12 + x] = icon[y][x]
    put_text(px, "THERMOWL", 58 + 2, 12 + 2, 3, (10, 20, 60))   # shadow
    put_text(px, "THERMOWL", 58, 12, 3, (255, 255, 255))
    # A history trace along the bottom, in the monitor's orange.
    prev = None
    for x in range(58, 292):
        y = int(48 - 6 * (((x * 7) % 23) / 23.0) - 4 * (x % 41 > 20))
        for yy in range(min(y, prev or y), max(y, prev or y) + 1):
            px[yy][x] = (255, 128, 0)
        prev = y
    return px

def write_jpeg(path, pixels):
    h, w = len(pixels), len(pixels[0])
    ppm = b"P6 %d %d 255\n" % (w, h) + b"".join(bytes(p) for row in pixels for p in row)
    subprocess.run(["convert", "ppm:-", "-strip", "-quality", "92", "-sampling-factor", "4:2:0", "jpeg:" + path],
                   input=ppm, check=True)

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
write_ico(os.path.join(out, "thermowl.ico"))
write_bmp(os.path.join(out, "drive.bmp"), drive())
write_bmp(os.path.join(out, "drive40.bmp"), drive(40))
write_bmp(os.path.join(out, "drive48.bmp"), drive(48))
write_bmp(os.path.join(out, "drive64.bmp"), drive(64))
write_bmp(os.path.join(out, "menuimages.bmp"), menu_images())
write_jpeg(os.path.join(out, "banner.jpg"), banner())
