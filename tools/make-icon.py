#!/usr/bin/env python3
"""Draws the application icon, resources/lumorra.ico: one 128 x 128, 32-bit image with alpha.

A rounded teal tile with a white circular arrow (the refresh cycle) around a small page.
Run it again only to change the drawing; the .ico it writes is kept in the repository.
"""
import math
import struct
import sys

SIZE = 128
SS = 4  # supersampling per axis, for smooth edges


def inside_rounded_square(x, y, margin=6, radius=26):
    lo, hi = margin, SIZE - margin
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def on_arrow(x, y):
    cx, cy = SIZE / 2, SIZE / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx)) % 360
    # The ring, open between 300 and 350 degrees where the arrow head sits.
    if 34 <= r <= 44 and not (290 <= angle <= 350):
        return True
    # Arrow head: a triangle at the ring's open end, pointing along the turn.
    ax, ay = cx + 39 * math.cos(math.radians(290)), cy + 39 * math.sin(math.radians(290))
    tip = (ax + 18, ay + 2)
    base1 = (ax - 2, ay - 14)
    base2 = (ax - 2, ay + 14)
    return point_in_triangle((x, y), tip, base1, base2)


def on_page(x, y):
    return 48 <= x <= 80 and 44 <= y <= 84 and not (x > 70 and y < 54 and (x - 70) > (y - 44))


def on_page_line(x, y):
    return 53 <= x <= 75 and any(abs(y - ly) <= 1.5 for ly in (58, 66, 74))


def point_in_triangle(p, a, b, c):
    def sign(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])
    d1, d2, d3 = sign(p, a, b), sign(p, b, c), sign(p, c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def pixel(px, py):
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SS):
        for sx in range(SS):
            x = px + (sx + 0.5) / SS
            y = py + (sy + 0.5) / SS
            if not inside_rounded_square(x, y):
                continue
            t = y / SIZE  # vertical gradient, teal to deep blue
            colour = (int(20 + 10 * t), int(160 - 70 * t), int(170 + 40 * t))
            if on_arrow(x, y) or on_page(x, y):
                colour = (250, 250, 250)
            if on_page_line(x, y):
                colour = (40, 120, 180)
            for i in range(3):
                acc[i] += colour[i]
            acc[3] += 255
    n = SS * SS
    a = acc[3] / n
    if a == 0:
        return (0, 0, 0, 0)
    cover = acc[3] / 255
    return tuple(int(acc[i] / cover) for i in range(3)) + (int(a),)


def main(out):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up, as DIBs are stored
        row = bytearray()
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * SIZE // 8)  # alpha decides; the mask stays clear
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 128, 128, 0, 0, 1, 32, len(image), 6 + 16)
    with open(out, "wb") as f:
        f.write(directory + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/lumorra.ico")
