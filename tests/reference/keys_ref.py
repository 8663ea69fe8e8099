"""An independent implementation of the blocks of keys, on Python's
`cryptography` package: the key block (mode letter "K"), the safety digits
of a public key, the recipient block (mode letter "D") and the secret key
text, bare or sealed as an ordinary strong block ("C", through strong_ref).
Both new blocks are framed and armoured as a strong block is (block_ref,
strong_ref).

Readers give one of the outcome names below and never a text for any
outcome but OPENED. Sealing takes every random input as an argument in
seal_recipient_envelope_with, so that other implementations can be held to
its bytes; seal_recipient_envelope draws them and shuffles the slots.
"""
import collections
import os
import secrets
import struct
import time
import unicodedata

from cryptography.exceptions import InvalidTag
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric.x25519 import X25519PrivateKey, X25519PublicKey
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.hkdf import HKDF

import block_ref
import strong_ref

# What a reader makes of a block, by the names of the program's outcomes
# (block/outcome.h). The shared vectors (tests/vectors/make_key_vectors.py)
# write these names; tests/vectors/README.md says what each means.
OPENED = "opened"  # a key block read, a recipient block opened (its text, sender and time)
NOT_FOR_THIS_KEY = "not_for_this_key"  # not addressed to this key, or changed on the way
LATER_FORMAT = "later_format"
DAMAGED = "damaged"
REFUSED_SETTINGS = "refused_settings"

KEY_SIZE = 32  # an X25519 public or secret key
SHA256_SIZE = 32

# The key block.
KEY_MODE = b"K"
KEY_VERSION = 1
KEY_TYPE_X25519 = 1
KEY_NAME_LENGTH_OFFSET = 2 + KEY_SIZE  # 34
MAX_NAME_BYTES = 64
CHECKSUM_SIZE = 4
SHORTEST_KEY_ENVELOPE = KEY_NAME_LENGTH_OFFSET + 1 + CHECKSUM_SIZE  # 39: the empty name
# Characters no name may hold (inclusive ranges): C0 controls, DEL and the
# C1 controls, the direction marks, the embeddings and overrides, the
# isolates.
FORBIDDEN_IN_NAMES = ((0x0000, 0x001F), (0x007F, 0x009F), (0x200E, 0x200F), (0x202A, 0x202E), (0x2066, 0x2069))

DIGITS_LABEL = b"mu-quiren key digits v1"
DIGIT_GROUPS = 6

# The recipient block.
RECIPIENT_MODE = b"D"
RECIPIENT_VERSION = 1
SUITE_X25519_HKDF_SHA256_AES256GCM = 1
MAX_RECIPIENTS = 64
WRITTEN_AT_OFFSET = 4
SENDER_OFFSET = 12
EPHEMERAL_OFFSET = 44
HEADER_SIZE = 76
SLOT_SIZE = KEY_SIZE + 16  # the text key sealed: 32 bytes and a tag
NONCE_SIZE = 12
TAG_SIZE = 16
WRAP_INFO = b"mu-quiren recipient v1"
SLOT_NONCE = bytes(NONCE_SIZE)

SECRET_KEY_PREFIX = "QUIREN-SECRET-KEY-1 "


def sha256(data: bytes) -> bytes:
    digest = hashes.Hash(hashes.SHA256())
    digest.update(data)
    return digest.finalize()


# ------------------------------------------------------------------ X25519

def new_secret_key() -> bytes:
    return X25519PrivateKey.generate().private_bytes(
        serialization.Encoding.Raw, serialization.PrivateFormat.Raw, serialization.NoEncryption())


def public_key_of(secret: bytes) -> bytes:
    return X25519PrivateKey.from_private_bytes(secret).public_key().public_bytes(
        serialization.Encoding.Raw, serialization.PublicFormat.Raw)


def x25519(secret: bytes, public: bytes):
    """The shared secret, or None when it is all zeros (a public key of low
    order: the library refuses to give that result)."""
    try:
        shared = X25519PrivateKey.from_private_bytes(secret).exchange(X25519PublicKey.from_public_bytes(public))
    except ValueError:
        return None
    return None if shared == bytes(KEY_SIZE) else shared


# --------------------------------------------------------------- framing

def frame(mode: bytes, envelope: bytes, width: int) -> bytes:
    return block_ref.frame(mode, strong_ref.armour(envelope), width)


def unframe(block: bytes, mode: bytes) -> bytes:
    """The envelope of the first block in `block`, which must be of `mode`;
    ValueError for another mode letter or an armour the writer could not
    have written."""
    start = block.index(strong_ref.START)
    lines = block[start:block.index(strong_ref.END, start)].split(strong_ref.CRLF)[1:-1]
    joined = b"".join(lines)
    if joined[:1] != mode:
        raise ValueError("mode letter %r" % joined[:1])
    return strong_ref.unarmour(joined[1:])


# ------------------------------------------------------------- key block

def name_is_allowed(name: str) -> bool:
    return not any(lo <= ord(c) <= hi for c in name for lo, hi in FORBIDDEN_IN_NAMES)


def key_envelope(public_key: bytes, name: str) -> bytes:
    """The key block's bytes for a public key and its holder's name (put in
    NFC here). ValueError for a name a reader would refuse."""
    name_bytes = unicodedata.normalize("NFC", name).encode("utf-8")
    if len(public_key) != KEY_SIZE or len(name_bytes) > MAX_NAME_BYTES or not name_is_allowed(name):
        raise ValueError("not a key block a reader takes")
    body = bytes([KEY_VERSION, KEY_TYPE_X25519]) + public_key + bytes([len(name_bytes)]) + name_bytes
    return body + sha256(body)[:CHECKSUM_SIZE]


def key_block(public_key: bytes, name: str, width: int) -> bytes:
    return frame(KEY_MODE, key_envelope(public_key, name), width)


KeyRead = collections.namedtuple("KeyRead", "outcome public_key name")


def read_key_envelope(envelope: bytes) -> KeyRead:
    """Checks in this order: the version and key type (as far as present),
    the length against the name length, the checksum, then the name."""
    def verdict(outcome):
        return KeyRead(outcome, None, None)

    if not envelope:
        return verdict(DAMAGED)
    if envelope[0] != KEY_VERSION:
        return verdict(LATER_FORMAT)
    if len(envelope) > 1 and envelope[1] != KEY_TYPE_X25519:
        return verdict(LATER_FORMAT)
    if len(envelope) < SHORTEST_KEY_ENVELOPE:
        return verdict(DAMAGED)
    name_length = envelope[KEY_NAME_LENGTH_OFFSET]
    if len(envelope) != SHORTEST_KEY_ENVELOPE + name_length:
        return verdict(DAMAGED)
    body, checksum = envelope[:-CHECKSUM_SIZE], envelope[-CHECKSUM_SIZE:]
    if sha256(body)[:CHECKSUM_SIZE] != checksum:
        return verdict(DAMAGED)
    if name_length > MAX_NAME_BYTES:
        return verdict(REFUSED_SETTINGS)
    try:
        name = body[KEY_NAME_LENGTH_OFFSET + 1:].decode("utf-8")
    except UnicodeDecodeError:
        return verdict(REFUSED_SETTINGS)
    if not name_is_allowed(name) or unicodedata.normalize("NFC", name) != name:
        return verdict(REFUSED_SETTINGS)
    return KeyRead(OPENED, body[2:2 + KEY_SIZE], name)


def read_key_block(block: bytes) -> KeyRead:
    try:
        envelope = unframe(block, KEY_MODE)
    except ValueError:
        return KeyRead(DAMAGED, None, None)
    return read_key_envelope(envelope)


def safety_digits(public_key: bytes) -> str:
    h = sha256(DIGITS_LABEL + public_key)
    return " ".join("%05d" % (int.from_bytes(h[5 * g:5 * g + 5], "big") % 100000) for g in range(DIGIT_GROUPS))


# -------------------------------------------------------- recipient block

def wrap_key(shared_ephemeral: bytes, shared_sender: bytes, ephemeral_public: bytes, sender_public: bytes,
             recipient_public: bytes) -> bytes:
    """The key one recipient's slot is sealed under."""
    return HKDF(hashes.SHA256(), 32, ephemeral_public + sender_public + recipient_public, WRAP_INFO).derive(
        shared_ephemeral + shared_sender)


def seal_recipient_envelope_with(text: str, sender_secret: bytes, recipients, ephemeral_secret: bytes,
                                 text_key: bytes, nonce: bytes, written_at: int) -> bytes:
    """The recipient block's bytes with every random input given: the
    recipients' public keys in slot order, the one-off secret key, the text
    key, the text nonce, and the time in seconds since 1970 UTC. ValueError
    for a count outside 1..64 or a recipient whose key gives an all-zero
    result."""
    if not 1 <= len(recipients) <= MAX_RECIPIENTS:
        raise ValueError("recipient count %d" % len(recipients))
    sender_public = public_key_of(sender_secret)
    ephemeral_public = public_key_of(ephemeral_secret)
    header = (bytes([RECIPIENT_VERSION, SUITE_X25519_HKDF_SHA256_AES256GCM, len(recipients), 0])
              + struct.pack(">Q", written_at) + sender_public + ephemeral_public)
    assert len(header) == HEADER_SIZE
    sealed_text = nonce + AESGCM(text_key).encrypt(nonce, text.encode("utf-8"), header)
    slot_data = header + sha256(sealed_text)
    slots = b""
    for recipient in recipients:
        shared_ephemeral = x25519(ephemeral_secret, recipient)
        shared_sender = x25519(sender_secret, recipient)
        if shared_ephemeral is None or shared_sender is None:
            raise ValueError("a recipient key of low order")
        wrap = wrap_key(shared_ephemeral, shared_sender, ephemeral_public, sender_public, recipient)
        slots += AESGCM(wrap).encrypt(SLOT_NONCE, text_key, slot_data)
    return header + slots + sealed_text


def seal_recipient_envelope(text: str, sender_secret: bytes, recipients, written_at=None) -> bytes:
    """For `recipients` (public keys) and the writer, in random slot order,
    with a fresh one-off key, text key and nonce."""
    order = list(dict.fromkeys(list(recipients) + [public_key_of(sender_secret)]))
    secrets.SystemRandom().shuffle(order)
    return seal_recipient_envelope_with(text, sender_secret, order, new_secret_key(), os.urandom(32),
                                        os.urandom(NONCE_SIZE), int(time.time()) if written_at is None else written_at)


RecipientOpened = collections.namedtuple("RecipientOpened", "outcome text sender written_at")


def open_recipient_envelope(envelope: bytes, secret: bytes) -> RecipientOpened:
    """Checks in this order: the version and suite (as far as present), the
    header's length, the count and the reserved byte, the length of the
    slots, nonce and tag; then, before any slot is tried, both X25519
    results. The text only when a slot opened and the text's tag verified."""
    def verdict(outcome):
        return RecipientOpened(outcome, None, None, None)

    if not envelope:
        return verdict(DAMAGED)
    if envelope[0] != RECIPIENT_VERSION:
        return verdict(LATER_FORMAT)
    if len(envelope) > 1 and envelope[1] != SUITE_X25519_HKDF_SHA256_AES256GCM:
        return verdict(LATER_FORMAT)
    if len(envelope) < HEADER_SIZE:
        return verdict(DAMAGED)
    count, reserved = envelope[2], envelope[3]
    if not 1 <= count <= MAX_RECIPIENTS or reserved != 0:
        return verdict(REFUSED_SETTINGS)
    slots_end = HEADER_SIZE + count * SLOT_SIZE
    if len(envelope) < slots_end + NONCE_SIZE + TAG_SIZE:
        return verdict(DAMAGED)

    header = envelope[:HEADER_SIZE]
    sender_public = header[SENDER_OFFSET:SENDER_OFFSET + KEY_SIZE]
    ephemeral_public = header[EPHEMERAL_OFFSET:EPHEMERAL_OFFSET + KEY_SIZE]
    shared_ephemeral = x25519(secret, ephemeral_public)
    shared_sender = x25519(secret, sender_public)
    if shared_ephemeral is None or shared_sender is None:
        return verdict(REFUSED_SETTINGS)
    wrap = AESGCM(wrap_key(shared_ephemeral, shared_sender, ephemeral_public, sender_public, public_key_of(secret)))

    sealed_text = envelope[slots_end:]
    slot_data = header + sha256(sealed_text)
    text_key = None
    for at in range(HEADER_SIZE, slots_end, SLOT_SIZE):
        try:
            text_key = wrap.decrypt(SLOT_NONCE, envelope[at:at + SLOT_SIZE], slot_data)
            break
        except InvalidTag:
            continue
    if text_key is None:
        return verdict(NOT_FOR_THIS_KEY)
    nonce, ciphertext = sealed_text[:NONCE_SIZE], sealed_text[NONCE_SIZE:]
    try:
        data = AESGCM(text_key).decrypt(nonce, ciphertext, header)
    except InvalidTag:
        return verdict(NOT_FOR_THIS_KEY)
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        return verdict(DAMAGED)
    (written_at,) = struct.unpack(">Q", header[WRITTEN_AT_OFFSET:WRITTEN_AT_OFFSET + 8])
    return RecipientOpened(OPENED, text, sender_public, written_at)


def recipient_block(envelope: bytes, width: int) -> bytes:
    return frame(RECIPIENT_MODE, envelope, width)


def open_recipient_block(block: bytes, secret: bytes) -> RecipientOpened:
    try:
        envelope = unframe(block, RECIPIENT_MODE)
    except ValueError:
        return RecipientOpened(DAMAGED, None, None, None)
    return open_recipient_envelope(envelope, secret)


# ------------------------------------------------------- secret key text

def secret_key_text(secret: bytes) -> str:
    """The one line that holds a secret key, without a line break."""
    return SECRET_KEY_PREFIX + strong_ref.armour(secret).decode("ascii")


def read_secret_key_text(text: str):
    """The secret key of the line (a line break after it is allowed), or
    None when the line is not one a writer writes."""
    for line_break in ("\r\n", "\n"):
        if text.endswith(line_break):
            text = text[:-len(line_break)]
            break
    if not text.startswith(SECRET_KEY_PREFIX):
        return None
    try:
        secret = strong_ref.unarmour(text[len(SECRET_KEY_PREFIX):].encode("ascii"))
    except (UnicodeEncodeError, ValueError):
        return None
    return secret if len(secret) == KEY_SIZE else None


def sealed_secret_key_block(secret: bytes, passphrase: str, width: int, iterations=600_000, salt=None,
                            nonce=None) -> bytes:
    """The secret key text sealed as an ordinary strong block under the
    passphrase in NFC."""
    envelope = strong_ref.seal(secret_key_text(secret), unicodedata.normalize("NFC", passphrase), iterations,
                               salt, nonce)
    return strong_ref.frame(envelope, width)


def open_sealed_secret_key(block: bytes, passphrase: str):
    """The secret key, or None for a wrong passphrase or a text that is not
    a secret key text."""
    text = strong_ref.open_envelope(strong_ref.unframe(block), unicodedata.normalize("NFC", passphrase))
    return None if text is None else read_secret_key_text(text)
