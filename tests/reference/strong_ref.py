"""An independent implementation of the strong block, on Python's
`cryptography` package: the envelope (version, key derivation, cipher,
fill, iteration count, salt, nonce, AES-256-GCM ciphertext and tag, zero
fill), its armour in standard base64 without padding (Python's own base64
module) and its framing under the mode letter "C".
"""
import base64
import binascii
import os
import struct

from cryptography.exceptions import InvalidTag
from cryptography.hazmat.primitives import hashes
from cryptography.hazmat.primitives.ciphers.aead import AESGCM
from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC

import block_ref

START = b"(quiren_start)"
END = b"(quiren_end)"
CRLF = b"\r\n"


def _key(password: str, salt: bytes, iterations: int) -> bytes:
    return PBKDF2HMAC(hashes.SHA256(), 32, salt, iterations).derive(password.encode("utf-8"))


def seal(text: str, password: str, iterations: int = 600_000, salt=None, nonce=None) -> bytes:
    data = text.encode("utf-8")
    fill = -(52 + len(data)) % 4
    salt = os.urandom(16) if salt is None else salt
    nonce = os.urandom(12) if nonce is None else nonce
    header = bytes([1, 1, 1, fill]) + struct.pack(">I", iterations) + salt + nonce
    return header + AESGCM(_key(password, salt, iterations)).encrypt(nonce, data, header) + bytes(fill)


def open_envelope(envelope: bytes, password: str):
    """The text, or None when the tag does not verify."""
    (iterations,) = struct.unpack(">I", envelope[4:8])
    header, salt, nonce = envelope[:36], envelope[8:24], envelope[24:36]
    body = envelope[36:len(envelope) - envelope[3]]
    try:
        return AESGCM(_key(password, salt, iterations)).decrypt(nonce, body, header).decode("utf-8")
    except InvalidTag:
        return None


def armour(data: bytes) -> bytes:
    return base64.b64encode(data).rstrip(b"=")


def unarmour(text: bytes) -> bytes:
    """The bytes of `text`; ValueError unless it is base64 as the writer
    writes it: the alphabet alone, no padding, no stray bits at the end."""
    if len(text) % 4 == 1:
        raise ValueError("a base64 length of 4n + 1")
    try:
        data = base64.b64decode(text + b"=" * (-len(text) % 4), validate=True)
    except binascii.Error as e:
        raise ValueError(str(e)) from e
    if armour(data) != text:
        raise ValueError("bits after the last byte")
    return data


def frame(envelope: bytes, width: int) -> bytes:
    return block_ref.frame(b"C", armour(envelope), width)


def unframe(block: bytes) -> bytes:
    """The envelope of the first strong block in `block`."""
    start = block.index(START)
    body = block[start:block.index(END, start)].split(CRLF)[1:-1]
    joined = b"".join(body)
    assert joined[:1] == b"C", joined[:1]
    return unarmour(joined[1:])
