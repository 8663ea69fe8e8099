"""Recipient blocks and key blocks made by us open with the independent
Python reference (tests/reference/keys_ref.py, on Python's `cryptography`
package), and those it makes open with us: texts in many scripts and
lengths, for two recipients and the writer; a block for someone else; a
block a recipient rewrote under the same slots; each header field out of
range; a character changed at several places. Never a text where none is
due.

usage: cross_check.py KEYS_HELPER
"""
import atexit
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unicodedata

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "reference"))
try:
    from cryptography.hazmat.primitives.ciphers.aead import AESGCM
    import keys_ref
except ImportError:
    sys.exit("cross_check.py needs Python's cryptography package (Debian: python3-cryptography)")

HELPER = sys.argv[1]
WORK = tempfile.mkdtemp(prefix="quiren-keys-")
atexit.register(shutil.rmtree, WORK, ignore_errors=True)
BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
rng = random.Random(27)
failures = []
checks = 0


def check(condition, what):
    global checks
    checks += 1
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def path(name):
    return os.path.join(WORK, name)


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)
    return path(name)


def read(name):
    with open(path(name), "rb") as f:
        return f.read()


def helper(*args):
    done = subprocess.run([HELPER, *args], capture_output=True)
    return done.stdout.decode().split(), done.returncode


def our_seal(text, sender, recipients):
    write("text", text.encode("utf-8"))
    status, rc = helper("seal", sender.hex(), path("text"), path("block"), *(r.hex() for r in recipients))
    return (read("block") if rc == 0 else None), status


def our_open(block, secret):
    """(outcome, text, sender, written_at); text None unless opened."""
    write("received", block)
    if os.path.exists(path("opened")):
        os.remove(path("opened"))
    out, rc = helper("open", secret.hex(), path("received"), path("opened"))
    if rc != 0 or out[0] != "opened":
        check(not os.path.exists(path("opened")), "no text written for %s" % out)
        return out[0] if out else "?", None, None, None
    return "opened", read("opened").decode("utf-8"), bytes.fromhex(out[1]), int(out[2])


def their_open(block, secret):
    return keys_ref.open_recipient_block(block, secret)


people = {name: keys_ref.new_secret_key() for name in ("alice", "bob", "carol", "dave")}
public = {name: keys_ref.public_key_of(secret) for name, secret in people.items()}

LONG = "".join(rng.choice("あいうえお日本語会議資料😀🔒 abcXYZ\r\n") for _ in range(20000))
TEXTS = [
    ("Japanese with CR LF", "明日の打ち合わせは午前10時からです。\r\n場所は3階の第2会議室。\r\n"),
    ("emoji", "了解です😀🍣 👍🏽👨‍👩‍👧"),
    ("the empty text", ""),
    ("20,000 characters", LONG),
    ("ASCII", "Meeting moved to room 4 at 15:00."),
]

# Ours, opened by theirs: every recipient and the writer; dave is not one.
for name, text in TEXTS:
    block, status = our_seal(text, people["alice"], [public["bob"], public["carol"]])
    check(block is not None, "%s: ours sealed (%s)" % (name, status))
    if block is None:
        continue
    for reader in ("alice", "bob", "carol"):
        opened = their_open(block, people[reader])
        check(opened.outcome == keys_ref.OPENED and opened.text == text and opened.sender == public["alice"],
              "%s: theirs opens ours for %s (%s)" % (name, reader, opened.outcome))
    check(their_open(block, people["dave"]).outcome == keys_ref.NOT_FOR_THIS_KEY,
          "%s: theirs finds ours not for dave" % name)
    envelope = keys_ref.unframe(block, keys_ref.RECIPIENT_MODE)
    check(envelope[2] == 3, "%s: three slots, the writer's among them" % name)

# Theirs, opened by ours.
for name, text in TEXTS:
    sealed = keys_ref.seal_recipient_envelope(text, people["bob"], [public["alice"], public["carol"]],
                                              written_at=1796981400)
    block = keys_ref.recipient_block(sealed, rng.randrange(10, 101))
    for reader in ("alice", "bob", "carol"):
        outcome, opened, sender, written_at = our_open(block, people[reader])
        check((outcome, opened, sender, written_at) == ("opened", text, public["bob"], 1796981400),
              "%s: ours opens theirs for %s (%s)" % (name, reader, outcome))
    check(our_open(block, people["dave"])[0] == "not_for_this_key", "%s: ours finds theirs not for dave" % name)

# A recipient (carol) who learned the text key writes another text under
# the same header and slots: no one opens it.
text = "The meeting is at 10:00."
envelope = keys_ref.seal_recipient_envelope(text, people["alice"], [public["bob"], public["carol"]])
count = envelope[2]
slots_end = keys_ref.HEADER_SIZE + count * keys_ref.SLOT_SIZE
header = envelope[:keys_ref.HEADER_SIZE]
shared_e = keys_ref.x25519(people["carol"], header[44:76])
shared_s = keys_ref.x25519(people["carol"], header[12:44])
wrap = AESGCM(keys_ref.wrap_key(shared_e, shared_s, header[44:76], header[12:44], public["carol"]))
slot_data = header + keys_ref.sha256(envelope[slots_end:])
text_key = None
for at in range(keys_ref.HEADER_SIZE, slots_end, keys_ref.SLOT_SIZE):
    try:
        text_key = wrap.decrypt(bytes(12), envelope[at:at + keys_ref.SLOT_SIZE], slot_data)
    except Exception:  # noqa: BLE001 - another recipient's slot
        continue
check(text_key is not None, "carol learns the text key")
for nonce in (envelope[slots_end:slots_end + 12], os.urandom(12)):
    forged = envelope[:slots_end] + nonce + AESGCM(text_key).encrypt(nonce, "会議は中止です。".encode(), header)
    for reader in ("alice", "bob", "carol"):
        check(our_open(keys_ref.recipient_block(forged, 60), people[reader])[0] == "not_for_this_key",
              "a text rewritten under the same slots does not open for %s" % reader)

# Each header field out of range, on a block of theirs.
low_order = bytes(32)


def with_bytes(data, offset, new):
    return data[:offset] + new + data[offset + len(new):]


FIELDS = [
    ("count 0", with_bytes(envelope, 2, b"\x00"), "refused_settings"),
    ("count 65", with_bytes(envelope, 2, bytes([65])), "refused_settings"),
    ("reserved byte 1", with_bytes(envelope, 3, b"\x01"), "refused_settings"),
    ("version 2", with_bytes(envelope, 0, b"\x02"), "later_format"),
    ("suite 2", with_bytes(envelope, 1, b"\x02"), "later_format"),
    ("the one-off key of low order", with_bytes(envelope, 44, low_order), "refused_settings"),
    ("the sender's key of low order", with_bytes(envelope, 12, low_order), "refused_settings"),
    ("a count past the end", with_bytes(envelope, 2, bytes([64])), "damaged"),
    ("cut short of the tag", envelope[:slots_end + 27], "damaged"),
    ("the time written changed", with_bytes(envelope, 9, b"\x77"), "not_for_this_key"),
]
for name, changed, expected in FIELDS:
    outcome = our_open(keys_ref.recipient_block(changed, 60), people["bob"])[0]
    check(outcome == expected, "%s: ours says %s, not %s" % (name, expected, outcome))
    check(their_open(keys_ref.recipient_block(changed, 60), people["bob"]).outcome == expected,
          "%s: theirs says %s too" % (name, expected))

# A character changed at several places of a block of ours: never a text,
# unless it is in another recipient's slot; theirs agrees.
block, _ = our_seal("短い秘密の文章です。", people["alice"], [public["bob"]])
lines = block.split(b"\r\n")
body = "".join(line.decode() for line in lines[1:-1])
for at in sorted(set([1, 2, 3, 10, 40, 60, 100, 101, 150, 200, len(body) - 30, len(body) - 2, len(body) - 1]
                     + rng.sample(range(1, len(body)), 12))):
    c = body[at]
    changed_body = body[:at] + BASE64[(BASE64.index(c) + 1) % 64] + body[at + 1:]
    framed = ("(quiren_start)\r\n" + "\r\n".join(changed_body[i:i + 60] for i in range(0, len(changed_body), 60))
              + "\r\n(quiren_end)").encode()
    ours = our_open(framed, people["bob"])
    theirs = their_open(framed, people["bob"])
    check(ours[1] is None or ours[1] == "短い秘密の文章です。", "character %d: no other text" % at)
    check(ours[0] == theirs.outcome or (ours[0] == "damaged" and theirs.outcome == keys_ref.DAMAGED),
          "character %d: ours %s, theirs %s" % (at, ours[0], theirs.outcome))

# Key blocks both ways, with names in many scripts, and the digits.
NAMES = ["", "Alice Example", "山田 花子（経理部）", "か\u3099き\u3099", "😀" * 16, "A" * 64]
for name in NAMES:
    key = keys_ref.public_key_of(keys_ref.new_secret_key())
    write("name", name.encode("utf-8"))
    out, rc = helper("key-block", key.hex(), path("name"), path("key"))
    check(rc == 0, "ours writes a key block named %r" % name)
    if rc == 0:
        read_back = keys_ref.read_key_block(read("key"))
        check(read_back == (keys_ref.OPENED, key, unicodedata.normalize("NFC", name)),
              "theirs reads ours named %r" % name)
    write("theirs", keys_ref.key_block(key, name, rng.randrange(10, 101)))
    out, rc = helper("read-key", path("theirs"))
    check(rc == 0 and out[1] == key.hex()
          and bytes.fromhex(out[2] if len(out) > 2 else "").decode() == keys_ref.read_key_block(read("theirs")).name,
          "ours reads theirs named %r (%s)" % (name, out))
    out, rc = helper("digits", key.hex())
    check(" ".join(out) == keys_ref.safety_digits(key), "the digits of a key agree")
for refused in ["A" * 65, "Alice\u202eX", "tab\there"]:
    write("name", refused.encode("utf-8"))
    check(helper("key-block", public["alice"].hex(), path("name"), path("key"))[1] == 1,
          "ours refuses to name a key %r" % refused)

if failures:
    print("%d check(s) failed" % len(failures))
    sys.exit(1)
print("recipient blocks and key blocks agree with the Python reference both ways (%d checks)" % checks)
