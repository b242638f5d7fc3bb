#!/usr/bin/env python3
"""Writes the faces of the graph's six trace toggles into pictures/, in the shared style of
make_faces.py. The "on" face is a raised key with a black chip showing a wavy line in the trace's
own colour and a lit lamp; the "off" face is the same key pushed in and dimmed, the chip empty and
the lamp dark. Rerun after changing the style."""

from make_faces import FONT, STYLES, body, svg, write

W, H = 110, 40

# on, off, first label line, second label line, trace colour
TRACE_FACES = [
    (229, 230, "MOIST", "IN", "#00ff00"),
    (231, 232, "TEMP", "IN", "#ff8040"),
    (233, 234, "MOIST", "OUT", "#00ffff"),
    (235, 236, "TEMP", "OUT", "#ff00ff"),
    (237, 238, "DRYER", "GRAIN", "#ffff00"),
    (239, 240, "M.R.", "OUTPUT", "#ff0000"),
]


def chip(colour, on):
    """A 30 x 24 black chip with a wavy trace line, or an empty grey one."""
    parts = ['<rect x="6" y="8" width="30" height="24" rx="2" '
             f'fill="{"#000000" if on else "#3a4048"}" stroke="#1d2b38" stroke-width="1"/>']
    if on:
        parts.append(f'<path d="M 8 25 L 14 19 L 19 22 L 25 13 L 30 16 L 34 11" fill="none" '
                     f'stroke="{colour}" stroke-width="2.4" stroke-linejoin="round" '
                     'stroke-linecap="round"/>')
    else:
        parts.append('<line x1="9" y1="20" x2="33" y2="20" stroke="#6b737c" stroke-width="1.6" '
                     'stroke-dasharray="3 3"/>')
    return "\n".join(parts)


def lamp(on):
    fill = "#3cd23c" if on else "#4a5058"
    return (f'<circle cx="100" cy="20" r="4.5" fill="{fill}" stroke="#1d2b38" '
            'stroke-width="1"/>')


def trace_face(top, bottom, colour, on):
    state = "normal" if on else "pressed"
    ink = STYLES[state][3] if on else "#2a3540"
    texts = (f'<text x="68" y="18" {FONT} font-size="13" fill="{ink}" '
             f'text-anchor="middle">{top}</text>'
             f'<text x="68" y="33" {FONT} font-size="13" fill="{ink}" '
             f'text-anchor="middle">{bottom}</text>')
    return svg(W, H, body(W, H, state) + "\n" + chip(colour, on) + "\n" + texts + "\n" + lamp(on))


def main():
    for on, off, top, bottom, colour in TRACE_FACES:
        write(on, trace_face(top, bottom, colour, True))
        write(off, trace_face(top, bottom, colour, False))


if __name__ == "__main__":
    main()
