#!/usr/bin/env python3
"""Makes the fuzz targets' seed corpora from a real installer built by qorv.

    make_seeds.py SETUP.EXE SEEDS_DIR

Writes SEEDS_DIR/decompress_fuzz (the stored header and data blocks), SEEDS_DIR/header_fuzz
(the decompressed header, the archive section, the data block's entries) and
SEEDS_DIR/encode_fuzz (the installed files' bytes) and SEEDS_DIR/inspect_fuzz (the whole
installer, without volumes), each input prefixed as its target expects. The checked-in
inspect_fuzz seeds were taken from installers that qorv built over a minimal PE image instead of
the engine, so that mutations land in the archive rather than in the engine's code.
"""
import os
import struct
import sys

BLOCK_MAGIC = 0x9EC72BA1


class Bits:
    def __init__(self, data):
        self.data, self.pos = data, 64

    def bit(self):
        if self.pos >= 8 * len(self.data):
            return 0
        b = (self.data[self.pos >> 3] >> (self.pos & 7)) & 1
        self.pos += 1
        return b

    def field(self, n):
        if self.pos + n > 8 * len(self.data):
            raise ValueError("stream ends")
        v = 0
        for i in range(n):
            v |= self.bit() << i
        return v

    def number(self, base, step):
        k = 0
        while self.pos < 8 * len(self.data) and self.bit():
            k += 1
        return self.field(min(base + step * k, 32))


def decompress(block):
    magic, size = struct.unpack_from("<Ii", block)
    assert magic == BLOCK_MAGIC
    bits, out = Bits(block), bytearray()
    while len(out) < size:
        if not bits.bit():
            out += bytes(bits.field(8) for _ in range(bits.number(2, 2) + 1))
        elif bits.bit():
            byte = bits.field(8)
            out += bytes([byte]) * (bits.number(1, 1) + 3)
        else:
            length, distance = bits.number(2, 1) + 4, bits.number(12, 2) + 4
            start = len(out) - distance
            out += out[start:start + length]
    assert len(out) == size
    return bytes(out)


def unscramble(data, key):
    out = bytearray(data)
    whole = len(out) // 4 * 4
    for i in range(0, whole, 4):
        struct.pack_into("<I", out, i, struct.unpack_from("<I", out, i)[0] ^ key)
    for j, i in enumerate(range(whole, len(out))):
        out[i] ^= (key >> (8 * j)) & 0xFF
    return bytes(out)


def main(setup, seeds):
    image = open(setup, "rb").read()
    pe = struct.unpack_from("<H", image, 0x3C)[0]
    count, optional = struct.unpack_from("<H", image, pe + 6)[0], struct.unpack_from("<H", image, pe + 0x14)[0]
    for n in range(count):
        entry = pe + 0x18 + optional + 40 * n
        if image[entry:entry + 8].rstrip(b"\0") == b".qorv":
            raw_size, raw_offset = struct.unpack_from("<II", image, entry + 16)
            break
    section = image[raw_offset:raw_offset + raw_size]
    (_, _, stored_size, header_sum, _, data_end, file_count, data_size, _) = struct.unpack_from("<9I", section)
    lengths = struct.unpack_from("<%di" % file_count, section, 36)
    header_at = 36 + 4 * file_count
    stored = unscramble(section[header_at:header_at + stored_size], header_sum)
    data = section[header_at + stored_size:header_at + stored_size + data_size]
    header = decompress(stored)
    entries = decompress(data) if data[:4] == struct.pack("<I", BLOCK_MAGIC) else data

    def write(target, name, payload):
        os.makedirs(os.path.join(seeds, target), exist_ok=True)
        with open(os.path.join(seeds, target, name), "wb") as f:
            f.write(payload)

    write("decompress_fuzz", "header-block", b"\0" + stored)
    write("decompress_fuzz", "data-block", b"\0" + data)
    file_size = struct.pack("<I", len(image))
    write("header_fuzz", "header", b"\0" + file_size + header)
    write("header_fuzz", "section", b"\1" + file_size + section[:header_at + stored_size + data_size])
    write("header_fuzz", "entries", b"\4" + struct.pack("<I", lengths[0] if lengths else 0) + entries)
    write("encode_fuzz", "header-level9", b"\x08" + header)
    write("encode_fuzz", "entries-level1", b"\0" + entries)
    write("inspect_fuzz", "installer", b"\xff\xff\xff\xff" + image)  # no volume 2


if __name__ == "__main__":
    main(*sys.argv[1:])
