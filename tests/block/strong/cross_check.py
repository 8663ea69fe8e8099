"""Strong envelopes made by us open with Python's `cryptography` package,
and envelopes it makes open with us, for texts and passwords of many
lengths and scripts. Python's side reads the layout on its own, so a
header or fill our writer gets wrong shows up here too.

usage: cross_check.py STRONG_ENVELOPE_HELPER
"""
import atexit
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

try:
    from cryptography.exceptions import InvalidTag
    from cryptography.hazmat.primitives import hashes
    from cryptography.hazmat.primitives.ciphers.aead import AESGCM
    from cryptography.hazmat.primitives.kdf.pbkdf2 import PBKDF2HMAC
except ImportError:
    sys.exit("cross_check.py needs Python's cryptography package (Debian: python3-cryptography)")

HELPER = sys.argv[1]
TEST_ITERATIONS = 100_000  # quick; the program writes 600,000 (checked once below)
WORK = tempfile.mkdtemp(prefix="quiren-strong-")
atexit.register(shutil.rmtree, WORK, ignore_errors=True)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def key_of(password, salt, iterations):
    return PBKDF2HMAC(hashes.SHA256(), 32, salt, iterations).derive(password.encode("utf-8"))


def their_seal(text, password, iterations=TEST_ITERATIONS):
    data = text.encode("utf-8")
    fill = -(52 + len(data)) % 4
    salt, nonce = os.urandom(16), os.urandom(12)
    header = bytes([1, 1, 1, fill]) + struct.pack(">I", iterations) + salt + nonce
    return header + AESGCM(key_of(password, salt, iterations)).encrypt(nonce, data, header) + bytes(fill)


def their_open(envelope, password):
    """The text, or a string starting with '!' saying what is wrong."""
    if len(envelope) < 52:
        return "!short"
    version, kdf, cipher, fill = envelope[:4]
    (iterations,) = struct.unpack(">I", envelope[4:8])
    if (version, kdf, cipher) != (1, 1, 1):
        return "!format %d %d %d" % (version, kdf, cipher)
    if len(envelope) % 4 or fill > 3 or len(envelope) < 52 + fill or any(envelope[len(envelope) - fill:]):
        return "!fill"
    header, salt, nonce = envelope[:36], envelope[8:24], envelope[24:36]
    sealed = envelope[36:len(envelope) - fill]
    try:
        data = AESGCM(key_of(password, salt, iterations)).decrypt(nonce, sealed, header)
    except InvalidTag:
        return "!tag"
    return data.decode("utf-8")


def path(name):
    return os.path.join(WORK, name)


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)


def run_helper(*args):
    done = subprocess.run([HELPER, *args], capture_output=True)
    return done.stdout.decode().strip(), done.returncode


def our_seal(text, password, iterations=TEST_ITERATIONS):
    write("text", text.encode("utf-8"))
    write("password", password.encode("utf-8"))
    status, rc = run_helper("seal", str(iterations), path("text"), path("password"), path("envelope"))
    if rc != 0:
        return None, status
    with open(path("envelope"), "rb") as f:
        return f.read(), status


def our_open(envelope, password):
    write("envelope", envelope)
    write("password", password.encode("utf-8"))
    if os.path.exists(path("opened")):
        os.remove(path("opened"))
    status, rc = run_helper("open", path("envelope"), path("password"), path("opened"))
    if rc != 0:
        return None, status
    with open(path("opened"), "rb") as f:
        return f.read().decode("utf-8"), status


def mixed_text(characters, seed, alphabet):
    rng = random.Random(seed)
    return "".join(rng.choice(alphabet) for _ in range(characters))


KANA_KANJI = "あいうえおかきくけこアイウエオ日本語会議明日資料送付確認、。"
EMOJI = "😀🔒🗝📎🎌✅"
MIXED = KANA_KANJI + EMOJI + "abc XYZ 123\r\n"

# (text, password): text lengths 0, 1, 3, 4, 5 and 20,480 characters;
# passwords of 1 to 30 characters.
CASES = [
    ("", "p"),
    ("a", "pw"),
    ("é", "ぱ"),
    ("😀", "🔒"),
    ("テスト", "pass"),
    ("a😀b", "パスワード"),
    ("日本語a", "correct horse"),
    ("😀🔒🗝📎", "鍵🗝key"),
    ("ab日本c", "x" * 30),
    ("かなカナ漢", mixed_text(30, 1, MIXED)),
    (mixed_text(20480, 2, KANA_KANJI), "長いパスワード16文字ですよ、ね"),
    (mixed_text(20480, 3, MIXED), mixed_text(17, 4, MIXED)),
]
fills = set()

for text, password in CASES:
    label = "%d characters, password of %d" % (len(text), len(password))

    envelope, status = our_seal(text, password)
    check(envelope is not None, "%s: ours did not seal (%s)" % (label, status))
    if envelope is not None:
        check(envelope[4:8] == struct.pack(">I", TEST_ITERATIONS), "%s: iteration count as asked" % label)
        fills.add(envelope[3])
        opened = their_open(envelope, password)
        check(opened == text, "%s: theirs opens ours (got %r)" % (label, opened[:40]))

    theirs = their_seal(text, password)
    opened, status = our_open(theirs, password)
    check(status == "opened" and opened == text, "%s: ours opens theirs (%s)" % (label, status))

check(fills == {0, 1, 2, 3}, "the cases cover every fill count (have %s)" % sorted(fills))

# What the program writes: 600,000 iterations, readable elsewhere.
envelope, status = our_seal("既定の設定で 🔒", "default", iterations="default")
check(envelope is not None, "default seal (%s)" % status)
if envelope is not None:
    check(struct.unpack(">I", envelope[4:8])[0] == 600_000, "the program writes 600,000 iterations")
    check(their_open(envelope, "default") == "既定の設定で 🔒", "theirs opens ours at 600,000")
    check(their_open(envelope, "Default") == "!tag", "theirs refuses ours under another password")

# Ours refuses theirs under another password, as wrong password, not damage.
opened, status = our_open(their_seal("秘密", "right"), "wrong")
check(opened is None and status == "wrong_password", "ours refuses theirs under another password (%s)" % status)

if failures:
    print("%d check(s) failed" % len(failures))
    sys.exit(1)
print("strong envelopes agree with Python's cryptography both ways")
