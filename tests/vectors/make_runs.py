#!/usr/bin/env python3
"""Writes runs.json: decrypt runs over received texts, each with the
password as typed, the secret key the front end holds (if any), the
answers to the question before a long run, and what must happen: each
block's outcome, the run's end, the rounds the question named, the key
derivations made, whether the password was asked. The program's run tests
and the reader page's read it as one table. README.md describes the file.

usage: make_runs.py [OUTPUT]   (default: runs.json beside this script; "-"
writes to standard output)

A strong block here is sealed under a key of one PBKDF2 round while its
envelope asks for as many as the case needs (up to 10,000,000): each suite
derives keys with one round whatever an envelope asks, and counts every
derivation, so a run of 10,000,000-round blocks costs them nothing and
still shows its rounds. Compatible blocks come from the Python reference
cipher, as in received-forms.json; recipient blocks from
make_key_vectors.py's writer and keys.
"""
import base64
import os
import struct
import sys
import unicodedata

from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_key_vectors  # noqa: E402
import make_received_forms  # noqa: E402
import vector_json  # noqa: E402

CRLF = "\r\n"
WRITERS = 600_000
MOST = 10_000_000  # the most a reader takes; three such blocks are what a run spends unasked
DECOMPOSED = "か\u3099き\u3099く\u3099ハ\u309a"  # as macOS gives it
COMPOSED = unicodedata.normalize("NFC", DECOMPOSED)


def frame(letter, payload, width=60):
    lines = [letter + payload[:width - 1]]
    rest = payload[width - 1:]
    while rest:
        lines.append(rest[:width])
        rest = rest[width:]
    return "(quiren_start)" + CRLF + CRLF.join(lines) + CRLF + "(quiren_end)"


def envelope(text, key_password, rounds, seed, version=1):
    """`text` sealed under the one-round key of `key_password` (its UTF-8
    exactly as given), its envelope asking for `rounds`."""
    data = text.encode("utf-8")
    fill = -(52 + len(data)) % 4
    salt = bytes((seed * 16 + k) & 255 for k in range(16))
    nonce = bytes((0x80 + seed * 12 + k) & 255 for k in range(12))
    header = bytes([version, 1, 1, fill]) + struct.pack(">I", rounds) + salt + nonce
    key = PBKDF2HMAC(hashes.SHA256(), 32, salt, 1).derive(key_password.encode("utf-8"))
    return header + AESGCM(key).encrypt(nonce, data, header) + bytes(fill)


def strong(text, key_password, rounds, seed, version=1):
    return {"kind": "strong", "text": text,
            "block": frame("C", base64.b64encode(envelope(text, key_password, rounds, seed, version))
                           .decode().rstrip("="))}


def compatible(text, password):
    return {"kind": "compatible", "text": text, "block": make_received_forms.compatible_block(text, password=password)}


def recipient(text, sender, slot_order, seed):
    """`text` for the keys of `slot_order` (make_key_vectors.py's people),
    from `sender`, with fixed one-off key, text key and nonce."""
    keys = make_key_vectors
    written_at = keys.WRITTEN_AT + 60 * seed
    envelope = keys.recipient_envelope(text, sender, slot_order, keys.pattern(0x35 + seed, 31),
                                       keys.pattern(0x95 + seed, 11), keys.pattern(0xC5 + seed, 13, 12), written_at)
    return {"kind": "recipient", "text": text, "sender": keys.PUBLICS[sender].hex(), "written_at": written_at,
            "block": frame("D", base64.b64encode(envelope).decode().rstrip("="))}


def damaged_compatible():
    """A compatible block with one character lost from its first body line:
    its check field is no longer whole armour groups."""
    block = compatible("lost a character", "pw")["block"]
    lines = block.split(CRLF)
    lines[1] = lines[1][:3] + lines[1][4:]
    return {"kind": "compatible", "block": CRLF.join(lines)}


B = {
    "one": strong("一つ目", "pw", WRITERS, 1),
    "two": strong("二つ目 😀\r\nです", "pw", WRITERS, 2),
    "three": strong("three", "pw", WRITERS, 3),
    "compatible": compatible("compatible one", "pw"),
    "compatible two": compatible("compatible two", "pw"),
    "other password": strong("別のパスワード", "other", WRITERS, 4),
    "later envelope": strong("version 2", "pw", WRITERS, 5, version=2),
    # A mode letter no version knows yet names no kind of block.
    "later letter": {"kind": None, "block": frame("Z", "AAAABBBBCCCC")},
    "too few rounds": strong("弱い鍵", "pw", 99_999, 6),
    "damaged": damaged_compatible(),
    "long 1": strong("長い 1", "pw", MOST, 11),
    "long 2": strong("長い 2", "pw", MOST, 12),
    "long 3": strong("長い 3", "pw", MOST, 13),
    "long 4": strong("長い 4", "pw", MOST, 14),
    "long other 1": strong("他 1", "other", MOST, 21),
    "long other 2": strong("他 2", "other", MOST, 22),
    "long other 3": strong("他 3", "other", MOST, 23),
    "long NFC 1": strong("NFC 1", COMPOSED, MOST, 31),
    "long NFC 2": strong("NFC 2", COMPOSED, MOST, 32),
    "long NFC 3": strong("NFC 3", COMPOSED, MOST, 33),
    "NFC": strong("NFC", COMPOSED, WRITERS, 34),
    # Sealed before keys came from NFC: under the decomposed bytes as typed.
    "as typed 1": strong("as typed 1", DECOMPOSED, WRITERS, 41),
    "as typed 2": strong("as typed 2", DECOMPOSED, WRITERS, 42),
    "as typed 3": strong("as typed 3", DECOMPOSED, WRITERS, 43),
    "to bob": recipient("ボブさんへ：明日の資料です。\r\n😀", "alice", ["bob", "alice"], 1),
    "to bob and carol": recipient("Meeting at 15:00.", "carol", ["carol", "bob"], 2),
}
# The secret keys a front end may hold.
KEYS = {name: make_key_vectors.SECRETS[name].hex() for name in ("bob", "dave")}


def report(name, what):
    kind = {"kind": B[name]["kind"]} if B[name]["kind"] else {}
    return {**kind, "outcome": what}


def opened(name):
    block = {**report(name, "opened"), "text": B[name]["text"]}
    if B[name]["kind"] == "recipient":
        block.update({"sender": B[name]["sender"], "written_at": B[name]["written_at"]})
    return block


def outcome(name, what):
    return report(name, what)


def case(name, blocks, password, end, reports, derivations, answers=(), rounds_asked=(), cancel_after=None,
         texts_kept=True, password_asked=True, key=None, strong_only=False):
    received = "Hello,\r\n\r\n" + (CRLF + CRLF).join(B[b]["block"] for b in blocks) + CRLF + CRLF + "Regards"
    c = {"name": name, "blocks": list(blocks), "received": received, "password": password,
         "answers": list(answers)}
    if key is not None:
        c["secret_key"] = KEYS[key]
    if cancel_after is not None:
        c["cancel_after"] = cancel_after
    if strong_only:
        c["strong_only"] = True
    c["expect"] = {"end": end, "blocks": reports, "texts_kept": texts_kept,
                   "rounds_asked": list(rounds_asked), "derivations": derivations,
                   "password_asked": password_asked}
    return c


def cases():
    three_long = ["long 1", "long 2", "long 3"]
    four_long = three_long + ["long 4"]
    three_other = ["long other 1", "long other 2", "long other 3"]
    wrong = lambda names: [outcome(n, "wrong_password") for n in names]  # noqa: E731
    return [
        case("strong and compatible blocks under one password", ["one", "compatible", "two"], "pw", "done",
             [opened("one"), opened("compatible"), opened("two")], 2),
        case("a block under another password holds its place", ["one", "other password", "compatible"], "pw",
             "done", [opened("one"), outcome("other password", "wrong_password"), opened("compatible")], 2),
        case("a later format first: no password, nothing derived", ["later envelope", "one"], "pw", "at_block",
             [outcome("later envelope", "later_format")], 0, password_asked=False),
        case("a later format after readable blocks keeps their texts", ["one", "compatible", "later letter", "two"],
             "pw", "at_block", [opened("one"), opened("compatible"), outcome("later letter", "later_format")], 1),
        case("refused settings first", ["too few rounds", "one"], "pw", "at_block",
             [outcome("too few rounds", "refused_settings")], 0, password_asked=False),
        case("refused settings after a readable block keeps its text", ["one", "too few rounds", "two"], "pw",
             "at_block", [opened("one"), outcome("too few rounds", "refused_settings")], 1),
        case("a damaged first block", ["damaged", "one"], "pw", "at_block", [outcome("damaged", "damaged")], 0,
             texts_kept=False, password_asked=False),
        case("a damaged block after readable ones drops their texts", ["one", "damaged"], "pw", "at_block",
             [opened("one"), outcome("damaged", "damaged")], 1, texts_kept=False),
        case("exactly the budget: not asked", three_long + ["compatible"], "pw", "done",
             [opened(n) for n in three_long + ["compatible"]], 3),
        case("over the budget, asked and stopped: nothing derived", four_long, "pw", "rounds_refused", [], 0,
             answers=["stop"], rounds_asked=[4 * MOST], texts_kept=False, password_asked=False),
        case("over the budget, asked and continued", four_long, "pw", "done", [opened(n) for n in four_long], 4,
             answers=["continue"], rounds_asked=[4 * MOST]),
        case("a wrong password in ASCII: one derivation a block", three_other, "wrong", "done", wrong(three_other),
             3),
        case("a wrong password in NFC: one derivation a block", three_other, COMPOSED, "done", wrong(three_other), 3),
        case("the right password, decomposed: the NFC form opens every block", ["long NFC 1", "long NFC 2",
             "long NFC 3"], DECOMPOSED, "done", [opened(n) for n in ["long NFC 1", "long NFC 2", "long NFC 3"]], 3),
        # The NFC form fails on the first block; the form as typed would take
        # the run to 40,000,000 rounds: asked with the 30,000,000 still to come.
        case("a wrong password, decomposed: the form as typed past the budget, stopped", three_other, DECOMPOSED,
             "rounds_refused", [], 1, answers=["stop"], rounds_asked=[3 * MOST], texts_kept=False),
        case("a wrong password, decomposed: the form as typed once, then NFC", three_other, DECOMPOSED, "done",
             wrong(three_other), 4, answers=["continue"], rounds_asked=[3 * MOST]),
        case("blocks sealed under the password as typed: that form from the second block on",
             ["as typed 1", "as typed 2", "as typed 3"], DECOMPOSED, "done",
             [opened(n) for n in ["as typed 1", "as typed 2", "as typed 3"]], 4),
        case("the form that opened the first block is the only one tried after it", ["as typed 1", "NFC"],
             DECOMPOSED, "done", [opened("as typed 1"), outcome("NFC", "wrong_password")], 3),
        case("a password in NFC is tried in that form alone", ["as typed 1", "NFC"], COMPOSED, "done",
             [outcome("as typed 1", "wrong_password"), opened("NFC")], 2),
        case("cancelled between blocks: nothing kept, nothing more derived", ["one", "two", "three"], "pw",
             "at_block", [opened("one"), outcome("two", "cancelled")], 1, cancel_after=0, texts_kept=False),
        # Blocks for keys open with the secret key alone: no password, no
        # rounds.
        case("a recipient block opens with the key, and no password is asked", ["to bob"], "pw", "done",
             [opened("to bob")], 0, password_asked=False, key="bob"),
        case("a recipient block for another key holds its place", ["to bob", "to bob and carol"], "pw", "done",
             [outcome("to bob", "not_for_this_key"), outcome("to bob and carol", "not_for_this_key")], 0,
             password_asked=False, key="dave"),
        case("recipient, strong and compatible blocks: the password only for the password blocks",
             ["one", "to bob", "compatible", "to bob and carol", "two"], "pw", "done",
             [opened("one"), opened("to bob"), opened("compatible"), opened("to bob and carol"), opened("two")], 2,
             key="bob"),
        case("a recipient block with no key given needs one", ["to bob"], "pw", "done",
             [outcome("to bob", "needs_key")], 0, password_asked=False),
        case("with no key given, the password blocks around a recipient block still open",
             ["one", "to bob", "compatible"], "pw", "done",
             [opened("one"), outcome("to bob", "needs_key"), opened("compatible")], 1),
        # Where only strong blocks are read, each compatible block is refused
        # unread and the run goes on past it.
        case("strong blocks only: compatible blocks refused, the strong ones opened",
             ["compatible", "one", "compatible two", "two"], "pw", "done",
             [outcome("compatible", "compatible_refused"), opened("one"),
              outcome("compatible two", "compatible_refused"), opened("two")], 2, strong_only=True),
        case("strong blocks only: a text of compatible blocks opens nothing", ["compatible", "compatible two"], "pw",
             "done", [outcome(n, "compatible_refused") for n in ["compatible", "compatible two"]], 0,
             password_asked=False, strong_only=True),
        case("strong blocks only: a later format after a refused block still ends the run",
             ["compatible", "one", "later envelope", "two"], "pw", "at_block",
             [outcome("compatible", "compatible_refused"), opened("one"), outcome("later envelope", "later_format")],
             1, strong_only=True),
        case("strong blocks only: a damaged compatible block is damaged", ["one", "damaged"], "pw", "at_block",
             [opened("one"), outcome("damaged", "damaged")], 1, texts_kept=False, strong_only=True),
    ]


def build():
    return {
        "about": "Decrypt runs the program and the reader page must make alike. Written by make_runs.py; "
                 "README.md describes the fields.",
        "cases": cases() + [{
            "name": "no block", "blocks": [], "received": "Hello, no block here.", "password": "pw", "answers": [],
            "expect": {"end": "no_block", "blocks": [], "texts_kept": True, "rounds_asked": [], "derivations": 0,
                       "password_asked": False}}],
    }


dumps = vector_json.dumps


def main():
    vector_json.write(build(), os.path.join(HERE, "runs.json"))


if __name__ == "__main__":
    main()
