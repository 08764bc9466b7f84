#!/usr/bin/env python3
"""Draws the main icon: a silver panel with a grey middle line, a red send line and a
blue receive line, as in the meter's own graph. Writes resources/ripplet.ico (16, 32
and 48 pixels, 32-bit BGRA bitmaps)."""
import struct, sys

def draw(n):
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]
    def put(x, y, c):
        if 0 <= x < n and 0 <= y < n:
            px[y][x] = c
    frame_dark, frame_light = (128, 128, 128, 255), (255, 255, 255, 255)
    back, middle = (192, 192, 192, 255), (128, 128, 128, 255)
    recv, send = (255, 0, 0, 255), (0, 0, 255, 255)  # BGRA: blue, red
    for y in range(n):
        for x in range(n):
            edge = x in (0, n - 1) or y in (0, n - 1)
            if edge:
                put(x, y, frame_dark if (x == 0 or y == 0) else frame_light)
            else:
                put(x, y, back)
    mid = n // 4
    for x in range(1, n - 1):
        put(x, mid, middle)
    def line(points, c):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            steps = max(abs(x1 - x0), abs(y1 - y0), 1)
            for i in range(steps + 1):
                x = round(x0 + (x1 - x0) * i / steps)
                y = round(y0 + (y1 - y0) * i / steps)
                put(x, y, c)
                if n >= 32:
                    put(x, y + 1, c)
    s = (n - 2) / 15
    wave = lambda pts: [(1 + round(x * s), 1 + round(y * s)) for x, y in pts]
    line(wave([(0, 13), (3, 11), (5, 12), (8, 8), (10, 10), (13, 9), (14, 10)]), send)
    line(wave([(0, 12), (2, 8), (4, 10), (6, 4), (9, 6), (11, 3), (14, 5)]), recv)
    return px

def bitmap(n):
    px = draw(n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for p in px[y] for c in p) for y in reversed(range(n)))
    mask_stride = ((n + 31) // 32) * 4
    mask = b'\0' * (mask_stride * n)  # alpha decides; AND mask all opaque
    return header + rows + mask

sizes = [16, 32, 48]
images = [bitmap(n) for n in sizes]
out = struct.pack('<HHH', 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
for n, img in zip(sizes, images):
    out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
    offset += len(img)
out += b''.join(images)
open(sys.argv[1] if len(sys.argv) > 1 else 'resources/ripplet.ico', 'wb').write(out)
