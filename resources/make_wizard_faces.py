#!/usr/bin/env python3
"""Writes the auto-start wizard's pictures into pictures/, in the shared style of make_faces.py:
the 159 x 41 keys along the bottom, the two 120 x 40 adjusters, the 589 x 222 title picture of the
welcome page and the 375 x 93 banner of each page. Rerun after changing the style."""

from make_faces import ACCENT, FONT, INK, body, label, svg, wide_face, write

GREEN = "#3f9a4a"
DARK_GREEN = "#1f6b2a"

KEYS = [
    # normal, pressed, label
    (535, 534, "NEXT"),
    (547, 546, "ACCEPT"),
    (537, 536, "BACK"),
    (539, 538, "CANCEL"),
    (541, 540, "HELP"),
]


def adjuster(up, text, state):
    w, h = 120, 40
    shift = 1 if state == "pressed" else 0
    tip, base = (9, 29) if up else (31, 11)
    arrow = (f'<path d="M {10 + shift} {base + shift} L {20 + shift} {tip + shift} '
             f'L {30 + shift} {base + shift} Z" fill="{ACCENT}" stroke="{INK}" '
             'stroke-width="1.5" stroke-linejoin="round"/>')
    return svg(w, h, body(w, h, state) + "\n" + arrow + "\n"
               + label(75 + shift, 25 + shift, text, 13, state))


def text(x, y, words, size, colour, anchor="start", weight="bold"):
    font = FONT.replace('font-weight="bold"', f'font-weight="{weight}"')
    return (f'<text x="{x}" y="{y}" {font} font-size="{size}" fill="{colour}" '
            f'text-anchor="{anchor}">{words}</text>')


def droplet(x, y, scale):
    return (f'<g transform="translate({x} {y}) scale({scale})">'
            '<path d="M 11 2 C 14 8 19 12 19 17 A 8 8 0 0 1 3 17 C 3 12 8 8 11 2 Z" '
            f'fill="#3d8fd6" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>'
            '<path d="M 7 17 A 4 4 0 0 0 11 21" fill="none" stroke="#ffffff" '
            'stroke-width="1.5" stroke-linecap="round"/></g>')


def flame(x, y, scale):
    return (f'<g transform="translate({x} {y}) scale({scale})">'
            '<path d="M 14 2 C 17 8 23 11 23 18 A 9 9 0 0 1 5 18 C 5 13 8 11 9 7 '
            'C 11 10 12 12 12 14 C 14 10 15 7 14 2 Z" fill="#e0641e" '
            f'stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>'
            '<path d="M 14 13 C 16 16 18 18 18 21 A 4 4 0 0 1 10 21 C 10 18 12 16 14 13 Z" '
            'fill="#f6c232"/></g>')


def checklist(x, y, scale):
    ticks = "".join(f'<path d="M 5 {y0} L 7.5 {y0 + 2.5} L 12 {y0 - 2.5}" fill="none" '
                    f'stroke="{GREEN}" stroke-width="2" stroke-linecap="round"/>'
                    f'<line x1="15" y1="{y0}" x2="24" y2="{y0}" stroke="{INK}" '
                    'stroke-width="1.6"/>' for y0 in (8, 15, 22))
    return (f'<g transform="translate({x} {y}) scale({scale})">'
            f'<rect x="2" y="2" width="24" height="25" rx="2" fill="#ffffff" stroke="{INK}" '
            f'stroke-width="1.8"/>{ticks}</g>')


BANNERS = [
    # number, step, symbol, title lines
    (543, "STEP 1 OF 3", droplet, ["Enter the Incoming", "Moisture Content (%)"]),
    (544, "STEP 2 OF 3", droplet, ["Enter Desired Moisture -", "Moisture Setpoint (%)"]),
    (553, "STEP 3 OF 3", flame, ["Select Full-Heat", "or Dry &amp; Cool"]),
    (542, "SUMMARY", checklist, ["Summary Page for", "Automatic Dryer Startup"]),
]


def banner(step, symbol, lines):
    w, h = 375, 93
    parts = [
        f'<rect x="0" y="0" width="{w}" height="{h}" fill="#ffffff"/>',
        # the box stops short of the picture's bottom edge: the summary's frame starts right below
        f'<rect x="1" y="1" width="{w - 2}" height="{h - 9}" rx="6" fill="#eef6ee" '
        f'stroke="{DARK_GREEN}" stroke-width="2"/>',
        f'<rect x="1" y="1" width="74" height="{h - 9}" rx="6" fill="{GREEN}"/>',
        f'<rect x="40" y="1" width="35" height="{h - 9}" fill="{GREEN}"/>',
        symbol(14, 15, 1.7),
        text(84, 20, step, 12, ACCENT),
    ]
    for i, line in enumerate(lines):
        parts.append(text(84, 45 + i * 23, line, 19, DARK_GREEN))
    return svg(w, h, "\n".join(parts))


def title():
    w, h = 589, 222
    parts = [
        f'<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#e9f5ea"/><stop offset="1" stop-color="#ffffff"/>'
        '</linearGradient></defs>',
        f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="8" fill="url(#sky)" '
        f'stroke="{DARK_GREEN}" stroke-width="2"/>',
        # the start button
        f'<circle cx="92" cy="104" r="58" fill="{GREEN}" stroke="{INK}" stroke-width="4"/>',
        '<path d="M 74 72 L 120 104 L 74 136 Z" fill="#ffffff"/>',
        text(190, 66, "AUTO-START UP", 36, DARK_GREEN),
        text(190, 106, "WIZARD", 36, DARK_GREEN),
        f'<rect x="190" y="120" width="370" height="4" rx="2" fill="{ACCENT}"/>',
        text(190, 150, "Sets up the automatic start of the dryer:", 15, INK, weight="normal"),
        text(190, 174, "1. incoming moisture   2. desired moisture", 15, INK, weight="normal"),
        text(190, 198, "3. full heat or dry &amp; cool", 15, INK, weight="normal"),
    ]
    return svg(w, h, "\n".join(parts))


def main():
    for normal, pressed, words in KEYS:
        write(normal, wide_face(159, 41, [words], "normal"))
        write(pressed, wide_face(159, 41, [words], "pressed"))
    for normal, pressed, up, words in ((551, 550, True, "INCREASE"), (549, 548, False, "DECREASE")):
        write(normal, adjuster(up, words, "normal"))
        write(pressed, adjuster(up, words, "pressed"))
    for number, step, symbol, lines in BANNERS:
        write(number, banner(step, symbol, lines))
    write(533, title())


if __name__ == "__main__":
    main()
