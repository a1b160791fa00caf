#!/usr/bin/env python3
"""Draws the programs' bitmaps at build time as 24-bit BMP files, in the style
of their icons: a round badge, blue with a white downward arrow for the
updater, green with a white box for setup.
The updater's:
  tip.bmp       32x32, the ready badge of the main dialog, on cyan
  banner.bmp    500x58, the badge at the right of the banner, on cyan
  complete.bmp  164x314, the side picture of the completion dialog
  status.bmp    96x16, six 16x16 list status images, on magenta
Setup's:
  banner.bmp    500x58, the badge at the right of every banner, on cyan (703)
  repair.bmp    32x32, beside the repair choice, on white (719)
  remove.bmp    32x32, beside the remove choice, on white (720)
  folder.bmp    32x32, the destination folder, on magenta (739)
  drives.bmp    96x16, six 16x16 list images: new folder, folder, fixed,
                removable, network and CD-ROM drive, on magenta (741)
  up.bmp        16x16, the up-one-level button, on magenta (742)
  newfolder.bmp 16x16, the new-folder button, on magenta (743)
  link.bmp      16x16, the prerequisite's web link, on magenta (747)
  language.bmp  360x220, the background of the language choice, with two
                white cards for the language buttons (748)
  english.bmp, french.bmp, 112x62, the language buttons' flags, on cyan;
  english_in.bmp, french_in.bmp  the same under the pointer
  close.bmp, close_in.bmp  19x19, the language choice's close button
  wizard.bmp    164x314, the side picture of the first and last wizard
                pages (760)
Cyan and magenta are the colours the program draws as transparent. Edges are
smoothed against the background each picture is shown on, never against the
transparent colour, so no coloured fringe appears.
Usage: make-bitmaps.py OUT_DIR [updater|setup]"""
import math
import os
import struct
import sys

CYAN = (0, 255, 255)
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
FACE = (240, 240, 240)  # dialog background under the tip

BLUE = (40, 110, 200)
BLUE_LIGHT = (90, 160, 235)
BLUE_DARK = (30, 82, 150)
GREEN = (40, 160, 70)
GREEN_DARK = (28, 118, 50)
RED = (205, 50, 45)
RED_DARK = (150, 35, 30)
GREY = (150, 150, 150)
GREY_DARK = (105, 105, 105)
GOLD = (215, 165, 40)
GOLD_DARK = (150, 110, 20)
TEAL = (30, 150, 90)  # setup's icon
TEAL_DARK = (22, 112, 66)
FOLDER = (236, 196, 82)
FOLDER_DARK = (188, 142, 38)
SILVER = (200, 204, 210)
SILVER_DARK = (120, 126, 134)

SAMPLES = 4  # per axis, for smooth edges


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Shapes: each takes a point in the picture's own units and says whether it
# is inside.


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, outer, inner):
    return lambda x, y: inner * inner < (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def segment(ax, ay, bx, by, width):
    """A thick line with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= (width / 2.0) ** 2

    return inside


def arrow(cx, cy, r):
    """The icon's downward arrow inside a badge of radius r."""

    def inside(x, y):
        dx, dy = (x - cx) / r, (y - cy) / r
        shaft = abs(dx) < 0.17 and -0.6 < dy < 0.12
        head = 0.02 <= dy < 0.62 and abs(dx) < (0.62 - dy) * 0.95
        return shaft or head

    return inside


def check(cx, cy, r, width):
    a = segment(cx - 0.5 * r, cy + 0.02 * r, cx - 0.12 * r, cy + 0.4 * r, width)
    b = segment(cx - 0.12 * r, cy + 0.4 * r, cx + 0.52 * r, cy - 0.38 * r, width)
    return lambda x, y: a(x, y) or b(x, y)


def cross(cx, cy, r, width):
    d = 0.4 * r
    a = segment(cx - d, cy - d, cx + d, cy + d, width)
    b = segment(cx - d, cy + d, cx + d, cy - d, width)
    return lambda x, y: a(x, y) or b(x, y)


def badge(cx, cy, r, body, rim):
    """A round badge lit from the top, with a darker rim: the icon's look."""
    inner = r * 0.86

    def colour(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 > r * r:
            return None
        if d2 > inner * inner:
            return rim
        light = max(0.0, min(1.0, 0.5 - (y - cy) / (2 * r)))
        return mix(body, WHITE, 0.22 * light)

    return colour


def layer(shape, colour):
    return lambda x, y: (colour if shape(x, y) else None)


def render(width, height, layers, key, matte):
    """Paints the layers (last on top) with SAMPLES^2 samples a pixel. A
    pixel no layer touches gets the key colour; a partly covered one is
    blended with the matte it will be seen on."""
    pixels = []
    step = 1.0 / SAMPLES
    for py in range(height):
        row = []
        for px in range(width):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = px + (sx + 0.5) * step, py + (sy + 0.5) * step
                    found = None
                    for paint in reversed(layers):
                        found = paint(x, y)
                        if found is not None:
                            break
                    if found is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += found[i]
            if covered == 0:
                row.append(key)
                continue
            colour = [v / covered for v in total]
            coverage = covered / float(SAMPLES * SAMPLES)
            if matte is not None:
                colour = mix(matte, colour, coverage)
            row.append(tuple(int(round(v)) for v in colour))
        pixels.append(row)
    return pixels


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = b""
    for row in reversed(pixels):  # bottom-up
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def tip():
    c, r = 16.0, 15.0
    return render(32, 32, [badge(c, c, r, BLUE, BLUE_DARK), layer(arrow(c - 1, c - 2, r * 0.9), WHITE),
                           layer(disc(24, 24, 8.0), WHITE), badge(24, 24, 7.0, GREEN, GREEN_DARK),
                           layer(check(24, 24, 7.0, 2.0), WHITE)],
                  CYAN, FACE)


def banner():
    width, height = 500, 58
    c, cy, r = 446.0, height / 2.0, 22.0

    def ripples(x, y):
        # Rings spreading from the badge, fading out.
        d = math.hypot(x - c, (y - cy) * 1.5)
        fade = 1.0 - (d - r) / 120.0
        if d < r + 4 or fade <= 0 or (d - r) % 15.0 >= 4.0:
            return None
        return mix(WHITE, BLUE_LIGHT, 0.3 * fade)

    return render(width, height, [ripples, badge(c, cy, r, BLUE, BLUE_DARK), layer(arrow(c, cy, r), WHITE)], CYAN,
                  WHITE)


def complete():
    width, height = 164, 314
    c, cy, r = 82.0, 112.0, 46.0

    def sky(x, y):
        t = y / float(height)
        base = mix((74, 144, 226), (22, 66, 140), t)
        d = math.hypot(x - c, y - cy)
        if r + 10 < d and (d - r) % 22.0 < 8.0:
            return mix(base, WHITE, 0.10 * max(0.0, 1.0 - (d - r) / 190.0))
        return base

    return render(width, height, [sky, layer(disc(c, cy, r + 6), WHITE), badge(c, cy, r, BLUE, BLUE_DARK),
                                  layer(arrow(c, cy, r), WHITE), layer(disc(c + 34, cy + 34, 21), WHITE),
                                  badge(c + 34, cy + 34, 18, GREEN, GREEN_DARK),
                                  layer(check(c + 34, cy + 34, 18, 5.0), WHITE)], CYAN, None)


def status():
    layers = []

    def at(index, parts):
        # Shifts each image's layers into its 16-pixel cell.
        for paint in parts:
            layers.append(lambda x, y, p=paint, o=16 * index: p(x - o, y) if o <= x < o + 16 else None)

    def pending():
        return [layer(ring(8, 8, 6.5, 4.9), GREY), layer(disc(8, 8, 2.0), GREY)]

    at(0, pending())
    at(1, [badge(8, 8, 7.5, GREEN, GREEN_DARK), layer(check(8, 8, 7.5, 2.0), WHITE)])
    at(2, [badge(8, 8, 7.5, RED, RED_DARK), layer(cross(8, 8, 7.5, 2.0), WHITE)])
    at(3, [badge(8, 8, 7.5, BLUE, BLUE_DARK), layer(arrow(8, 8, 7.5), WHITE)])
    at(4, pending())
    at(5, [layer(ring(8, 6.5, 4.2, 2.6), GREY_DARK), layer(box(3.5, 6.5, 12.5, 14.5), GOLD_DARK),
           layer(box(4.5, 7.5, 11.5, 13.5), GOLD), layer(box(7.2, 9.0, 8.8, 12.0), GOLD_DARK)])
    return render(96, 16, layers, MAGENTA, WHITE)


def setup_box(cx, cy, r):
    """Setup's white box inside a badge of radius r."""

    def inside(x, y):
        dx, dy = (x - cx) / r, (y - cy) / r
        outer = abs(dx) < 0.5 and abs(dy) < 0.45
        hollow = abs(dx) < 0.36 and -0.18 < dy < 0.31
        return outer and not hollow

    return inside


def folder_shape(x0, y0, w, h, body, dark):
    """A folder with its tab, w by h from its top-left corner."""
    tab = box(x0, y0, x0 + w * 0.42, y0 + h * 0.3)
    back = box(x0, y0 + h * 0.18, x0 + w, y0 + h)
    front = box(x0, y0 + h * 0.36, x0 + w, y0 + h)
    inner = box(x0 + 1, y0 + h * 0.36 + 1, x0 + w - 1, y0 + h - 1)
    return [layer(lambda x, y: tab(x, y) or back(x, y), dark), layer(front, dark), layer(inner, body)]


def setup_banner():
    # The banner draws its text left of the last 3/10 of the picture: the
    # badge sits there, inside a 317-unit-wide page at any usual font.
    width, height = 500, 58
    c, cy, r = 430.0, height / 2.0, 22.0

    def ripples(x, y):
        d = math.hypot(x - c, (y - cy) * 1.5)
        fade = 1.0 - (d - r) / 120.0
        if d < r + 4 or fade <= 0 or (d - r) % 15.0 >= 4.0:
            return None
        return mix(WHITE, (110, 200, 150), 0.3 * fade)

    return render(width, height, [ripples, badge(c, cy, r, TEAL, TEAL_DARK), layer(setup_box(c, cy, r), WHITE)],
                  CYAN, WHITE)


def repair():
    c, r = 16.0, 15.0
    wrench = segment(9, 23, 20, 12, 4.0)
    return render(32, 32, [badge(c, c, r, TEAL, TEAL_DARK), layer(wrench, WHITE), layer(ring(21, 11, 5.5, 2.2), WHITE)],
                  WHITE, WHITE)


def remove():
    c, r = 16.0, 15.0
    return render(32, 32, [badge(c, c, r, RED, RED_DARK), layer(cross(c, c, r, 4.0), WHITE)], WHITE, WHITE)


def folder():
    return render(32, 32, folder_shape(2, 5, 28, 22, FOLDER, FOLDER_DARK) +
                  [layer(disc(24, 23, 7.5), WHITE), badge(24, 23, 6.5, TEAL, TEAL_DARK),
                   layer(setup_box(24, 23, 6.5), WHITE)], MAGENTA, WHITE)


def drive(light):
    return [layer(box(1, 5, 15, 12), SILVER_DARK), layer(box(2, 6, 14, 11), SILVER), layer(box(11, 8, 13, 9.5), light)]


def drives():
    layers = []

    def at(index, parts):
        for paint in parts:
            layers.append(lambda x, y, p=paint, o=16 * index: p(x - o, y) if o <= x < o + 16 else None)

    at(0, folder_shape(1, 2, 14, 12, (250, 236, 190), (214, 190, 120)))
    at(1, folder_shape(1, 2, 14, 12, FOLDER, FOLDER_DARK))
    at(2, drive(GREEN))
    at(3, [layer(box(2, 6, 14, 12), SILVER_DARK), layer(box(3, 7, 13, 11), SILVER),
           layer(box(4, 8.5, 12, 9.5), GREY_DARK)])
    at(4, drive(GREEN) + [layer(box(7.5, 12, 8.5, 14), GREY_DARK), layer(box(3, 14, 13, 15), GREY_DARK)])
    at(5, [layer(disc(8, 8, 7), SILVER_DARK), layer(disc(8, 8, 6), (214, 220, 232)),
           layer(ring(8, 8, 4.5, 3.2), (180, 200, 235)), layer(disc(8, 8, 1.6), MAGENTA)])
    return render(96, 16, layers, MAGENTA, WHITE)


def up():
    arrow_up = [segment(8, 4, 8, 11, 2.0), segment(8, 4, 5, 7, 2.0), segment(8, 4, 11, 7, 2.0)]
    return render(16, 16, folder_shape(1, 5, 14, 10, FOLDER, FOLDER_DARK) +
                  [layer(lambda x, y: any(a(x, y) for a in arrow_up), TEAL_DARK)], MAGENTA, WHITE)


def new_folder():
    star = [segment(12, 1.5, 12, 7.5, 1.6), segment(9, 4.5, 15, 4.5, 1.6)]
    return render(16, 16, folder_shape(1, 5, 12, 10, FOLDER, FOLDER_DARK) +
                  [layer(lambda x, y: any(a(x, y) for a in star), GOLD_DARK)], MAGENTA, WHITE)


def link():
    meridian = lambda x, y: abs((x - 8) ** 2 / 9.0 + (y - 8) ** 2 / 42.0 - 1.0) < 0.22
    lines = [box(1.5, 7.5, 14.5, 8.5), box(8 - 0.5, 1.5, 8.5, 14.5)]
    return render(16, 16, [badge(8, 8, 7.5, BLUE, BLUE_DARK), layer(meridian, BLUE_LIGHT),
                           layer(lambda x, y: any(l(x, y) for l in lines) and (x - 8) ** 2 + (y - 8) ** 2 < 40,
                                 BLUE_LIGHT)], MAGENTA, WHITE)


LANGUAGE_SIZE = (360, 220)
LANGUAGE_BADGE = (180.0, 56.0, 34.0)
# Where the buttons sit on the language background, in its pixels: each
# language's card holds its flag button with the language's name below it,
# and the close button sits in the top-right corner.
LANGUAGE_CARDS = ((30, 124, 170, 206), (190, 124, 330, 206))
LANGUAGE_CLOSE = (337, 4, 19)


def language_sky(x, y):
    c, cy, r = LANGUAGE_BADGE
    base = mix((52, 170, 112), (18, 92, 58), y / float(LANGUAGE_SIZE[1]))
    d = math.hypot(x - c, y - cy)
    if r + 10 < d and (d - r) % 22.0 < 8.0:
        return mix(base, WHITE, 0.10 * max(0.0, 1.0 - (d - r) / 200.0))
    return base


def rounded(x0, y0, x1, y1, radius):
    def inside(x, y):
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius and x0 <= x < x1 and y0 <= y < y1

    return inside


def language():
    width, height = LANGUAGE_SIZE
    c, cy, r = LANGUAGE_BADGE
    cards = []
    for x0, y0, x1, y1 in LANGUAGE_CARDS:
        cards += [layer(rounded(x0 - 1, y0 - 1, x1 + 1, y1 + 1, 7), mix((18, 92, 58), WHITE, 0.35)),
                  layer(rounded(x0, y0, x1, y1, 6), WHITE)]
    return render(width, height, [language_sky, layer(disc(c, cy, r + 5), WHITE), badge(c, cy, r, TEAL, TEAL_DARK),
                                  layer(setup_box(c, cy, r), WHITE)] + cards, CYAN, None)


# The language buttons' pictures: a waving-free flag with a thin frame and a
# soft shadow, on white; under the pointer the button is ringed in setup's
# green.
FLAG_BUTTON = (112, 62)
FLAG = (18, 8, 94, 54)  # x0, y0, x1, y1 inside the picture


def union_flag(x0, y0, x1, y1):
    w, h = x1 - x0, y1 - y0
    navy, red = (20, 50, 120), (200, 30, 45)

    def colour(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return None
        u, v = (x - x0) / w - 0.5, (y - y0) / h - 0.5
        if abs(u) < 0.05 or abs(v) < 0.09:
            return red
        if abs(u) < 0.09 or abs(v) < 0.16:
            return WHITE
        # The diagonals, measured across in pixels.
        across = w * h / math.hypot(w, h)
        diagonal = min(abs(u - v), abs(u + v)) * across
        if diagonal < 0.04 * h:
            return red
        if diagonal < 0.11 * h:
            return WHITE
        return navy

    return colour


def tricolour(x0, y0, x1, y1):
    w = x1 - x0

    def colour(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return None
        band = int(3 * (x - x0) / w)
        return ((0, 85, 164), WHITE, (239, 65, 53))[min(band, 2)]

    return colour


def flag_button(flag, pointed):
    width, height = FLAG_BUTTON
    x0, y0, x1, y1 = FLAG
    layers = []
    if pointed:
        layers += [layer(rounded(1, 1, width - 1, height - 1, 8), mix(WHITE, TEAL, 0.85)),
                   layer(rounded(3, 3, width - 3, height - 3, 6), mix(WHITE, TEAL, 0.08))]
    layers += [layer(box(x0 + 2, y0 + 2, x1 + 2, y1 + 2), (205, 210, 208)),
               layer(box(x0 - 1, y0 - 1, x1 + 1, y1 + 1), GREY), flag(x0, y0, x1, y1)]
    return render(width, height, layers, CYAN, mix(WHITE, TEAL, 0.08) if pointed else WHITE)


def close_button(pointed):
    x0, y0, size = LANGUAGE_CLOSE
    half = size / 2.0
    ground = lambda x, y: language_sky(x + x0, y + y0)
    layers = [ground]
    if pointed:
        layers.append(layer(disc(half, half, half - 0.5), RED))
    layers.append(layer(cross(half, half, half, 2.0), WHITE))
    return render(size, size, layers, CYAN, None)


def wizard():
    width, height = 164, 314
    c, cy, r = 82.0, 104.0, 44.0

    def sky(x, y):
        base = mix((52, 170, 112), (18, 92, 58), y / float(height))
        d = math.hypot(x - c, y - cy)
        if r + 10 < d and (d - r) % 22.0 < 8.0:
            return mix(base, WHITE, 0.10 * max(0.0, 1.0 - (d - r) / 190.0))
        return base

    return render(width, height, [sky, layer(disc(c, cy, r + 6), WHITE), badge(c, cy, r, TEAL, TEAL_DARK),
                                  layer(setup_box(c, cy, r), WHITE)], CYAN, None)


PICTURES = {
    "updater": (("tip", tip), ("banner", banner), ("complete", complete), ("status", status)),
    "setup": (("banner", setup_banner), ("repair", repair), ("remove", remove), ("folder", folder),
              ("drives", drives), ("up", up), ("newfolder", new_folder), ("link", link), ("language", language),
              ("english", lambda: flag_button(union_flag, False)), ("english_in", lambda: flag_button(union_flag, True)),
              ("french", lambda: flag_button(tricolour, False)), ("french_in", lambda: flag_button(tricolour, True)),
              ("close", lambda: close_button(False)), ("close_in", lambda: close_button(True)),
              ("wizard", wizard)),
}


def main():
    out = sys.argv[1]
    program = sys.argv[2] if len(sys.argv) > 2 else "updater"
    for name, draw in PICTURES[program]:
        write_bmp(os.path.join(out, name + ".bmp"), draw())


if __name__ == "__main__":
    main()
