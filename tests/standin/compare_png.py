#!/usr/bin/env python3
"""Compares two 8-bit RGB PNG snapshots pixel for pixel inside a rectangle.

compare_png.py A.png B.png LEFT TOP RIGHT BOTTOM [DIFF.png]
Prints the number of differing pixels and the first few; exits 1 when any differ.
"""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                raise SystemExit(f"{path}: only 8-bit RGB is read")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        # Both hosts write unfiltered rows; the byte loop is for any other writer.
        for x in range(stride if f else 0):
            a = line[x - 3] if x >= 3 else 0
            b = prev[x]
            c = prev[x - 3] if x >= 3 else 0
            if f == 1:
                line[x] = (line[x] + a) & 0xFF
            elif f == 2:
                line[x] = (line[x] + b) & 0xFF
            elif f == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\x00" + r for r in rows)
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def compare(path_a, path_b, area, diff_path=None, skip=()):
    """Differing pixels inside `area`, outside every rectangle in `skip`; 0 when none."""
    a, b = read_png(path_a), read_png(path_b)
    left, top, right, bottom = area
    diff_rows = [bytearray(r) for r in a[2]]
    differing = []
    for y in range(top, bottom):
        ra, rb = a[2][y], b[2][y]
        if ra[left * 3:right * 3] == rb[left * 3:right * 3]:
            continue
        for x in range(left, right):
            pa, pb = ra[x * 3:x * 3 + 3], rb[x * 3:x * 3 + 3]
            if pa != pb and not any(sl <= x < sr and st <= y < sb for sl, st, sr, sb in skip):
                differing.append((x, y, pa.hex(), pb.hex()))
                diff_rows[y][x * 3:x * 3 + 3] = b"\xff\x00\xff"
    print(f"{len(differing)} pixels differ inside ({left}, {top}, {right}, {bottom})")
    for x, y, pa, pb in differing[:8]:
        print(f"  ({x}, {y}): {pa} vs {pb}")
    if differing and diff_path:
        write_png(diff_path, a[0], a[1], diff_rows)
    return 1 if differing else 0


def main():
    area = tuple(map(int, sys.argv[3:7]))
    return compare(sys.argv[1], sys.argv[2], area, sys.argv[7] if len(sys.argv) > 7 else None)


if __name__ == "__main__":
    sys.exit(main())
