#!/usr/bin/env python3
"""Draws Bistrope's artwork and writes it into this folder.

    python3 resources/art/make_art.py            rewrites every file
    python3 resources/art/make_art.py --check    exits non-zero when a file differs from
                                                 what this script draws
    python3 resources/art/make_art.py --preview DIR
                                                 also writes enlarged PNG previews into DIR

Files (all drawn here; edit this script, run it, commit both):
    Bistrope.dll         toolbar image strip, a 624 x 240 RGBA PNG: thirteen 48 x 48 columns
                         (button images) by five rows (normal, hot, pressed, checked, disabled)
    app.ico              application icon: 48, 32 and 16 pixels
    cur_*.cur            the eight 32 x 32 view cursors with their hotspots
    rebar_*.bmp          the rebar background: left end, middle tile, right end (32 x 48)

The look: dark slate pictograms on a warm paper background, red and cyan as the accents of a
red-cyan anaglyph (red belongs to the left eye, cyan to the right).
"""

import argparse
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (Canvas, arc, arrow_head, bmp_bytes, box, circle, cur_bytes, grow,  # noqa: E402
                    ico_bytes, intersect, linear_gradient, move, outline, png_bytes, png_pixels,
                    polygon, rotate, segment, subtract, union, vertical_gradient)

HERE = os.path.dirname(os.path.abspath(__file__))

INK = (40, 44, 56)
RED = (222, 45, 60)
CYAN = (0, 170, 196)
PAPER = (254, 252, 242)
WHITE = (255, 255, 255)

CELL = 48
COLUMNS = 14
STATES = 5  # normal, hot, pressed, checked, disabled


def scaled(shape, k, cx, cy, tx, ty):
    """The shape drawn k times as large, its point (cx, cy) moved to (tx, ty)."""
    return lambda x, y: shape((x - tx) / k + cx, (y - ty) / k + cy) * k


# ---------------------------------------------------------------------------------------------
# Toolbar pictograms, 48 x 48, drawn inside about 6..42 so the state backgrounds frame them.


def glyph_save(c):
    body = grow(polygon([(11, 10), (33.5, 10), (38, 14.5), (38, 38), (11, 38)]), 2.0)
    c.paint(body, INK)
    c.paint(box(16, 8.5, 31.5, 19.5, 1.2), (206, 211, 220))
    c.paint(box(26, 10.5, 29.5, 17.5, 0.8), INK)
    c.paint(box(13.5, 23.5, 35.5, 37.5, 1.8), PAPER)
    c.paint(segment(17.5, 28.5, 31.5, 28.5, 1.2), RED)
    c.paint(segment(17.5, 32.8, 31.5, 32.8, 1.2), CYAN)


def scene(c, grey_left_of=None):
    """A small landscape photograph in a frame whose left edge is red and right edge cyan.
    Pixels left of grey_left_of are shown in grey."""
    inner = box(9.5, 12.5, 38.5, 35.5, 1.5)
    photo = Canvas(CELL, CELL)
    photo.paint(inner, vertical_gradient(12, (104, 168, 232), 30, (196, 226, 250)))
    photo.paint(intersect(inner, circle(31.5, 19.5, 3.7)), (255, 193, 40))
    photo.paint(intersect(inner, polygon([(9, 31), (18, 19.5), (24.5, 26), (28.5, 22.5), (39, 32), (39, 36),
                                          (9, 36)])), (108, 120, 150))
    photo.paint(intersect(inner, polygon([(9, 36), (9, 30.5), (17, 27.5), (27, 30.5), (39, 28), (39, 36)])),
                (72, 156, 76))
    if grey_left_of is not None:
        def grey(r, g, b, a):
            v = 0.299 * r + 0.587 * g + 0.114 * b
            return v, v, v, a
        mono = photo.map(grey)
        for y in range(CELL):
            for x in range(int(grey_left_of)):
                photo.px[y * CELL + x] = mono.px[y * CELL + x]
    c.paint(box(7, 10, 41, 38, 3), WHITE)
    c.draw(photo)
    frame = outline(box(7.5, 10.5, 40.5, 37.5, 3), 2.0)
    c.paint(intersect(frame, lambda x, y: x - 24), RED)
    c.paint(intersect(frame, lambda x, y: 24 - x), CYAN)


def glyph_monochromatic(c):
    scene(c, grey_left_of=CELL)


def glyph_full_colour(c):
    scene(c)


def glyph_half_colour(c):
    scene(c, grey_left_of=24)
    c.paint(segment(24, 12, 24, 36, 0.5), WHITE, 0.9)


def badge(c, shape_fn):
    c.paint(circle(36.5, 35.5, 8.2), WHITE)
    c.paint(circle(36.5, 35.5, 7.0), INK)
    shape_fn(c)


def glyph_optimised_colour(c):
    scene(c)

    def sparkle(c):
        star = polygon([(36.5, 29.5), (38.0, 34.0), (42.5, 35.5), (38.0, 37.0), (36.5, 41.5), (35.0, 37.0),
                        (30.5, 35.5), (35.0, 34.0)])
        c.paint(star, (255, 206, 70))
    badge(c, sparkle)


def glyph_custom_colour(c):
    scene(c)

    def matrix(c):
        for row in range(3):
            for col in range(3):
                colour = RED if col == 0 and row == 0 else CYAN if col > 0 and row > 0 else WHITE
                c.paint(circle(33.6 + 2.9 * col, 32.6 + 2.9 * row, 1.05), colour)
    badge(c, matrix)


def glyph_zoom(c):
    c.paint(circle(20, 20, 10), (232, 244, 248))
    c.paint(arc(20, 20, 6.5, 190, 250, 1.0), WHITE)
    c.paint(outline(circle(20, 20, 10.5), 3.4), INK)
    c.paint(segment(28.2, 28.2, 38.5, 38.5, 3.5), INK)
    c.paint(union(segment(15, 20, 25, 20, 1.4), segment(20, 15, 20, 25, 1.4)), INK)


def hand_open():
    fingers = [segment(17.2, 25, 17.2, 11.5, 2.7), segment(22.6, 24, 22.6, 8.5, 2.7),
               segment(28.0, 24, 28.0, 10.0, 2.7), segment(33.0, 27, 33.2, 15.5, 2.5)]
    palm = box(14.5, 21, 35.5, 40.5, 7)
    thumb = segment(15.5, 32.5, 9.0, 23.5, 2.8)
    return fingers + [thumb], palm


def hand_closed():
    knuckles = [segment(17.2, 24, 17.2, 19.5, 2.7), segment(22.6, 24, 22.6, 18.0, 2.7),
                segment(28.0, 24, 28.0, 18.5, 2.7), segment(33.0, 26, 33.0, 21.0, 2.5)]
    palm = box(14.5, 21, 35.5, 40.5, 7)
    thumb = segment(14.5, 32.0, 12.0, 25.5, 2.8)
    return knuckles + [thumb], palm


def glyph_pan_view(c):
    pieces, palm = hand_open()
    c.paint(grow(union(palm, *pieces), 1.8), INK)
    for p in pieces:
        c.paint(p, WHITE)
    c.paint(palm, WHITE)


def four_way_arrow(cx, cy, arm, shaft, head_len, head_half):
    parts = [segment(cx - arm + head_len * 0.5, cy, cx + arm - head_len * 0.5, cy, shaft),
             segment(cx, cy - arm + head_len * 0.5, cx, cy + arm - head_len * 0.5, shaft)]
    for direction, (tx, ty) in ((0, (cx + arm, cy)), (90, (cx, cy + arm)), (180, (cx - arm, cy)),
                                (270, (cx, cy - arm))):
        parts.append(arrow_head(tx, ty, direction, head_len, head_half))
    return union(*parts)


def glyph_pan_left(c):
    arrow = four_way_arrow(22, 24, 17, 2.0, 8.0, 6.5)
    c.paint(move(arrow, 3.5, 0), CYAN)
    c.paint(arrow, RED)


def curved_arrow(cx, cy, r, w, head_len, head_half, start=300, sweep=262):
    """A clockwise arc with its head at the end: the head's base sits on the arc's end and its
    tip runs on along the tangent."""
    end = start + sweep
    t = math.radians(end)
    base = (cx + r * math.cos(t), cy + r * math.sin(t))
    direction = end + 90
    u = (math.cos(math.radians(direction)), math.sin(math.radians(direction)))
    tip = (base[0] + u[0] * head_len, base[1] + u[1] * head_len)
    return union(arc(cx, cy, r, start, end, w), arrow_head(tip[0], tip[1], direction, head_len, head_half))


def glyph_rotate_left(c):
    arrow = curved_arrow(22, 24.5, 13, 2.3, 10.0, 7.0)
    c.paint(move(arrow, 3.5, 0), CYAN)
    c.paint(arrow, RED)
    c.paint(circle(22, 24.5, 2.6), INK)


def glyph_swap_eyes(c):
    """Two arrows trading places: red (the left eye) goes right, cyan comes back left."""
    over = union(segment(9, 17, 33, 17, 2.2), arrow_head(41, 17, 0, 10.0, 7.0))
    under = union(segment(15, 31, 39, 31, 2.2), arrow_head(7, 31, 180, 10.0, 7.0))
    c.paint(over, RED)
    c.paint(under, CYAN)


def glyph_auto_align(c):
    """Two picture frames brought level: the red (left eye) one still a little turned, the
    cyan one straight, and a spark for the automatic."""
    frame = outline(box(8, 17, 32, 38, 2.0), 2.2)
    c.paint(rotate(frame, 20, 27.5, -9), RED)
    c.paint(move(frame, 3.0, 0), CYAN)
    c.paint(polygon([(36, 6), (37.6, 10.4), (42, 12), (37.6, 13.6), (36, 18), (34.4, 13.6), (30, 12), (34.4, 10.4)]), INK)


def glyph_settings(c):
    teeth = [rotate(box(20.6, 5.5, 27.4, 13, 1.3), 24, 24, 45 * k) for k in range(8)]
    gear = subtract(union(circle(24, 24, 13), *teeth), circle(24, 24, 5.2))
    c.paint(gear, INK)
    c.paint(arc(24, 24, 8.6, 90, 270, 1.25), RED)
    c.paint(arc(24, 24, 8.6, 270, 450, 1.25), CYAN)


def glyph_about(c):
    c.paint(circle(24, 24, 17), linear_gradient(0, 7, (62, 68, 86), 0, 41, INK))
    c.paint(arc(24, 24, 14.6, 100, 260, 1.1), RED)
    c.paint(arc(24, 24, 14.6, 280, 440, 1.1), CYAN)
    c.paint(circle(24, 15.5, 2.6), WHITE)
    c.paint(box(21.8, 20.5, 26.2, 33.5, 1.0), WHITE)
    c.paint(box(19.5, 31.2, 28.5, 33.6, 0.8), WHITE)
    c.paint(box(19.5, 20.5, 24.0, 22.6, 0.8), WHITE)


# Column order of the toolbar image strip: save, the five blending modes, zoom view, pan view,
# pan the left image, rotate the left image, settings, about, swap the eyes, auto align.
GLYPHS = [glyph_save, glyph_monochromatic, glyph_full_colour, glyph_half_colour, glyph_optimised_colour,
          glyph_custom_colour, glyph_zoom, glyph_pan_view, glyph_pan_left, glyph_rotate_left, glyph_settings,
          glyph_about, glyph_swap_eyes, glyph_auto_align]


def state_cell(glyph, state):
    cell = Canvas(CELL, CELL)
    plate = box(2, 2, 46, 46, 7)
    if state == 1:  # hot
        cell.paint(plate, WHITE, 0.75)
        cell.paint(outline(plate, 1.0), INK, 0.28)
    elif state == 2:  # pressed
        cell.paint(plate, vertical_gradient(2, (196, 192, 178), 46, (226, 223, 210)))
        cell.paint(outline(plate, 1.0), INK, 0.45)
    elif state == 3:  # checked
        cell.paint(plate, (255, 255, 255), 0.85)
        cell.paint(outline(plate, 1.6), CYAN, 0.9)
        cell.paint(segment(13, 43.2, 23.5, 43.2, 1.1), RED)
        cell.paint(segment(24.5, 43.2, 35, 43.2, 1.1), CYAN)
    if state == 4:  # disabled
        def grey(r, g, b, a):
            v = 0.299 * r + 0.587 * g + 0.114 * b
            v = 0.45 + 0.4 * v
            return v, v, v, a * 0.55
        cell.draw(glyph.map(grey))
    elif state == 2:
        cell.draw(glyph, 1, 1)
    else:
        cell.draw(glyph)
    return cell


def toolbar_strip():
    strip = Canvas(CELL * COLUMNS, CELL * STATES)
    for col, fn in enumerate(GLYPHS):
        glyph = Canvas(CELL, CELL)
        fn(glyph)
        for state in range(STATES):
            strip.blit(state_cell(glyph, state), col * CELL, state * CELL)
    return strip


# ---------------------------------------------------------------------------------------------
# Application icon: red-cyan glasses on a dark tile.


def app_icon(size):
    k = size / 48.0
    c = Canvas(size, size)

    def s(shape):
        return scaled(shape, k, 0, 0, 0, 0)

    c.paint(s(box(2, 2, 46, 46, 9)), linear_gradient(0, 2 * k, (78, 86, 104), 0, 46 * k, (30, 33, 42)))
    c.paint(s(outline(box(2.5, 2.5, 45.5, 45.5, 8.5), 1.0)), WHITE, 0.12)
    left = box(5.5, 17, 22.5, 31.5, 4.5)
    right = box(25.5, 17, 42.5, 31.5, 4.5)
    line = 1.7 if size > 16 else 3.0
    c.paint(s(grow(union(left, right), line)), WHITE)
    c.paint(s(arc(24, 21.5, 3.2, 200, 340, 1.3)), WHITE)
    c.paint(s(left), RED)
    c.paint(s(right), CYAN)
    if size >= 32:
        shine = polygon([(8, 28), (15, 19), (18.5, 19), (11.5, 28)])
        c.paint(s(intersect(shine, left)), WHITE, 0.28)
        c.paint(s(intersect(move(shine, 20, 0), right)), WHITE, 0.28)
        c.paint(s(segment(4, 19, 2.5, 16.5, 1.2)), WHITE, 0.9)
        c.paint(s(segment(44, 19, 45.5, 16.5, 1.2)), WHITE, 0.9)
    return c


# ---------------------------------------------------------------------------------------------
# Cursors, 32 x 32: a dark glyph with a white rim, or a white glyph with a dark rim (hands).

LIGHT = (140, 140, 146)
BLACK = (0, 0, 0)


def cursor_canvas():
    return Canvas(32, 32)


def cursor_hand(parts_fn):
    c = cursor_canvas()
    k = 0.70

    def t(shape):
        return scaled(shape, k, 23.5, 25, 15, 15.5)
    pieces, palm = parts_fn()
    c.paint(t(grow(union(palm, *pieces), 2.4)), WHITE)
    c.paint(t(grow(union(palm, *pieces), 1.5)), BLACK)
    for p in pieces:
        c.paint(t(p), WHITE)
    c.paint(t(palm), WHITE)
    return c


def cursor_magnifier(with_arrow):
    c = cursor_canvas()
    ring = outline(circle(10, 10, 7.2), 2.4)
    handle = segment(15.6, 15.6, 24.5, 24.5, 2.2)
    shape = union(ring, handle)
    parts = [shape]
    if with_arrow:
        arrow = union(segment(27.5, 6.5, 27.5, 15.5, 1.1), arrow_head(27.5, 1.2, 270, 5.0, 3.6),
                      arrow_head(27.5, 20.8, 90, 5.0, 3.6))
        parts.append(arrow)
    c.paint(grow(union(*parts), 1.3), WHITE)
    c.paint(circle(10, 10, 6.2), WHITE, 0.55)
    for p in parts:
        c.paint(p, BLACK)
    c.paint(union(segment(7.0, 10, 13.0, 10, 0.7), segment(10, 7.0, 10, 13.0, 0.7)), BLACK, 0.8)
    return c


def cursor_four_way(fill, cx):
    c = cursor_canvas()
    arrow = four_way_arrow(cx, 15, 13.5, 1.3, 6.0, 4.8)
    c.paint(grow(arrow, 1.3), WHITE)
    c.paint(arrow, fill)
    return c


def cursor_curved(fill, cx):
    c = cursor_canvas()
    arrow = curved_arrow(cx, 15, 9.5, 1.5, 7.0, 5.0)
    c.paint(grow(arrow, 1.3), WHITE)
    c.paint(arrow, fill)
    c.paint(grow(circle(cx, 15, 1.3), 1.0), WHITE)
    c.paint(circle(cx, 15, 1.3), fill)
    return c


# id, file, hotspot, drawing
CURSORS = [
    (102, "cur_pan_view.cur", (15, 15), lambda: cursor_hand(hand_open)),
    (103, "cur_pan_view_drag.cur", (15, 15), lambda: cursor_hand(hand_closed)),
    (104, "cur_zoom_view.cur", (10, 10), lambda: cursor_magnifier(False)),
    (105, "cur_pan_left.cur", (16, 15), lambda: cursor_four_way(BLACK, 16)),
    (106, "cur_pan_left_drag.cur", (16, 15), lambda: cursor_four_way(LIGHT, 16)),
    (107, "cur_zoom_view_drag.cur", (10, 10), lambda: cursor_magnifier(True)),
    (108, "cur_rotate_left.cur", (15, 15), lambda: cursor_curved(BLACK, 15)),
    (109, "cur_rotate_left_drag.cur", (16, 15), lambda: cursor_curved(LIGHT, 16)),
]


# ---------------------------------------------------------------------------------------------
# Rebar background, 32 x 48 each: a warm paper gradient; the left end carries a red and a cyan
# stroke, the right end a soft edge.

REBAR_TOP = (253, 251, 245)
REBAR_BOTTOM = (224, 220, 206)


def rebar_base():
    c = Canvas(32, 48)
    c.paint(box(-1, -1, 33, 49), vertical_gradient(0, REBAR_TOP, 47, REBAR_BOTTOM))
    c.paint(box(-1, -1, 33, 1), WHITE)
    c.paint(box(-1, 47, 33, 49), (196, 191, 174))
    return c


def rebar_middle():
    return rebar_base()


def rebar_left():
    c = rebar_base()
    c.paint(box(-1, 1, 2, 47), RED)
    c.paint(box(2, 1, 4, 47), CYAN)
    c.paint(box(4, 1, 5, 47), WHITE, 0.8)
    return c


def rebar_right():
    c = rebar_base()
    c.paint(box(31, -1, 33, 49), (196, 191, 174))
    c.paint(box(30, 1, 31, 47), WHITE, 0.7)
    return c


# ---------------------------------------------------------------------------------------------


def build():
    """Every file this script owns, name -> bytes."""
    files = {}
    strip = toolbar_strip()
    files["Bistrope.dll"] = png_bytes(strip.width, strip.height, strip.rgba_bytes())
    files["app.ico"] = ico_bytes([app_icon(48), app_icon(32), app_icon(16)])
    for _, name, (hx, hy), draw in CURSORS:
        files[name] = cur_bytes(draw(), hx, hy)
    files["rebar_left.bmp"] = bmp_bytes(rebar_left())
    files["rebar_middle.bmp"] = bmp_bytes(rebar_middle())
    files["rebar_right.bmp"] = bmp_bytes(rebar_right())
    return files


def same(name, made, stored):
    if name.endswith(".dll"):  # a PNG: compare the pixels, not the compressor's bytes
        return png_pixels(made) == png_pixels(stored)
    return made == stored


def write_previews(files, folder):
    """Enlarged views for looking at the artwork: the strip over the rebar, the cursors on light
    and dark ground, the icon sizes."""
    os.makedirs(folder, exist_ok=True)
    w, h, rgba = png_pixels(files["Bistrope.dll"])
    strip = Canvas(w, h)
    for i in range(w * h):
        r, g, b, a = (v / 255.0 for v in rgba[i * 4:i * 4 + 4])
        strip.px[i] = [r * a, g * a, b * a, a]
    ground = Canvas(w, h)
    mid = rebar_middle()
    for y in range(h):
        for x in range(w):
            ground.px[y * w + x] = list(mid.px[(y % 48) * 32 + x % 32])
    ground.draw(strip)
    with open(os.path.join(folder, "strip.png"), "wb") as f:
        f.write(png_bytes(w, h, ground.rgba_bytes()))
    sheet = Canvas(8 * 40, 2 * 40)
    sheet.paint(box(0, 0, 320, 40), (250, 250, 250))
    sheet.paint(box(0, 40, 320, 80), (70, 90, 110))
    for i, (_, _, (hx, hy), draw) in enumerate(CURSORS):
        cur = draw()
        for row in range(2):
            sheet.draw(cur, i * 40 + 4, row * 40 + 4)
            sheet.paint(circle(i * 40 + 4 + hx + 0.5, row * 40 + 4 + hy + 0.5, 0.6), (255, 0, 255))
    with open(os.path.join(folder, "cursors.png"), "wb") as f:
        f.write(png_bytes(sheet.width, sheet.height, sheet.rgba_bytes()))
    icons = Canvas(120, 56)
    icons.paint(box(0, 0, 120, 56), PAPER)
    x = 4
    for size in (48, 32, 16):
        icons.draw(app_icon(size), x, 4)
        x += size + 8
    with open(os.path.join(folder, "icon.png"), "wb") as f:
        f.write(png_bytes(icons.width, icons.height, icons.rgba_bytes()))
    bar = Canvas(32 * 8, 48)
    for i, part in enumerate([rebar_left()] + [rebar_middle()] * 6 + [rebar_right()]):
        bar.draw(part, i * 32, 0)
    bar.draw(strip_row(strip, 0), 32, 0)
    with open(os.path.join(folder, "rebar.png"), "wb") as f:
        f.write(png_bytes(bar.width, bar.height, bar.rgba_bytes()))


def strip_row(strip, row):
    c = Canvas(strip.width, CELL)
    for y in range(CELL):
        for x in range(strip.width):
            c.px[y * strip.width + x] = list(strip.px[(row * CELL + y) * strip.width + x])
    return c


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare with the stored files, write nothing")
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged previews into DIR")
    parser.add_argument("--out", metavar="DIR", default=HERE, help="where the files are (default: here)")
    args = parser.parse_args()
    files = build()
    if args.check:
        stale = []
        for name, data in sorted(files.items()):
            path = os.path.join(args.out, name)
            if not os.path.exists(path):
                stale.append(name + " (missing)")
                continue
            with open(path, "rb") as f:
                if not same(name, data, f.read()):
                    stale.append(name)
        if stale:
            print("artwork differs from make_art.py: " + ", ".join(stale) +
                  "\nrun: python3 resources/art/make_art.py", file=sys.stderr)
            return 1
        print("artwork matches make_art.py (%d files)" % len(files))
        return 0
    for name, data in files.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    if args.preview:
        write_previews(files, args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main())
