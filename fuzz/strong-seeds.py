#!/usr/bin/env python3
"""Writes the seeds of fuzz_strong (fuzz/fuzz_strong.cpp): valid strong
envelopes and texts holding strong blocks, with their keys derived as the
fuzzer derives them (PBKDF2 of one round, whatever the header asks), so that
they open there. The first byte of each seed chooses the fuzzer's mode.

usage: fuzz/strong-seeds.py FOLDER
"""
import os
import struct
import sys

from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "reference"))
import strong_ref  # noqa: E402


def envelope(text: str, password: str = "pw", iterations: int = 600_000, version: int = 1) -> bytes:
    data = text.encode("utf-8")
    fill = -(52 + len(data)) % 4
    salt, nonce = os.urandom(16), os.urandom(12)
    header = bytes([version, 1, 1, fill]) + struct.pack(">I", iterations) + salt + nonce
    key = PBKDF2HMAC(hashes.SHA256(), 32, salt, 1).derive(password.encode("utf-8"))
    return header + AESGCM(key).encrypt(nonce, data, header) + bytes(fill)


def block(text: str, password: str = "pw", iterations: int = 600_000, width: int = 60) -> bytes:
    return strong_ref.frame(envelope(text, password, iterations), width)


seeds = {
    # 0: envelopes.
    "envelope-empty": b"\0" + envelope(""),
    "envelope-japanese": b"\0" + envelope("秘密の会議は正午に。"),
    "envelope-long": b"\0" + envelope("x" * 300),
    "envelope-most-rounds": b"\0" + envelope("t", iterations=10_000_000),
    "envelope-too-few-rounds": b"\0" + envelope("t", iterations=99_999),
    "envelope-later-version": b"\0" + envelope("t", version=2),
    # 1: received texts.
    "text-one-block": b"\1" + b"Mail\r\n" + block("本文 😀") + b"\r\nbye",
    "text-two-blocks-one-wrong": b"\1" + block("first") + b"\r\n" + block("second", "other", width=17),
    "text-quoted-lf": b"\1> " + block("quoted").replace(b"\r\n", b"\n> "),
    "text-nul-inside": b"\1" + block("before\0after"),
    # 3: received texts whose blocks ask past the budget, accepted.
    "text-past-the-budget": b"\3" + b"\r\n".join(block("slow", iterations=10_000_000) for _ in range(4)),
    # 2: round trips (place, change, text).
    "round-trip-ascii": b"\2\x05\x01hello",
    "round-trip-japanese": b"\2\x40\x80" + "会議の資料を送ります。".encode("utf-8"),
    "round-trip-empty": b"\2\x00\xff",
}
folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
print("strong-seeds.py: %d seeds" % len(seeds))
