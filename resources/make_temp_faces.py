#!/usr/bin/env python3
"""Writes the faces of the temperature setpoint buttons into pictures/, in the shared style of
make_faces.py: a thermometer for the plenum setpoints (a blue, low one for
the low temperatures), a corn cob for the grain temperatures, the
label beside the symbol. Rerun after changing the style."""

from make_faces import STYLES, body, corn, label, svg, thermometer, write


def thermometer_low(ink, greyed):
    """The thermometer with a short blue column: the low-temperature setpoints."""
    blue = "#2b62c8" if not greyed else ink
    return (f'<rect x="10.5" y="1.5" width="7" height="19" rx="3.5" fill="#ffffff" '
            f'stroke="{ink}" stroke-width="2"/>'
            f'<circle cx="14" cy="21.5" r="5.5" fill="{blue}" stroke="{ink}" stroke-width="2"/>'
            f'<rect x="12.6" y="15" width="2.8" height="5" fill="{blue}"/>'
            + "".join(f'<line x1="18.5" y1="{y}" x2="22" y2="{y}" stroke="{ink}" '
                      'stroke-width="1.5"/>' for y in (5, 9, 13)))

# normal, pressed, width, height, symbol, label lines
TEMP_FACES = [
    (4101, 4100, 180, 50, thermometer, ["Plenum 1 Temp"]),
    (4103, 4102, 180, 50, thermometer, ["Plenum 2 Temp"]),
    (4105, 4104, 180, 50, thermometer, ["Plenum 3 Temp"]),
    (4107, 4106, 180, 50, thermometer, ["Plenum 4 Temp"]),
    (4109, 4108, 180, 50, thermometer, ["Plenum 5 Temp"]),
    (4111, 4110, 180, 50, thermometer, ["Plenum 6 Temp"]),
    (4113, 4112, 180, 50, thermometer_low, ["PLENUM 1", "LO-TEMP"]),
    (4115, 4114, 180, 50, thermometer, ["PLENUM 1", "HI-TEMP"]),
    (4117, 4116, 180, 50, thermometer_low, ["PLENUM 2", "LO-TEMP"]),
    (4119, 4118, 180, 50, thermometer, ["PLENUM 2", "HI-TEMP"]),
    (4121, 4120, 200, 50, corn, ["Grain Temp"]),
    (4123, 4122, 127, 40, corn, ["HI-TEMP"]),
    (4125, 4124, 127, 40, corn, ["LO-TEMP"]),
]


def temp_face(w, h, symbol, lines, state):
    shift = 1 if state == "pressed" else 0
    ink = STYLES[state][4]
    scale = min(h - 14, 36) / 28
    symbol_x = 6 + shift
    symbol_y = (h - 28 * scale) / 2 + shift
    text_left = symbol_x + 28 * scale + 4
    centre = (text_left + w - 6) / 2
    size = 15 if len(lines) == 1 else 14
    line_gap = size + 2
    first = h / 2 + size * 0.36 - (len(lines) - 1) * line_gap / 2
    texts = [label(round(centre + shift, 1), round(first + i * line_gap + shift, 1), line, size,
                   state) for i, line in enumerate(lines)]
    return svg(w, h, body(w, h, state) + "\n"
               + f'<g transform="translate({symbol_x:.1f} {symbol_y:.1f}) scale({scale:.3f})">'
               + symbol(ink, False) + "</g>\n" + "\n".join(texts))


def main():
    for normal, pressed, w, h, symbol, lines in TEMP_FACES:
        write(normal, temp_face(w, h, symbol, lines, "normal"))
        write(pressed, temp_face(w, h, symbol, lines, "pressed"))


if __name__ == "__main__":
    main()
