#!/usr/bin/env python3
"""Writes the 175 x 50 faces of the extended setup board into pictures/, in the style of the
hardware setup board (make_setup_faces.py): a symbol at the left, the words of the button beside
it. Diagnostics, Set Time/Date and Data Logger Setup reuse the hardware board's faces. Rerun after
changing the style."""

from make_faces import ACCENT, thermometer, write
from make_setup_faces import bushel_scale, setup_face


def differential(ink, greyed):
    """A thermometer beside a span between two marks: the swing around the setpoint."""
    band = ACCENT if not greyed else ink
    return (f'<g transform="translate(-7 0)">{thermometer(ink, greyed)}</g>'
            f'<path d="M 17 3 L 28 3 M 17 21 L 28 21" stroke="{ink}" stroke-width="2"/>'
            f'<path d="M 22.5 5.5 L 22.5 18.5" stroke="{band}" stroke-width="2.4"/>'
            f'<path d="M 18.5 9.5 L 22.5 4.5 L 26.5 9.5 Z M 18.5 14.5 L 22.5 19.5 L 26.5 14.5 Z" '
            f'fill="{band}"/>')


def printer(ink, greyed):
    paper = "#ffffff" if not greyed else "#e4e6e8"
    case = "#9aa7b4" if not greyed else "#d0d3d6"
    return (f'<rect x="7" y="2" width="14" height="9" fill="{paper}" stroke="{ink}" '
            'stroke-width="1.6"/>'
            f'<rect x="2" y="10" width="24" height="11" rx="2" fill="{case}" stroke="{ink}" '
            'stroke-width="1.8"/>'
            f'<rect x="7" y="17" width="14" height="9" fill="{paper}" stroke="{ink}" '
            'stroke-width="1.6"/>'
            f'<path d="M 9.5 20.5 L 18.5 20.5 M 9.5 23.5 L 16 23.5" stroke="{ink}" '
            'stroke-width="1.2"/>'
            f'<circle cx="22" cy="13.5" r="1.4" fill="{ACCENT if not greyed else ink}"/>')


def roll_reverse(ink, greyed):
    """A fluted metering roll with an arrow turning it backwards."""
    metal = "#9aa7b4" if not greyed else "#d0d3d6"
    arrow = "#c8322b" if not greyed else ink
    flutes = "".join(f'<line x1="{x}" y1="10" x2="{x}" y2="18" stroke="{ink}" '
                     'stroke-width="1.2"/>' for x in (8, 12, 16, 20))
    return (f'<rect x="3" y="9" width="22" height="10" rx="4" fill="{metal}" stroke="{ink}" '
            'stroke-width="1.8"/>' + flutes
            + f'<path d="M 22 5 A 9 5 0 0 0 6 5" fill="none" stroke="{arrow}" stroke-width="2.2"'
            ' stroke-linecap="round"/>'
            f'<path d="M 2.5 5.5 L 8 1.5 L 8.5 8 Z" fill="{arrow}"/>'
            f'<path d="M 6 23 A 9 5 0 0 0 22 23" fill="none" stroke="{arrow}" stroke-width="2.2"'
            ' stroke-linecap="round"/>'
            f'<path d="M 25.5 22.5 L 20 26.5 L 19.5 20 Z" fill="{arrow}"/>')


def sampler(ink, greyed):
    """A sample cup under a cycle arrow."""
    grain = "#f0c330" if not greyed else "#e4e6e8"
    cycle = ACCENT if not greyed else ink
    return (f'<path d="M 5 13 L 19 13 L 17 26 L 7 26 Z" fill="{grain}" stroke="{ink}" '
            'stroke-width="1.8" stroke-linejoin="round"/>'
            f'<path d="M 8 9 A 8 8 0 0 1 24 9" fill="none" stroke="{cycle}" stroke-width="2.2" '
            'stroke-linecap="round"/>'
            f'<path d="M 26.5 6 L 24.5 13 L 20 8.5 Z" fill="{cycle}"/>'
            f'<path d="M 22 17 L 27 17 M 22 21 L 27 21" stroke="{ink}" stroke-width="1.6"/>')


def temp_scale(ink, greyed):
    """A thermometer between the two unit letters."""
    return (f'<g transform="translate(-7 0)">{thermometer(ink, greyed)}</g>'
            f'<text x="21.5" y="12" font-family="DejaVu Sans, sans-serif" font-weight="bold" '
            f'font-size="10" fill="{ink}" text-anchor="middle">F</text>'
            f'<text x="21.5" y="25" font-family="DejaVu Sans, sans-serif" font-weight="bold" '
            f'font-size="10" fill="{ACCENT if not greyed else ink}" text-anchor="middle">C</text>')


def dryer_tower(ink, greyed):
    """The dryer: a tall column with plenum doors and a fan at its foot."""
    wall = "#c9d2db" if not greyed else "#e4e6e8"
    return (f'<rect x="6" y="1.5" width="16" height="22" fill="{wall}" stroke="{ink}" '
            'stroke-width="1.8"/>'
            f'<path d="M 6 1.5 L 14 -2 L 22 1.5" fill="none" stroke="{ink}" stroke-width="1.5"/>'
            + "".join(f'<rect x="9" y="{y}" width="10" height="4" fill="#ffffff" stroke="{ink}" '
                      'stroke-width="1.1"/>' for y in (4, 10, 16))
            + f'<rect x="3" y="23.5" width="22" height="3.5" fill="{ink}"/>'
            f'<circle cx="14" cy="12" r="1.2" fill="{ACCENT if not greyed else ink}"/>')


def saved_defaults(ink, greyed):
    """A storage disk: settings kept for later."""
    body = "#3d6fa8" if not greyed else "#c9cdd1"
    return (f'<path d="M 3 3 L 22 3 L 26 7 L 26 26 L 3 26 Z" fill="{body}" stroke="{ink}" '
            'stroke-width="1.8" stroke-linejoin="round"/>'
            '<rect x="8" y="3" width="12" height="7" fill="#ffffff"/>'
            f'<rect x="16" y="4.5" width="2.5" height="4" fill="{ink}"/>'
            '<rect x="7" y="15" width="15" height="11" fill="#ffffff"/>'
            f'<path d="M 9.5 19 L 19.5 19 M 9.5 22.5 L 17 22.5" stroke="{ink}" '
            'stroke-width="1.2"/>')


def batch_counter(ink, greyed):
    """A counter window turned back to zero."""
    back = ACCENT if not greyed else ink
    return (f'<rect x="2" y="8" width="24" height="13" rx="2" fill="#ffffff" stroke="{ink}" '
            'stroke-width="1.8"/>'
            + "".join(f'<text x="{x}" y="18.5" font-family="DejaVu Sans Mono, monospace" '
                      f'font-weight="bold" font-size="10" fill="{ink}" text-anchor="middle">0'
                      '</text>' for x in (8, 14, 20))
            + f'<path d="M 22 5 A 9 4 0 0 0 6 5" fill="none" stroke="{back}" stroke-width="2"'
            ' stroke-linecap="round"/>'
            f'<path d="M 3 5.5 L 8 2 L 8.5 8 Z" fill="{back}"/>')


# normal, pressed, symbol, label lines (the words on the picture)
EXTENDED_FACES = [
    (4801, 4800, differential, ["Differential"]),
    (4803, 4802, printer, ["Printer Setup"]),
    (4805, 4804, roll_reverse, ["Meter Roll", "Reverse"]),
    (4807, 4806, sampler, ["Sampler", "Cycle Rate"]),
    (4809, 4808, bushel_scale, ["BPH", "Calibration"]),
    (4811, 4810, temp_scale, ["Temp Scale"]),
    (4813, 4812, dryer_tower, ["Dryer Model"]),
    (4815, 4814, saved_defaults, ["USER SAVED", "DEFAULTS"]),
    (4817, 4816, batch_counter, ["Batches"]),
]


def main():
    for normal, pressed, symbol, lines in EXTENDED_FACES:
        write(normal, setup_face(symbol, lines, "normal"))
        write(pressed, setup_face(symbol, lines, "pressed"))


if __name__ == "__main__":
    main()
