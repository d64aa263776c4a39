#!/usr/bin/env python3
"""Draws the program's icons and bitmaps as 16-colour BMP and ICO files.

The output is committed under res/, so the build never runs this script. Run it again after
changing a drawing:

    python3 scripts/draw_resources.py            # writes res/icons and res/bitmaps
    python3 scripts/draw_resources.py --preview /tmp/previews   # also scaled-up PNG previews

Only the Python standard library is used.
"""

import argparse
import math
import pathlib
import struct
import zlib

# The classic 16-colour palette, in its usual index order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = None  # icon pixel left transparent by the AND mask


class Canvas:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.line(x0, y0, x1, y0, colour)
        self.line(x0, y1, x1, y1, colour)
        self.line(x0, y0, x0, y1, colour)
        self.line(x1, y0, x1, y1, colour)

    def box(self, x0, y0, x1, y1, face, light=WHITE, shade=GREY, edge=BLACK):
        """A raised box: face colour, light top-left, shaded bottom-right, dark outline."""
        self.fill(x0, y0, x1, y1, face)
        self.line(x0 + 1, y0 + 1, x1 - 1, y0 + 1, light)
        self.line(x0 + 1, y0 + 1, x0 + 1, y1 - 1, light)
        self.line(x0 + 1, y1 - 1, x1 - 1, y1 - 1, shade)
        self.line(x1 - 1, y0 + 1, x1 - 1, y1 - 1, shade)
        self.frame(x0, y0, x1, y1, edge)

    def arc(self, cx, cy, radius, start_deg, end_deg, colour):
        """One-pixel arc around (cx, cy); angles count anticlockwise from the right."""
        for y in range(self.height):
            for x in range(self.width):
                dx, dy = x - cx, cy - y
                if abs(math.hypot(dx, dy) - radius) >= 0.5:
                    continue
                angle = math.degrees(math.atan2(dy, dx)) % 360
                if start_deg <= angle <= end_deg or start_deg <= angle + 360 <= end_deg:
                    self.dot(x, y, colour)

    def waves(self, cx, cy, radii, spread, colours):
        """Radio waves leaving a point to the left and to the right."""
        for radius, colour in zip(radii, colours):
            self.arc(cx, cy, radius, -spread, spread, colour)
            self.arc(cx, cy, radius, 180 - spread, 180 + spread, colour)

    def ellipse_fill(self, cx, cy, rx, ry, colour):
        for y in range(self.height):
            for x in range(self.width):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.dot(x, y, colour)


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


# ---- file formats ---------------------------------------------------------------------------

def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def packed_rows(canvas, value):
    """4-bit pixel rows, bottom-up, each padded to a multiple of 4 bytes."""
    stride = (canvas.width * 4 + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            nibble = value(canvas.get(x, y))
            row[x // 2] |= nibble << (4 if x % 2 == 0 else 0)
        out += row
    return bytes(out)


def mask_rows(canvas):
    """1-bit AND mask, bottom-up, 1 where the icon is transparent."""
    stride = (canvas.width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(stride)
        for x in range(canvas.width):
            if canvas.get(x, y) is CLEAR:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_bytes(canvas):
    pixels = packed_rows(canvas, lambda colour: colour)
    header = info_header(canvas.width, canvas.height, len(pixels))
    offset = 14 + len(header) + 16 * 4
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + header + palette_bytes() + pixels


def ico_bytes(canvases):
    images = []
    for canvas in canvases:
        xor = packed_rows(canvas, lambda colour: BLACK if colour is CLEAR else colour)
        mask = mask_rows(canvas)
        header = info_header(canvas.width, canvas.height * 2, len(xor) + len(mask))
        images.append(header + palette_bytes() + xor + mask)
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for canvas, image in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", canvas.width, canvas.height, 16, 0, 1, 4,
                               len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def resampled_rgba(canvas, size, samples=4):
    """The drawing at size x size: each pixel averages samples^2 points of the drawing, so
    whole-number enlargements stay crisp and others are smoothed. Rows of RGBA tuples."""
    rows = []
    step = canvas.width / size
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for j in range(samples):
                for i in range(samples):
                    sx = int((x + (i + 0.5) / samples) * step)
                    sy = int((y + (j + 0.5) / samples) * step)
                    colour = canvas.get(sx, sy)
                    if colour is CLEAR:
                        continue
                    pr, pg, pb = PALETTE[colour]
                    r, g, b, a = r + pr, g + pg, b + pb, a + 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a),
                            round(255 * a / samples ** 2)))
        rows.append(row)
    return rows


def png_from_rgba(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw))
            + chunk(b"IEND", b""))


# The icon theme's sizes; 16 px has its own drawing, the others come from the 32 px one.
THEME_SIZES = [16, 32, 48, 64, 128, 256]


def png_bytes(canvas, scale=1, clear=None):
    """PNG with alpha; clear pixels become fully transparent unless a clear colour is given."""
    rows = b""
    for y in range(canvas.height * scale):
        row = bytearray(b"\x00")
        for x in range(canvas.width * scale):
            colour = canvas.get(x // scale, y // scale)
            if colour is CLEAR:
                row += bytes(clear + (255,)) if clear else bytes(4)
            else:
                row += bytes(PALETTE[colour] + (255,))
        rows += bytes(row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    ihdr = struct.pack(">IIBBBBB", canvas.width * scale, canvas.height * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


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
