#!/usr/bin/env python3
"""Draws the demo's warning help pictures as 24-bit uncompressed bitmaps.

The help window copies a picture 1:1 into its upper left, so every picture is 250 x 130 pixels.
The rear discharge door frames change only inside x >= 140, y >= 20 of the picture: that is the
part of the help window the door animation repaints. Standard library only, so the pictures can
be regenerated on any machine:

    scripts/make_warning_pictures.py resources/demo-data/WarningBitmaps
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 250, 130

# Colours as (r, g, b).
BACKGROUND = (236, 236, 228)
OUTLINE = (40, 40, 40)
STEEL = (170, 176, 182)
GRAIN = (222, 184, 92)
HIGHLIGHT = (220, 30, 30)
FLAME = (250, 140, 20)
COOL = (60, 110, 200)
GREEN = (40, 150, 60)
WHITE = (255, 255, 255)

# A 5 x 7 capital font for the labels; each glyph is 7 rows of 5 bits.
FONT = {
    "A": "01110 10001 10001 11111 10001 10001 10001", "B": "11110 10001 10001 11110 10001 10001 11110",
    "C": "01110 10001 10000 10000 10000 10001 01110", "D": "11110 10001 10001 10001 10001 10001 11110",
    "E": "11111 10000 10000 11110 10000 10000 11111", "F": "11111 10000 10000 11110 10000 10000 10000",
    "G": "01110 10001 10000 10111 10001 10001 01111", "H": "10001 10001 10001 11111 10001 10001 10001",
    "I": "01110 00100 00100 00100 00100 00100 01110", "J": "00111 00010 00010 00010 00010 10010 01100",
    "K": "10001 10010 10100 11000 10100 10010 10001", "L": "10000 10000 10000 10000 10000 10000 11111",
    "M": "10001 11011 10101 10101 10001 10001 10001", "N": "10001 11001 10101 10011 10001 10001 10001",
    "O": "01110 10001 10001 10001 10001 10001 01110", "P": "11110 10001 10001 11110 10000 10000 10000",
    "Q": "01110 10001 10001 10001 10101 10010 01101", "R": "11110 10001 10001 11110 10100 10010 10001",
    "S": "01111 10000 10000 01110 00001 00001 11110", "T": "11111 00100 00100 00100 00100 00100 00100",
    "U": "10001 10001 10001 10001 10001 10001 01110", "V": "10001 10001 10001 10001 10001 01010 00100",
    "W": "10001 10001 10001 10101 10101 10101 01010", "X": "10001 10001 01010 00100 01010 10001 10001",
    "Y": "10001 10001 01010 00100 00100 00100 00100", "Z": "11111 00001 00010 00100 01000 10000 11111",
    "0": "01110 10001 10011 10101 11001 10001 01110", "1": "00100 01100 00100 00100 00100 00100 01110",
    "2": "01110 10001 00001 00010 00100 01000 11111", "3": "11110 00001 00001 01110 00001 00001 11110",
    "4": "00010 00110 01010 10010 11111 00010 00010", "5": "11111 10000 11110 00001 00001 10001 01110",
    "6": "00110 01000 10000 11110 10001 10001 01110", "7": "11111 00001 00010 00100 01000 01000 01000",
    "8": "01110 10001 10001 01110 10001 10001 01110", "9": "01110 10001 10001 01111 00001 00010 01100",
    "/": "00001 00010 00010 00100 01000 01000 10000", "-": "00000 00000 00000 11111 00000 00000 00000",
    "#": "01010 01010 11111 01010 11111 01010 01010", "!": "00100 00100 00100 00100 00100 00000 00100",
    ".": "00000 00000 00000 00000 00000 00000 00100", " ": "00000 00000 00000 00000 00000 00000 00000",
}


class Picture:
    def __init__(self, width=WIDTH, height=HEIGHT, colour=BACKGROUND):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour=OUTLINE, width=2):
        self.fill(x0, y0, x1, y0 + width, colour)
        self.fill(x0, y1 - width, x1, y1, colour)
        self.fill(x0, y0, x0 + width, y1, colour)
        self.fill(x1 - width, y0, x1, y1, colour)

    def box(self, x0, y0, x1, y1, colour, outline=OUTLINE):
        self.fill(x0, y0, x1, y1, colour)
        self.frame(x0, y0, x1, y1, outline)

    def line(self, x0, y0, x1, y1, colour=OUTLINE, width=2):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.fill(x - width // 2, y - width // 2, x - width // 2 + width, y - width // 2 + width,
                      colour)

    def polygon(self, points, colour):
        """Even-odd scanline fill of a closed polygon."""
        ys = [p[1] for p in points]
        for y in range(max(0, min(ys)), min(self.height, max(ys) + 1)):
            crossings = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= y < yb) or (yb <= y < ya):
                    crossings.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            crossings.sort()
            for left, right in zip(crossings[0::2], crossings[1::2]):
                self.fill(math.ceil(left), y, math.floor(right) + 1, y + 1, colour)

    def outline(self, points, colour=OUTLINE, width=2):
        for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
            self.line(xa, ya, xb, yb, colour, width)

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, colour)

    def text(self, x, y, words, colour=OUTLINE, scale=1):
        for ch in words:
            rows = FONT[ch].split()
            for row, bits in enumerate(rows):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.fill(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                  y + (row + 1) * scale, colour)
            x += 6 * scale

    def arrow(self, x0, y0, x1, y1, colour=HIGHLIGHT):
        self.line(x0, y0, x1, y1, colour, 3)
        angle = math.atan2(y1 - y0, x1 - x0)
        for side in (-0.5, 0.5):
            self.line(x1, y1, round(x1 - 9 * math.cos(angle + side)),
                      round(y1 - 9 * math.sin(angle + side)), colour, 3)

    def save(self, path):
        stride = (self.width * 3 + 3) // 4 * 4
        body = bytearray()
        for row in reversed(self.pixels):  # bottom-up, as device-independent bitmaps are stored
            for r, g, b in row:
                body += bytes((b, g, r))
            body += bytes(stride - self.width * 3)
        header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(body),
                           2835, 2835, 0, 0)
        with open(path, "wb") as out:
            out.write(header + info + body)


def dryer_column(p, x0=20, y0=18, x1=120, y1=112):
    """A tower dryer seen from the side: steel frame, grain column, plenum in the middle."""
    p.box(x0, y0, x1, y1, STEEL)
    p.fill(x0 + 8, y0 + 8, x1 - 8, y1 - 8, GRAIN)
    p.box(x0 + 34, y0 + 8, x1 - 34, y1 - 8, (250, 250, 250))  # plenum
    p.polygon([(x0 - 6, y0), ((x0 + x1) // 2, y0 - 14), (x1 + 6, y0)], STEEL)
    p.outline([(x0 - 6, y0), ((x0 + x1) // 2, y0 - 14), (x1 + 6, y0)])


def grain_overheat():
    p = Picture()
    dryer_column(p)
    # Fan/heater at the bottom of the plenum, flame in the plenum.
    p.box(52, 100, 88, 124, STEEL)
    p.polygon([(62, 98), (70, 76), (78, 98)], FLAME)
    # Grain temperature sensor in the column, highlighted.
    p.disc(34, 60, 7, HIGHLIGHT)
    p.line(34, 60, 34, 90, HIGHLIGHT, 3)
    # Thermometer reading high.
    p.box(150, 22, 166, 100, WHITE)
    p.fill(154, 40, 162, 100, HIGHLIGHT)
    p.disc(158, 104, 11, HIGHLIGHT)
    for y in range(30, 96, 10):
        p.line(166, y, 172, y, OUTLINE, 1)
    p.arrow(130, 60, 44, 60)
    p.text(178, 30, "GRAIN", HIGHLIGHT, 2)
    p.text(178, 50, "TEMP", HIGHLIGHT, 2)
    p.text(178, 70, "HIGH", HIGHLIGHT, 2)
    return p


def ignition_failure():
    p = Picture()
    # Burner housing with gas train, igniter and flame sensor.
    p.box(20, 40, 130, 100, STEEL)
    p.fill(130, 62, 200, 72, (120, 120, 120))  # gas line
    p.box(168, 52, 188, 82, (230, 200, 40))     # gas valve
    p.text(162, 88, "VALVE", OUTLINE, 1)
    p.line(60, 40, 60, 18, OUTLINE, 3)           # igniter
    p.text(30, 6, "IGNITER", OUTLINE, 1)
    for i in range(4):
        p.line(56 + 3 * i, 42 + 6 * i, 64 - 3 * i, 46 + 6 * i, (250, 220, 0), 2)
    p.line(100, 40, 100, 18, HIGHLIGHT, 3)       # flame sensor
    p.text(84, 6, "FLAME SENSOR", HIGHLIGHT, 1)
    p.polygon([(70, 96), (80, 58), (90, 96)], (200, 200, 200))  # no flame
    p.text(26, 108, "NO FLAME PROVEN", HIGHLIGHT, 2)
    return p


def door_frame(opening):
    """The rear of the dryer; the discharge door on the right swings open by `opening` (0..1)."""
    p = Picture()
    dryer_column(p, 20, 22, 130, 112)
    p.text(24, 118, "REAR DISCHARGE", OUTLINE, 1)
    # Discharge hopper below the column, leading to the door opening on the right.
    p.fill(130, 92, 160, 112, STEEL)
    p.frame(150, 40, 232, 112, OUTLINE, 2)
    p.fill(152, 42, 230, 110, (90, 80, 60))  # the dark opening behind the door
    # The door hangs on its left hinge at x = 152; opening foreshortens it and tilts the free edge.
    w = round(78 * math.cos(opening * math.pi / 2 * 0.9))
    lift = round(14 * opening)
    door = [(152, 42), (152 + w, 42 - lift), (152 + w, 110 + lift), (152, 110)]
    colour = STEEL if opening == 0 else HIGHLIGHT
    p.polygon(door, colour)
    p.outline(door)
    if opening == 0:
        p.text(176, 70, "DOOR", OUTLINE, 1)
        p.text(170, 80, "CLOSED", OUTLINE, 1)
    if opening >= 1:
        p.text(176, 24, "OPEN!", HIGHLIGHT, 2)
    return p


def network_cable():
    p = Picture()
    boards = [(6, "DISP"), (66, "MAIN"), (126, "F/H1"), (186, "F/H2")]
    for x, name in boards:
        p.box(x, 40, x + 52, 80, (200, 220, 200))
        p.text(x + 14, 56, name, OUTLINE, 1)
    p.line(58, 60, 66, 60, OUTLINE, 3)
    for x in (118, 178):
        p.line(x, 60, x + 8, 60, GREEN, 3)
    # The display board's link highlighted as the broken one.
    p.frame(2, 36, 62, 84, HIGHLIGHT, 3)
    p.line(56, 48, 68, 72, HIGHLIGHT, 3)
    p.line(56, 72, 68, 48, HIGHLIGHT, 3)
    p.text(6, 96, "CHECK CABLE AND TERMINATION", HIGHLIGHT, 1)
    p.text(6, 14, "DRYER NETWORK", OUTLINE, 2)
    return p


def unload_motor_overload():
    p = Picture()
    # Unload auger trough with its motor and the overload relay in the panel.
    p.fill(10, 80, 170, 96, STEEL)
    for x in range(14, 168, 12):
        p.line(x, 82, x + 8, 94, OUTLINE, 2)
    p.box(170, 70, 214, 106, HIGHLIGHT)
    p.text(176, 84, "MOTOR", WHITE, 1)
    p.box(180, 14, 236, 50, (200, 200, 200))
    p.text(186, 20, "OL", HIGHLIGHT, 2)
    p.text(186, 38, "RESET", OUTLINE, 1)
    p.arrow(208, 52, 196, 68)
    p.text(10, 108, "PRIMARY UNLOAD", OUTLINE, 2)
    p.text(10, 20, "OVERLOAD", HIGHLIGHT, 3)
    return p


def max_drying_time():
    p = Picture()
    # A clock face with the hand past the limit mark, next to the moisture sensor.
    p.disc(60, 64, 44, OUTLINE)
    p.disc(60, 64, 40, WHITE)
    for i in range(12):
        a = i * math.pi / 6
        p.line(round(60 + 34 * math.sin(a)), round(64 - 34 * math.cos(a)),
               round(60 + 39 * math.sin(a)), round(64 - 39 * math.cos(a)), OUTLINE, 2)
    p.line(60, 64, 60, 34, OUTLINE, 3)
    p.line(60, 64, 88, 52, HIGHLIGHT, 3)
    p.text(120, 24, "MAX", HIGHLIGHT, 2)
    p.text(120, 44, "DRYING", HIGHLIGHT, 2)
    p.text(120, 64, "TIME", HIGHLIGHT, 2)
    p.box(120, 90, 236, 118, (200, 220, 240))
    p.text(126, 100, "MOISTURE SENSOR", OUTLINE, 1)
    return p


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    pictures = {
        "NID_02_WARNING_ID_05.bmp": grain_overheat(),
        "NID_02_WARNING_ID_09.bmp": ignition_failure(),
        "NID_14_WARNING_ID_05.bmp": door_frame(1.0),
        "NID_14_WARNING_ID_01.bmp": unload_motor_overload(),
        "NID_01_WARNING_ID_01.bmp": network_cable(),
        "NID_15_WARNING_ID_02.bmp": max_drying_time(),
        "IMG_0141.bmp": door_frame(0.0),
        "IMG_0142.bmp": door_frame(0.33),
        "IMG_0143.bmp": door_frame(0.66),
        "IMG_0144.bmp": door_frame(1.0),
    }
    for name, picture in pictures.items():
        picture.save(os.path.join(out, name))


if __name__ == "__main__":
    main()
