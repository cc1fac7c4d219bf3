# The program's icon, drawn from the shapes below: a calendar sheet with its rings, a
# blue head and four rows in team colours of the workbook. Writes the same drawing as an
# SVG, as PNG files of the sizes a desktop asks for, and as a Windows .ico holding those
# PNGs. Pure Python and byte for byte the same on every run, so builds stay reproducible.
#   make_icon.py OUT_DIR
import os
import struct
import sys
import zlib

# The drawing on a 256 x 256 grid, painted in this order: (x0, y0, x1, y1, corner radius, colour).
CANVAS = 256
SHAPES = [
    (15, 26, 241, 241, 22, "#3b4650"),   # the sheet's edge
    (22, 33, 234, 234, 16, "#ffffff"),   # the sheet
    (22, 33, 234, 78, 16, "#1c6fb8"),    # its head, rounded at the top
    (22, 60, 234, 80, 0, "#1c6fb8"),     # the head's straight lower edge
    (66, 10, 84, 50, 9, "#3b4650"),      # left ring
    (172, 10, 190, 50, 9, "#3b4650"),    # right ring
    (42, 94, 214, 120, 5, "#33cccc"),    # adult team 1
    (42, 128, 214, 154, 5, "#ffff00"),   # U19 team 1
    (42, 162, 214, 188, 5, "#00ff00"),   # U15 team 1
    (42, 196, 214, 222, 5, "#ff9900"),   # U19 team 2
]
SIZES = [16, 24, 32, 48, 64, 128, 256]
SUBSAMPLES = 4  # per pixel and axis, for smooth edges


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def inside(shape, x, y):
    x0, y0, x1, y1, radius, _ = shape
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    # Distance into a corner's square decides whether the rounded corner cuts it off.
    cx = x0 + radius if x < x0 + radius else x1 - radius if x > x1 - radius else x
    cy = y0 + radius if y < y0 + radius else y1 - radius if y > y1 - radius else y
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def render(size):
    """RGBA rows of the drawing at size x size pixels."""
    scale = CANVAS / size
    step = scale / SUBSAMPLES
    colours = [rgb(shape[5]) for shape in SHAPES]
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            red = green = blue = alpha = 0
            for sy in range(SUBSAMPLES):
                y = py * scale + (sy + 0.5) * step
                for sx in range(SUBSAMPLES):
                    x = px * scale + (sx + 0.5) * step
                    for index in range(len(SHAPES) - 1, -1, -1):
                        if inside(SHAPES[index], x, y):
                            r, g, b = colours[index]
                            red += r
                            green += g
                            blue += b
                            alpha += 1
                            break
            samples = SUBSAMPLES * SUBSAMPLES
            if alpha == 0:
                row += b"\0\0\0\0"
            else:
                row += bytes((red // alpha, green // alpha, blue // alpha, 255 * alpha // samples))
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(images):
    """A Windows icon holding the PNG images, smallest first."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    data = b""
    for size, image in images:
        dimension = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return header + entries + data


def svg():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
             % (CANVAS, CANVAS, CANVAS, CANVAS),
             '  <title>Termarium</title>']
    for x0, y0, x1, y1, radius, colour in SHAPES:
        lines.append('  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s"/>'
                     % (x0, y0, x1 - x0, y1 - y0, radius, colour))
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "termarium.svg"), "w", encoding="utf-8", newline="\n") as stream:
        stream.write(svg())
    images = []
    for size in SIZES:
        image = png(size, render(size))
        with open(os.path.join(out_dir, "termarium-%d.png" % size), "wb") as stream:
            stream.write(image)
        images.append((size, image))
    with open(os.path.join(out_dir, "termarium.ico"), "wb") as stream:
        stream.write(ico(images))


if __name__ == "__main__":
    main()
