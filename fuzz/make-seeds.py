#!/usr/bin/env python3
"""Writes the fuzzers' seed corpus and the shared table of the third run.

usage: fuzz/make-seeds.py
The blocks come from the Python reference model (tests/reference), which
the unit tests hold to the library byte for byte. Writes:
  fuzz/corpus/fuzz_decrypt/     inputs of fuzz_decrypt.cpp: a control byte
      (bits 0-3 password length, 0x10 mode "B", 0x20 armour the rest and
      decrypt with no password), the password, then the body
  fuzz/corpus/fuzz_code_table/  table files, sound and damaged
  fuzz/DfFugoList.lst           the table the shared-table seeds need
"""
import os
import shutil
import struct
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "reference"))
import quiren_ref as ref  # noqa: E402

# (pattern, code written from its highest bit); phrases and single bytes.
PHRASES = [
    (b"a", "0000"), (b"b", "0001"), (b"c", "0010"), (b"d", "0011"),
    (b"e", "0100"), (b"\x82", "0101"), (b"\xa0", "0110"), (b"x", "0111"),
    (b"ab", "10"), (b"\x82\xa0", "110"), (b"the ", "1110"), (b" ", "1111"),
]


def table(records):
    return ref.serialize_table([(int.from_bytes(p, "little"), 8 * len(p), int(c, 2), len(c)) for p, c in records])


def with_u32(data, offset, value):
    return data[:offset] + struct.pack("<I", value) + data[offset + 4:]


def decrypt_input(password, block, armour=False):
    """The fuzz_decrypt input for a block from ref.encrypt (body + mode)."""
    assert len(password) <= 15
    control = len(password) | (0x10 if block.endswith(b"B") else 0) | (0x20 if armour else 0)
    return bytes([control]) + password + block[:-1]


def main():
    phrases = table(PHRASES)
    decrypt_seeds, table_seeds = {}, {}
    work = tempfile.mkdtemp()
    cwd = os.getcwd()
    try:
        os.chdir(work)  # ref.encrypt reads DfFugoList.lst from here
        decrypt_seeds["a-plain"] = decrypt_input(b"pw", ref.encrypt(b"Hello, clipboard.", b"pw"))
        decrypt_seeds["a-double-byte"] = decrypt_input(
            b"\x88\xc3\x8d\x86ab", ref.encrypt(b"\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c", b"\x88\xc3\x8d\x86ab"))
        self_contained = ref.encrypt(b"ab" * 40, b"key")
        assert self_contained.endswith(b"B")
        decrypt_seeds["b-self-contained"] = decrypt_input(b"key", self_contained)
        # Damaged armour: one character outside the alphabet, and a cut group.
        damaged = bytearray(self_contained[:-1])
        damaged[7] = ord(" ")
        decrypt_seeds["b-damaged-armour"] = decrypt_input(b"key", bytes(damaged[:-2]) + b"B")
        # With no password the rest is the payload itself: the expansion
        # reads these blocks as they are.
        block = ref.compress(b"ab" * 40)
        assert struct.unpack_from("<I", block)[0] == ref.TAG
        decrypt_seeds["raw-self-contained"] = bytes([0x30]) + ref.fill(block)

        with open(ref.SHARED_TABLE, "wb") as f:
            f.write(phrases)
        text = b"abab ab cab dab \x82\xa0\x82\xa0 ab ab eab xab abab "
        shared = ref.encrypt(text, b"secret")
        block = ref.compress(text)
        assert shared.endswith(b"B") and struct.unpack_from("<I", block)[0] != ref.TAG
        decrypt_seeds["b-shared-table"] = decrypt_input(b"secret", shared)
        decrypt_seeds["raw-shared-table"] = bytes([0x30]) + ref.fill(block)
    finally:
        os.chdir(cwd)
        shutil.rmtree(work)

    table_seeds["sound-phrases"] = phrases
    table_seeds["sound-two-letters"] = table([(b"a", "0"), (b"b", "1")])
    table_seeds["sound-bytes-after-table"] = phrases + b"\x00\xff" * 8
    table_seeds["bad-size-beyond-end"] = phrases[:-1]
    table_seeds["bad-size-below-8"] = with_u32(phrases, 0, 7)
    table_seeds["bad-count"] = with_u32(phrases, 4, len(PHRASES) + 1)
    table_seeds["bad-zero-bit-pattern"] = with_u32(phrases, 8, 0)
    table_seeds["bad-huge-bit-count"] = with_u32(phrases, 8, 0x7FFFFFFF)
    table_seeds["bad-records-past-size"] = with_u32(phrases, 0, 20)
    for name, data in table_seeds.items():
        assert (ref.parse_table(data) is not None) == name.startswith("sound"), name

    for target, seeds in (("fuzz_decrypt", decrypt_seeds), ("fuzz_code_table", table_seeds)):
        folder = os.path.join(here, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
    with open(os.path.join(here, "DfFugoList.lst"), "wb") as f:
        f.write(phrases)


if __name__ == "__main__":
    main()
