#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Rewrites fields of a video file's headers in place, as damaged files carry
them:
  scale=N     AVI: the video stream's dwScale (its time base becomes N times
              longer)
  length=N    AVI: the video stream's dwLength and the main header's
              dwTotalFrames (the length the file claims)
  duration=N  ASF: the file properties' play duration, in 100-ns units (0:
              the file states no length)"""
import struct
import sys
import uuid

path = sys.argv[1]
data = bytearray(open(path, "rb").read())
ASF_FILE_PROPERTIES = uuid.UUID("8CABDCA1-A947-11CF-8EE4-00C00C205365").bytes_le


def video_stream_header():
    at = data.find(b"strh")
    while at >= 0 and data[at + 8:at + 12] != b"vids":
        at = data.find(b"strh", at + 1)
    if at < 0:
        sys.exit(f"{path}: no video stream header")
    return at + 8


def asf_file_properties():
    at = data.find(ASF_FILE_PROPERTIES)
    if at < 0:
        sys.exit(f"{path}: no ASF file properties")
    return at + 24  # past the object's GUID and size


for change in sys.argv[2:]:
    field, value = change.split("=")
    value = int(value)
    if field == "scale":
        struct.pack_into("<I", data, video_stream_header() + 20, value)
    elif field == "length":
        struct.pack_into("<I", data, video_stream_header() + 32, value)
        main = data.find(b"avih")
        struct.pack_into("<I", data, main + 8 + 16, value)
    elif field == "duration":
        # File id, file size, creation date and packet count come first.
        struct.pack_into("<Q", data, asf_file_properties() + 40, value)
    else:
        sys.exit(f"unknown field {field}")
open(path, "wb").write(bytes(data))
