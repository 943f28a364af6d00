#!/usr/bin/env python3
"""Rewrites fields of an AVI file's headers in place, as damaged files carry
them: scale=N sets the video stream's dwScale (its time base becomes N times
longer), length=N the video stream's dwLength and the main header's
dwTotalFrames (the length the file claims)."""
import struct
import sys

path = sys.argv[1]
data = bytearray(open(path, "rb").read())


def video_stream_header():
    at = data.find(b"strh")
    while at >= 0 and data[at + 8:at + 12] != b"vids":
        at = data.find(b"strh", at + 1)
    if at < 0:
        sys.exit(f"{path}: no video stream header")
    return at + 8


for change in sys.argv[2:]:
    field, value = change.split("=")
    value = int(value)
    if field == "scale":
        struct.pack_into("<I", data, video_stream_header() + 20, value)
    elif field == "length":
        struct.pack_into("<I", data, video_stream_header() + 32, value)
        main = data.find(b"avih")
        struct.pack_into("<I", data, main + 8 + 16, value)
    else:
        sys.exit(f"unknown field {field}")
open(path, "wb").write(bytes(data))
