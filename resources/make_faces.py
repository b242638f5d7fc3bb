#!/usr/bin/env python3
"""Writes the button faces in pictures/ from one shared style, so every face speaks the same visual
language: a raised light steel key for the normal face, a darker inset key for the pressed face,
dark ink lines with a few accent colours for the symbols. Edit the style here and rerun; hand-drawn
replacements may also simply overwrite the SVG files."""

import math
import os

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")

INK = "#1d2b38"
ACCENT = "#d98c1a"
FONT = "font-family=\"DejaVu Sans, sans-serif\" font-weight=\"bold\""

STYLES = {
    # body gradient top, bottom, outline, label colour, symbol ink
    "normal": ("#f4f6f8", "#c3cbd3", "#2b3a48", "#14212d", INK),
    "pressed": ("#8c98a4", "#aeb8c2", "#1b2733", "#0b141c", INK),
    "greyed": ("#d9dcdf", "#d9dcdf", "#a0a7ae", "#a3a9af", "#a3a9af"),
}


def body(w, h, state, rx=5):
    top, bottom, outline, _, _ = STYLES[state]
    parts = [
        f'<defs><linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
        f"</linearGradient></defs>",
        f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{rx}" fill="url(#g)" '
        f'stroke="{outline}" stroke-width="1"/>',
    ]
    if state == "normal":
        # light from the top left, shadow at the bottom right: the key stands out
        parts.append(f'<path d="M 2.5 {h - 4} L 2.5 {rx} Q 2.5 2.5 {rx} 2.5 L {w - 4} 2.5" '
                     'fill="none" stroke="#ffffff" stroke-width="1.5"/>')
        parts.append(f'<path d="M 4 {h - 2.5} L {w - rx} {h - 2.5} Q {w - 2.5} {h - 2.5} '
                     f'{w - 2.5} {h - rx} L {w - 2.5} 4" fill="none" stroke="#7d8894" '
                     'stroke-width="1.5"/>')
    elif state == "pressed":
        # shadow falls inside along the top and left: the key is pushed in
        parts.append(f'<path d="M 2.5 {h - 3} L 2.5 {rx} Q 2.5 2.5 {rx} 2.5 L {w - 3} 2.5" '
                     'fill="none" stroke="#3b4956" stroke-width="2.5"/>')
    return "\n".join(parts)


def svg(w, h, content):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n{content}\n</svg>\n')


def label(x, y, text, size, state, anchor="middle"):
    colour = STYLES[state][3]
    return (f'<text x="{x}" y="{y}" {FONT} font-size="{size}" fill="{colour}" '
            f'text-anchor="{anchor}">{text}</text>')


# Symbols, each drawn in a 28 x 28 box.

def clock(ink, greyed):
    face = "#ffffff" if not greyed else "#e4e6e8"
    hand = ACCENT if not greyed else ink
    ticks = "".join(
        f'<line x1="{14 + 8 * math.sin(a):.2f}" y1="{14 - 8 * math.cos(a):.2f}" '
        f'x2="{14 + 10 * math.sin(a):.2f}" y2="{14 - 10 * math.cos(a):.2f}" stroke="{ink}" '
        'stroke-width="1.6"/>'
        for a in [i * math.pi / 2 for i in range(4)])
    return (f'<circle cx="14" cy="14" r="12" fill="{face}" stroke="{ink}" stroke-width="2.2"/>'
            f"{ticks}"
            f'<line x1="14" y1="14" x2="14" y2="6.5" stroke="{ink}" stroke-width="2.2" '
            'stroke-linecap="round"/>'
            f'<line x1="14" y1="14" x2="19.5" y2="16.5" stroke="{hand}" stroke-width="2.2" '
            'stroke-linecap="round"/>'
            f'<circle cx="14" cy="14" r="1.8" fill="{ink}"/>')


def thermometer(ink, greyed):
    red = "#c8322b" if not greyed else ink
    return (f'<rect x="10.5" y="1.5" width="7" height="19" rx="3.5" fill="#ffffff" '
            f'stroke="{ink}" stroke-width="2"/>'
            f'<circle cx="14" cy="21.5" r="5.5" fill="{red}" stroke="{ink}" stroke-width="2"/>'
            f'<rect x="12.6" y="8" width="2.8" height="12" fill="{red}"/>'
            + "".join(f'<line x1="18.5" y1="{y}" x2="22" y2="{y}" stroke="{ink}" '
                      'stroke-width="1.5"/>' for y in (5, 9, 13)))


def magnifier_board(ink, greyed):
    board = "#3f7f5a" if not greyed else "#c9cdd1"
    trace = "#c9ead3" if not greyed else "#eef0f2"
    return (f'<rect x="1" y="3" width="21" height="17" rx="1.5" fill="{board}" stroke="{ink}" '
            'stroke-width="1.8"/>'
            f'<path d="M 4 8 L 10 8 L 12 10 L 18 10 M 4 15 L 8 15 L 10 13 L 14 13" fill="none" '
            f'stroke="{trace}" stroke-width="1.3"/>'
            f'<circle cx="4" cy="8" r="1.3" fill="{trace}"/>'
            f'<circle cx="4" cy="15" r="1.3" fill="{trace}"/>'
            f'<circle cx="17.5" cy="15.5" r="6" fill="#ffffff" fill-opacity="0.55" stroke="{ink}" '
            'stroke-width="2.4"/>'
            f'<line x1="21.8" y1="19.8" x2="26.5" y2="24.5" stroke="{ink}" stroke-width="3.6" '
            'stroke-linecap="round"/>')


def binoculars(ink, greyed):
    lens = "#8fc3e6" if not greyed else "#e4e6e8"
    return (f'<rect x="4" y="4" width="7" height="9" rx="1.5" fill="{ink}"/>'
            f'<rect x="17" y="4" width="7" height="9" rx="1.5" fill="{ink}"/>'
            f'<rect x="10" y="9" width="8" height="5" fill="{ink}"/>'
            f'<circle cx="7.5" cy="19" r="6.5" fill="#3a4c5d" stroke="{ink}" stroke-width="1.8"/>'
            f'<circle cx="20.5" cy="19" r="6.5" fill="#3a4c5d" stroke="{ink}" stroke-width="1.8"/>'
            f'<circle cx="7.5" cy="19" r="3.6" fill="{lens}"/>'
            f'<circle cx="20.5" cy="19" r="3.6" fill="{lens}"/>')


def corn(ink, greyed):
    cob = "#f0c330" if not greyed else "#e4e6e8"
    kernel = "#c7921a" if not greyed else "#b7bcc1"
    husk = "#4f8f3c" if not greyed else "#c3c8cc"
    kernels = []
    for row in range(7):
        y = 4 + row * 2.7
        half = 4.2 * math.sqrt(max(0.0, 1 - ((y - 12) / 10.5) ** 2))
        for x in (-half * 0.55, 0, half * 0.55):
            kernels.append(f'<circle cx="{14 + x:.2f}" cy="{y:.2f}" r="0.95" fill="{kernel}"/>')
    return (f'<g transform="rotate(28 14 14)">'
            f'<ellipse cx="14" cy="12" rx="5.5" ry="11" fill="{cob}" stroke="{ink}" '
            'stroke-width="1.8"/>'
            + "".join(kernels)
            + f'<path d="M 14 27 Q 5 22 7.5 10 Q 9 19 14 22 Z" fill="{husk}" stroke="{ink}" '
            'stroke-width="1.4"/>'
            f'<path d="M 14 27 Q 23 22 20.5 10 Q 19 19 14 22 Z" fill="{husk}" stroke="{ink}" '
            'stroke-width="1.4"/>'
            "</g>")


BAR_FACES = [
    # normal, pressed, symbol, label
    (111, 110, clock, "Timers"),
    (109, 108, thermometer, "Temp"),
    (107, 106, magnifier_board, "Setup"),
    (113, 112, binoculars, "View"),
    (105, 104, corn, "M/C"),
]

WIDE_FACES = [
    # normal, pressed, width, height, label lines
    (283, 282, 200, 50, ["Table View"]),
    (285, 284, 200, 50, ["Graph View"]),
    (262, 261, 200, 50, ["Owners Manual"]),
    (279, 278, 200, 50, ["History"]),
    (439, 438, 200, 50, ["SYSTEM", "INFORMATION"]),
    (526, 525, 200, 50, ["Software", "Version Info"]),
    (137, 136, 158, 41, ["Exit"]),
]


TIMER_FACES = [
    # normal, pressed, label lines: 200 x 50 keys of the timer board, each with the clock
    (603, 602, ["Load Delay"]),
    (605, 604, ["OOG Timer"]),
    (607, 606, ["Fan Delay"]),
    (609, 608, ["Cool Down", "Timer"]),
    (611, 610, ["Unload Delay"]),
]


def bar_face(symbol, text, state):
    w, h = 105, 40
    shift = 1 if state == "pressed" else 0
    ink = STYLES[state][4]
    return svg(w, h, body(w, h, state) + "\n"
               + f'<g transform="translate({6 + shift} {6 + shift})">'
               + symbol(ink, state == "greyed") + "</g>\n"
               + label(68 + shift, 25.5 + shift, text, 15, state))


def wide_face(w, h, lines, state):
    shift = 1 if state == "pressed" else 0
    size = 18 if len(lines) == 1 else 15
    accent = (f'<rect x="6" y="8" width="4" height="{h - 16}" rx="1.5" fill="{ACCENT}"/>')
    line_gap = size + 2
    first = h / 2 + size * 0.36 - (len(lines) - 1) * line_gap / 2
    texts = [label(w / 2 + 4 + shift, round(first + i * line_gap + shift, 1), line, size, state)
             for i, line in enumerate(lines)]
    return svg(w, h, body(w, h, state) + "\n" + accent + "\n" + "\n".join(texts))


def timer_face(lines, state):
    w, h = 200, 50
    shift = 1 if state == "pressed" else 0
    ink = STYLES[state][4]
    size = 18 if len(lines) == 1 else 15
    line_gap = size + 2
    first = h / 2 + size * 0.36 - (len(lines) - 1) * line_gap / 2
    texts = [label(116 + shift, round(first + i * line_gap + shift, 1), line, size, state)
             for i, line in enumerate(lines)]
    return svg(w, h, body(w, h, state) + "\n"
               + f'<g transform="translate({10 + shift} {11 + shift})">'
               + clock(ink, state == "greyed") + "</g>\n" + "\n".join(texts))


def write(number, content):
    with open(os.path.join(OUT, f"{number}.svg"), "w", encoding="utf-8") as f:
        f.write(content)


def main():
    os.makedirs(OUT, exist_ok=True)
    for normal, pressed, symbol, text in BAR_FACES:
        write(normal, bar_face(symbol, text, "normal"))
        write(pressed, bar_face(symbol, text, "pressed"))
    write(320, bar_face(corn, "M/C", "greyed"))
    for normal, pressed, w, h, lines in WIDE_FACES:
        write(normal, wide_face(w, h, lines, "normal"))
        write(pressed, wide_face(w, h, lines, "pressed"))
    for normal, pressed, lines in TIMER_FACES:
        write(normal, timer_face(lines, "normal"))
        write(pressed, timer_face(lines, "pressed"))


if __name__ == "__main__":
    main()
