#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Marks the first track of an MP4 file to be shown turned or mirrored:
rewrites the track header's display matrix in place. Without a second
argument a quarter turn clockwise, as phones mark their portrait clips;
else one of quarter, half, counter (a quarter turn counter-clockwise),
mirror (left-right), upside-down, transpose and antitranspose. The ffmpeg
tool of this system no longer writes the matrix from a "rotate" tag and
has no options for mirrors."""
import struct
import sys

path = sys.argv[1]
turn = sys.argv[2] if len(sys.argv) > 2 else "quarter"
data = bytearray(open(path, "rb").read())
box = data.find(b"tkhd")
if box < 0:
    sys.exit(f"{path}: no track header")
version = data[box + 4]
matrix = box + (56 if version == 1 else 44)
width, height = struct.unpack(">II", data[matrix + 36:matrix + 44])
one = 0x10000
# a, b, c, d (16.16) and the shift x, y that keeps the picture in place.
matrices = {
    "quarter": (0, one, -one, 0, height, 0),
    "half": (-one, 0, 0, -one, width, height),
    "counter": (0, -one, one, 0, 0, width),
    "mirror": (-one, 0, 0, one, width, 0),
    "upside-down": (one, 0, 0, -one, 0, height),
    "transpose": (0, one, one, 0, 0, 0),
    "antitranspose": (0, -one, -one, 0, height, width),
}
if turn not in matrices:
    sys.exit(f"unknown turn {turn}")
a, b, c, d, x, y = matrices[turn]
struct.pack_into(">9i", data, matrix, a, b, 0, c, d, 0, x, y, 0x40000000)
open(path, "wb").write(bytes(data))
