#!/usr/bin/env python3
"""Writes the fuzz targets' seed files into fuzz/corpus/<target>/ (run from anywhere).

Seeds are tiny: multi-picture files built from the test JPEGs in tests/data, EXIF segments
and TIFF headers in both byte orders, side-by-side pictures, the test BMPs, a settings
store text."""
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
data = root / "tests" / "data"
out = root / "fuzz" / "corpus"


def tiff(be, entries, extra=b""):
    """A TIFF header and IFD0 of (tag, type, count, value bytes) entries, then extra."""
    e = ">" if be else "<"
    body = (b"MM" if be else b"II") + struct.pack(e + "HI", 42, 8) + struct.pack(e + "H", len(entries))
    for tag, typ, count, value in entries:
        body += struct.pack(e + "HHI", tag, typ, count) + value.ljust(4, b"\0")
    return body + struct.pack(e + "I", 0) + extra


def segment(marker, body):
    return bytes([0xFF, marker]) + struct.pack(">H", len(body) + 2) + body


def with_segment(jpeg, marker, body):
    return jpeg[:2] + segment(marker, body) + jpeg[2:]


def orientation(be, value):
    return tiff(be, [(0x0112, 3, 1, struct.pack(">H" if be else "<H", value))])


def mpo(frames, be):
    e = ">" if be else "<"
    n = len(frames)
    entries_at = 8 + 2 + 3 * 12 + 4
    body_size = 4 + entries_at + 16 * n
    sizes, offsets, at = [], [], 0
    for i, f in enumerate(frames):
        size = len(f) + (body_size + 4 if i == 0 else 0)
        sizes.append(size)
        offsets.append(0 if i == 0 else at - 10)
        at += size
    table = b"".join(struct.pack(e + "IIIHH", 0x20030000 if i == 0 else 0x20002, sizes[i], offsets[i], 0, 0)
                     for i in range(n))
    index = tiff(be, [(0xB000, 7, 4, b"0100"), (0xB001, 4, 1, struct.pack(e + "I", n)),
                      (0xB002, 7, 16 * n, struct.pack(e + "I", entries_at))], table)
    return with_segment(frames[0], 0xE2, b"MPF\0" + index) + b"".join(frames[1:])


def write(target, name, content):
    folder = out / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(content)


grey = (data / "grey.jpg").read_bytes()
cmyk = (data / "cmyk.jpg").read_bytes()
write("mpo_index", "two-le.mpo", mpo([grey, cmyk], False))
write("mpo_index", "two-be.mpo", mpo([cmyk, grey], True))
write("mpo_index", "three-le.mpo", mpo([grey, grey, cmyk], False))
write("mpo_index", "plain.jpg", grey)

write("exif", "jpeg-6-le.jpg", with_segment(grey, 0xE1, b"Exif\0\0" + orientation(False, 6)))
write("exif", "jpeg-3-be.jpg", with_segment(grey, 0xE1, b"Exif\0\0" + orientation(True, 3)))
write("exif", "tiff-8-be.tif", orientation(True, 8))
write("exif", "tiff-5-le.tif", orientation(False, 5))
write("exif", "lzw.tif", (data / "lzw.tif").read_bytes())

write("side_by_side", "even", bytes([8, 2]) + bytes(range(64)))
write("side_by_side", "odd", bytes([7, 3]) + bytes(range(0, 256, 3)))

for bmp in sorted(data.glob("*.bmp")):
    write("bmp", bmp.name, bmp.read_bytes())

write("settings_store", "store.txt", (
    "; Bistrope settings store 1\n"
    "[HKEY_CURRENT_USER\\Software\\Bistrope1.2.1\\General]\n"
    "\"Left image path\"=\"C:\\\\images\\\\a \\\"b\\\".jpg\"\n"
    "\"Default file view\"=dword:0000002a\n"
    "\"Other\"=hex(3):41,00,ff\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Bistrope1.2.1]\n"
    "\"Mode\"=hex(b):01,02,03,04,05,06,07,08\n").encode())
