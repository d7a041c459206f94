#!/usr/bin/env python3
"""Draws the placeholder editor bitmaps (24-bit BMP) until the artwork lands.

    python3 resources/placeholders.py    # rewrites the four .bmp files here

128 background 600x500, 129 knob film strip 40x3201 (80 frames of 40x40,
black around the face is see-through, the last row unused), 130 and 131
switches 30x40 (off picture above, on picture below).
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b); rows are stored bottom-up, padded to 4 bytes."""
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        image += row
    header = struct.pack('<2sIHHI', b'BM', 54 + len(image), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(header + info + image)


def background(x, y):
    if x < 2 or y < 2 or x >= 598 or y >= 498:
        return (90, 90, 96)
    shade = 36 + (y * 20) // 500
    return (shade, shade, shade + 4)


def knob(x, y):
    frame, fy = divmod(y, 40)
    if frame >= 80:
        return (0, 0, 0)
    dx, dy = x - 19.5, fy - 19.5
    r = math.hypot(dx, dy)
    if r > 17:
        return (0, 0, 0)
    # The pointer sweeps 270 degrees from lower left (frame 0) to lower right.
    angle = math.radians(225 - 270 * frame / 79)
    px, py = math.cos(angle), -math.sin(angle)
    along = dx * px + dy * py
    across = abs(dx * py - dy * px)
    if 3 < along < 16 and across < 1.5:
        return (240, 240, 240)
    return (110, 110, 118) if r < 15 else (70, 70, 76)


def switch(lit):
    def pixel(x, y):
        on = y >= 20
        fy = y - 20 if on else y
        if x < 1 or fy < 1 or x >= 29 or fy >= 19:
            return (20, 20, 20)
        if 11 <= x < 19 and 6 <= fy < 14:
            return lit if on else (60, 30, 30)
        return (80, 80, 86)
    return pixel


write_bmp('128_background.bmp', 600, 500, background)
write_bmp('129_knob.bmp', 40, 3201, knob)
write_bmp('130_switch.bmp', 30, 40, switch((255, 60, 40)))
write_bmp('131_switch.bmp', 30, 40, switch((255, 200, 40)))
