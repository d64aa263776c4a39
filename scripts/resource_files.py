"""BMP, ICO and PNG bytes of a drawn canvas; only the Python standard library is used."""

import struct
import zlib

from resource_canvas import BLACK, CLEAR, PALETTE


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
