#!/usr/bin/env python3
"""Marks the first track of an MP4 file to be shown turned a quarter turn
clockwise, as phones mark their portrait clips: rewrites the track header's
display matrix in place. The ffmpeg tool of this system no longer writes
the matrix from a "rotate" tag."""
import struct
import sys

path = sys.argv[1]
data = bytearray(open(path, "rb").read())
box = data.find(b"tkhd")
if box < 0:
    sys.exit(f"{path}: no track header")
version = data[box + 4]
matrix = box + (56 if version == 1 else 44)
height = struct.unpack(">I", data[matrix + 40:matrix + 44])[0]
one = 0x10000
struct.pack_into(">9i", data, matrix, 0, one, 0, -one, 0, 0, height, 0, 0x40000000)
open(path, "wb").write(bytes(data))
