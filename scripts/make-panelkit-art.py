#!/usr/bin/env python3
"""Writes the panel kit's small pictures (bitmaps and cursors the controls load
by name from the program) into src/panelkit/win32/res. Each picture is drawn
here as pixel art, one character a pixel; run again after changing one."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "src", "panelkit", "win32", "res")

# Colours as (red, green, blue).
PALETTE = {
    ".": (255, 255, 255),  # white: the transparent colour where a control takes one
    "#": (0, 0, 0),
    "l": (244, 244, 244),  # light face
    "s": (128, 128, 128),  # shadow edge
    "d": (64, 64, 64),     # dark sign
    "f": (255, 255, 255),  # face
    "m": (255, 0, 255),    # background, taken as transparent
}


def rows_of(art):
    rows = [line for line in art.strip("\n").split("\n")]
    width = len(rows[0])
    assert all(len(r) == width for r in rows), art
    return rows


def write_bmp(name, art, bits):
    rows = rows_of(art)
    width, height = len(rows[0]), len(rows)
    stride = ((width * bits // 8) + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for ch in row:
            r, g, b = PALETTE[ch]
            line += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, 255))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def write_cursor(name, art, hotspot):
    """A 32 x 32 monochrome cursor: '#' black, '.' white, ' ' transparent."""
    rows = rows_of(art)
    assert len(rows) == 32 and len(rows[0]) == 32
    xor_rows, and_rows = [], []
    for row in rows:
        xor_bits = and_bits = 0
        for ch in row:
            xor_bits = (xor_bits << 1) | (1 if ch == "." else 0)
            and_bits = (and_bits << 1) | (1 if ch == " " else 0)
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    colours = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + colours + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(os.path.join(OUT, name + ".cur"), "wb") as f:
        f.write(header + entry + image)


# The close button of a page control's tab: a cross on white.
CLOSEBTN = """
##....##
###..###
.######.
..####..
..####..
.######.
###..###
##....##
"""

# The flip panel's buttons: a light box with a dark right and bottom edge.
FLIPPLUS = """
lllllllls
lllllllls
lllldllls
lllldllls
lldddddls
lllldllls
lllldllls
lllllllls
sssssssss
"""
COLLAPSE = """
lllllllls
lllllllls
lllllllls
lllllllls
lldddddls
lllllllls
lllllllls
lllllllls
sssssssss
"""

# The tool box's category buttons: a framed box with rounded corners, so
# that the bottom-left pixel (the transparent colour) is the background.
BUTTONEXPAND = """
msssssssm
sfffffffs
sfffdfffs
sfffdfffs
sfdddddfs
sfffdfffs
sfffdfffs
sfffffffs
msssssssm
"""
BUTTONCOLLAPSE = """
msssssssm
sfffffffs
sfffffffs
sfffffffs
sfdddddfs
sfffffffs
sfffffffs
sfffffffs
msssssssm
"""

# The arrow over an edit's info area: the usual arrow, mirrored, pointing
# up and to the right (its hot spot is the tip).
_ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.....#####",
    "#..#..#",
    "#.# #..#",
    "##  #..#",
    "#    #..#",
    "     #..#",
    "      ##",
]


def reversed_arrow():
    rows = []
    for line in _ARROW:
        mirrored = line[::-1].rjust(32)
        rows.append(mirrored)
    rows += [" " * 32] * (32 - len(rows))
    return "\n".join(rows)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp("closebtn", CLOSEBTN, 24)
    write_bmp("flipplus", FLIPPLUS, 32)
    write_bmp("collapse", COLLAPSE, 32)
    write_bmp("buttonexpand", BUTTONEXPAND, 24)
    write_bmp("buttoncollapse", BUTTONCOLLAPSE, 24)
    write_cursor("reversedarrow", reversed_arrow(), (31, 0))


if __name__ == "__main__":
    main()
