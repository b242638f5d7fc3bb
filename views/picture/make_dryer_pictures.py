#!/usr/bin/env python3
"""Writes the dryer picture's artwork into resources/pictures/: the dryer bodies, the fan/heater
tiles in their three animation frames, the flames, the loading, unloading and metering-roll marks,
the roll-size badges, the lamps and the corner mark.

One style for all of it, the same calm industrial language as the button faces: steel-blue walls
with a light edge, golden grain, a dark plenum, and colour only where something happens (turning
fan blades and moving air in cyan, flames in orange and yellow, grain in gold). Everything is drawn
on a transparent ground so the pieces stack on the window's black background and on each other.

Animations are three frames each; every frame moves a third of the pattern's period (a third of a
blade pitch, a third of a kernel spacing), so the eye reads steady motion in one direction.

Edit here and rerun; a designer may also overwrite the SVG files by hand."""

import math
import os

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "pictures")

# Palette (shared with the button faces where the roles meet).
INK = "#1d2b38"
ACCENT = "#d98c1a"
STEEL_HI = "#c3cbd3"
STEEL = "#8493a2"
STEEL_DARK = "#4a5a6a"
PLENUM = "#1b2733"
PLENUM_EDGE = "#34485a"
GRAIN = "#c99a32"
GRAIN_HI = "#e8c25a"
GRAIN_LO = "#9c7424"
AIR = "#6cc6ee"
BLADE = "#e6edf3"
IDLE_BLADE = "#6f7d8a"
FLAME_OUT = "#ff6a1a"
FLAME_MID = "#ffa726"
FLAME_IN = "#ffe37a"
FLAME_BLUE = "#4aa3ff"


def svg(w, h, content):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n{content}\n</svg>\n')


def grad(ident, top, bottom, horizontal=False):
    x2, y2 = ("1", "0") if horizontal else ("0", "1")
    return (f'<linearGradient id="{ident}" x1="0" y1="0" x2="{x2}" y2="{y2}">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            '</linearGradient>')


def poly(points, fill, stroke="none", width=0, extra=""):
    pts = " ".join(f"{x:.1f},{y:.1f}" for x, y in points)
    s = f' stroke="{stroke}" stroke-width="{width}" stroke-linejoin="round"' if stroke != "none" else ""
    return f'<polygon points="{pts}" fill="{fill}"{s}{extra}/>'


def line(x1, y1, x2, y2, stroke, width, extra=""):
    return (f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" stroke="{stroke}" '
            f'stroke-width="{width}"{extra}/>')


def kernel(cx, cy, r=2.4, angle=0, fill=GRAIN_HI, edge=GRAIN_LO):
    return (f'<ellipse cx="{cx:.2f}" cy="{cy:.2f}" rx="{r * 0.75:.2f}" ry="{r:.2f}" fill="{fill}" '
            f'stroke="{edge}" stroke-width="0.7" transform="rotate({angle} {cx:.2f} {cy:.2f})"/>')


def grain_texture(x0, y0, x1, y1, seed, spacing=7):
    """A sparse dotting of kernels so a filled column reads as grain, not as a flat colour."""
    parts = []
    row = 0
    y = y0 + spacing / 2
    while y < y1 - 1:
        x = x0 + (spacing / 2 if row % 2 else spacing)
        while x < x1 - 1:
            jitter = ((int(x * 7 + y * 13 + seed) % 5) - 2) * 0.4
            parts.append(f'<circle cx="{x + jitter:.1f}" cy="{y:.1f}" r="1.1" fill="{GRAIN_LO}"/>')
            x += spacing
        y += spacing * 0.8
        row += 1
    return "".join(parts)


# ---------------------------------------------------------------------------------------------
# Moving parts


def fan_wheel(cx, cy, r, frame, running, blades=3):
    """An axial fan seen face on: ring, blades, hub. Running blades are light with a cyan ring."""
    ring = AIR if running else STEEL_DARK
    blade = BLADE if running else IDLE_BLADE
    pitch = 360 / blades
    offset = frame * pitch / 3 if running else 0
    parts = [f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{PLENUM}" stroke="{ring}" '
             f'stroke-width="{max(1.5, r * 0.12):.1f}"/>']
    for i in range(blades):
        a = offset + i * pitch
        # a swept blade: a lens from the hub to the rim
        parts.append(
            f'<path d="M {cx} {cy} Q {cx + r * 0.95:.2f} {cy - r * 0.45:.2f} {cx + r * 0.78:.2f} '
            f'{cy + r * 0.18:.2f} Q {cx + r * 0.45:.2f} {cy + r * 0.25:.2f} {cx} {cy} Z" '
            f'fill="{blade}" stroke="{INK}" stroke-width="0.6" transform="rotate({a:.1f} {cx} {cy})"/>')
    parts.append(f'<circle cx="{cx}" cy="{cy}" r="{r * 0.22:.2f}" fill="{ACCENT if running else STEEL}" '
                 f'stroke="{INK}" stroke-width="0.8"/>')
    return "".join(parts)


def flame(cx, base, height, width, frame, strong):
    """A burner flame standing on `base`: outer orange, middle amber, yellow core; a blue root when
    strong. The three frames change height and lean so the flame flickers."""
    lean = (-0.12, 0.1, -0.02)[frame]
    grow = (1.0, 0.84, 0.93)[frame]
    h = height * grow
    w = width

    def tongue(scale_w, scale_h, colour):
        tw = w * scale_w
        th = h * scale_h
        tipx = cx + lean * th
        return (f'<path d="M {cx - tw / 2:.2f} {base:.2f} '
                f'C {cx - tw / 2:.2f} {base - th * 0.45:.2f} {tipx - tw * 0.2:.2f} {base - th * 0.7:.2f} '
                f'{tipx:.2f} {base - th:.2f} '
                f'C {tipx + tw * 0.25:.2f} {base - th * 0.65:.2f} {cx + tw / 2:.2f} {base - th * 0.45:.2f} '
                f'{cx + tw / 2:.2f} {base:.2f} Z" fill="{colour}"/>')

    parts = [tongue(1.0, 1.0, FLAME_OUT), tongue(0.7, 0.78, FLAME_MID), tongue(0.4, 0.5, FLAME_IN)]
    # a second, smaller tongue beside the first makes the fire look alive
    side = (0.28, -0.3, 0.3)[frame]
    sx = cx + side * w
    sh = h * (0.45, 0.55, 0.38)[frame]
    parts.append(f'<path d="M {sx - w * 0.16:.2f} {base:.2f} Q {sx - w * 0.1:.2f} {base - sh * 0.6:.2f} '
                 f'{sx:.2f} {base - sh:.2f} Q {sx + w * 0.12:.2f} {base - sh * 0.6:.2f} '
                 f'{sx + w * 0.16:.2f} {base:.2f} Z" fill="{FLAME_MID}" fill-opacity="0.9"/>')
    if strong:
        parts.append(f'<ellipse cx="{cx:.2f}" cy="{base - 1.5:.2f}" rx="{w * 0.42:.2f}" ry="{max(2, h * 0.09):.2f}" '
                     f'fill="{FLAME_BLUE}"/>')
    return "".join(parts)


def burner_bar(cx, y, width):
    return (f'<rect x="{cx - width / 2:.1f}" y="{y:.1f}" width="{width:.1f}" height="4" rx="1.5" '
            f'fill="{STEEL}" stroke="{INK}" stroke-width="0.8"/>')


def air_chevrons(x0, x1, cy, size, frame, colour=AIR):
    """Chevrons pointing right, stepping a third of their spacing per frame."""
    spacing = (x1 - x0) / 2
    parts = []
    for i in range(3):
        x = x0 + (i + frame / 3) * spacing - spacing / 2
        if x < x0 - 0.5 or x > x1:
            continue
        parts.append(f'<polyline points="{x - size / 2:.1f},{cy - size:.1f} {x + size / 2:.1f},{cy:.1f} '
                     f'{x - size / 2:.1f},{cy + size:.1f}" fill="none" stroke="{colour}" '
                     f'stroke-width="{max(1.4, size * 0.45):.1f}" stroke-linecap="round" stroke-linejoin="round"/>')
    return "".join(parts)


def fluted_roll(cx, cy, r, flutes, frame, ring=STEEL_HI):
    """A metering roll end on: a drum with flutes; three frames turn it a third of a flute pitch."""
    pitch = 360 / flutes
    offset = frame * pitch / 3
    parts = [f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{STEEL_DARK}" stroke="{ring}" '
             f'stroke-width="{max(1.0, r * 0.12):.1f}"/>']
    for i in range(flutes):
        a = math.radians(offset + i * pitch)
        fx = cx + r * 0.68 * math.cos(a)
        fy = cy + r * 0.68 * math.sin(a)
        parts.append(f'<circle cx="{fx:.2f}" cy="{fy:.2f}" r="{max(0.9, r * 0.2):.2f}" fill="{GRAIN_HI}"/>')
    # one marked flute, so the turn is easy to follow
    a = math.radians(offset)
    parts.append(line(cx, cy, cx + r * 0.9 * math.cos(a), cy + r * 0.9 * math.sin(a), ACCENT,
                      max(1.2, r * 0.18), ' stroke-linecap="round"'))
    parts.append(f'<circle cx="{cx}" cy="{cy}" r="{max(1.0, r * 0.2):.2f}" fill="{INK}"/>')
    return "".join(parts)


def falling_grain(w, h, frame, arrow=True):
    """Kernels falling down a stream, a third of the spacing further each frame, over a down arrow."""
    cx = w / 2
    spacing = h / 3
    parts = []
    if arrow:
        aw = w * 0.42
        parts.append(poly([(cx - aw / 2, h * 0.56), (cx + aw / 2, h * 0.56), (cx, h - 1)],
                          ACCENT, INK, 0.8, ' fill-opacity="0.9"'))
        parts.append(f'<rect x="{cx - aw * 0.18:.1f}" y="1" width="{aw * 0.36:.1f}" height="{h * 0.58:.1f}" '
                     f'fill="{ACCENT}" fill-opacity="0.35"/>')
    r = max(1.4, w * 0.075)
    for lane, dx in enumerate((-w * 0.2, 0, w * 0.2)):
        for i in range(-1, 4):
            y = (i + frame / 3 + lane / 3) * spacing
            if y < r or y > h - r:
                continue
            parts.append(kernel(cx + dx, y, r, angle=(lane * 40 + i * 25) % 90 - 45))
    return "".join(parts)


# ---------------------------------------------------------------------------------------------
# Tiles: a fan/heater unit in a housing, fan on the left blowing through the burner on the right.

TILE_STATES = ("idle", "fan", "burner1", "burner2")


def tile_unit(x, y, w, h, state, frame):
    running = state != "idle"
    r = min(h * 0.38, w * 0.22)
    fan_cx = x + 4 + r + 2
    cy = y + h / 2
    parts = [f'<rect x="{x + 0.75}" y="{y + 0.75}" width="{w - 1.5}" height="{h - 1.5}" rx="4" '
             f'fill="url(#housing)" stroke="{STEEL_HI if running else STEEL}" stroke-width="1.5"/>']
    parts.append(fan_wheel(fan_cx, cy, r, frame, running))
    burner_x0 = fan_cx + r + 4
    burner_cx = (burner_x0 + x + w - 4) / 2
    burner_w = x + w - 4 - burner_x0
    if running:
        parts.append(air_chevrons(fan_cx + r + 2, x + w - 4, y + h * 0.2, max(2.5, h * 0.07), frame))
    base = y + h - 7
    parts.append(burner_bar(burner_cx, base, burner_w * 0.9))
    if state in ("burner1", "burner2"):
        strong = state == "burner2"
        # high fire stands a good deal taller and wider, so the two forms part at a glance
        height = (h * 0.8) if strong else (h * 0.46)
        width = burner_w * (0.95 if strong else 0.6)
        parts.append(flame(burner_cx, base, height, width, frame, strong))
    else:
        # the pilot's nozzle, unlit
        parts.append(f'<rect x="{burner_cx - 2:.1f}" y="{base - 5:.1f}" width="4" height="5" fill="{STEEL}"/>')
    return "".join(parts)


def tile(tw, th, ux, uy, uw, uh, state, frame):
    defs = "<defs>" + grad("housing", "#2e3e4d", "#1f2b37") + "</defs>"
    return svg(tw, th, defs + tile_unit(ux, uy, uw, uh, state, frame))


# ---------------------------------------------------------------------------------------------
# Bodies

BODY_DEFS = ("<defs>" + grad("wall", STEEL_HI, STEEL, horizontal=True) + grad("grain", GRAIN_HI, GRAIN)
             + grad("plenum", "#22313f", PLENUM) + "</defs>")


def column_pair(top, bottom, left_outer, left_inner, right_inner, right_outer, seed):
    """Two grain columns with their screens and the plenum between them."""
    parts = [
        f'<rect x="{left_inner}" y="{top}" width="{right_inner - left_inner}" height="{bottom - top}" '
        f'fill="url(#plenum)"/>',
        f'<rect x="{left_outer}" y="{top}" width="{left_inner - left_outer}" height="{bottom - top}" fill="url(#grain)"/>',
        f'<rect x="{right_inner}" y="{top}" width="{right_outer - right_inner}" height="{bottom - top}" fill="url(#grain)"/>',
        grain_texture(left_outer, top, left_inner, bottom, seed),
        grain_texture(right_inner, top, right_outer, bottom, seed + 3),
        # perforated screens between grain and plenum
        line(left_inner, top, left_inner, bottom, PLENUM_EDGE, 2, ' stroke-dasharray="3,2"'),
        line(right_inner, top, right_inner, bottom, PLENUM_EDGE, 2, ' stroke-dasharray="3,2"'),
        # outer walls
        line(left_outer, top, left_outer, bottom, STEEL_HI, 2.5),
        line(right_outer, top, right_outer, bottom, STEEL_HI, 2.5),
    ]
    return "".join(parts)


def garner(top, bottom, top_l, top_r, bot_l, bot_r, inlet_x):
    return (poly([(top_l, top), (top_r, top), (bot_r, bottom), (bot_l, bottom)], "url(#grain)", STEEL_HI, 2.5)
            + grain_texture(top_l + 4, top + 12, top_r - 4, bottom, 11)
            # the grain surface, heaped under the inlet
            + f'<path d="M {top_l + 2} {top + 10} Q {inlet_x} {top + 2} {top_r - 2} {top + 10} L {top_r - 2} {top + 2} '
              f'L {top_l + 2} {top + 2} Z" fill="#0f161d"/>'
            + f'<rect x="{inlet_x - 6}" y="0" width="12" height="{top + 3}" fill="{STEEL}" stroke="{STEEL_HI}" '
              'stroke-width="1"/>')


def roof(left, right, apex_y, eave_y):
    cx = (left + right) / 2
    return poly([(left, eave_y), (cx, apex_y), (right, eave_y)], STEEL_DARK, STEEL_HI, 2)


def hopper(outer_top, inner_top, top, roll_x, roll_y, roll_r):
    """A sloping hopper that funnels one column down to its metering roll."""
    return (poly([(outer_top, top), (inner_top, top), (roll_x + (roll_r if inner_top > outer_top else -roll_r), roll_y),
                  (roll_x - (roll_r if inner_top > outer_top else -roll_r), roll_y)],
                 "url(#grain)", STEEL_HI, 2)
            + f'<circle cx="{roll_x}" cy="{roll_y}" r="{roll_r + 2}" fill="{PLENUM}" stroke="{STEEL_HI}" stroke-width="1.5"/>')


def trough(x, y, w, h):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="5" fill="{STEEL_DARK}" stroke="{STEEL_HI}" '
            'stroke-width="2"/>'
            f'<rect x="{x + 4}" y="{y + h * 0.55:.1f}" width="{w - 8}" height="{h * 0.35:.1f}" rx="3" fill="{GRAIN}"/>')


def legs(xs, top, bottom):
    return "".join(f'<rect x="{x}" y="{top}" width="5" height="{bottom - top}" fill="{STEEL_DARK}" '
                   f'stroke="{STEEL}" stroke-width="1"/>' for x in xs) + line(
        min(xs) - 8, bottom, max(xs) + 13, bottom, STEEL, 2)


def body_standard():
    # Drawn at (0, 25) in the window; coordinates here are the picture's own (window y - 25).
    # Axis x 94: loading mark 75..113 at the inlet, unloading 75..113 in the trough, rolls at 66.5
    # and 118.5. Plenum 48..140 holds the fan/heater tiles; columns 22..48 and 140..166.
    p = [BODY_DEFS]
    p.append(legs([30, 153], 236, 312))
    p.append(column_pair(66, 234, 22, 48, 140, 166, 1))
    p.append(hopper(22, 48, 234, 66.5, 257, 11))
    p.append(hopper(166, 140, 234, 118.5, 257, 11))
    p.append(poly([(48, 234), (94, 254), (140, 234)], STEEL_DARK, STEEL_HI, 2))
    p.append(trough(64, 266, 60, 40))
    p.append(roof(48, 140, 64, 80))
    p.append(garner(6, 66, 56, 132, 22, 166, 94))
    return svg(180, 315, "".join(p))


def body_modules(modules, w=240, h=420, origin_x=0):
    """A tower of stacked modules. `origin_x` is where the picture's left edge falls in the window,
    so the layout below can be written in window coordinates."""
    ox = origin_x
    if modules == 2:
        axis, lo, li, ri, ro = 76, 20, 40, 112, 132
        sections = [(48, 190), (228, 366)]
        roll_y, roll_l, roll_r = 374, 55, 97
        trough_box = (58, 376, 38, 30)
    else:
        axis, lo, li, ri, ro = 76, 20, 40, 112, 132
        sections = [(44, 140), (150, 246), (256, 352)]
        roll_y, roll_l, roll_r = 374, 55, 97
        trough_box = (58, 376, 38, 30)
    p = [BODY_DEFS, f'<g transform="translate({-ox} 0)">']
    p.append(legs([lo + 6, ro - 11], sections[-1][1], 414))
    for i, (top, bottom) in enumerate(sections):
        p.append(column_pair(top, bottom, lo, li, ri, ro, 5 + i))
        p.append(roof(li, ri, top, top + 12))
        if i + 1 < len(sections):
            # the joint between two modules: the columns run on, the plenums are closed
            nxt = sections[i + 1][0]
            p.append(f'<rect x="{lo}" y="{bottom}" width="{ro - lo}" height="{nxt - bottom}" fill="url(#grain)"/>')
            p.append(grain_texture(lo, bottom, ro, nxt, 21 + i))
            p.append(poly([(li, bottom), (axis, bottom + 10), (ri, bottom)], STEEL_DARK, STEEL_HI, 1.5))
            p.append(line(lo, bottom, lo, nxt, STEEL_HI, 2.5) + line(ro, bottom, ro, nxt, STEEL_HI, 2.5))
            p.append(f'<rect x="{lo - 3}" y="{bottom + (nxt - bottom) / 2 - 2:.1f}" width="{ro - lo + 6}" height="4" '
                     f'fill="{STEEL}"/>')
    last = sections[-1][1]
    p.append(hopper(lo, li, last, roll_l, roll_y, 7))
    p.append(hopper(ro, ri, last, roll_r, roll_y, 7))
    p.append(poly([(li, last), (axis, last + 8), (ri, last)], STEEL_DARK, STEEL_HI, 1.5))
    p.append(trough(*trough_box))
    top = sections[0][0]
    p.append(garner(4, top, axis - 26, axis + 26, lo, ro, axis - 4))
    p.append("</g>")
    return svg(w, h, "".join(p))


def body_one_plenum():
    # 150 x 360 at (0, 0): a compact bin dryer around axis 74; the fan sits under the burner and
    # blows up into the plenum; an auger carries the grain out to the right at the bottom.
    p = [BODY_DEFS]
    p.append(column_pair(58, 290, 14, 40, 108, 134, 7))
    p.append(roof(40, 108, 52, 66))
    p.append(garner(8, 58, 38, 92, 14, 134, 64))
    # burner ring and fan duct in the plenum
    p.append(f'<rect x="48" y="222" width="52" height="44" rx="4" fill="#14202b" stroke="{PLENUM_EDGE}" stroke-width="1.5"/>')
    p.append(burner_bar(74, 216, 40))
    # floor and sweep pit
    p.append(poly([(14, 290), (40, 290), (60, 306), (40, 306)], "url(#grain)", STEEL_HI, 1.5))
    p.append(poly([(134, 290), (108, 290), (88, 306), (108, 306)], "url(#grain)", STEEL_HI, 1.5))
    p.append(f'<rect x="48" y="304" width="52" height="44" rx="6" fill="{STEEL_DARK}" stroke="{STEEL_HI}" stroke-width="2"/>')
    # the discharge auger's tube, out to the right
    p.append(f'<rect x="62" y="323" width="80" height="22" rx="4" fill="{STEEL_DARK}" stroke="{STEEL_HI}" stroke-width="1.5"/>')
    p.append(legs([20, 125], 290, 356))
    return svg(150, 360, "".join(p))


# ---------------------------------------------------------------------------------------------
# Small pictures


def roll_badge(size, large, framed):
    r = 15 if large else 10.5
    flutes = 8 if large else 6
    c = size / 2
    frame = (f'<rect x="1" y="1" width="{size - 2}" height="{size - 2}" rx="5" fill="{PLENUM}" '
             f'stroke="{STEEL}" stroke-width="1.5"/>') if framed else ""
    return svg(size, size, frame + fluted_roll(c, c, r, flutes, 0))


def corner_mark():
    # An attention corner: amber triangle with an exclamation mark, for a state the operator should
    # look into; drawn over the top-left corner of the picture.
    return svg(32, 32, poly([(16, 2), (30, 28), (2, 28)], ACCENT, INK, 2)
               + '<rect x="14.4" y="10" width="3.2" height="10" rx="1.4" fill="#1d2b38"/>'
               + '<circle cx="16" cy="24" r="1.9" fill="#1d2b38"/>')


def lamp(w, h, on, colour):
    fill = colour if on else "#2c3540"
    glow = f'<rect x="0" y="0" width="{w}" height="{h}" rx="2" fill="{colour}" fill-opacity="0.35"/>' if on else ""
    return svg(w, h, glow + f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="1.5" fill="{fill}" '
               f'stroke="{INK}" stroke-width="0.8"/>'
               + (f'<rect x="2" y="2" width="{max(1, w / 3):.1f}" height="{max(1, h / 3):.1f}" fill="#ffffff" '
                  'fill-opacity="0.6"/>' if on else ""))


def auger(w, h, frame):
    """The discharge auger seen from the side: flights slanting, moving right a third of a pitch per
    frame, with kernels riding along."""
    pitch = 12
    parts = [f'<rect x="0.75" y="0.75" width="{w - 1.5}" height="{h - 1.5}" rx="3" fill="{STEEL_DARK}" '
             f'stroke="{STEEL_HI}" stroke-width="1.5"/>',
             f'<rect x="3" y="{h * 0.5:.1f}" width="{w - 6}" height="{h * 0.3:.1f}" fill="{GRAIN}" fill-opacity="0.8"/>']
    x = -pitch + frame * pitch / 3
    while x < w + pitch:
        if 2 < x < w - 4:
            parts.append(line(x, 2.5, x + 4, h - 2.5, BLADE, 1.6, ' stroke-linecap="round"'))
        x += pitch
    for i in range(-1, w // pitch + 2):
        kx = i * pitch + pitch / 2 + frame * pitch / 3
        if 3 < kx < w - 6:
            parts.append(kernel(kx, h * 0.62, 2.0, angle=60))
    # the outlet arrow at the right end
    parts.append(poly([(w - 9, 3), (w - 2, h / 2), (w - 9, h - 3)], ACCENT, INK, 0.6))
    return svg(w, h, "".join(parts))


def sweep(size, frame):
    """The floor sweep turning slowly: a disc with three arms, a third of the arm pitch per frame."""
    c = size / 2
    r = size / 2 - 2
    parts = [f'<circle cx="{c}" cy="{c}" r="{r}" fill="{GRAIN}" fill-opacity="0.25" stroke="{STEEL_HI}" stroke-width="1.5"/>']
    for i in range(3):
        a = i * 120 + frame * 40
        parts.append(f'<path d="M {c} {c} L {c + r * 0.95:.2f} {c - 3:.2f} L {c + r * 0.95:.2f} {c + 3:.2f} Z" '
                     f'fill="{BLADE}" stroke="{INK}" stroke-width="0.7" transform="rotate({a} {c} {c})"/>')
    parts.append(f'<circle cx="{c}" cy="{c}" r="4" fill="{ACCENT}" stroke="{INK}" stroke-width="0.8"/>')
    return svg(size, size, "".join(parts))


def inlet_loading(w, h, frame):
    """Grain pouring from the fill spout into the garner."""
    spout = (f'<rect x="{w / 2 - 8:.1f}" y="0" width="16" height="7" rx="1.5" fill="{STEEL}" '
             f'stroke="{STEEL_HI}" stroke-width="1"/>')
    inner = f'<g transform="translate({w / 2 - 16:.1f} 6)">' + falling_grain(32, h - 6, frame) + "</g>"
    return svg(w, h, spout + inner)


def blower(w, h, frame):
    """The one-plenum fan: a wheel in its housing with air leaving upward."""
    r = h / 2 - 2
    housing = (f'<rect x="0.75" y="0.75" width="{w - 1.5}" height="{h - 1.5}" rx="4" fill="#26323e" '
               f'stroke="{STEEL_HI}" stroke-width="1.5"/>')
    return svg(w, h, housing + fan_wheel(4 + r, h / 2, r, frame, True)
               + air_chevrons(4 + 2 * r + 3, w - 3, h / 2, 3, frame))


# ---------------------------------------------------------------------------------------------


def write(number, content):
    with open(os.path.join(OUT, f"{number}.svg"), "w", encoding="utf-8") as f:
        f.write(content)


def main():
    os.makedirs(OUT, exist_ok=True)

    write(367, body_standard())
    write(324, body_modules(2, origin_x=15))
    write(323, body_modules(3))
    write(406, body_one_plenum())

    # Fan/heater tiles of the one- and two-fan dryer (111 x 113; the unit fills the top 86 px so
    # the second tile, 90 px lower, never hides the first).
    numbers = {"idle": (292, 293, 294), "fan": (295, 296, 297), "burner1": (304, 305, 306),
               "burner2": (301, 302, 303)}
    for state, frames in numbers.items():
        for frame, n in enumerate(frames):
            write(n, tile(111, 113, 2, 4, 88, 80, state, frame))
    # Tiles of the three-fan and two-module dryers: the unit fits 60 px, their closest spacing.
    numbers = {"idle": (341, 342, 343), "fan": (344, 345, 346), "burner1": (350, 351, 352),
               "burner2": (347, 348, 349)}
    for state, frames in numbers.items():
        for frame, n in enumerate(frames):
            write(n, tile(111, 113, 1, 1, 62, 54, state, frame))
    # Tiles of the three-module dryer: up to two per module.
    numbers = {"idle": (325, 326, 327), "fan": (328, 329, 330), "burner1": (334, 335, 336),
               "burner2": (331, 332, 333)}
    for state, frames in numbers.items():
        for frame, n in enumerate(frames):
            write(n, tile(62, 44, 0, 0, 62, 44, state, frame))

    for frame, n in enumerate((310, 311, 316)):
        write(n, svg(38, 38, falling_grain(38, 38, frame)))
    for frame, n in enumerate((317, 318, 319)):
        write(n, svg(23, 23, fluted_roll(11.5, 11.5, 10, 6, frame)))
    for frame, n in enumerate((360, 361, 362)):
        write(n, svg(19, 19, falling_grain(19, 19, frame)))
    for frame, n in enumerate((363, 364, 365)):
        write(n, svg(12, 12, fluted_roll(6, 6, 5.3, 4, frame)))

    write(485, roll_badge(40, large=False, framed=False))
    write(487, roll_badge(40, large=True, framed=False))
    write(489, roll_badge(40, large=True, framed=True))
    write(490, roll_badge(40, large=False, framed=True))
    write(462, corner_mark())

    # One-plenum dryer.
    for frame, n in enumerate((418, 419, 420)):
        write(n, blower(46, 28, frame))
    for frame, n in enumerate((408, 409, 410)):
        write(n, svg(42, 42, flame(21, 40, 38, 30, frame, False)))
    for frame, n in enumerate((422, 423, 424)):
        write(n, inlet_loading(43, 40, frame))
    for frame, n in enumerate((430, 431, 432)):
        write(n, auger(71, 16, frame))
    for frame, n in enumerate((425, 426, 427)):
        write(n, sweep(38, frame))
    write(428, lamp(7, 9, False, "#3fd36b"))
    write(429, lamp(7, 9, True, "#3fd36b"))
    write(433, lamp(11, 9, False, "#ffb02e"))
    write(434, lamp(11, 9, True, "#ffb02e"))


if __name__ == "__main__":
    main()
