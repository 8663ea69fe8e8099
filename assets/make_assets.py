#!/usr/bin/env python3
"""Draws the program's own pictures and writes them next to this script:

  mu_quiren.ico  the program icon, 32x32 and 16x16, 16 colours (4 bits a pixel)
  splash.bmp     the 368x261 picture at the top of the start-up window (24 bits)

A padlock on a clipboard. Only the standard library is used, so the output
is the same on every machine; run it again after changing a drawing.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16-colour palette every Windows display knows (the VGA colours), so the
# icon looks the same on any colour depth.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, DKGRAY, LTGRAY, YELLOW, OLIVE, WHITE, NAVY, BLUE = 0, 1, 8, 7, 11, 3, 15, 4, 12
CLEAR = None


class Canvas:
    def __init__(self, width, height, fill):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Filled, inclusive corners."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def ring(self, cx, cy, r_out, r_in, c, upper_only=True):
        """A thick half ring: the padlock's shackle."""
        for y in range(int(cy - r_out) - 1, int(cy + r_out) + 2):
            if upper_only and y > cy:
                continue
            for x in range(int(cx - r_out) - 1, int(cx + r_out) + 2):
                d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if r_in * r_in <= d2 <= r_out * r_out:
                    self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)


def draw_icon(size):
    """The padlock on the clipboard, scaled to a 16 or 32 pixel square."""
    s = size / 32.0
    c = Canvas(size, size, CLEAR)

    def sc(v):
        return int(round(v * s))

    # Clipboard board with a dark outline, paper and clip.
    c.rect(sc(3), sc(3), sc(27) - 1, sc(31) - 1, OLIVE)
    c.frame(sc(3), sc(3), sc(27) - 1, sc(31) - 1, BLACK)
    c.rect(sc(6), sc(7), sc(24) - 1, sc(28) - 1, WHITE)
    c.frame(sc(6), sc(7), sc(24) - 1, sc(28) - 1, DKGRAY)
    c.rect(sc(10), sc(1), sc(20) - 1, sc(6) - 1, LTGRAY)
    c.frame(sc(10), sc(1), sc(20) - 1, sc(6) - 1, BLACK)
    # Lines of text on the paper (only where there is room for them).
    if size >= 32:
        for y in (10, 13):
            c.rect(8, y, 21, y, DKGRAY)
    # The padlock: shackle, body, keyhole.
    c.ring(sc(19) + 0.5 * s, sc(19), 6.0 * s, 3.6 * s if size >= 32 else 2.6 * s, LTGRAY if size >= 32 else DKGRAY)
    if size >= 32:
        c.ring(19.5, 19, 6.8, 6.0, BLACK)
    c.rect(sc(12), sc(19), sc(27) - 1, sc(30) - 1, YELLOW)
    c.frame(sc(12), sc(19), sc(27) - 1, sc(30) - 1, BLACK)
    c.disc(sc(19.5), sc(23), max(1.0, 1.8 * s), BLACK)
    c.rect(sc(19), sc(23), sc(20) - 1 if size >= 32 else sc(19), sc(27) - 1, BLACK)
    return c


def icon_image(canvas):
    """One ICO image: BITMAPINFOHEADER (double height), palette, XOR, AND."""
    n = canvas.w
    xor_stride = ((n * 4 + 31) // 32) * 4
    and_stride = ((n + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 4, 0,
                         (xor_stride + and_stride) * n, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    andm = bytearray()
    for y in reversed(range(n)):  # bottom-up rows
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(n):
            v = canvas.px[y][x]
            idx = 0 if v is CLEAR else v
            if x % 2 == 0:
                row[x // 2] |= idx << 4
            else:
                row[x // 2] |= idx
            if v is CLEAR:
                mrow[x // 8] |= 0x80 >> (x % 8)
        xor += row
        andm += mrow
    return header + palette + bytes(xor) + bytes(andm)


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w, c.h, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


def draw_splash():
    """368x261, RGB: a sky, armour-like marks streaming into a clipboard with
    a padlock on the right. The lower left stays plain: the version and
    credits labels lie there."""
    w, h = 368, 261
    c = Canvas(w, h, (255, 255, 255))
    for y in range(h):
        t = y / (h - 1)
        col = (int(255 - 40 * t), int(255 - 20 * t), 255)
        for x in range(w):
            c.px[y][x] = col
    # Clipboard.
    c.rect(262, 36, 352, 236, (150, 110, 60))
    c.frame(262, 36, 352, 236, (60, 40, 20))
    c.rect(270, 52, 344, 226, (255, 255, 250))
    c.frame(270, 52, 344, 226, (120, 120, 120))
    c.rect(287, 26, 327, 46, (200, 200, 205))
    c.frame(287, 26, 327, 46, (70, 70, 80))
    for i, y in enumerate(range(64, 120, 10)):
        c.rect(278, y, 336 - (i % 3) * 12, y + 3, (140, 150, 170))
    # Padlock over the lower half of the paper.
    c.ring(307.5, 160, 22, 14, (150, 155, 165))
    c.rect(279, 158, 336, 212, (235, 190, 40))
    c.frame(279, 158, 336, 212, (90, 60, 10))
    c.disc(307.5, 176, 6, (50, 35, 10))
    c.rect(305, 178, 310, 198, (50, 35, 10))
    # Marks of an armoured block streaming towards the board.
    for k in range(30):
        x = 24 + (k * 41) % 220
        y = 24 + (k * 29) % 100
        shade = 90 + (k * 7) % 80
        c.rect(x, y, x + 6 + (k % 3) * 3, y + 4, (shade, shade + 20, 200))
    return c


def write_bmp(path, canvas):
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = canvas.px[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes(pixels))


def main():
    write_ico(os.path.join(HERE, "mu_quiren.ico"), [draw_icon(32), draw_icon(16)])
    write_bmp(os.path.join(HERE, "splash.bmp"), draw_splash())


if __name__ == "__main__":
    main()
