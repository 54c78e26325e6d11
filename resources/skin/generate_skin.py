#!/usr/bin/env python3
"""Draws the installer's skin: every PNG image its window descriptions name.

    generate_skin.py OUTPUT_DIR [NAME...]  write the images as NAME.png
    generate_skin.py OUTPUT_DIR --list     print "NAME WIDTHxHEIGHT" lines

The build runs this script and embeds the files as resources of type 6000
(resources/CMakeLists.txt); nothing binary is kept in the repository. Change
the look here: the palette first, then one function per image. Image sizes
and strip layouts are fixed by the controls that draw them (see IMAGES) and
must not change without the descriptions.

Look: a dark theme. A charcoal window body, a deep blue-to-indigo banner
with a lit monitor-and-phone illustration, and one accent colour, the cyan
(0,213,254) that the descriptions also use for link and button text.
Buttons keep their four states distinct: normal, hover (lighter, stronger
edge), pressed (darker, pushed in) and disabled (flat grey).
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skin_canvas import (Canvas, capsule, circle, clamp01, inset, linear,  # noqa: E402
                         mix, polygon, radial, rect, rgb, ring, rotated,
                         rounded_rect, smoothstep, subtract, translated,
                         union, with_alpha)

# --------------------------------------------------------------------------
# Palette.

ACCENT = rgb("00D5FE")          # links, highlights
ACCENT_DEEP = rgb("0096D6")
BODY_TOP = rgb("22252D")        # window body
BODY_BOTTOM = rgb("1B1D23")
BODY_EDGE = rgb("3A3F4A")       # window outline
WHITE = rgb("FFFFFF")
BLACK = rgb("000000")
GLYPH = rgb("AEB5C2")           # caption buttons, normal
GLYPH_DISABLED = rgb("565B66")

PRIMARY = {  # DLG_BTN_INSTALL: (top, bottom, edge, highlight alpha)
    "normal": (rgb("1D74D8"), rgb("0F52AA"), rgb("3E9BF2"), 0.30),
    "hover": (rgb("2685EA"), rgb("1560BE"), rgb("6CC4FF"), 0.42),
    "pressed": (rgb("0E50A3"), rgb("0C4590"), rgb("1E6CC4"), 0.0),
    "disabled": (rgb("3B3F48"), rgb("33363E"), rgb("474B55"), 0.06),
}
SECONDARY = {  # SELECTPATH
    "normal": (rgb("383C46"), rgb("2E3139"), rgb("4B505C"), 0.10),
    "hover": (rgb("424754"), rgb("363A44"), rgb("00BFE6", 0.85), 0.14),
    "pressed": (rgb("2A2D34"), rgb("2A2D34"), rgb("0099BB"), 0.0),
    "disabled": (rgb("2B2D33"), rgb("2B2D33"), rgb("393C43"), 0.0),
}
OUTLINE = {  # BACKMAIN
    "normal": (rgb("282C35"), rgb("22252C"), with_alpha(ACCENT, 0.55), 0.06),
    "hover": (rgb("2C3443"), rgb("252B36"), with_alpha(ACCENT, 0.95), 0.10),
    "pressed": (rgb("1D2027"), rgb("1D2027"), with_alpha(ACCENT, 0.80), 0.0),
    "disabled": (rgb("26282E"), rgb("26282E"), rgb("3D4048"), 0.0),
}
STATES = ("normal", "hover", "pressed", "disabled")  # strip cell order

# Image name -> (width, height, cells, drawing function). Cells are equal
# parts side by side, in the order the control reads them.
IMAGES = {}


def image(name, width, height, cells=1, dither=False):
    def register(function):
        IMAGES[name] = (width, height, cells, dither, function)
        return function
    return register


# --------------------------------------------------------------------------
# Shared pieces.


def body_colour_at(fraction):
    return mix(BODY_TOP, BODY_BOTTOM, fraction)


def push_button(canvas, x0, width, height, style, radius, bevel=True):
    """One button cell: gradient body, 1-pixel edge, top highlight."""
    top, bottom, edge, highlight = style
    shape = rounded_rect(x0 + 0.5, 0.5, x0 + width - 0.5, height - 0.5, radius)
    canvas.fill(shape, linear(0, 0, 0, height, [(0.0, top), (1.0, bottom)]))
    if highlight > 0.0 and bevel:
        # A soft light on the upper half and a bright 1-pixel top line.
        canvas.fill(inset(shape, 1.0),
                    linear(0, 0, 0, height * 0.55,
                           [(0.0, with_alpha(WHITE, highlight * 0.35)),
                            (1.0, with_alpha(WHITE, 0.0))]))
        canvas.fill(rounded_rect(x0 + radius, 1.0, x0 + width - radius, 2.0, 0.5),
                    with_alpha(WHITE, highlight))
    canvas.fill(ring(shape, 1.0), edge)


def pressed_shadow(canvas, x0, width, height, radius):
    shape = rounded_rect(x0 + 1.5, 1.5, x0 + width - 1.5, height - 1.5, radius)
    canvas.fill(shape, linear(0, 0, 0, 6, [(0.0, with_alpha(BLACK, 0.28)),
                                           (1.0, with_alpha(BLACK, 0.0))]))


def button_strip(canvas, cell_width, height, palette, radius):
    for index, state in enumerate(STATES):
        x0 = index * cell_width
        push_button(canvas, x0, cell_width, height, palette[state], radius)
        if state == "pressed":
            pressed_shadow(canvas, x0, cell_width, height, radius)


def glyph_colours():
    return {"normal": GLYPH, "hover": WHITE, "pressed": ACCENT,
            "disabled": GLYPH_DISABLED}


# --------------------------------------------------------------------------
# Window frame and banner.


@image("ABOUTDIALOG", 100, 100)
def about_dialog(c):
    """Window background, drawn nine-part with 10-pixel corners: only the
    outer 10 pixels keep their shape, the rest stretches."""
    outer = rounded_rect(0, 0, 100, 100, 8)
    c.fill(outer, linear(0, 10, 0, 90, [(0.0, BODY_TOP), (1.0, BODY_BOTTOM)]))
    # A faint light along the top edge, then the outline.
    c.fill(rounded_rect(6, 1.0, 94, 2.0, 0.5), with_alpha(WHITE, 0.07))
    c.fill(ring(inset(outer, 0.5), 1.0), BODY_EDGE)


def draw_device_shadow(c, cx, cy, rx, ry, alpha):
    """A soft contact shadow: a blurred flat capsule."""
    c.fill(capsule(cx - rx + ry, cy, cx + rx - ry, cy, 0.5),
           with_alpha(BLACK, alpha), glow=ry)


TILE_COLOURS = [rgb("00C8F5"), rgb("34C77B"), rgb("FF9F43"), rgb("FF5E8A"),
                rgb("8E6CFF"), rgb("FFD166"), rgb("2EC4B6"), rgb("4D8DFF")]


def app_tile(c, x, y, size, colour, glyph):
    radius = size * 0.26
    tile = rounded_rect(x, y, x + size, y + size, radius)
    c.fill(tile, linear(x, y, x + size, y + size,
                        [(0.0, mix(colour, WHITE, 0.18)), (1.0, mix(colour, BLACK, 0.12))]))
    cx, cy, s = x + size / 2.0, y + size / 2.0, size
    white = with_alpha(WHITE, 0.92)
    if glyph == "play":
        c.fill(polygon([(cx - s * 0.14, cy - s * 0.2), (cx + s * 0.22, cy),
                        (cx - s * 0.14, cy + s * 0.2)]), white)
    elif glyph == "dot":
        c.fill(circle(cx, cy, s * 0.18), white)
    elif glyph == "ring":
        c.fill(ring(circle(cx, cy, s * 0.2), s * 0.09), white)
    elif glyph == "bars":
        for i, h in enumerate((0.18, 0.3, 0.42)):
            bx = cx - s * 0.2 + i * s * 0.2
            c.fill(capsule(bx, cy + s * 0.2, bx, cy + s * 0.2 - s * h, s * 0.055), white)
    elif glyph == "star":
        points = []
        for k in range(10):
            r = s * (0.24 if k % 2 == 0 else 0.1)
            a = math.radians(-90 + k * 36)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        c.fill(polygon(points), white)
    elif glyph == "pad":
        c.fill(rounded_rect(cx - s * 0.28, cy - s * 0.13, cx + s * 0.28, cy + s * 0.15, s * 0.12), white)
        c.fill(capsule(cx - s * 0.17, cy + 0.01, cx - s * 0.07, cy + 0.01, s * 0.025), colour)
        c.fill(capsule(cx - s * 0.12, cy - s * 0.05, cx - s * 0.12, cy + s * 0.06, s * 0.025), colour)
        c.fill(circle(cx + s * 0.13, cy, s * 0.04), colour)
    elif glyph == "heart":
        c.fill(union(circle(cx - s * 0.09, cy - s * 0.05, s * 0.11),
                     circle(cx + s * 0.09, cy - s * 0.05, s * 0.11),
                     polygon([(cx - s * 0.195, cy - s * 0.01), (cx + s * 0.195, cy - s * 0.01),
                              (cx, cy + s * 0.22)])), white)
    elif glyph == "cloud":
        c.fill(union(circle(cx - s * 0.1, cy + s * 0.03, s * 0.12),
                     circle(cx + s * 0.05, cy - s * 0.04, s * 0.16),
                     rounded_rect(cx - s * 0.22, cy + s * 0.0, cx + s * 0.24, cy + s * 0.15, s * 0.07)), white)


def screen_content(c, x0, y0, x1, y1, columns, rows, tile, glyphs, start=0):
    gap_x = (x1 - x0 - columns * tile) / (columns + 1)
    gap_y = (y1 - y0 - rows * tile) / (rows + 1)
    k = start
    for r in range(rows):
        for col in range(columns):
            x = x0 + gap_x + col * (tile + gap_x)
            y = y0 + gap_y + r * (tile + gap_y)
            app_tile(c, x, y, tile, TILE_COLOURS[k % len(TILE_COLOURS)], glyphs[k % len(glyphs)])
            k += 1


def lcg(seed):
    state = seed
    while True:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        yield state / float(0x7FFFFFFF)


@image("APP", 480, 240, dither=True)
def banner(c):
    w, h = 480, 240
    # Night-blue sky with two coloured lights.
    c.fill_all(linear(0, 0, w * 0.35, h, [(0.0, rgb("102A52")), (1.0, rgb("151B31"))]))
    c.fill(circle(318, 92, 250), radial(318, 92, 250, [(0.0, rgb("1F86E0", 0.55)), (0.55, rgb("1A5FB0", 0.18)), (1.0, rgb("1A5FB0", 0.0))]))
    c.fill(circle(70, 210, 220), radial(70, 210, 220, [(0.0, rgb("6A3FD0", 0.38)), (1.0, rgb("6A3FD0", 0.0))]))
    c.fill(circle(470, 10, 120), radial(470, 10, 120, [(0.0, rgb("00D5FE", 0.20)), (1.0, rgb("00D5FE", 0.0))]))
    # Long faint light beams.
    for x, alpha in ((130, 0.045), (205, 0.035), (395, 0.03)):
        beam = rotated(rect(x - 14, -80, x + 14, 320), x, 120, 28)
        c.fill(beam, linear(0, 0, 0, h, [(0.0, with_alpha(WHITE, alpha)), (1.0, with_alpha(WHITE, 0.0))]), aa=18)
    # Floating lights (bokeh), from a fixed seed.
    rnd = lcg(2907)
    for _ in range(16):
        x, y = next(rnd) * w, next(rnd) * h * 0.85
        r = 2 + next(rnd) * 9
        colour = (ACCENT, rgb("8E6CFF"), WHITE)[int(next(rnd) * 3) % 3]
        c.fill(circle(x, y, r), with_alpha(colour, 0.05 + next(rnd) * 0.12), aa=2.5)
    # A faint perspective floor.
    for i in range(9):
        t = i / 8.0
        c.fill(capsule(240 + (t - 0.5) * 140, 188, 240 + (t - 0.5) * 620, 260, 0.5),
               with_alpha(ACCENT, 0.07))
    for y, alpha in ((196, 0.06), (206, 0.05), (220, 0.04)):
        c.fill(rect(0, y, w, y + 1), with_alpha(ACCENT, alpha))

    # Monitor.
    mx0, my0, mx1, my1 = 206, 50, 404, 166
    draw_device_shadow(c, 305, 196, 110, 8, 0.40)
    c.fill(rounded_rect(mx0 - 6, my0 - 6, mx1 + 6, my1 + 6, 12), with_alpha(ACCENT, 0.18), glow=10)
    stand_neck = polygon([(292, my1 + 2), (318, my1 + 2), (324, 190), (286, 190)])
    c.fill(stand_neck, linear(0, my1, 0, 190, [(0.0, rgb("0A0D13")), (1.0, rgb("2A3140"))]))
    c.fill(rounded_rect(256, 186, 354, 194, 4), linear(0, 186, 0, 194, [(0.0, rgb("3A4354")), (1.0, rgb("161A22"))]))
    body = rounded_rect(mx0, my0, mx1, my1, 9)
    c.fill(body, linear(0, my0, 0, my1, [(0.0, rgb("1A1F2A")), (1.0, rgb("0B0E14"))]))
    c.fill(ring(inset(body, 0.5), 1.0), linear(0, my0, 0, my1, [(0.0, rgb("5A6784")), (1.0, rgb("20252F"))]))
    screen = rounded_rect(mx0 + 6, my0 + 6, mx1 - 6, my1 - 6, 4)
    c.fill(screen, linear(mx0, my0, mx1, my1, [(0.0, rgb("143A73")), (0.6, rgb("0F5DA8")), (1.0, rgb("0B7FC4"))]))
    c.fill(rect(mx0 + 6, my0 + 6, mx1 - 6, my0 + 15), with_alpha(BLACK, 0.22), clip=screen)
    for i in range(3):
        c.fill(circle(mx1 - 16 - i * 8, my0 + 10.5, 2), with_alpha(WHITE, 0.55))
    screen_content(c, mx0 + 62, my0 + 15, mx1 - 6, my1 - 6, 4, 2, 26,
                   ["play", "pad", "star", "heart", "cloud", "bars", "ring", "dot"])
    # Sheen across the screen.
    sheen = rotated(rect(mx0 - 40, my0 - 80, mx0 + 60, my1 + 80), mx0 + 40, my0 + 40, 32)
    c.fill(sheen, with_alpha(WHITE, 0.06), clip=screen, aa=6)

    # Phone in front of the monitor's left part.
    px0, py0, px1, py1 = 160, 70, 222, 184
    draw_device_shadow(c, 192, 194, 38, 6, 0.45)
    c.fill(rounded_rect(px0 - 4, py0 - 4, px1 + 4, py1 + 4, 14), with_alpha(rgb("8E6CFF"), 0.25), glow=9)
    phone = rounded_rect(px0, py0, px1, py1, 11)
    c.fill(phone, linear(0, py0, 0, py1, [(0.0, rgb("1C2230")), (1.0, rgb("0A0C12"))]))
    c.fill(ring(inset(phone, 0.5), 1.0), linear(px0, py0, px1, py1, [(0.0, rgb("7B8AAE")), (1.0, rgb("232836"))]))
    pscreen = rounded_rect(px0 + 4, py0 + 4, px1 - 4, py1 - 4, 8)
    c.fill(pscreen, linear(px0, py0, px1, py1, [(0.0, rgb("5B3FD6")), (1.0, rgb("1D7FE0"))]))
    c.fill(rounded_rect((px0 + px1) / 2 - 9, py0 + 7, (px0 + px1) / 2 + 9, py0 + 10, 1.5), with_alpha(BLACK, 0.45))
    # A big play button on the phone.
    pcx, pcy = (px0 + px1) / 2.0, py0 + 44
    c.fill(circle(pcx, pcy, 17), with_alpha(ACCENT, 0.35), glow=6)
    c.fill(circle(pcx, pcy, 15), linear(pcx, pcy - 15, pcx, pcy + 15, [(0.0, rgb("3FE3FF")), (1.0, rgb("00A6E0"))]))
    c.fill(polygon([(pcx - 4.5, pcy - 7), (pcx + 7.5, pcy), (pcx - 4.5, pcy + 7)]), WHITE)
    for i in range(3):
        y = py0 + 72 + i * 11
        c.fill(rounded_rect(px0 + 11, y, px1 - 11 - (i * 9), y + 4, 2), with_alpha(WHITE, 0.55 - i * 0.12))
    sheen = rotated(rect(px0 - 30, py0 - 60, px0 + 14, py1 + 60), px0 + 10, py0 + 30, 30)
    c.fill(sheen, with_alpha(WHITE, 0.08), clip=pscreen, aa=5)

    # Floating tiles either side.
    for x, y, size, colour, glyph, turn in ((92, 92, 30, TILE_COLOURS[2], "star", -12),
                                            (420, 122, 26, TILE_COLOURS[3], "heart", 10),
                                            (118, 150, 20, TILE_COLOURS[1], "bars", 8),
                                            (432, 62, 18, TILE_COLOURS[0], "play", -8)):
        tile = Canvas(size + 16, size + 16)
        tile.fill(rounded_rect(8, 8, 8 + size, 8 + size, size * 0.26), with_alpha(colour, 0.45), glow=5)
        app_tile(tile, 8, 8, size, colour, glyph)
        turned = Canvas(tile.width, tile.height)
        centre = tile.width / 2.0
        cos, sin = math.cos(math.radians(turn)), math.sin(math.radians(turn))
        for yy in range(turned.height):
            for xx in range(turned.width):
                # Nearest-free bilinear sampling of the turned tile.
                dx, dy = xx + 0.5 - centre, yy + 0.5 - centre
                sx = centre + dx * cos + dy * sin - 0.5
                sy = centre - dx * sin + dy * cos - 0.5
                ix, iy = int(math.floor(sx)), int(math.floor(sy))
                fx, fy = sx - ix, sy - iy
                acc = [0.0] * 4
                for oy, wy in ((0, 1 - fy), (1, fy)):
                    for ox, wx in ((0, 1 - fx), (1, fx)):
                        tx, ty = ix + ox, iy + oy
                        if 0 <= tx < tile.width and 0 <= ty < tile.height:
                            i = (ty * tile.width + tx) * 4
                            for k in range(4):
                                acc[k] += tile.px[i + k] * wx * wy
                o = (yy * turned.width + xx) * 4
                turned.px[o:o + 4] = acc
        c.blit(turned, int(x - turned.width / 2), int(y - turned.height / 2))

    # Fade the lower edge into the window body so the page below joins
    # without a seam, then round the two top corners.
    body = body_colour_at(0.62)
    c.fill(rect(0, 168, w, h), linear(0, 168, 0, h, [(0.0, with_alpha(body, 0.0)), (0.75, with_alpha(body, 0.92)), (1.0, body)]))
    c.mask_with(union(rounded_rect(0, 0, w, h, 4), rect(0, 8, w, h)))


# --------------------------------------------------------------------------
# Logo.


def wordmark(c, x, y, size, colour):
    """"Qiv" drawn from strokes; (x, y) is the top-left of the cap height."""
    stroke = size * 0.15
    r = size * 0.5 - stroke / 2
    cx, cy = x + size * 0.5, y + size * 0.5
    c.fill(ring(circle(cx, cy, r), stroke), colour)
    c.fill(capsule(cx + r * 0.35, cy + r * 0.35, cx + r * 1.0, cy + r * 1.05, stroke / 2), colour)
    ix = x + size * 1.22
    c.fill(capsule(ix, y + size * 0.36, ix, y + size - stroke / 2, stroke / 2), colour)
    c.fill(circle(ix, y + size * 0.1, stroke * 0.62), ACCENT)
    vx = ix + size * 0.28
    c.fill(capsule(vx, y + size * 0.36, vx + size * 0.27, y + size - stroke / 2, stroke / 2), colour)
    c.fill(capsule(vx + size * 0.27, y + size - stroke / 2, vx + size * 0.54, y + size * 0.36, stroke / 2), colour)


@image("APPLOGO", 92, 30)
def app_logo(c):
    # Mark: a rounded tile with a phone-shaped play symbol.
    tile = rounded_rect(1, 1, 29, 29, 8)
    c.fill(tile, linear(1, 1, 29, 29, [(0.0, rgb("33E0FF")), (1.0, rgb("1466D6"))]))
    c.fill(rounded_rect(2, 2, 28, 14, 7), linear(0, 2, 0, 14, [(0.0, with_alpha(WHITE, 0.28)), (1.0, with_alpha(WHITE, 0.0))]))
    c.fill(ring(inset(tile, 0.5), 1.0), with_alpha(WHITE, 0.18))
    c.fill(polygon([(12, 9), (21.5, 15), (12, 21)]), WHITE)
    c.fill(capsule(9, 9.5, 9, 20.5, 1.2), with_alpha(WHITE, 0.75))
    wordmark(c, 37, 7, 16, WHITE)


# --------------------------------------------------------------------------
# Caption buttons (close, minimise): 11 x 12 cells.


@image("DLG_BTN_CLOSE", 44, 12, cells=4)
def close_button(c):
    colours = glyph_colours()
    for i, state in enumerate(STATES):
        cx = i * 11 + 5.5
        cross = union(capsule(cx - 3.5, 2.5, cx + 3.5, 9.5, 0.75),
                      capsule(cx + 3.5, 2.5, cx - 3.5, 9.5, 0.75))
        c.fill(cross, colours[state])


@image("DLG_BTN_MIN", 44, 12, cells=4)
def minimise_button(c):
    colours = glyph_colours()
    for i, state in enumerate(STATES):
        x0 = i * 11
        c.fill(rounded_rect(x0 + 1.5, 6.2, x0 + 9.5, 7.8, 0.8), colours[state])


# --------------------------------------------------------------------------
# Push buttons.


@image("DLG_BTN_INSTALL", 488, 42, cells=4)
def install_button(c):
    """Primary action (Install, Continue): cells 122 x 42."""
    button_strip(c, 122, 42, PRIMARY, 4)


@image("SELECTPATH", 336, 29, cells=4)
def select_path_button(c):
    """Secondary action (Browse, OK, Backup): cells 84 x 29."""
    button_strip(c, 84, 29, SECONDARY, 4)


@image("BACKMAIN", 372, 37, cells=4)
def back_button(c):
    """Outlined action (Back, Start): cells 93 x 37."""
    for index, state in enumerate(STATES):
        x0 = index * 93
        push_button(c, x0, 93, 37, OUTLINE[state], 4)
        if state == "hover":
            glow = rounded_rect(x0 + 1.5, 1.5, x0 + 91.5, 35.5, 3)
            c.fill(glow, linear(0, 37, 0, 18, [(0.0, with_alpha(ACCENT, 0.16)), (1.0, with_alpha(ACCENT, 0.0))]))
        if state == "pressed":
            pressed_shadow(c, x0, 93, 37, 4)


# --------------------------------------------------------------------------
# Check box: two 20 x 20 cells, unchecked and checked.


@image("CHECKBOX", 40, 20, cells=2)
def check_box(c):
    box = rounded_rect(3, 3, 17, 17, 3.5)
    c.fill(box, rgb("262931"))
    c.fill(ring(inset(box, 0.6), 1.2), rgb("7C8391"))
    checked = translated(box, 20, 0)
    c.fill(checked, ACCENT, glow=1.2, aa=1.0, opacity=0.25)
    c.fill(checked, linear(23, 3, 37, 17, [(0.0, rgb("14DAFF")), (1.0, ACCENT_DEEP)]))
    tick = union(capsule(26.2, 10.2, 29.0, 13.0, 1.0), capsule(29.0, 13.0, 34.0, 7.0, 1.0))
    c.fill(tick, WHITE)


# --------------------------------------------------------------------------
# Path field background, scaled to the 268 x 30 edit.


@image("EDIT_INSTALL_BACK", 268, 30)
def edit_background(c):
    field = rounded_rect(0.5, 0.5, 267.5, 29.5, 4)
    c.fill(field, linear(0, 0, 0, 30, [(0.0, rgb("1E2026")), (1.0, rgb("25282F"))]))
    c.fill(rounded_rect(2, 1.5, 266, 4, 1), linear(0, 1.5, 0, 4, [(0.0, with_alpha(BLACK, 0.25)), (1.0, with_alpha(BLACK, 0.0))]), clip=field)
    c.fill(ring(field, 1.0), rgb("474B56"))


# --------------------------------------------------------------------------
# Download progress: fill, moving light and the install milestone.


@image("PROGRESS", 405, 2)
def progress_fill(c):
    c.fill_all(linear(0, 0, 405, 0, [(0.0, rgb("0A6FD0")), (0.7, rgb("00B6F0")), (1.0, ACCENT)]))


@image("LIGHTPOINT", 32, 30)
def light_point(c):
    cx, cy = 16.0, 15.0
    c.fill(circle(cx, cy, 14.5), radial(cx, cy, 14.5, [(0.0, with_alpha(ACCENT, 0.55)), (0.35, with_alpha(ACCENT, 0.22)), (1.0, with_alpha(ACCENT, 0.0))]))
    c.fill(capsule(cx - 11, cy, cx + 11, cy, 1.0), with_alpha(ACCENT, 0.5), aa=2.0)
    c.fill(circle(cx, cy, 3.2), with_alpha(rgb("BFF4FF"), 0.95), glow=1.5)
    c.fill(circle(cx, cy, 1.6), WHITE)


@image("DOWNLOADPOINT", 4, 8)
def download_point(c):
    c.fill(rounded_rect(0.5, 0.5, 3.5, 7.5, 1.5), rgb("8C93A1"))


# --------------------------------------------------------------------------


def render(name):
    width, height, _cells, dither, function = IMAGES[name]
    canvas = Canvas(width, height)
    function(canvas)
    return canvas, dither


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    if "--list" in argv[2:]:
        for name, (width, height, cells, _d, _f) in IMAGES.items():
            print("%s %dx%d cells=%d" % (name, width, height, cells))
        return 0
    os.makedirs(out_dir, exist_ok=True)
    names = [a for a in argv[2:] if not a.startswith("--")] or list(IMAGES)
    for name in names:
        canvas, dither = render(name)
        canvas.write_png(os.path.join(out_dir, name + ".png"), dither)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
