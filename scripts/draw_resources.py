#!/usr/bin/env python3
"""Draws the program's icons and bitmaps as 16-colour BMP and ICO files.

The output is committed under res/, so the build never runs this script. Run it again after
changing a drawing:

    python3 scripts/draw_resources.py            # writes res/icons and res/bitmaps
    python3 scripts/draw_resources.py --preview /tmp/previews   # also scaled-up PNG previews

Only the Python standard library is used.
"""

import argparse
import pathlib

from resource_canvas import (AQUA, BLACK, BLUE, CLEAR, GREEN, GREY, LIME, MAROON, NAVY, OLIVE,
                             RED, SILVER, TEAL, WHITE, YELLOW, Canvas)
from resource_files import (THEME_SIZES, bmp_bytes, ico_bytes, png_bytes, png_from_rgba,
                            resampled_rgba)


# ---- drawings -------------------------------------------------------------------------------

def lattice_mast(c, base_left, base_right, base_y, top_left, top_right, top_y, rungs):
    """A tapering lattice tower with diagonal bracing."""
    c.line(base_left, base_y, top_left, top_y, BLACK)
    c.line(base_right, base_y, top_right, top_y, BLACK)
    levels = [base_y - round(i * (base_y - top_y) / rungs) for i in range(rungs + 1)]

    def left_at(y):
        return round(base_left + (top_left - base_left) * (base_y - y) / (base_y - top_y))

    def right_at(y):
        return round(base_right + (top_right - base_right) * (base_y - y) / (base_y - top_y))

    for i in range(rungs):
        low, high = levels[i], levels[i + 1]
        c.line(left_at(high), high, right_at(high), high, GREY)
        if i % 2 == 0:
            c.line(left_at(low), low, right_at(high), high, GREY)
        else:
            c.line(right_at(low), low, left_at(high), high, GREY)
    c.line(base_left, base_y, top_left, top_y, BLACK)
    c.line(base_right, base_y, top_right, top_y, BLACK)


def icon_mast_32():
    c = Canvas(32, 32, CLEAR)
    c.waves(15.5, 6.5, [5, 9, 13], 40, [BLUE, BLUE, NAVY])
    c.fill(6, 29, 25, 30, GREEN)
    c.line(6, 29, 25, 29, LIME)
    lattice_mast(c, 10, 21, 29, 14, 17, 9, 5)
    c.fill(14, 4, 17, 8, RED)
    c.dot(14, 4, MAROON)
    c.dot(17, 4, MAROON)
    c.line(15, 5, 15, 6, YELLOW)
    c.line(15, 0, 15, 3, BLACK)
    c.line(16, 0, 16, 3, GREY)
    return c


def icon_mast_16():
    c = Canvas(16, 16, CLEAR)
    c.waves(7.5, 4, [3, 6], 40, [BLUE, NAVY])
    c.line(3, 15, 12, 15, GREEN)
    c.line(4, 14, 6, 7, BLACK)
    c.line(11, 14, 9, 7, BLACK)
    c.line(7, 7, 8, 7, GREY)
    c.line(6, 10, 9, 10, GREY)
    c.line(5, 13, 10, 13, GREY)
    c.fill(7, 3, 8, 6, RED)
    c.line(7, 0, 7, 2, BLACK)
    return c


def icon_unit_32():
    c = Canvas(32, 32, CLEAR)
    c.waves(22.5, 4.5, [4, 7], 45, [BLUE, NAVY])
    c.line(22, 3, 22, 15, BLACK)
    c.fill(21, 2, 23, 4, RED)
    c.box(4, 15, 27, 29, SILVER)
    c.fill(7, 18, 18, 23, TEAL)
    c.frame(7, 18, 18, 23, GREY)
    c.line(9, 21, 11, 20, AQUA)
    c.line(11, 20, 13, 22, AQUA)
    c.line(13, 22, 16, 19, AQUA)
    for i, colour in enumerate([LIME, YELLOW, RED]):
        c.fill(21, 18 + 3 * i, 23, 19 + 3 * i, colour)
    c.fill(7, 26, 18, 26, GREY)
    c.fill(5, 30, 26, 31, GREY)
    return c


def icon_unit_16():
    c = Canvas(16, 16, CLEAR)
    c.arc(11.5, 2.5, 3, -45, 45, BLUE)
    c.arc(11.5, 2.5, 3, 135, 225, BLUE)
    c.line(11, 2, 11, 7, BLACK)
    c.dot(11, 1, RED)
    c.box(1, 7, 14, 15, SILVER)
    c.fill(3, 9, 8, 12, TEAL)
    c.dot(11, 9, LIME)
    c.dot(11, 11, YELLOW)
    c.dot(11, 13, RED)
    return c


def bitmap_network_scene():
    """Bitmap 135: a repeater mast linking two sensors and the modem at the technician's PC."""
    c = Canvas(102, 61, WHITE)
    # Sky and ground.
    c.ellipse_fill(16, 54, 30, 11, SILVER)
    c.ellipse_fill(84, 55, 34, 9, SILVER)
    c.fill(0, 52, 101, 60, GREEN)
    c.line(0, 52, 101, 52, LIME)
    for x in range(3, 102, 9):
        c.dot(x, 56, LIME)
        c.dot(x + 4, 58, OLIVE)
    # Radio links: dotted lines from the mast top to each device.
    top = (50, 9)
    for target in [(18, 30), (90, 28), (88, 41)]:
        link_dots(c, top, target, NAVY, skip=12)
    # The repeater mast.
    lattice_mast(c, 43, 57, 52, 49, 51, 12, 8)
    c.fill(49, 7, 51, 11, RED)
    c.line(50, 2, 50, 6, BLACK)
    c.waves(50, 9, [6, 10], 35, [BLUE, BLUE])
    # Sensor on a post, left.
    c.line(14, 42, 14, 52, GREY)
    c.box(9, 35, 19, 43, SILVER)
    c.fill(12, 37, 13, 41, WHITE)
    c.line(12, 40, 12, 41, RED)
    c.dot(16, 38, LIME)
    c.line(18, 30, 18, 34, BLACK)
    # Sensor on a post, right.
    c.line(86, 40, 86, 52, GREY)
    c.box(81, 33, 91, 41, SILVER)
    c.fill(84, 35, 85, 39, WHITE)
    c.line(84, 38, 84, 39, RED)
    c.dot(88, 36, LIME)
    c.line(90, 28, 90, 32, BLACK)
    # The technician's PC and the modem beside it.
    c.box(60, 37, 76, 48, SILVER)
    c.fill(62, 39, 74, 46, NAVY)
    c.line(63, 41, 70, 41, AQUA)
    c.line(63, 43, 68, 43, AQUA)
    c.fill(66, 49, 70, 50, GREY)
    c.fill(61, 51, 75, 51, GREY)
    c.box(78, 45, 90, 50, SILVER)
    c.dot(81, 48, LIME)
    c.dot(83, 48, YELLOW)
    c.line(88, 41, 88, 44, BLACK)
    c.line(76, 48, 78, 48, BLACK)
    return c


def link_dots(c, start, end, colour, skip):
    """A dotted line from start to end, leaving out the first skip pixels."""
    (x0, y0), (x1, y1) = start, end
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(skip, steps - 1, 3):
        c.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


# Tab images: 15 x 12, of which the tab shows the left 13 columns; the background is the
# colour the tab's image list treats as transparent.
def tab_repeater():
    c = Canvas(15, 12, WHITE)
    c.arc(6, 2, 3, -40, 40, BLUE)
    c.arc(6, 2, 3, 140, 220, BLUE)
    c.arc(6, 2, 5.5, -35, 35, NAVY)
    c.arc(6, 2, 5.5, 145, 215, NAVY)
    c.line(3, 11, 6, 3, BLACK)
    c.line(9, 11, 6, 3, BLACK)
    c.line(5, 8, 7, 8, GREY)
    c.line(4, 10, 8, 10, GREY)
    c.dot(6, 1, RED)
    c.dot(6, 2, RED)
    return c


def tab_sensor():
    c = Canvas(15, 12, SILVER)
    c.line(10, 0, 10, 3, BLACK)
    c.dot(10, 0, RED)
    c.box(1, 3, 11, 11, WHITE, light=WHITE, shade=GREY, edge=NAVY)
    c.dot(4, 5, GREY)
    c.line(4, 6, 4, 9, RED)
    c.line(3, 8, 5, 8, RED)
    c.dot(8, 6, LIME)
    c.dot(8, 8, GREEN)
    return c


def tab_modem():
    c = Canvas(15, 12, SILVER)
    c.line(10, 0, 10, 5, BLACK)
    c.dot(10, 0, RED)
    c.box(0, 6, 12, 10, GREY, light=WHITE, shade=BLACK, edge=BLACK)
    c.fill(1, 7, 11, 9, WHITE)
    c.dot(3, 8, LIME)
    c.dot(5, 8, YELLOW)
    c.dot(7, 8, RED)
    c.line(1, 11, 11, 11, GREY)
    return c


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--res", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent.parent / "res")
    parser.add_argument("--preview", type=pathlib.Path, help="also write PNG previews here")
    args = parser.parse_args()

    icons = {"128": [icon_mast_32(), icon_mast_16()], "143": [icon_unit_32(), icon_unit_16()]}
    bitmaps = {"135": bitmap_network_scene(), "146": tab_repeater(), "147": tab_sensor(),
               "154": tab_modem()}

    (args.res / "icons").mkdir(parents=True, exist_ok=True)
    (args.res / "bitmaps").mkdir(parents=True, exist_ok=True)
    for name, canvases in icons.items():
        (args.res / "icons" / f"{name}.ico").write_bytes(ico_bytes(canvases))
    for name, canvas in bitmaps.items():
        (args.res / "bitmaps" / f"{name}.bmp").write_bytes(bmp_bytes(canvas))
    # The desktop entry's icon, for the icon theme, which does not read .ico files.
    mast_32, mast_16 = icons["128"]
    for size in THEME_SIZES:
        folder = args.res / "icons" / "hicolor" / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        drawing = mast_16 if size == 16 else mast_32
        (folder / "org.zav7305.Zav7305.png").write_bytes(
            png_from_rgba(resampled_rgba(drawing, size)))

    if args.preview:
        args.preview.mkdir(parents=True, exist_ok=True)
        for name, canvases in icons.items():
            for canvas in canvases:
                png = png_bytes(canvas, 256 // canvas.width, clear=(255, 200, 230))
                (args.preview / f"icon{name}_{canvas.width}.png").write_bytes(png)
        for name, canvas in bitmaps.items():
            scale = 6 if canvas.width > 50 else 24
            (args.preview / f"bitmap{name}.png").write_bytes(png_bytes(canvas, scale))


if __name__ == "__main__":
    main()
