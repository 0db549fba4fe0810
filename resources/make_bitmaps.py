#!/usr/bin/env python3
"""Draws the button bitmaps and the window icon of Pictarium.

Every picture uses the 16 colours of the classic Windows palette plus
transparency, with no smoothing. Each is drawn from shapes at its own size
and again at twice that size (name@2x.xpm), so that it stays crisp on a
HiDPI screen. The window icon is also written as PNG files for the desktop.

Run it from anywhere: python3 resources/make_bitmaps.py
"""

import math
import os
import struct
import zlib

PALETTE = {
    '.': None,
    'k': (0x00, 0x00, 0x00), 'm': (0x80, 0x00, 0x00), 'g': (0x00, 0x80, 0x00),
    'o': (0x80, 0x80, 0x00), 'n': (0x00, 0x00, 0x80), 'p': (0x80, 0x00, 0x80),
    't': (0x00, 0x80, 0x80), 's': (0xC0, 0xC0, 0xC0), 'd': (0x80, 0x80, 0x80),
    'r': (0xFF, 0x00, 0x00), 'l': (0x00, 0xFF, 0x00), 'y': (0xFF, 0xFF, 0x00),
    'b': (0x00, 0x00, 0xFF), 'f': (0xFF, 0x00, 0xFF), 'a': (0x00, 0xFF, 0xFF),
    'w': (0xFF, 0xFF, 0xFF),
}


class Canvas:
    """A grid of palette letters; shapes are given in units of the 1x
    picture and cover the device pixels whose centres they contain."""

    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.rows = [['.'] * (width * scale) for _ in range(height * scale)]

    def fill(self, colour, inside):
        s = self.scale
        for j, row in enumerate(self.rows):
            for i in range(len(row)):
                if inside((i + 0.5) / s, (j + 0.5) / s):
                    row[i] = colour

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(colour, lambda x, y: x0 <= x < x1 and y0 <= y < y1)

    def frame(self, x0, y0, x1, y1, colour, inner):
        """A rectangle with a one-pixel outline."""
        self.rect(x0, y0, x1, y1, colour)
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, inner)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(colour, lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1)

    def disc(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def ring(self, cx, cy, r0, r1, colour, keep=lambda x, y: True):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return r0 <= d <= r1 and keep(x, y)
        self.fill(colour, inside)

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        self.fill(colour, inside)

    def line(self, x0, y0, x1, y1, width, colour):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        self.fill(colour, inside)


# The pictures, drawn on a canvas of their 1x size.

def add(c):
    c.frame(0, 1, 13, 12, 'k', 'a')
    c.disc(9, 4, 1.6, 'y')
    c.polygon([(1, 11), (5, 6), (8, 9), (10, 7), (12, 11)], 'g')
    c.rect(11, 8, 14, 16, 'k')
    c.rect(8, 10.5, 16, 13.5, 'k')
    c.rect(12, 9, 13, 15, 'l')
    c.rect(9, 11.5, 15, 12.5, 'l')


def delete(c):
    c.line(4.5, 3.5, 16.5, 15.5, 3.2, 'm')
    c.line(16.5, 3.5, 4.5, 15.5, 3.2, 'm')
    c.line(4.5, 3.5, 16.5, 15.5, 1.8, 'r')
    c.line(16.5, 3.5, 4.5, 15.5, 1.8, 'r')


def page(c, x0, y0, x1, y1):
    c.frame(x0, y0, x1, y1, 'k', 'w')
    for y in range(y0 + 2, y1 - 1, 2):
        c.rect(x0 + 2, y, x1 - 2, y + 1, 'd')


def copy(c):
    page(c, 0, 0, 10, 12)
    page(c, 6, 4, 16, 16)


def paste(c):
    c.frame(1, 2, 12, 15, 'k', 'o')
    c.frame(4, 0, 9, 4, 'k', 's')
    page(c, 6, 6, 16, 16)


def save(c):
    c.frame(0, 0, 16, 16, 'k', 'n')
    c.frame(3, 0, 13, 7, 'k', 'w')
    c.rect(4, 2, 12, 3, 'd')
    c.rect(4, 4, 12, 5, 'd')
    c.frame(4, 10, 12, 16, 'k', 's')
    c.rect(6, 11, 8, 15, 'n')


def back(c):
    c.polygon([(14, 4), (14, 16), (8, 10)], 'k')


def forward(c):
    c.polygon([(7, 4), (7, 16), (13, 10)], 'k')


def first(c):
    c.rect(5, 4, 7, 16, 'k')
    c.polygon([(15, 4), (15, 16), (9, 10)], 'k')


def last(c):
    c.polygon([(6, 4), (6, 16), (12, 10)], 'k')
    c.rect(14, 4, 16, 16, 'k')


def magnifier(c):
    c.line(14, 14, 19, 19, 2.6, 'm')
    c.disc(11.5, 11.5, 4.6, 'k')
    c.disc(11.5, 11.5, 3.4, 'a')
    c.rect(10, 9, 11, 10, 'w')


def search_back(c):
    c.polygon([(0.5, 4.5), (5.5, 0), (5.5, 9)], 'n')
    c.rect(5, 3.5, 13, 5.5, 'n')
    magnifier(c)


def search_forward(c):
    c.polygon([(20.5, 4.5), (15.5, 0), (15.5, 9)], 'n')
    c.rect(8, 3.5, 16, 5.5, 'n')
    magnifier(c)


def info(c):
    c.disc(10.5, 10, 9.6, 'n')
    c.disc(10.5, 10, 8.6, 'w')
    c.disc(10.5, 5, 1.7, 'b')
    c.rect(9, 8, 12, 15, 'b')
    c.rect(8, 8, 9, 9, 'b')
    c.rect(8, 14, 13, 16, 'b')


def help_mark(c):
    c.ring(8, 5, 1.8, 4.2, 'n', keep=lambda x, y: y < 5.5 or (x > 8 and y < 8))
    c.rect(7, 7.5, 9.5, 11, 'n')
    c.rect(7, 12.5, 9.5, 15, 'n')


def cylinder(c):
    c.ellipse(9, 15.5, 6.6, 2.6, 'k')
    c.rect(2.4, 5, 15.6, 15.5, 'k')
    c.ellipse(9, 15.5, 5.6, 1.6, 't')
    c.rect(3.4, 5, 14.6, 15.5, 't')
    c.rect(5, 7, 6, 15, 'a')
    c.ellipse(9, 5, 6.6, 2.6, 'k')
    c.ellipse(9, 5, 5.6, 1.6, 'a')


def create_base(c):
    cylinder(c)
    c.rect(15, 0, 20, 7, 'k')
    c.rect(13.5, 1.5, 21, 5.5, 'k')
    c.rect(16, 0.5, 19, 6.5, 'y')
    c.rect(14.5, 2.5, 20.5, 4.5, 'y')


def open_base(c):
    c.frame(0, 2, 7, 5, 'k', 'o')
    c.frame(0, 4, 15, 18, 'k', 'o')
    c.polygon([(3, 8), (21, 8), (17, 18), (0, 18)], 'k')
    c.polygon([(4, 9), (19.5, 9), (16.3, 17), (1.5, 17)], 'y')


def pictarium_icon(c):
    n = c.width
    u = n / 16.0
    c.frame(0, 0, n, n, 'k', 'o')
    c.frame(2 * u, 2 * u, n - 2 * u, n - 2 * u, 'k', 'a')
    c.disc(10.5 * u, 5.5 * u, 1.8 * u, 'y')
    c.polygon([(3 * u, 13 * u), (6.5 * u, 7 * u), (9.5 * u, 11 * u), (11 * u, 9 * u),
               (13 * u, 13 * u)], 'g')
    c.rect(3 * u, 12 * u, 13 * u, 13 * u, 'g')


BITMAPS = {
    'add': (16, 16, add), 'delete': (21, 20, delete), 'copy': (16, 16, copy),
    'paste': (16, 16, paste), 'save': (16, 16, save), 'first': (21, 20, first),
    'back': (21, 20, back), 'forward': (21, 20, forward), 'last': (21, 20, last),
    'search_back': (21, 20, search_back), 'search_forward': (21, 20, search_forward),
    'info': (21, 20, info), 'help': (16, 16, help_mark), 'create_base': (21, 20, create_base),
    'open_base': (21, 20, open_base),
    'pictarium_16': (16, 16, pictarium_icon), 'pictarium_32': (32, 32, pictarium_icon),
}


def draw(width, height, picture, scale):
    canvas = Canvas(width, height, scale)
    picture(canvas)
    return [''.join(row) for row in canvas.rows]


def xpm(name, rows):
    used = sorted({ch for row in rows for ch in row})
    lines = ['/* XPM */', 'static const char* %s[] = {' % name.replace('@', '_'),
             '"%d %d %d 1",' % (len(rows[0]), len(rows), len(used))]
    for ch in used:
        rgb = PALETTE[ch]
        value = 'None' if rgb is None else '#%02X%02X%02X' % rgb
        lines.append('"%s c %s",' % (ch, value))
    lines += ['"%s",' % row for row in rows[:-1]] + ['"%s"};' % rows[-1]]
    return '\n'.join(lines) + '\n'


def png(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    raw = b''
    for row in rows:
        raw += b'\0'
        for ch in row:
            rgb = PALETTE[ch]
            raw += bytes((0, 0, 0, 0)) if rgb is None else bytes(rgb + (255,))
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (width, height, picture) in BITMAPS.items():
        for scale, suffix in ((1, ''), (2, '@2x')):
            path = os.path.join(here, 'bitmaps', name + suffix + '.xpm')
            with open(path, 'w') as out:
                out.write(xpm(name + suffix, draw(width, height, picture, scale)))
    for size, scale in ((16, 1), (32, 1), (64, 2)):
        base = 16 if size == 16 else 32
        rows = draw(base, base, pictarium_icon, scale)
        with open(os.path.join(here, 'icons', 'pictarium-%d.png' % size), 'wb') as out:
            out.write(png(rows))


if __name__ == '__main__':
    main()
