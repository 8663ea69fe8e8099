"""Reference model of the mu-quiren cipher, written for clarity, not speed.

All values are Python bytes / ints. Bit strings are (value, length) pairs:
bit k of the string is bit k of the int `value` (so a byte string read
little-endian is its own bit string).

Main entry points:
    encrypt(text, password) -> armoured body + mode letter (b"A" or b"B")
    decrypt(body, password, mode) -> deciphered bytes (expanded in mode b"B")

Building blocks, usable on their own:
    derive_seed(x, k), keys(a, b, c, n), group_seeds(password)
    encipher(payload, password), decipher(payload, password)
    armour(data), remove_armour(body, notices=None)
    build_embedded_table(text), serialize_table(table), parse_table(data)
    read_shared_table(path), translate(table, value, length, swap=False)
    compress(text, table_path), expand(block, table_path), fill(payload)

A code table is a list of records (pattern, pattern_bits, code, code_bits).
`notices`, where accepted, is a list that receives (caption, text) pairs,
both bytes; caption and text of the length notice are UTF-8.
"""

import os
import struct

SHARED_TABLE = "DfFugoList.lst"
TAG = 0x48454144
MAX_EXPANDED = 64 << 20

ALPHABET = bytes([
    0x47, 0x67, 0x32, 0x51, 0x73, 0x23, 0x33, 0x41, 0x6C, 0x7E,
    0x4F, 0x75, 0x57, 0x63, 0x40, 0x4B, 0x76, 0x5E, 0x6F, 0x2E,
    0x44, 0x2D, 0x65, 0x2B, 0x78, 0x24, 0x69, 0x3A, 0x53, 0x7C,
    0x49, 0x52, 0x30, 0x6B, 0x27, 0x61, 0x34, 0x50, 0x74, 0x56,
    0x68, 0x21, 0x42, 0x71, 0x31, 0x6D, 0x26, 0x55, 0x4C, 0x64,
    0x29, 0x46, 0x38, 0x22, 0x70, 0x2A, 0x54, 0x3B, 0x48, 0x5B,
    0x2F, 0x45, 0x28, 0x6A, 0x35, 0x5A, 0x79, 0x36, 0x43, 0x62,
    0x37, 0x59, 0x72, 0x39, 0x4A, 0x25, 0x6E, 0x58, 0x4D, 0x7A,
    0x3F, 0x66, 0x5F, 0x4E, 0x77,
])
LENGTH_CAPTION = b"quiren.dll"
LENGTH_TEXT = "暗号文が異常です".encode("utf-8")
CHAR_CAPTION = b"Error"


# ---------------------------------------------------------------- integers

def _wrap32(v):
    """Two's-complement 32-bit value of the integer v."""
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v & 0x80000000 else v


def _tdiv(a, b):
    """Division truncating toward zero."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b >= 0) else -q


def _trem(a, b):
    """Remainder with the sign of the dividend."""
    return a - b * _tdiv(a, b)


# --------------------------------------------------------------- keystream

def derive_seed(x, k):
    y = x
    for _ in range(k - 1):
        y = _wrap32(y * y)
    return _trem(y, 30000) + 1


def keys(a, b, c, n):
    """The first n keys of the generator seeded (a, b, c)."""
    s1, s2, s3 = a, b, c
    r1, r2, r3 = 1.0 / 30269.0, 1.0 / 30307.0, 1.0 / 30323.0
    out = []
    for _ in range(n):
        s1 = 171 * _trem(s1, 177) - 2 * _tdiv(s1, 177)
        if s1 < 0:
            s1 += 30269
        s2 = 172 * _trem(s2, 176) - 35 * _tdiv(s2, 176)
        if s2 < 0:
            s2 += 30307
        s3 = 170 * _trem(s3, 178) - 63 * _tdiv(s3, 178)
        if s3 < 0:
            s3 += 30323
        u = (s3 * r3 + s2 * r2) + s1 * r1
        while u >= 1.0:
            u -= 1.0
        out.append(abs(int(u * 256.0 + 1.0)))
    return out


def group_seeds(password):
    """The (a, b, c) seeds of each pass, in order."""
    p = len(password)
    sb = [v - 256 if v >= 128 else v for v in password]
    seeds = []
    for i in range(0, p, 3):
        if p % 3 == 0:
            seeds.append((derive_seed(sb[i], 2), derive_seed(sb[i + 1], 2), derive_seed(sb[i + 2], 2)))
        elif p % 3 == 1:
            seeds.append((derive_seed(sb[i], 2), derive_seed(sb[i], 3), derive_seed(sb[i], 4)))
        else:
            seeds.append((derive_seed(sb[i], 2), derive_seed(sb[i + 1], 2), derive_seed(sb[i] + sb[i + 1], 2)))
    return seeds


def _passes(payload, password, sign):
    data = list(payload)
    for a, b, c in group_seeds(password):
        for j, key in enumerate(keys(a, b, c, len(data))):
            data[j] = (data[j] + sign * key) % 256
    return bytes(data)


def encipher(payload, password):
    return _passes(payload, password, +1)


def decipher(payload, password):
    return _passes(payload, password, -1)


# ------------------------------------------------------------------ armour

def armour(data):
    out = bytearray()
    for i in range(len(data) // 4):
        v = int.from_bytes(data[4 * i:4 * i + 4], "big")
        digits = []
        for _ in range(5):
            digits.append(v % 85)
            v //= 85
        out += bytes(ALPHABET[d] for d in reversed(digits))
    return bytes(out)


def remove_armour(body, notices=None):
    if notices is None:
        notices = []
    if len(body) % 5:
        notices.append((LENGTH_CAPTION, LENGTH_TEXT))
    out = bytearray()
    for i in range(len(body) // 5):
        v = 0
        for ch in body[5 * i:5 * i + 5]:
            d = ALPHABET.find(bytes([ch]))
            if d < 0:
                notices.append((CHAR_CAPTION, bytes([ch])))
                d = 99
            v = v * 85 + d
        out += (v % (1 << 32)).to_bytes(4, "big")
    return bytes(out)


# ---------------------------------------------------------- code tables

def _nbytes(bits):
    return (bits + 7) // 8


def serialize_table(table):
    body = b""
    for pattern, pbits, code, cbits in table:
        body += struct.pack("<i", pbits) + pattern.to_bytes(_nbytes(pbits), "little")
        body += struct.pack("<i", cbits) + code.to_bytes(_nbytes(cbits), "little")
    return struct.pack("<II", 8 + len(body), len(table)) + body


def parse_table(data):
    """The table at the start of data, or None when it is not sound."""
    if len(data) < 8:
        return None
    size, count = struct.unpack_from("<II", data, 0)
    if size < 8 or size > len(data):
        return None
    pos, table = 8, []
    while pos < size:
        fields = []
        for _ in range(2):
            if size - pos < 4:
                return None
            (bits,) = struct.unpack_from("<i", data, pos)
            pos += 4
            if bits < 1 or size - pos < _nbytes(bits):
                return None
            value = int.from_bytes(data[pos:pos + _nbytes(bits)], "little") & ((1 << bits) - 1)
            pos += _nbytes(bits)
            fields += [value, bits]
        table.append(tuple(fields))
    return table if len(table) == count else None


def read_shared_table(path=SHARED_TABLE):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return None
    if len(data) < 4:
        return None
    (size,) = struct.unpack_from("<I", data, 0)
    if size > len(data):
        return None
    return parse_table(data[:size])


# -------------------------------------------------------- translation

def translate(table, value, length, swap=False, limit=None):
    """Translate the bit string (value, length) through the prefix tree of
    table (matching codes instead of patterns when swap). Returns
    (out_value, out_length, complete); output stops at `limit` bits."""
    root = [None, None, None]
    for rec in table:
        pattern, pbits, code, cbits = rec
        key, kbits, emit = (code, cbits, (pattern, pbits)) if swap else (pattern, pbits, (code, cbits))
        node = root
        for k in range(kbits - 1, -1, -1):
            b = (key >> k) & 1
            if node[b] is None:
                node[b] = [None, None, None]
            else:
                node[b][2] = None
            node = node[b]
        node[2] = emit
    out, out_len, node = 0, 0, root
    for c in range(length - 1, -1, -1):
        nxt = node[(value >> c) & 1]
        if nxt is None:
            node = root
            continue
        node = nxt
        if node[2] is not None:
            ev, eb = node[2]
            if limit is not None and out_len + eb > limit:
                keep = limit - out_len
                return out | ((ev & ((1 << keep) - 1)) << out_len), limit, False
            out |= ev << out_len
            out_len += eb
            node = root
    return out, out_len, True


# -------------------------------------------------------- embedded table

def build_embedded_table(text):
    order, weight = [], {}
    for b in text:
        if b not in weight:
            order.append(b)
            weight[b] = 0.0
        weight[b] += 1.0
    syms = sorted(order, key=lambda b: weight[b])  # sorted() is stable
    weights = [weight[b] for b in syms]
    history = []
    while len(weights) >= 3:
        w = weights[-2] + weights[-1]
        weights = weights[:-2]
        q = next((i for i, x in enumerate(weights) if x < w), len(weights))
        weights.insert(q, w)
        history.insert(0, q)
    codes = [(0, 1) for _ in syms]  # (value, bits)
    if syms:
        codes[0] = (1, 1)
    for t, q in enumerate(history, start=1):
        taken = codes[q]
        for i in range(q, t):
            codes[i] = codes[i + 1]
        codes[t] = (taken[0] << 1, taken[1] + 1)
        codes[t + 1] = ((taken[0] << 1) | 1, taken[1] + 1)
    return [(b, 8, c, n) for b, (c, n) in zip(syms, codes)]


# ------------------------------------------------------------ compression

def _ceil32(bits):
    return (((bits - 1) & 0xFFFFFFFF) // 8) + 1


def compress(text, table_path=SHARED_TABLE):
    """The compressed block of a non-empty text, or None for the empty text.

    A shared-table encoding is only used when it translates back to exactly
    the text (a table lacking patterns would otherwise lose part of it)."""
    if not text:
        return None
    value, length = int.from_bytes(text, "little"), 8 * len(text)
    shared = None
    table = read_shared_table(table_path)
    if table is not None:
        v1, b1, _ = translate(table, value, length)
        back, back_bits, _ = translate(table, v1, b1, swap=True)
        if back_bits == length and back == value:
            shared = (v1, b1)
    embedded = build_embedded_table(text)
    serialized = serialize_table(embedded)
    v2, b2, _ = translate(embedded, value, length)
    if shared is not None and _ceil32(shared[1]) < _ceil32(b2) + len(serialized) + 12:
        return struct.pack("<I", shared[1]) + shared[0].to_bytes(_nbytes(shared[1]), "little")
    return struct.pack("<III", TAG, len(serialized), b2) + serialized + v2.to_bytes(_nbytes(b2), "little")


def expand(block, table_path=SHARED_TABLE):
    """Decoded bytes; fields are bounded by the bytes present, damage gives
    b"" or a truncated result, and output stops at MAX_EXPANDED bytes."""
    if len(block) < 4:
        return b""
    (first,) = struct.unpack_from("<I", block, 0)
    if first == TAG:
        if len(block) < 12:
            return b""
        tsize, bits = struct.unpack_from("<II", block, 4)
        if tsize > len(block) - 12:
            return b""
        table = parse_table(block[12:12 + tsize])
        start = 12 + tsize
    else:
        table = read_shared_table(table_path)
        bits, start = first, 4
    if table is None:
        return b""
    bits = min(bits, 8 * (len(block) - start))
    value = int.from_bytes(block[start:], "little") & ((1 << bits) - 1)
    out, out_bits, _ = translate(table, value, bits, swap=True, limit=8 * MAX_EXPANDED)
    return out.to_bytes(_nbytes(out_bits), "little")


# ---------------------------------------------------------------- pipeline

def fill(payload):
    letter = b"X" if payload.endswith(b"x") else b"x"
    return payload + letter * (-len(payload) % 4)


def encrypt(text, password):
    block = compress(text)
    if block is not None and len(block) < len(text):
        payload, mode = block, b"B"
    else:
        payload, mode = text, b"A"
    return armour(encipher(fill(payload), password)) + mode


def decrypt(body, password, mode, notices=None):
    data = decipher(remove_armour(body, notices), password)
    if mode[:1] == b"B":
        return expand(data)
    return data
