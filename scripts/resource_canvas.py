"""The 16-colour canvas the program's icons and bitmaps are drawn on."""

import math

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
