#!/usr/bin/env python3
"""Writes key-blocks.json and recipient-blocks.json: key blocks, safety
digits, secret key texts and recipient blocks made from fixed keys and
fixed random inputs, and the cases a reader must refuse, each with the
outcome it must give. README.md describes the files.

The blocks are written here by an implementation of their own (Python's
`cryptography` and `base64`, nothing shared with the program or with
tests/reference/keys_ref.py, whose reader check_vectors.py holds every
block to); only the outcome names come from keys_ref, so that they are
written down once.

usage: make_key_vectors.py [DIRECTORY]   (default: beside this script)
"""
import base64
import hashlib
import os
import struct
import sys
import unicodedata

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric.x25519 import X25519PrivateKey, X25519PublicKey
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.hkdf import HKDF

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "reference"))
from keys_ref import DAMAGED, LATER_FORMAT, NOT_FOR_THIS_KEY, OPENED, REFUSED_SETTINGS  # noqa: E402
import make_sealed_blocks  # noqa: E402
import vector_json  # noqa: E402

BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
WRITTEN_AT = 1796981400  # 2026-12-11 09:30 UTC

# X25519 public keys of low order: every secret key gives an all-zero
# result with them.
LOW_ORDER_KEYS = {
    "zero": bytes(32),
    "one": bytes([1]) + bytes(31),
    "a point of order 8": bytes.fromhex("e0eb7a7c3b41b8ae1656e3faf19fc46ada098deb9c32b1fd866205165f49b800"),
    "p - 1": bytes([0xEC]) + bytes([0xFF]) * 30 + bytes([0x7F]),
}


# ------------------------------------------------------------------ keys

def public_of(secret):
    return X25519PrivateKey.from_private_bytes(secret).public_key().public_bytes(
        serialization.Encoding.Raw, serialization.PublicFormat.Raw)


def agree(secret, public):
    return X25519PrivateKey.from_private_bytes(secret).exchange(X25519PublicKey.from_public_bytes(public))


def digits(public):
    h = hashlib.sha256(b"mu-quiren key digits v1" + public).digest()
    return " ".join("%05d" % (int.from_bytes(h[i:i + 5], "big") % 100000) for i in range(0, 30, 5))


def pattern(first, step, n=32):
    return bytes((first + step * k) & 255 for k in range(n))


# The people of the vectors. alice's and bob's secret keys are the ones of
# RFC 7748, section 6.1.
SECRETS = {
    "alice": bytes.fromhex("77076d0a7318a57d3c16c17251b26645df4c2f87ebc0992ab177fba51db92c2a"),
    "bob": bytes.fromhex("5dab087e624a8a4b79e17f8b83800ee66f3bb1292618b6fd1c2f8b27ff88e0eb"),
    "carol": pattern(0x40, 3),
    "dave": pattern(0xD1, 5),
}
# 63 more, for a block to the most recipients there may be.
CROWD = ["member %02d" % i for i in range(1, 64)]
SECRETS.update({name: pattern(0x11 * i, 7 + 2 * i) for i, name in enumerate(CROWD, start=1)})
PUBLICS = {name: public_of(secret) for name, secret in SECRETS.items()}


def keys_table(names):
    return [{"name": n, "secret": SECRETS[n].hex(), "public": PUBLICS[n].hex(), "digits": digits(PUBLICS[n])}
            for n in names]


# --------------------------------------------------------------- framing

def armour(data):
    return base64.b64encode(data).decode("ascii").rstrip("=")


def frame(mode, body, width):
    lines = [mode + body[:width - 1]]
    rest = body[width - 1:]
    while rest:
        lines.append(rest[:width])
        rest = rest[width:]
    return "(quiren_start)\r\n" + "\r\n".join(lines) + "\r\n(quiren_end)"


def unarmour(body):
    return base64.b64decode(body + "=" * (-len(body) % 4))


def flip_in_byte(body, offset):
    """The armour with one character changed so that exactly one bit of
    byte `offset` of the envelope changes."""
    at = max(0, -(-(8 * offset - 5) // 6))  # the character whose lowest bit is in that byte
    return body[:at] + BASE64[BASE64.index(body[at]) ^ 1] + body[at + 1:]


# ------------------------------------------------------------- key block

def key_envelope(public, name_bytes, version=1, key_type=1, name_length=None, checksum=None):
    body = bytes([version, key_type]) + public + bytes([len(name_bytes) if name_length is None else name_length])
    body += name_bytes
    return body + (hashlib.sha256(body).digest()[:4] if checksum is None else checksum)


KEY_BLOCKS = [
    # name, key, the holder's name as given, width
    ("ASCII name", "alice", "Alice Example", 60),
    ("Japanese name", "bob", "山田 花子（経理部）", 60),
    ("the empty name", "carol", "", 10),
    ("64-byte name", "dave", "営業部第二課" + "の" * 15 + "A", 100),
    ("name given decomposed, written in NFC", "carol", "か\u3099き\u3099 ハ\u309aーク", 60),
    ("a no-break space is allowed", "alice", "Alice\u00a0Example", 60),
    ("a hyphen and a narrow no-break space are allowed", "bob", "Bob\u2010Smith\u202fJr", 60),
    ("a format character outside the forbidden ranges is allowed", "dave", "Dave\u206aX", 60),
]


def key_block_entries():
    entries = []
    for name, key, given, width in KEY_BLOCKS:
        holder = unicodedata.normalize("NFC", given)
        envelope = key_envelope(PUBLICS[key], holder.encode("utf-8"))
        assert len(holder.encode("utf-8")) <= 64
        entries.append({"name": name, "key": key, "public": PUBLICS[key].hex(), "holder_name_given": given,
                        "holder_name": holder, "digits": digits(PUBLICS[key]), "width": width,
                        "envelope": envelope.hex(), "block": frame("K", armour(envelope), width)})
    return entries


def key_case(name, envelope, outcome, key=None, holder=None):
    case = {"name": name, "envelope": envelope.hex(), "block": frame("K", armour(envelope), 60),
            "outcome": outcome}
    if outcome == OPENED:
        case.update({"public": PUBLICS[key].hex(), "holder_name": holder})
    return case


FORBIDDEN_NAME_CHARACTERS = [
    ("U+0000 NUL", "\u0000"), ("U+0009 tab", "\u0009"), ("U+000A line feed", "\u000a"),
    ("U+001F unit separator", "\u001f"), ("U+007F delete", "\u007f"), ("U+0080", "\u0080"),
    ("U+0085 next line", "\u0085"), ("U+009F", "\u009f"), ("U+200E left-to-right mark", "\u200e"),
    ("U+200F right-to-left mark", "\u200f"), ("U+202A left-to-right embedding", "\u202a"),
    ("U+202D left-to-right override", "\u202d"), ("U+202E right-to-left override", "\u202e"),
    ("U+2066 left-to-right isolate", "\u2066"), ("U+2069 pop directional isolate", "\u2069"),
]


def key_block_cases():
    alice, name = PUBLICS["alice"], "Alice Example".encode("utf-8")
    good = key_envelope(alice, name)
    cases = []
    for what, offset in (("version", 0), ("key type", 1), ("public key", 20), ("name length", 34),
                         ("name", 40), ("checksum", len(good) - 1)):
        changed = unarmour(flip_in_byte(armour(good), offset))
        outcome = LATER_FORMAT if offset < 2 else DAMAGED
        case = key_case("a changed character in the %s" % what, changed, outcome)
        cases.append(case)
    cases += [
        key_case("the checksum of other bytes", key_envelope(alice, name, checksum=bytes(4)), DAMAGED),
        key_case("version 2", key_envelope(alice, name, version=2), LATER_FORMAT),
        key_case("version 0", key_envelope(alice, name, version=0), LATER_FORMAT),
        key_case("key type 2", key_envelope(alice, name, key_type=2), LATER_FORMAT),
        key_case("version 2 decides before the length", bytes([2, 1, 0]), LATER_FORMAT),
        key_case("the empty envelope", b"", DAMAGED),
        key_case("version and key type only", bytes([1, 1]), DAMAGED),
        key_case("cut short by one byte", good[:-1], DAMAGED),
        key_case("a byte after the checksum", good + b"\x00", DAMAGED),
        key_case("a name length past the end", key_envelope(alice, name, name_length=len(name) + 5), DAMAGED),
        key_case("a name length short of the name", key_envelope(alice, name, name_length=len(name) - 1), DAMAGED),
        key_case("a name of 65 bytes", key_envelope(alice, b"A" * 65), REFUSED_SETTINGS),
        key_case("a name of 255 bytes", key_envelope(alice, "あ".encode("utf-8") * 85), REFUSED_SETTINGS),
        key_case("a name of 64 bytes", key_envelope(alice, b"A" * 64), OPENED, "alice", "A" * 64),
        key_case("a name that is not UTF-8", key_envelope(alice, b"Alice \xff"), REFUSED_SETTINGS),
        key_case("a name not in NFC", key_envelope(alice, "か\u3099".encode("utf-8")), REFUSED_SETTINGS),
    ]
    for what, c in FORBIDDEN_NAME_CHARACTERS:
        cases.append(key_case("a name holding %s" % what, key_envelope(alice, ("Alice" + c + "X").encode("utf-8")),
                              REFUSED_SETTINGS))
    return cases


# ------------------------------------------------------- secret key text

def secret_key_line(secret):
    return "QUIREN-SECRET-KEY-1 " + armour(secret)


def secret_key_entries():
    return [{"name": "%s's secret key" % key, "key": key, "secret": SECRETS[key].hex(),
             "text": secret_key_line(SECRETS[key])} for key in ("alice", "bob")]


SEALED_SECRET_KEYS = [
    # name, key, passphrase, width
    ("alice's secret key under an ASCII passphrase", "alice", "correct horse battery staple", 60),
    ("bob's secret key under a decomposed Japanese passphrase", "bob", "か\u3099き\u3099の合言葉", 76),
]


def sealed_secret_key_entries():
    entries = []
    for i, (name, key, passphrase, width) in enumerate(SEALED_SECRET_KEYS):
        salt, nonce = pattern(0x70 + i, 11, 16), pattern(0x20 + i, 13, 12)
        text = secret_key_line(SECRETS[key])
        envelope = make_sealed_blocks.envelope(text, passphrase, salt, nonce)
        entries.append({"name": name, "key": key, "secret": SECRETS[key].hex(), "text": text,
                        "passphrase": passphrase, "passphrase_nfc": unicodedata.normalize("NFC", passphrase),
                        "iterations": make_sealed_blocks.ITERATIONS, "salt": salt.hex(), "nonce": nonce.hex(),
                        "width": width, "envelope": envelope.hex(),
                        "block": make_sealed_blocks.frame(armour(envelope), width)})
    return entries


def secret_key_text_cases():
    line = secret_key_line(SECRETS["alice"])
    body = line[len("QUIREN-SECRET-KEY-1 "):]
    secret = SECRETS["alice"].hex()
    return [
        {"name": "the line", "text": line, "outcome": OPENED, "secret": secret},
        {"name": "the line and LF", "text": line + "\n", "outcome": OPENED, "secret": secret},
        {"name": "the line and CR LF", "text": line + "\r\n", "outcome": OPENED, "secret": secret},
        {"name": "with base64 padding", "text": line + "=", "outcome": DAMAGED},
        {"name": "31 bytes", "text": secret_key_line(SECRETS["alice"][:31]), "outcome": DAMAGED},
        {"name": "33 bytes", "text": secret_key_line(SECRETS["alice"] + b"\x00"), "outcome": DAMAGED},
        {"name": "bits after the last byte", "text": line[:-1] + BASE64[BASE64.index(line[-1]) | 1],
         "outcome": DAMAGED},
        {"name": "a lower-case label", "text": "quiren-secret-key-1 " + body, "outcome": DAMAGED},
        {"name": "no space after the label", "text": "QUIREN-SECRET-KEY-1" + body, "outcome": DAMAGED},
        {"name": "another version's label", "text": "QUIREN-SECRET-KEY-2 " + body, "outcome": DAMAGED},
        {"name": "two line breaks after it", "text": line + "\n\n", "outcome": DAMAGED},
    ]


def build_key_blocks():
    return {
        "about": "Key blocks, safety digits and secret key texts from fixed keys, and key blocks a reader must "
                 "refuse. Written by make_key_vectors.py; README.md describes the fields.",
        "keys": keys_table(["alice", "bob", "carol", "dave"]),
        "key_blocks": key_block_entries(),
        "key_block_cases": key_block_cases(),
        "secret_key_texts": secret_key_entries(),
        "sealed_secret_keys": sealed_secret_key_entries(),
        "secret_key_text_cases": secret_key_text_cases(),
    }


# -------------------------------------------------------- recipient block

def recipient_envelope(text, sender, slot_order, ephemeral_secret, text_key, nonce, written_at):
    """Sealed with every input given; recipients by name, in slot order."""
    sender_public, ephemeral_public = PUBLICS[sender], public_of(ephemeral_secret)
    header = bytes([1, 1, len(slot_order), 0]) + struct.pack(">Q", written_at) + sender_public + ephemeral_public
    sealed = nonce + AESGCM(text_key).encrypt(nonce, text.encode("utf-8"), header)
    slots = b""
    for name in slot_order:
        r = PUBLICS[name]
        wrap = HKDF(hashes.SHA256(), 32, ephemeral_public + sender_public + r, b"mu-quiren recipient v1").derive(
            agree(ephemeral_secret, r) + agree(SECRETS[sender], r))
        slots += AESGCM(wrap).encrypt(bytes(12), text_key, header + hashlib.sha256(sealed).digest())
    return header + slots + sealed


LONG_TEXT = ("長い文章の折り返しと復号を確かめるための試験用の本文です。" * 700)[:19992] + "\r\nおわり。\r\n"
assert len(LONG_TEXT) == 20000

RECIPIENT_BLOCKS = [
    # name, text, sender, slot order, width, written at
    ("to the writer alone", "Note to self: renew the certificate.", "alice", ["alice"], 60, WRITTEN_AT),
    ("one recipient and the writer", "The draft is attached. Comments by Friday, please.", "bob",
     ["alice", "bob"], 60, WRITTEN_AT + 60),
    ("two recipients and the writer", "Meeting moved to room 4 at 15:00.", "alice", ["carol", "alice", "bob"], 60,
     WRITTEN_AT + 120),
    ("Japanese with CR LF", "明日の打ち合わせは午前10時からです。\r\n場所は3階の第2会議室。\r\n", "alice",
     ["bob", "alice"], 60, WRITTEN_AT + 180),
    ("emoji, width 10", "了解です😀🍣 Thanks! 👍🏽👨‍👩‍👧", "alice", ["alice", "bob"], 10, WRITTEN_AT + 240),
    ("the empty text, width 100", "", "alice", ["bob", "alice"], 100, WRITTEN_AT + 300),
    ("20,000 characters", LONG_TEXT, "alice", ["alice", "carol"], 76, WRITTEN_AT + 360),
    ("64 recipients, the writer last", "To everyone on the list.", "alice", CROWD + ["alice"], 60, WRITTEN_AT + 420),
    ("written at 0", "From 1970.", "bob", ["bob"], 60, 0),
]
# Someone who is never among the recipients.
OUTSIDER = "dave"


def block_inputs(i):
    return {"ephemeral_secret": pattern(0x30 + 17 * i, 29), "text_key": pattern(0x90 + 5 * i, 3),
            "nonce": pattern(0xC0 + 9 * i, 7, 12)}


def recipient_block_entries():
    entries = []
    for i, (name, text, sender, order, width, written_at) in enumerate(RECIPIENT_BLOCKS):
        inputs = block_inputs(i)
        envelope = recipient_envelope(text, sender, order, written_at=written_at, **inputs)
        readers = [order[0], order[-1]] if len(order) > 8 else order
        reads = [{"key": k, "outcome": OPENED} for k in dict.fromkeys(readers)]
        reads.append({"key": OUTSIDER, "outcome": NOT_FOR_THIS_KEY})
        entries.append({
            "name": name, "text": text, "sender": sender, "sender_public": PUBLICS[sender].hex(),
            "ephemeral_secret": inputs["ephemeral_secret"].hex(),
            "ephemeral_public": public_of(inputs["ephemeral_secret"]).hex(), "text_key": inputs["text_key"].hex(),
            "nonce": inputs["nonce"].hex(), "written_at": written_at, "slot_order": order,
            "recipients": [PUBLICS[k].hex() for k in order], "width": width, "envelope": envelope.hex(),
            "block": frame("D", armour(envelope), width), "reads": reads,
        })
    return entries


def recipient_case(name, source, body, reads, why):
    """A case made from block `source`; `body` is the armour after the mode
    letter (so that a character outside base64 can be put in), `reads` the
    (key, outcome) pairs a reader must give."""
    try:
        decoded = base64.b64decode(body + "=" * (-len(body) % 4), validate=True)
    except ValueError:
        decoded = None
    # Only an armour a writer could have written stands for an envelope.
    envelope = decoded.hex() if decoded is not None and armour(decoded) == body else None
    return {"name": name, "source": source, "why": why, "envelope": envelope, "block": frame("D", body, 60),
            "reads": [{"key": k, "outcome": o} for k, o in reads]}


def with_bytes(envelope, offset, new):
    return envelope[:offset] + new + envelope[offset + len(new):]


def recipient_cases():
    entries = {e["name"]: e for e in recipient_block_entries()}
    three = "two recipients and the writer"
    src = entries[three]
    env = bytes.fromhex(src["envelope"])
    order = src["slot_order"]
    everyone = order + [OUTSIDER]
    slots_end = 76 + 48 * len(order)

    def for_all(outcome):
        return [(k, outcome) for k in everyone]

    def case(name, envelope, outcome, why, source=three):
        return recipient_case(name, source, armour(envelope), for_all(outcome), why)

    cases = [recipient_case("a block for someone else", three, armour(env),
                            [(OUTSIDER, NOT_FOR_THIS_KEY)],
                            "no slot is sealed for this key")]

    # bob opens the block, learns the text key and puts a text of his own
    # under the same header and slots.
    text_key = bytes.fromhex(src["text_key"])
    for keep_nonce in (True, False):
        nonce = env[slots_end:slots_end + 12] if keep_nonce else pattern(0x55, 1, 12)
        forged = env[:slots_end] + nonce + AESGCM(text_key).encrypt(nonce, "会議は中止です。".encode("utf-8"),
                                                                       env[:76])
        cases.append(case("rewritten by a recipient under the same slots, %s nonce"
                          % ("the same" if keep_nonce else "a new"), forged, NOT_FOR_THIS_KEY,
                          "each slot's associated data holds SHA-256 of the nonce, ciphertext and tag"))

    cases += [
        case("count 0", with_bytes(env, 2, b"\x00"), REFUSED_SETTINGS, "the count is outside 1..64"),
        case("count 65", with_bytes(env, 2, bytes([65])), REFUSED_SETTINGS, "the count is outside 1..64"),
        case("count 255", with_bytes(env, 2, bytes([255])), REFUSED_SETTINGS, "the count is outside 1..64"),
        case("reserved byte 1", with_bytes(env, 3, b"\x01"), REFUSED_SETTINGS, "the reserved byte is not 0"),
        case("reserved byte 0x80", with_bytes(env, 3, b"\x80"), REFUSED_SETTINGS, "the reserved byte is not 0"),
        case("version 2", with_bytes(env, 0, b"\x02"), LATER_FORMAT, "an unknown version"),
        case("version 0", with_bytes(env, 0, b"\x00"), LATER_FORMAT, "an unknown version"),
        case("suite 2", with_bytes(env, 1, b"\x02"), LATER_FORMAT, "an unknown suite"),
        case("version 2 decides before the length", bytes([2]), LATER_FORMAT, "an unknown version"),
        case("suite 2 decides before the length", bytes([1, 2]), LATER_FORMAT, "an unknown suite"),
        case("the empty envelope", b"", DAMAGED, "no bytes"),
        case("version and suite only", env[:2], DAMAGED, "the header is cut short"),
        case("the header one byte short", env[:75], DAMAGED, "the header is cut short"),
        case("the header alone", env[:76], DAMAGED, "the slots are missing"),
        case("the last slot one byte short", env[:slots_end - 1], DAMAGED, "a slot is cut short"),
        case("no room for the nonce and the tag", env[:slots_end + 27], DAMAGED,
             "the nonce and tag need 28 bytes after the slots"),
    ]
    empty = entries["the empty text, width 100"]
    empty_env = bytes.fromhex(empty["envelope"])
    cases.append(recipient_case("a count past the end", empty["name"], armour(with_bytes(empty_env, 2, b"\x03")),
                                [(k, DAMAGED) for k in empty["slot_order"]],
                                "three slots and 28 bytes do not fit"))
    cases.append(recipient_case("a count short of the slots", empty["name"],
                                armour(with_bytes(empty_env, 2, b"\x01")),
                                [(k, NOT_FOR_THIS_KEY) for k in empty["slot_order"]],
                                "the count is part of every slot's associated data"))

    for which, offset in (("one-off", 44), ("sender's", 12)):
        for point_name, point in LOW_ORDER_KEYS.items():
            cases.append(case("the %s key is %s" % (which, point_name), with_bytes(env, offset, point), REFUSED_SETTINGS,
                              "a public key of low order: X25519 gives all zeros"))

    body = armour(env)
    slot_owner_reads = lambda index: [(k, NOT_FOR_THIS_KEY if i == index else OPENED)  # noqa: E731
                                      for i, k in enumerate(order)]
    places = [
        ("the version", 0, for_all(LATER_FORMAT)),
        ("the suite", 1, for_all(LATER_FORMAT)),
        ("the count", 2, for_all(REFUSED_SETTINGS)),
        ("the reserved byte", 3, for_all(REFUSED_SETTINGS)),
        ("the time written", 9, for_all(NOT_FOR_THIS_KEY)),
        ("the sender's key", 20, for_all(NOT_FOR_THIS_KEY)),
        ("the one-off key", 60, for_all(NOT_FOR_THIS_KEY)),
        ("the first slot", 76 + 5, slot_owner_reads(0)),
        ("the last slot's tag", slots_end - 1, slot_owner_reads(len(order) - 1)),
        ("the nonce", slots_end + 3, for_all(NOT_FOR_THIS_KEY)),
        ("the ciphertext", slots_end + 20, for_all(NOT_FOR_THIS_KEY)),
        ("the text's tag", len(env) - 1, for_all(NOT_FOR_THIS_KEY)),
    ]
    for what, offset, reads in places:
        cases.append(recipient_case("a changed character in %s" % what, three, flip_in_byte(body, offset), reads,
                                    "one bit of byte %d changed" % offset))
    # The last character carries bits past the last byte unless the length
    # is a multiple of 3; a writer leaves them at zero.
    assert len(env) % 3 != 0
    last = BASE64.index(body[-1])
    stray = body[:-1] + BASE64[last | (1 if len(env) % 3 == 2 else 15)]
    cases.append(recipient_case("bits after the last byte", three, stray, for_all(DAMAGED),
                                "the armour is not one a writer writes"))
    cases.append(recipient_case("a character outside base64", three, body[:40] + "*" + body[41:], for_all(DAMAGED),
                                "the armour is not one a writer writes"))
    return cases


def build_recipient_blocks():
    return {
        "about": "Recipient blocks sealed from fixed keys with fixed one-off keys, text keys, nonces and slot "
                 "orders, and blocks a reader must refuse. Written by make_key_vectors.py; README.md describes "
                 "the fields.",
        "keys": keys_table(["alice", "bob", "carol", "dave"] + CROWD),
        "blocks": recipient_block_entries(),
        "cases": recipient_cases(),
    }


FILES = {"key-blocks.json": build_key_blocks, "recipient-blocks.json": build_recipient_blocks}
dumps = vector_json.dumps


def main():
    directory = sys.argv[1] if len(sys.argv) > 1 else HERE
    for file_name, build in FILES.items():
        with open(os.path.join(directory, file_name), "w", encoding="utf-8", newline="\n") as f:
            f.write(dumps(build()))


if __name__ == "__main__":
    main()
