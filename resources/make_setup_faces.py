#!/usr/bin/env python3
"""Writes the 175 x 50 faces of the hardware setup board into pictures/, in the shared style of
make_faces.py: a symbol at the left, the words of the button beside it, and a greyed face for the
burner mode button of dryers that have no burner modes to choose. Rerun after changing the style."""

from make_faces import ACCENT, STYLES, body, clock, corn, label, svg, thermometer, write


def flow_arrows(ink, greyed):
    """Two arrows chasing each other: how the grain goes through the dryer."""
    colour = ACCENT if not greyed else ink
    return (f'<path d="M 5 12 A 9.5 9.5 0 0 1 22 8" fill="none" stroke="{ink}" stroke-width="2.6"'
            ' stroke-linecap="round"/>'
            f'<path d="M 24.5 3 L 23.5 11 L 16.5 8 Z" fill="{ink}"/>'
            f'<path d="M 23 16 A 9.5 9.5 0 0 1 6 20" fill="none" stroke="{colour}" '
            'stroke-width="2.6" stroke-linecap="round"/>'
            f'<path d="M 3.5 25 L 4.5 17 L 11.5 20 Z" fill="{colour}"/>')


def flame(ink, greyed):
    outer = "#e0641e" if not greyed else "#d0d3d6"
    inner = "#f6c232" if not greyed else "#e4e6e8"
    return (f'<path d="M 14 2 C 17 8 23 11 23 18 A 9 9 0 0 1 5 18 C 5 13 8 11 9 7 '
            f'C 11 10 12 12 12 14 C 14 10 15 7 14 2 Z" fill="{outer}" stroke="{ink}" '
            'stroke-width="1.8" stroke-linejoin="round"/>'
            f'<path d="M 14 13 C 16 16 18 18 18 21 A 4 4 0 0 1 10 21 C 10 18 12 16 14 13 Z" '
            f'fill="{inner}"/>'
            f'<line x1="4" y1="27" x2="24" y2="27" stroke="{ink}" stroke-width="1.8"/>')


def hopper(ink, greyed):
    """A hopper letting grain out at a set rate."""
    grain = "#f0c330" if not greyed else "#e4e6e8"
    return (f'<path d="M 2 3 L 26 3 L 17 15 L 11 15 Z" fill="{grain}" stroke="{ink}" '
            'stroke-width="2" stroke-linejoin="round"/>'
            f'<rect x="11" y="15" width="6" height="4" fill="{ink}"/>'
            + "".join(f'<circle cx="{x}" cy="{y}" r="1.4" fill="{grain}" stroke="{ink}" '
                      'stroke-width="0.8"/>' for x, y in ((14, 22), (12, 26), (16, 26)))
            + f'<path d="M 21 19 L 26 19 M 23.5 16.5 L 26 19 L 23.5 21.5" fill="none" '
            f'stroke="{ACCENT if not greyed else ink}" stroke-width="1.8" stroke-linecap="round"/>')


def thermometer_steps(ink, greyed):
    """The thermometer with a staircase going down: setpoints stepped down and back up."""
    stair = ACCENT if not greyed else ink
    return (f'<g transform="translate(-5 0)">{thermometer(ink, greyed)}</g>'
            f'<path d="M 18 6 L 21 6 L 21 11 L 24 11 L 24 16 L 27 16" fill="none" '
            f'stroke="{stair}" stroke-width="2.2" stroke-linejoin="round"/>')


def droplet_gauge(ink, greyed):
    """A moisture drop over a scale: the moisture sensor and its offsets."""
    water = "#3d8fd6" if not greyed else "#d0d3d6"
    return (f'<path d="M 11 2 C 14 8 19 12 19 17 A 8 8 0 0 1 3 17 C 3 12 8 8 11 2 Z" '
            f'fill="{water}" stroke="{ink}" stroke-width="1.8" stroke-linejoin="round"/>'
            f'<path d="M 7 17 A 4 4 0 0 0 11 21" fill="none" stroke="#ffffff" stroke-width="1.5"'
            ' stroke-linecap="round"/>'
            f'<line x1="23" y1="2" x2="23" y2="26" stroke="{ink}" stroke-width="2"/>'
            + "".join(f'<line x1="23" y1="{y}" x2="{27 if i % 2 == 0 else 25.5}" y2="{y}" '
                      f'stroke="{ink}" stroke-width="1.5"/>'
                      for i, y in enumerate((3, 8, 13, 18, 23)))
            + f'<path d="M 19 13 L 22 13" stroke="{ACCENT if not greyed else ink}" '
            'stroke-width="2"/>')


def gear_plus(ink, greyed):
    """A gear with a plus: more settings."""
    metal = "#9aa7b4" if not greyed else "#d0d3d6"
    teeth = "".join(f'<rect x="11.5" y="1" width="5" height="6" rx="1" fill="{metal}" '
                    f'stroke="{ink}" stroke-width="1.3" transform="rotate({a} 14 14)"/>'
                    for a in range(0, 360, 45))
    return (teeth
            + f'<circle cx="14" cy="14" r="9" fill="{metal}" stroke="{ink}" stroke-width="1.8"/>'
            f'<circle cx="14" cy="14" r="3.2" fill="#ffffff" stroke="{ink}" stroke-width="1.5"/>'
            f'<circle cx="22.5" cy="22.5" r="5.5" fill="{ACCENT if not greyed else ink}" '
            f'stroke="{ink}" stroke-width="1.3"/>'
            '<path d="M 22.5 19.5 L 22.5 25.5 M 19.5 22.5 L 25.5 22.5" stroke="#ffffff" '
            'stroke-width="1.8"/>')


def start_button(ink, greyed):
    go = "#3f9a4a" if not greyed else "#d0d3d6"
    return (f'<circle cx="14" cy="14" r="12" fill="{go}" stroke="{ink}" stroke-width="2"/>'
            '<path d="M 11 8 L 20 14 L 11 20 Z" fill="#ffffff"/>'
            f'<path d="M 4 4 A 14 14 0 0 1 9 1" fill="none" stroke="{ink}" stroke-width="1.5"/>')


def bushel_scale(ink, greyed):
    """A dial gauge: bushels per hour measured against what was counted."""
    face = "#ffffff" if not greyed else "#e4e6e8"
    needle = "#c8322b" if not greyed else ink
    return (f'<path d="M 2 20 A 12 12 0 0 1 26 20 Z" fill="{face}" stroke="{ink}" '
            'stroke-width="2" stroke-linejoin="round"/>'
            + "".join(f'<line x1="{14 + 9 * c:.2f}" y1="{20 - 9 * s:.2f}" '
                      f'x2="{14 + 11 * c:.2f}" y2="{20 - 11 * s:.2f}" stroke="{ink}" '
                      'stroke-width="1.4"/>'
                      for c, s in ((-1, 0), (-0.7071, 0.7071), (0, 1), (0.7071, 0.7071), (1, 0)))
            + f'<line x1="14" y1="20" x2="20" y2="12" stroke="{needle}" stroke-width="2.2" '
            'stroke-linecap="round"/>'
            f'<circle cx="14" cy="20" r="2" fill="{ink}"/>'
            f'<rect x="3" y="23" width="22" height="3" rx="1" fill="{ink}"/>')


def wrench(ink, greyed):
    metal = "#9aa7b4" if not greyed else "#d0d3d6"
    return (f'<g transform="rotate(45 14 14)">'
            f'<rect x="11.5" y="9" width="5" height="19" rx="2" fill="{metal}" stroke="{ink}" '
            'stroke-width="1.6"/>'
            f'<path d="M 8 2 L 8 7 A 6 6 0 0 0 20 7 L 20 2 L 17 2 L 17 6 L 11 6 L 11 2 Z" '
            f'fill="{metal}" stroke="{ink}" stroke-width="1.6" stroke-linejoin="round"/>'
            "</g>"
            f'<circle cx="21" cy="21" r="2.2" fill="{ACCENT if not greyed else ink}"/>')


def chart(ink, greyed):
    trace = ACCENT if not greyed else ink
    return (f'<rect x="2" y="3" width="24" height="22" rx="1.5" fill="#ffffff" stroke="{ink}" '
            'stroke-width="1.8"/>'
            + "".join(f'<line x1="3" y1="{y}" x2="25" y2="{y}" stroke="#c3cbd3" '
                      'stroke-width="0.8"/>' for y in (9, 14, 19))
            + f'<path d="M 4 20 L 9 15 L 13 17 L 18 9 L 24 11" fill="none" stroke="{trace}" '
            'stroke-width="2" stroke-linejoin="round" stroke-linecap="round"/>')


def antenna(ink, greyed):
    waves = ACCENT if not greyed else ink
    return (f'<path d="M 14 11 L 8 27 M 14 11 L 20 27 M 10 21 L 18 21" fill="none" '
            f'stroke="{ink}" stroke-width="2" stroke-linecap="round"/>'
            f'<circle cx="14" cy="10" r="2.5" fill="{ink}"/>'
            f'<path d="M 8.5 4.5 A 8 8 0 0 0 8.5 15.5 M 19.5 4.5 A 8 8 0 0 1 19.5 15.5 '
            f'M 5 1.5 A 12 12 0 0 0 5 18.5 M 23 1.5 A 12 12 0 0 1 23 18.5" fill="none" '
            f'stroke="{waves}" stroke-width="1.8" stroke-linecap="round"/>')


# normal, pressed, symbol, label lines (the words on the picture); greyed faces follow
SETUP_FACES = [
    (4401, 4400, flow_arrows, ["Drying Mode"]),
    (4403, 4402, corn, ["M/C Setup"]),
    (4405, 4404, flame, ["Burner Mode"]),
    (4409, 4408, hopper, ["Unload", "Parameters"]),
    (4411, 4410, thermometer_steps, ["Plenum Temp", "Manager"]),
    (4413, 4412, droplet_gauge, ["Calibrate", "Moisture Sensor"]),
    (4415, 4414, gear_plus, ["Extended", "Setup"]),
    (4417, 4416, start_button, ["Auto Start"]),
    (4419, 4418, bushel_scale, ["BPH Cal"]),
    (4421, 4420, wrench, ["Diagnostics"]),
    (4423, 4422, clock, ["Set Time/Date"]),
    (4425, 4424, chart, ["Data Logger", "Setup"]),
    (4427, 4426, antenna, ["Remote", "Connection"]),
]
GREYED_FACES = [
    # number, symbol, label lines
    (4406, flame, ["Burner Mode"]),
]


def setup_face(symbol, lines, state):
    w, h = 175, 50
    shift = 1 if state == "pressed" else 0
    ink = STYLES[state][4]
    scale = 36 / 28
    symbol_x = 7 + shift
    symbol_y = (h - 36) / 2 + shift
    text_left = symbol_x + 36 + 3
    centre = (text_left + w - 6) / 2
    longest = max(len(line) for line in lines)
    size = 15 if len(lines) == 1 and longest <= 12 else 14 if longest <= 13 else 13
    line_gap = size + 2
    first = h / 2 + size * 0.36 - (len(lines) - 1) * line_gap / 2
    texts = [label(round(centre + shift, 1), round(first + i * line_gap + shift, 1), line, size,
                   state) for i, line in enumerate(lines)]
    return svg(w, h, body(w, h, state) + "\n"
               + f'<g transform="translate({symbol_x:.1f} {symbol_y:.1f}) scale({scale:.3f})">'
               + symbol(ink, state == "greyed") + "</g>\n" + "\n".join(texts))


def main():
    for normal, pressed, symbol, lines in SETUP_FACES:
        write(normal, setup_face(symbol, lines, "normal"))
        write(pressed, setup_face(symbol, lines, "pressed"))
    for number, symbol, lines in GREYED_FACES:
        write(number, setup_face(symbol, lines, "greyed"))


if __name__ == "__main__":
    main()
