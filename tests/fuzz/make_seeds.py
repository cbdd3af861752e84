#!/usr/bin/env python3
"""Writes small seed inputs for the fuzzers: valid PNGs of every colour type and depth, and
byte strings that start each harness on its common paths. They are committed in corpus/<name>/
(named seed-*) beside the inputs the fuzzers found; run this again after changing it."""
import os
import struct
import sys
import zlib


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def png(width, height, depth, colour, interlace=0, extra=b""):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row = (width * channels * depth + 7) // 8
    raw = b"".join(b"\0" + bytes((x * 37 + y) & 0xFF for x in range(row)) for y in range(height))
    head = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    body = chunk(b"IHDR", head) + extra
    if colour == 3:
        body += chunk(b"PLTE", bytes(range(48)))
    return b"\x89PNG\r\n\x1a\n" + body + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main(out):
    cases = [(8, 0), (8, 2), (8, 3), (8, 4), (8, 6), (16, 2), (16, 6), (1, 0), (4, 3), (2, 0)]
    for i, (depth, colour) in enumerate(cases):
        image = png(5 + i, 3 + i, depth, colour, interlace=i % 2)
        write(os.path.join(out, "png"), f"seed-png{i}", b"\x40" + image)   # from memory
        write(os.path.join(out, "png"), f"seed-file{i}", b"\x53" + image)   # into a given bitmap
    write(os.path.join(out, "png"), "seed-trns", b"\x40" + png(4, 4, 8, 2, extra=chunk(b"tRNS", b"\0\1\0\2\0\3")))
    for name in ("plug_state", "vst3_state", "vst3_process", "vst2_chunk", "cached_font", "aax_plug"):
        for i in range(4):
            write(os.path.join(out, name), f"seed-{i}", bytes((i * 53 + k * 29) & 0xFF for k in range(64 + 64 * i)))
    # The VST2 process harness reads its choices from the end: varied lengths and patterns
    # start it on set-up calls and blocks of every entry in many orders.
    state = 12345
    for i in range(24):
        body = bytearray()
        for _ in range(24 + 16 * i):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            body.append(state >> 16 & 0xFF)
        write(os.path.join(out, "vst2_process"), f"seed-{i}", bytes(body))
    # Chunk data areas as the AAX writer makes them; the provider takes the exact-size choice
    # and the size from the end.
    marker = b"\x01\x01\x01\x01"
    entries = [b"d_1\x00" + struct.pack(">d", 50.0), b"l_2\x00" + struct.pack(">i", 2), b"l_3\x00" + struct.pack(">i", 1)]
    for i in range(len(entries) + 1):
        area = marker + b"".join(entries[:i])
        write(os.path.join(out, "aax_chunk"), f"seed-chunk{i}", area + b"\x00\x00\x01")
    write(os.path.join(out, "aax_chunk"), "seed-text", marker + b"r_1\x00abc\x00s_2\x00\x12\x34\x00\x00" + b"\x00\x00\x01")
    write(os.path.join(out, "cached_font"), "seed-text", b"\x10\x20" * 8 + "Hello, wörld €\n\tline".encode())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus"))
