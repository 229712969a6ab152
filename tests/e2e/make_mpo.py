#!/usr/bin/env python3
"""Writes a two-frame multi-picture (MPO) file from two JPEG files, as stereo cameras do:
the first frame gets an APP2 "MPF" segment right after its start-of-image marker, holding
the index (little-endian) of both frames.

    make_mpo.py LEFT.jpg RIGHT.jpg OUT.mpo
"""
import struct
import sys


def mpo(left, right):
    def index(first_size, second_offset, second_size):
        entries = struct.pack("<IIIHH", 0x20030000, first_size, 0, 0, 0)
        entries += struct.pack("<IIIHH", 0x00020002, second_size, second_offset, 0, 0)
        count = 3
        ifd_size = 2 + count * 12 + 4
        tiff = b"II*\x00" + struct.pack("<I", 8)
        tiff += struct.pack("<H", count)
        tiff += struct.pack("<HHI", 0xB000, 7, 4) + b"0100"
        tiff += struct.pack("<HHII", 0xB001, 4, 1, 2)
        tiff += struct.pack("<HHII", 0xB002, 7, len(entries), 8 + ifd_size)
        tiff += struct.pack("<I", 0)
        return tiff + entries

    assert left[:2] == b"\xff\xd8" and right[:2] == b"\xff\xd8"
    body_len = 4 + len(index(0, 0, 0))  # "MPF\0" and the index
    segment_len = 2 + 2 + body_len
    first_size = len(left) + segment_len
    header_at = 2 + 4 + 4  # SOI, the APP2 marker and length, "MPF\0"
    body = b"MPF\x00" + index(first_size, first_size - header_at, len(right))
    app2 = b"\xff\xe2" + struct.pack(">H", 2 + len(body)) + body
    return left[:2] + app2 + left[2:] + right


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as l, open(sys.argv[2], "rb") as r:
        data = mpo(l.read(), r.read())
    with open(sys.argv[3], "wb") as out:
        out.write(data)
