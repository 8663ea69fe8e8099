#!/usr/bin/env python3
"""Writes the seeds of fuzz_keys (fuzz/fuzz_keys.cpp) from the shared
vectors (tests/vectors/key-blocks.json, recipient-blocks.json): recipient
envelopes (most of them sealed for bob, the fuzzer's key), key envelopes,
and received texts holding key and recipient blocks or key files. The first
byte of each seed chooses the fuzzer's mode.

usage: fuzz/keys-seeds.py FOLDER
"""
import json
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
vectors = os.path.join(here, "..", "tests", "vectors")


def load(name):
    with open(os.path.join(vectors, name), encoding="utf-8") as f:
        return json.load(f)


keys = load("key-blocks.json")
recipients = load("recipient-blocks.json")
seeds = {}
# The 64-recipient block and the 20,000 characters are past the runs'
# -max_len: the rest are short enough to be mutated whole.
for i, b in enumerate(recipients["blocks"]):
    envelope = bytes.fromhex(b["envelope"])
    if len(envelope) <= 4000:
        seeds["recipient-%02d" % i] = b"\0" + envelope
    if len(b["block"]) <= 4000:
        seeds["text-recipient-%02d" % i] = b"\2" + ("Mail\r\n> " + b["block"].replace("\r\n", "\n> ")).encode()
for i, c in enumerate(recipients["cases"][:12]):
    if c["envelope"] is not None:
        seeds["recipient-case-%02d" % i] = b"\0" + bytes.fromhex(c["envelope"])
for i, b in enumerate(keys["key_blocks"]):
    seeds["key-%02d" % i] = b"\1" + bytes.fromhex(b["envelope"])
    seeds["text-key-%02d" % i] = b"\2" + b["block"].encode("ascii")
for i, c in enumerate(keys["key_block_cases"][:10]):
    seeds["key-case-%02d" % i] = b"\1" + bytes.fromhex(c["envelope"])
for i, t in enumerate(keys["secret_key_texts"]):
    seeds["text-secret-key-%02d" % i] = b"\2\xef\xbb\xbf" + t["text"].encode("ascii") + b"\r\n"
for i, s in enumerate(keys["sealed_secret_keys"]):
    seeds["text-sealed-key-%02d" % i] = b"\2" + s["block"].encode("ascii")

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)
print("keys-seeds.py: %d seeds" % len(seeds))
