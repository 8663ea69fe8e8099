#!/usr/bin/env python3
"""Writes sealed-blocks.json: strong blocks sealed with fixed salts and
nonces by an implementation of its own (Python's `cryptography` and
`base64`, nothing shared with the program, the page or the references in
tests/reference), for every reader to open and every writer to match byte
for byte. README.md describes the file.

usage: make_sealed_blocks.py [OUTPUT]   (default: sealed-blocks.json beside
this script; "-" writes to standard output)
"""
import base64
import os
import struct
import unicodedata

from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC

import vector_json

HERE = os.path.dirname(os.path.abspath(__file__))
ITERATIONS = 100_000  # the fewest readers take: quick in every test


def envelope(text, password, salt, nonce):
    data = text.encode("utf-8")
    fill = -(52 + len(data)) % 4
    header = bytes([1, 1, 1, fill]) + struct.pack(">I", ITERATIONS) + salt + nonce
    key = PBKDF2HMAC(hashes.SHA256(), 32, salt, ITERATIONS).derive(
        unicodedata.normalize("NFC", password).encode("utf-8"))
    return header + AESGCM(key).encrypt(nonce, data, header) + bytes(fill)


def frame(payload, width):
    lines = ["C" + payload[:width - 1]]
    rest = payload[width - 1:]
    while rest:
        lines.append(rest[:width])
        rest = rest[width:]
    return "(quiren_start)\r\n" + "\r\n".join(lines) + "\r\n(quiren_end)"


CASES = [
    ("Japanese with CR LF", "明日の打ち合わせは午前10時からです。\r\n場所は3階の第2会議室。", "合言葉2026", 60),
    ("emoji, width 10", "了解です😀🍣 Thanks!", "pass", 10),
    ("the empty text, width 100", "", "pass", 100),
    ("a leading BOM and a lone LF stay", "\ufeffline one\nline two\r\n", "pass", 60),
    ("password in NFC from its decomposed form", "がぎぐパ", "か\u3099き\u3099く\u3099ハ\u309a", 60),
    ("128-character password", "長いパスワード", "あ" * 128, 76),
]


def build():
    blocks = []
    for i, (name, text, password, width) in enumerate(CASES):
        salt = bytes((16 * i + k) & 255 for k in range(16))
        nonce = bytes((0xa0 + 12 * i + k) & 255 for k in range(12))
        env = envelope(text, password, salt, nonce)
        blocks.append({
            "name": name, "text": text, "password": password,
            "password_nfc": unicodedata.normalize("NFC", password), "iterations": ITERATIONS,
            "salt": salt.hex(), "nonce": nonce.hex(), "width": width, "envelope": env.hex(),
            "block": frame(base64.b64encode(env).decode().rstrip("="), width),
        })
    return {
        "about": "Strong blocks sealed with fixed salts and nonces by an implementation of their own. "
                 "Written by make_sealed_blocks.py; README.md describes the fields.",
        "blocks": blocks,
    }


dumps = vector_json.dumps


def main():
    vector_json.write(build(), os.path.join(HERE, "sealed-blocks.json"))


if __name__ == "__main__":
    main()
