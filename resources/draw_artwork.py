#!/usr/bin/env python3
"""Draws the editor's bitmaps (24-bit BMP) with cairo.

    python3 resources/draw_artwork.py                   # rewrites the .bmp files here
    python3 resources/draw_artwork.py --preview p.png   # and a picture of the panel
                                                        # with knobs, menus and switches

Needs python3-cairo (Debian's python3; the module only embeds the BMP files,
so a build never runs this).

128 background 600 x 500; 129 knob film strip 40 x 3201 (80 frames of 40 x 40,
frame 0 at the minimum, pointer lower left; black around the face is
see-through; the last row unused); 130 and 131 switches 30 x 40 (off picture
above, on picture below) for controller learn and learn in all programs;
132 the small knob strip, 26 x 2081 (80 frames of 26 x 26); 133 the bipolar
knob strip, as 129 but its arc grows from the top centre to either side.

The control rectangles below are the editor's (editor/ControlLayout.cpp):
the panel frames and labels its sections around them.
"""
import argparse
import math
import os
import struct

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))

W, H = 600, 500
KNOB = 40
FRAMES = 80

# Colours, 0..255. Knobs always sit on SECTION: their faces are anti-aliased
# against it, so no dark fringe shows where the black around them is keyed out.
PANEL = (22, 23, 26)
SECTION = (33, 35, 39)
BORDER = (56, 59, 66)
TITLE = (226, 164, 78)
LABEL = (168, 173, 182)
BRAND = (214, 218, 226)
MAKER = (122, 127, 137)
TRACK = (18, 19, 22)
ARC = (226, 164, 78)
BODY_TOP = (84, 88, 96)
BODY_BOTTOM = (42, 44, 49)
RIM = (14, 15, 17)
POINTER = (240, 240, 236)
MENU_SLOT = (52, 55, 61)

SANS = 'DejaVu Sans'
CONDENSED = 'DejaVu Sans Condensed'

# (left, top, tag, label) of every knob: 40 x 40, or SMALL square where
# listed in SMALL_KNOBS.
SMALL = 26
SMALL_KNOBS = [(189, 104, 4, 'PW'), (217, 104, 5, 'FM')]
KNOBS = [
    (193, 16, 2, 'WARMTH'),
    (317, 16, 8, 'TUNE'), (370, 16, 9, 'FINE'),
    (317, 87, 11, 'FM'), (370, 87, 10, 'PW'),
    (442, 16, 12, 'OSC 1+2'), (442, 87, 13, 'SUB'),
    (157, 175, 16, 'CUTOFF'), (211, 175, 17, 'RESO'), (265, 175, 19, 'KEY'),
    (317, 175, 20, 'ENV'), (370, 175, 18, 'VEL'),
    (211, 246, 21, 'ATTACK'), (265, 246, 22, 'DECAY'), (317, 246, 23, 'SUSTAIN'),
    (370, 246, 24, 'RELEASE'),
    (211, 339, 25, 'ATTACK'), (265, 339, 26, 'DECAY'), (317, 339, 27, 'SUSTAIN'),
    (370, 339, 28, 'RELEASE'),
    (442, 175, 14, 'TIME'), (442, 276, 1, 'TUNE'), (442, 339, 0, 'VOLUME'),
    (67, 16, 29, 'DEPTH'), (121, 16, 30, 'RATE'),
    (67, 247, 34, 'DEPTH'), (121, 247, 35, 'RATE'),
]

# (left, top, right, bottom, label, where the label goes, sample text).
MENUS = [
    (197, 80, 230, 95, 'WAVE', 'above', 'saw'),
    (268, 80, 301, 95, 'WAVE', 'above', 'saw'),
    (493, 102, 538, 118, 'OCTAVE', 'above', '-24'),
    (100, 192, 145, 207, 'TYPE', 'above', 'LP 12dB'),
    (438, 238, 483, 253, 'MODE', 'right', 'mode 1'),
    (67, 80, 167, 95, 'WAVE', 'left', 'sin'),
    (67, 100, 167, 115, 'DEST', 'left', 'osc1'),
    (67, 120, 167, 135, 'SYNC', 'left', 'none'),
    (67, 311, 167, 326, 'WAVE', 'left', 'sin'),
    (67, 331, 167, 346, 'DEST', 'left', 'cutoff'),
    (67, 351, 167, 366, 'SYNC', 'left', 'none'),
]

# Knobs whose middle means none: master tune, osc 2 tune and fine.
BIPOLAR = (1, 8, 9)

# (left, top, bitmap) of the two switches, 30 x 20.
SWITCHES = [(461, 472, 130), (492, 472, 131)]

# (left, top, right, bottom, title) of the framed sections.
SECTIONS = [
    (8, 2, 176, 143, 'LFO 1'),
    (184, 2, 246, 143, 'OSC 1'),
    (254, 2, 422, 143, 'OSC 2'),
    (430, 2, 592, 143, 'MIX / SUB'),
    (8, 151, 422, 227, 'FILTER'),
    (430, 151, 592, 258, 'GLIDE'),
    (8, 235, 176, 395, 'LFO 2'),
    (184, 235, 422, 303, 'FILTER ENV'),
    (184, 311, 422, 395, 'AMP ENV'),
    (430, 264, 592, 395, 'MASTER'),
    (446, 446, 538, 497, 'MIDI LEARN'),
]

# The value readout the editor lays over the panel (left, top, right, bottom).
READOUT = (200, 470, 432, 494)


def rgb(colour):
    return tuple(c / 255.0 for c in colour)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def font(cr, size, bold=True, family=CONDENSED):
    cr.select_font_face(family, cairo.FONT_SLANT_NORMAL,
                        cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    cr.set_font_size(size)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    options.set_hint_metrics(cairo.HINT_METRICS_ON)
    cr.set_font_options(options)


def text(cr, s, x, y, colour, align='center', spacing=0.0):
    """Draws s with its baseline at y; x is its left, centre or right edge."""
    widths = [cr.text_extents(ch).x_advance for ch in s]
    width = sum(widths) + spacing * (len(s) - 1)
    if align == 'center':
        x -= width / 2
    elif align == 'right':
        x -= width
    cr.set_source_rgb(*rgb(colour))
    for ch, advance in zip(s, widths):
        cr.move_to(round(x * 2) / 2, y)
        cr.show_text(ch)
        x += advance + spacing
    return width


def rounded(cr, x0, y0, x1, y1, r):
    cr.new_sub_path()
    cr.arc(x1 - r, y0 + r, r, -math.pi / 2, 0)
    cr.arc(x1 - r, y1 - r, r, 0, math.pi / 2)
    cr.arc(x0 + r, y1 - r, r, math.pi / 2, math.pi)
    cr.arc(x0 + r, y0 + r, r, math.pi, 3 * math.pi / 2)
    cr.close_path()


def draw_section(cr, x0, y0, x1, y1, title):
    rounded(cr, x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, 5)
    cr.set_source_rgb(*rgb(SECTION))
    cr.fill_preserve()
    cr.set_source_rgb(*rgb(BORDER))
    cr.set_line_width(1)
    cr.stroke()
    font(cr, 9, family=SANS)
    width = text(cr, title, x0 + 8, y0 + 10.5, TITLE, align='left', spacing=1.0)
    # A thin rule runs from the title to the frame's right side.
    if x1 - 8 - (x0 + 8 + width + 6) > 8:
        cr.set_source_rgb(*rgb(BORDER))
        cr.move_to(x0 + 8 + width + 6, y0 + 7.5)
        cr.line_to(x1 - 8, y0 + 7.5)
        cr.stroke()


def draw_panel(cr):
    gradient = cairo.LinearGradient(0, 0, 0, H)
    gradient.add_color_stop_rgb(0, *rgb(mix(PANEL, (255, 255, 255), 0.03)))
    gradient.add_color_stop_rgb(1, *rgb(PANEL))
    cr.set_source(gradient)
    cr.paint()

    for section in SECTIONS:
        draw_section(cr, *section)

    font(cr, 8)
    for x, y, _, label in KNOBS:
        text(cr, label, x + KNOB / 2, y + KNOB + 7, LABEL, spacing=0.4)
    for x, y, _, label in SMALL_KNOBS:
        text(cr, label, x + SMALL / 2, y + SMALL + 8, LABEL, spacing=0.4)

    # Menus paint their own black boxes; the panel gives each a slot and a label.
    for x0, y0, x1, y1, label, where, _ in MENUS:
        cr.set_source_rgb(*rgb(MENU_SLOT))
        cr.rectangle(x0 - 0.5, y0 - 0.5, x1 - x0 + 1, y1 - y0 + 1)
        cr.stroke()
        middle = (y0 + y1) / 2 + 3
        if where == 'left':
            text(cr, label, x0 - 6, middle, LABEL, align='right', spacing=0.4)
        elif where == 'right':
            text(cr, label, x1 + 6, middle, LABEL, align='left', spacing=0.4)
        elif where == 'above':
            text(cr, label, (x0 + x1) / 2, y0 - 4, LABEL, spacing=0.4)
        else:
            text(cr, label, (x0 + x1) / 2, y1 + 11, LABEL, spacing=0.4)

    # The readout sits in a recessed slot.
    x0, y0, x1, y1 = READOUT
    rounded(cr, x0 - 2.5, y0 - 2.5, x1 + 2.5, y1 + 2.5, 3)
    cr.set_source_rgb(*rgb(BORDER))
    cr.set_line_width(1)
    cr.stroke()

    # Maker and product.
    font(cr, 34, bold=True, family=SANS)
    text(cr, 'Ambrell', 22, 452, BRAND, align='left', spacing=0.5)
    font(cr, 10, bold=False, family=SANS)
    text(cr, 'Orvane Instruments', 24, 472, MAKER, align='left', spacing=1.2)
    font(cr, 8, bold=False, family=SANS)
    text(cr, 'MONOPHONIC SYNTHESIZER', 24, 488, MAKER, align='left', spacing=1.2)


def knob_angle(frame):
    """Pointer angle (radians, y up) of a frame: 225 degrees at frame 0,
    clockwise over the top to -45 degrees at the last frame."""
    return math.radians(225 - 270 * frame / (FRAMES - 1))


def draw_knob(cr, frame, bipolar=False):
    """One 40 x 40 knob on a transparent ground, centred in the square. A
    bipolar knob's arc runs from the top centre to the pointer, either way."""
    c = KNOB / 2
    start = knob_angle(0)
    angle = knob_angle(frame)
    # cairo's angles run clockwise with y down: negate.
    cr.set_line_cap(cairo.LINE_CAP_BUTT)
    cr.set_line_width(3)
    cr.set_source_rgb(*rgb(TRACK))
    cr.arc(c, c, 17.5, -start, -knob_angle(FRAMES - 1))
    cr.stroke()
    cr.set_source_rgb(*rgb(ARC))
    if bipolar:
        top = math.pi / 2
        if abs(angle - top) > 0.02:
            cr.arc(c, c, 17.5, -max(angle, top), -min(angle, top))
            cr.stroke()
        # The middle, where the knob does nothing, is marked on the track.
        cr.set_line_width(1.5)
        cr.move_to(c, c - 19.5)
        cr.line_to(c, c - 15.5)
        cr.stroke()
    elif frame > 0:
        cr.arc(c, c, 17.5, -start, -angle)
        cr.stroke()

    # The body: a dark rim and a face lit from above.
    cr.arc(c, c, 13.5, 0, 2 * math.pi)
    cr.set_source_rgb(*rgb(RIM))
    cr.fill()
    face = cairo.LinearGradient(0, c - 12, 0, c + 12)
    face.add_color_stop_rgb(0, *rgb(BODY_TOP))
    face.add_color_stop_rgb(1, *rgb(BODY_BOTTOM))
    cr.arc(c, c, 12.25, 0, 2 * math.pi)
    cr.set_source(face)
    cr.fill()
    cr.arc(c, c, 10, 0, 2 * math.pi)
    cr.set_source_rgb(*rgb(mix(BODY_TOP, BODY_BOTTOM, 0.55)))
    cr.fill()

    dx, dy = math.cos(angle), -math.sin(angle)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_width(2.2)
    cr.set_source_rgb(*rgb(POINTER))
    cr.move_to(c + dx * 3.5, c + dy * 3.5)
    cr.line_to(c + dx * 11, c + dy * 11)
    cr.stroke()


def draw_switch(cr, lit, caption):
    """One 30 x 20 switch picture on the section colour."""
    cr.set_source_rgb(*rgb(SECTION))
    cr.paint()
    rounded(cr, 1.5, 1.5, 28.5, 18.5, 3)
    body = cairo.LinearGradient(0, 2, 0, 18)
    if lit:
        body.add_color_stop_rgb(0, *rgb(mix(ARC, (255, 255, 255), 0.15)))
        body.add_color_stop_rgb(1, *rgb(mix(ARC, (0, 0, 0), 0.2)))
    else:
        body.add_color_stop_rgb(0, *rgb(BODY_TOP))
        body.add_color_stop_rgb(1, *rgb(BODY_BOTTOM))
    cr.set_source(body)
    cr.fill_preserve()
    cr.set_source_rgb(*rgb(RIM))
    cr.set_line_width(1)
    cr.stroke()
    font(cr, 7)
    text(cr, caption, 15, 12.5, (34, 24, 10) if lit else LABEL, spacing=0.2)


# ---------------------------------------------------------------- output

def pixels(surface):
    """(r, g, b, a) rows of an ARGB32 surface, alpha 0..255, not premultiplied
    colour kept premultiplied (the caller blends over a ground)."""
    surface.flush()
    data = bytes(surface.get_data())
    stride = surface.get_stride()
    width, height = surface.get_width(), surface.get_height()
    rows = []
    for y in range(height):
        row = data[y * stride:y * stride + width * 4]
        rows.append([(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3])
                     for x in range(width)])
    return rows


def write_bmp(name, rows):
    """rows: top-down lists of (r, g, b); stored bottom-up, padded to 4 bytes."""
    height, width = len(rows), len(rows[0])
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_size - len(line))
        image += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(image), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(header + info + image)


def opaque(surface):
    return [[(r, g, b) for r, g, b, _ in row] for row in pixels(surface)]


def keyed(surface, ground):
    """Blends each covered pixel over ground; uncovered pixels become pure
    black (see-through), and covered ones are kept off pure black."""
    rows = []
    for row in pixels(surface):
        out = []
        for r, g, b, a in row:
            if a == 0:
                out.append((0, 0, 0))
                continue
            k = 255 - a  # premultiplied colour plus the ground's share
            c = tuple(min(255, round(v + gr * k / 255)) for v, gr in zip((r, g, b), ground))
            out.append(c if c != (0, 0, 0) else (1, 1, 1))
        rows.append(out)
    return rows


def write_rle(name, rows):
    """rows: top-down lists of (r, g, b), run-length coded: 'ORLE', width and
    height (32-bit little-endian), then packets over the pixels row after
    row: a byte n < 128 and n + 1 pixels as they are, or a byte n >= 128 and
    one pixel that repeats n - 126 times. A pixel is three bytes R, G, B."""
    height, width = len(rows), len(rows[0])
    flat = [p for row in rows for p in row]
    out = bytearray(b'ORLE' + struct.pack('<II', width, height))
    i, n = 0, len(flat)
    while i < n:
        run = 1
        while i + run < n and run < 129 and flat[i + run] == flat[i]:
            run += 1
        if run >= 2:
            out += bytes((run + 126,)) + bytes(flat[i])
            i += run
            continue
        start = i
        while i < n and i - start < 128 and (i + 1 >= n or flat[i + 1] != flat[i]):
            i += 1
        if i == start:
            i += 1
        out += bytes((i - start - 1,))
        for p in flat[start:i]:
            out += bytes(p)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


def make_panel(factor=1):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, W * factor, H * factor)
    cr = cairo.Context(surface)
    cr.scale(factor, factor)
    draw_panel(cr)
    return surface


def make_knob_strip(size=KNOB, bipolar=False, factor=1):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size * factor, (size * FRAMES + 1) * factor)
    cr = cairo.Context(surface)
    cr.scale(factor, factor)
    for frame in range(FRAMES):
        cr.save()
        cr.rectangle(0, frame * size, size, size)
        cr.clip()
        cr.translate(0, frame * size)
        cr.scale(size / KNOB, size / KNOB)
        draw_knob(cr, frame, bipolar)
        cr.restore()
    return surface


def make_switch(caption, factor=1):
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, 30 * factor, 40 * factor)
    cr = cairo.Context(surface)
    cr.scale(factor, factor)
    for lit in (False, True):
        cr.save()
        cr.rectangle(0, 20 * lit, 30, 20)
        cr.clip()
        cr.translate(0, 20 * lit)
        draw_switch(cr, lit, caption)
        cr.restore()
    return surface


def preview(path, panel, strips, switches):
    """The panel with every control at its rectangle, as the editor shows it
    with knobs at assorted values, both switch states and the menus' boxes."""
    cr = cairo.Context(panel)
    knobs = [(x, y, tag, KNOB) for x, y, tag, _ in KNOBS] + [(x, y, tag, SMALL) for x, y, tag, _ in SMALL_KNOBS]
    for i, (x, y, tag, size) in enumerate(knobs):
        frame = (i * 23) % FRAMES
        strip = strips[132 if size == SMALL else 133 if tag in BIPOLAR else 129]
        cr.save()
        cr.rectangle(x, y, size, size)
        cr.clip()
        cr.set_source_surface(strip, x, y - frame * size)
        cr.paint()
        cr.restore()
    for i, (x, y, bitmap) in enumerate(SWITCHES):
        cr.save()
        cr.rectangle(x, y, 30, 20)
        cr.clip()
        cr.set_source_surface(switches[bitmap], x, y - 20 * i)
        cr.paint()
        cr.restore()
    font(cr, 10, bold=False, family='Liberation Sans')
    for x0, y0, x1, y1, _, _, sample in MENUS:
        cr.set_source_rgb(0, 0, 0)
        cr.rectangle(x0, y0, x1 - x0, y1 - y0)
        cr.fill()
        text(cr, sample, (x0 + x1) / 2, y1 - 4, (100, 100, 100))
    x0, y0, x1, y1 = READOUT
    cr.set_source_rgb(*rgb(TRACK))
    cr.rectangle(x0, y0, x1 - x0, y1 - y0)
    cr.fill()
    font(cr, 12, bold=False, family='Liberation Sans')
    text(cr, 'CUTOFF  0.96', (x0 + x1) / 2, y1 - 7, (220, 220, 220))
    panel.write_to_png(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--preview', metavar='PNG', help='also write a preview picture')
    args = parser.parse_args()

    panel = make_panel()
    strips = {129: make_knob_strip(), 132: make_knob_strip(SMALL), 133: make_knob_strip(bipolar=True)}
    switches = {130: make_switch('LEARN'), 131: make_switch('ALL')}
    write_bmp('128_background.bmp', opaque(panel))
    names = {129: '129_knob.bmp', 132: '132_small_knob.bmp', 133: '133_bipolar_knob.bmp'}
    for bitmap, strip in strips.items():
        write_bmp(names[bitmap], keyed(strip, SECTION))
    for bitmap, surface in switches.items():
        write_bmp('%d_switch.bmp' % bitmap, opaque(surface))
    # The same drawn at twice and three times the size for scaled editors:
    # resource id + 1000 x factor, run-length coded.
    for factor in (2, 3):
        base = 1000 * factor
        write_rle('%d_background.orle' % (base + 128), opaque(make_panel(factor)))
        for bitmap, (size, bipolar) in {129: (KNOB, False), 132: (SMALL, False), 133: (KNOB, True)}.items():
            strip = make_knob_strip(size, bipolar, factor)
            write_rle('%d_%s.orle' % (base + bitmap, names[bitmap][4:-4]), keyed(strip, SECTION))
        for bitmap, caption in ((130, 'LEARN'), (131, 'ALL')):
            write_rle('%d_switch.orle' % (base + bitmap), opaque(make_switch(caption, factor)))
    if args.preview:
        # Knob pixels as the editor draws them: keyed, black see-through.
        keyed_strips = {}
        for bitmap, strip in strips.items():
            rows = keyed(strip, SECTION)
            keyed_strip = cairo.ImageSurface(cairo.FORMAT_ARGB32, strip.get_width(), len(rows))
            data = keyed_strip.get_data()
            stride = keyed_strip.get_stride()
            for y, row in enumerate(rows):
                for x, (r, g, b) in enumerate(row):
                    a = 0 if (r, g, b) == (0, 0, 0) else 255
                    data[y * stride + x * 4:y * stride + x * 4 + 4] = bytes((b, g, r, a))
            keyed_strip.mark_dirty()
            keyed_strips[bitmap] = keyed_strip
        preview(args.preview, panel, keyed_strips, switches)


if __name__ == '__main__':
    main()
