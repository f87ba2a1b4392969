#!/usr/bin/env python3
"""Compares the screens two builds of the game draw for the same input.

    compare_screens.py BASE_BINARY NEW_BINARY DATA_DIR [SCRIPT ...]

Each script (default: the scripts in tools/bench/screens/) is played headless
with the same seed by both binaries, in scratch folders holding the
data files of DATA_DIR; every screenshot the scripts take is compared pixel
by pixel. Pictures may differ by at most 2 levels per colour channel (a scaled
picture drawn from a cache on a sub-pixel position); anything more fails.
Exit code 0 when every screen matches.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

TOLERANCE = 2


def read_png(path):
    """Decodes an 8-bit RGB or RGBA PNG without interlacing into rows of bytes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, width, height, channels = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(path + ": unsupported PNG layout")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, channels, rows


def largest_difference(a, b):
    wa, ha, ca, ra = read_png(a)
    wb, hb, cb, rb = read_png(b)
    if (wa, ha) != (wb, hb):
        return 256, 0
    worst, count = 0, 0
    for y in range(ha):
        if ra[y] == rb[y]:
            continue
        for x in range(wa):
            d = max(abs(ra[y][x * ca + k] - rb[y][x * cb + k]) for k in range(3))
            if d:
                count += 1
                worst = max(worst, d)
    return worst, count


def run(binary, data_dir, script, folder):
    os.makedirs(folder, exist_ok=True)
    for name in ("sport.gob", "deutsch.lng", "english.lng"):
        target = os.path.join(folder, name)
        if not os.path.exists(target):
            os.symlink(os.path.join(data_dir, name), target)
    shutil.copy(script, os.path.join(folder, "script.txt"))
    subprocess.run([binary, "--headless", "--seed", "12345",
                    "--input", "script.txt", "--frames", "100000"],
                   cwd=folder, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=600)


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    base, new, data_dir = (os.path.abspath(p) for p in sys.argv[1:4])
    scripts = sys.argv[4:]
    if not scripts:
        here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "screens")
        scripts = sorted(os.path.join(here, n) for n in os.listdir(here) if n.endswith(".txt"))
    failed = 0
    with tempfile.TemporaryDirectory(prefix="denkar_screens_") as scratch:
        for script in scripts:
            name = os.path.splitext(os.path.basename(script))[0]
            dirs = [os.path.join(scratch, name, side) for side in ("base", "new")]
            run(base, data_dir, script, dirs[0])
            run(new, data_dir, script, dirs[1])
            shots = sorted(n for n in os.listdir(dirs[0]) if n.endswith(".png"))
            if not shots:
                print(f"{name}: no screenshots")
                failed += 1
            for shot in shots:
                other = os.path.join(dirs[1], shot)
                if not os.path.exists(other):
                    print(f"{name}/{shot}: missing in the new build")
                    failed += 1
                    continue
                worst, count = largest_difference(os.path.join(dirs[0], shot), other)
                verdict = "same" if worst == 0 else "within tolerance" if worst <= TOLERANCE else "DIFFERENT"
                if worst > TOLERANCE:
                    failed += 1
                print(f"{name}/{shot}: {verdict} (pixels differing: {count}, largest difference: {worst})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
