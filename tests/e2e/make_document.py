#!/usr/bin/python3
"""Writes a small Tessaly document for the end-to-end tests: an inner file
laid out byte by byte (header, settings block, count, records, pictures) and
wrapped in a cabinet by gcab, so no code of the editor makes it.

    make_document.py OUT.tsd
"""
import io
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

COLOURS = [(220, 40, 40), (40, 170, 60), (40, 80, 220), (240, 200, 30),
           (160, 60, 200), (30, 190, 200), (240, 130, 40), (90, 90, 90)]


def jpeg(colour, index):
    image = Image.new("RGB", (80, 60), colour)
    draw = ImageDraw.Draw(image)
    draw.ellipse((10 + index % 3 * 5, 8, 70, 52), fill=tuple(255 - c for c in colour))
    out = io.BytesIO()
    image.save(out, "JPEG", quality=90)
    return out.getvalue()


def settings(node_count):
    s = bytearray(3240)
    struct.pack_into("<ii", s, 0x000, node_count, -1)
    struct.pack_into("<f", s, 0x010, 1.0)              # zoom
    struct.pack_into("<iii", s, 0x014, 79, 79, 1)      # zoom console, pinned
    struct.pack_into("<ii", s, 0x020, 1000, 800)       # canvas
    struct.pack_into("<ii", s, 0x028, 0xF0FFFF, 0x7B5A48)  # background, frame colour
    struct.pack_into("<ii", s, 0x030, 3, 0)            # frame width, style
    struct.pack_into("<i", s, 0x040, 4)                # brightness
    struct.pack_into("<i", s, 0xC50, 1)                # image frames on
    struct.pack_into("<i", s, 0xC54, 1)                # show background picture
    struct.pack_into("<ii", s, 0xC64, 20, 20)          # grid counts
    struct.pack_into("<iiii", s, 0xC6C, 1, 3, 1, 9)    # layer, sizes, type, sections
    struct.pack_into("<iiii", s, 0xC7C, 13, 2, 5, -1)  # precision, frame width 2, double line, auto colour
    struct.pack_into("<ii", s, 0xC8C, 2, 0)            # grid every 40 pixels, under the images
    struct.pack_into("<ii", s, 0xC94, 0, 1)            # cut line
    return bytes(s)


def record(cx, cy, colour):
    r = bytearray(120)
    struct.pack_into("<iiiiQ", r, 0, cx, cy, 80, 60, 1)
    for k in range(25):
        r[24 + k], r[49 + k], r[74 + k] = colour
    struct.pack_into("<ii", r, 100, 0, 1)
    return bytes(r)


def main(out):
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    nodes = [(200 + 240 * (i % 4), 200 + 200 * (i // 4), COLOURS[i]) for i in range(8)]
    inner = b"TSD00164  " + settings(len(nodes)) + struct.pack(">I", len(nodes))
    inner += b"".join(record(x, y, c) for x, y, c in nodes)
    for i, (_, _, colour) in enumerate(nodes):
        data = jpeg(colour, i)
        inner += struct.pack(">I", len(data)) + data
    with tempfile.TemporaryDirectory() as work:
        inner_path = os.path.join(work, os.path.basename(out))
        with open(inner_path, "wb") as f:
            f.write(inner)
        subprocess.run(["gcab", "-c", "-n", "-z", out, inner_path], check=True)


if __name__ == "__main__":
    main(sys.argv[1])
