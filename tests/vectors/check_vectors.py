#!/usr/bin/env python3
"""Checks the shared test vectors:
  - received-forms.json is what make_received_forms.py writes now;
  - every block in it and in strong-envelopes.json reads with the
    independent Python readers: compatible blocks with the reference
    cipher, strong ones with Python's base64 module and its cryptography
    package;
  - the strong known answers seal to their bytes, and armour to their
    blocks;
  - repair-cases.json, written by hand, shows every hidden character as a
    \\u escape, as the scripts write theirs;
  - sealed-blocks.json is what make_sealed_blocks.py writes now, and each
    of its blocks opens with the Python reference under the password's
    NFC form;
  - every form names blocks that exist and says what it must read as;
  - key-blocks.json and recipient-blocks.json are what make_key_vectors.py
    writes now; the reference in keys_ref.py writes every one of their
    blocks to the same bytes from the same inputs, and reads every block
    and every case with the outcome the file gives.
  - runs.json is what make_runs.py writes now.

usage: check_vectors.py
"""
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "reference"))
sys.path.insert(0, HERE)
import block_ref  # noqa: E402
import keys_ref  # noqa: E402
import make_key_vectors  # noqa: E402
import make_received_forms  # noqa: E402
import make_runs  # noqa: E402
import make_sealed_blocks  # noqa: E402
import vector_json  # noqa: E402
import quiren_ref  # noqa: E402
import strong_ref  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def load(name):
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        return f.read()


def body_only_base64(block):
    body = "".join(block.split("\r\n")[1:-1])
    return body[0] == "C" and all(c in make_received_forms.BASE64 for c in body[1:])


forms_text = load("received-forms.json")
check(forms_text == make_received_forms.dumps(make_received_forms.build()),
      "received-forms.json is what make_received_forms.py writes (run it and commit the result)")
table = json.loads(forms_text)
names = [b["name"] for b in table["blocks"]]

for b in table["blocks"]:
    label = "block %r" % b["name"]
    raw = b["block"].encode("ascii")
    if b["format"] == "strong":
        check(body_only_base64(b["block"]), label + ": only base64 after the mode letter")
        envelope = strong_ref.unframe(raw)
        check(strong_ref.open_envelope(envelope, b["password"]) == b["text"], label + ": opens to its text")
        check(strong_ref.frame(envelope, b["width"]) == raw, label + ": written as the writer writes it")
    else:
        items = block_ref.read_blocks(raw)
        check(len(items) == 1 and isinstance(items[0], tuple), label + ": the reference reader reads it")
        check_mode, check_field, text_mode, text_field = items[0]
        password = b["password"].encode("ascii")
        decrypted = quiren_ref.decrypt(text_field, password, text_mode)
        check(block_ref.fill(b["text"].encode("ascii")) == decrypted if text_mode == b"A"
              else decrypted == b["text"].encode("ascii"), label + ": its text field decrypts to its text")
        check(quiren_ref.decrypt(check_field, password, check_mode)[:len(password)] == password,
              label + ": its check field decrypts to its password")

for form in table["forms"]:
    label = "form %r" % form["name"]
    check(form["sources"] and all(s in names for s in form["sources"]), label + ": its blocks exist")
    check(len({next(b["password"] for b in table["blocks"] if b["name"] == s) for s in form["sources"]}) == 1,
          label + ": one password for all its blocks")
    if form["expect"] == "source":
        check("damage" not in form, label + ": no damage when it reads")
        if form.get("untouched"):
            check(form["received"] == next(b["block"] for b in table["blocks"] if b["name"] == form["sources"][0]),
                  label + ": untouched means as written")
    else:
        check(form["expect"] == "damaged" and form["damage"]["kind"] in ("foreign character", "short line", "length"),
              label + ": a damaged form says where")
names_seen = [f["name"] for f in table["forms"]]
check(len(names_seen) == len(set(names_seen)), "form names are unique")

known = json.loads(load("strong-envelopes.json"))
p = known["parameters"]
for e in known["envelopes"]:
    label = "known answer %r" % e["name"]
    envelope = bytes.fromhex(e["envelope"])
    sealed = strong_ref.seal(e["text"], e["password"], p["iterations"], bytes.fromhex(p["salt"]),
                             bytes.fromhex(p["nonce"]))
    check(sealed == envelope, label + ": the bytes")
    check(strong_ref.frame(envelope, e["width"]).decode("ascii") == e["block"], label + ": the block")
    check(body_only_base64(e["block"]), label + ": only base64 after the mode letter")
    check(strong_ref.unframe(e["block"].encode("ascii")) == envelope, label + ": the block reads back")
    check(strong_ref.open_envelope(envelope, e["password"]) == e["text"], label + ": opens")

sealed_text = load("sealed-blocks.json")
check(sealed_text == make_sealed_blocks.dumps(make_sealed_blocks.build()),
      "sealed-blocks.json is what make_sealed_blocks.py writes (run it and commit the result)")
for b in json.loads(sealed_text)["blocks"]:
    label = "sealed block %r" % b["name"]
    envelope = bytes.fromhex(b["envelope"])
    check(body_only_base64(b["block"]), label + ": only base64 after the mode letter")
    check(strong_ref.unframe(b["block"].encode("ascii")) == envelope, label + ": the block reads back")
    check(strong_ref.frame(envelope, b["width"]).decode("ascii") == b["block"], label + ": framed as the writer frames")
    check(strong_ref.open_envelope(envelope, b["password_nfc"]) == b["text"], label + ": opens")

repairs_text = load("repair-cases.json")
check(repairs_text == vector_json.dumps(json.loads(repairs_text)),
      "repair-cases.json is written as vector_json.py writes (hidden characters as escapes)")


def check_key_blocks(table):
    secrets = {k["name"]: bytes.fromhex(k["secret"]) for k in table["keys"]}
    for k in table["keys"]:
        public = keys_ref.public_key_of(secrets[k["name"]])
        check(public.hex() == k["public"], "key %r: its public key" % k["name"])
        check(keys_ref.safety_digits(public) == k["digits"], "key %r: its safety digits" % k["name"])
    for b in table["key_blocks"]:
        label = "key block %r" % b["name"]
        public = bytes.fromhex(b["public"])
        raw = b["block"].encode("ascii")
        check(keys_ref.key_block(public, b["holder_name_given"], b["width"]) == raw, label + ": written alike")
        check(keys_ref.unframe(raw, keys_ref.KEY_MODE).hex() == b["envelope"], label + ": its envelope")
        check(keys_ref.read_key_block(raw) == (keys_ref.OPENED, public, b["holder_name"]), label + ": reads")
        check(keys_ref.safety_digits(public) == b["digits"], label + ": its digits")
    for c in table["key_block_cases"]:
        label = "key block case %r" % c["name"]
        read = keys_ref.read_key_block(c["block"].encode("ascii"))
        check(read.outcome == c["outcome"], label + ": %s, not %s" % (c["outcome"], read.outcome))
        check(keys_ref.read_key_envelope(bytes.fromhex(c["envelope"])) == read, label + ": the envelope alike")
        if c["outcome"] == keys_ref.OPENED:
            check((read.public_key.hex(), read.name) == (c["public"], c["holder_name"]), label + ": what it holds")
    for t in table["secret_key_texts"]:
        label = "secret key text %r" % t["name"]
        secret = bytes.fromhex(t["secret"])
        check(keys_ref.secret_key_text(secret) == t["text"], label + ": written alike")
        check(keys_ref.read_secret_key_text(t["text"]) == secret, label + ": reads")
    for s in table["sealed_secret_keys"]:
        label = "sealed secret key %r" % s["name"]
        secret = bytes.fromhex(s["secret"])
        block = keys_ref.sealed_secret_key_block(secret, s["passphrase"], s["width"], s["iterations"],
                                                 bytes.fromhex(s["salt"]), bytes.fromhex(s["nonce"]))
        check(block.decode("ascii") == s["block"], label + ": sealed alike")
        check(strong_ref.unframe(block).hex() == s["envelope"], label + ": its envelope")
        check(strong_ref.open_envelope(bytes.fromhex(s["envelope"]), s["passphrase_nfc"]) == s["text"],
              label + ": opens to its text")
        check(keys_ref.open_sealed_secret_key(block, s["passphrase"]) == secret, label + ": gives the key")
    for c in table["secret_key_text_cases"]:
        label = "secret key text case %r" % c["name"]
        secret = keys_ref.read_secret_key_text(c["text"])
        if c["outcome"] == keys_ref.OPENED:
            check(secret is not None and secret.hex() == c["secret"], label + ": reads")
        else:
            check(secret is None, label + ": is not read")


def check_recipient_blocks(table):
    secrets = {k["name"]: bytes.fromhex(k["secret"]) for k in table["keys"]}
    publics = {k["name"]: bytes.fromhex(k["public"]) for k in table["keys"]}
    blocks = {b["name"]: b for b in table["blocks"]}

    def check_reads(label, block, envelope, reads, source):
        for r in reads:
            opened = keys_ref.open_recipient_block(block.encode("ascii"), secrets[r["key"]])
            check(opened.outcome == r["outcome"], label + ": %s for %s, not %s" % (r["outcome"], r["key"],
                                                                                  opened.outcome))
            if envelope is not None:
                check(keys_ref.open_recipient_envelope(bytes.fromhex(envelope), secrets[r["key"]]) == opened,
                      label + ": the envelope alike for " + r["key"])
            if r["outcome"] == keys_ref.OPENED:
                check((opened.text, opened.sender.hex(), opened.written_at) ==
                      (source["text"], source["sender_public"], source["written_at"]),
                      label + ": the text, sender and time for " + r["key"])

    for b in table["blocks"]:
        label = "recipient block %r" % b["name"]
        envelope = keys_ref.seal_recipient_envelope_with(
            b["text"], secrets[b["sender"]], [bytes.fromhex(r) for r in b["recipients"]],
            bytes.fromhex(b["ephemeral_secret"]), bytes.fromhex(b["text_key"]), bytes.fromhex(b["nonce"]),
            b["written_at"])
        check(envelope.hex() == b["envelope"], label + ": sealed alike")
        check(keys_ref.recipient_block(envelope, b["width"]).decode("ascii") == b["block"], label + ": framed alike")
        check(keys_ref.public_key_of(bytes.fromhex(b["ephemeral_secret"])).hex() == b["ephemeral_public"],
              label + ": its one-off public key")
        check([publics[k].hex() for k in b["slot_order"]] == b["recipients"], label + ": slot order and keys agree")
        check(publics[b["sender"]].hex() == b["sender_public"], label + ": the sender's key")
        check(b["sender"] in b["slot_order"], label + ": the writer is among the recipients")
        check_reads(label, b["block"], b["envelope"], b["reads"], b)
    for c in table["cases"]:
        check_reads("recipient case %r" % c["name"], c["block"], c["envelope"], c["reads"], blocks[c["source"]])

    # The reference's own sealing: random slot order, the writer added.
    alice, bob = secrets["alice"], secrets["bob"]
    sealed = keys_ref.seal_recipient_envelope("round trip", alice, [publics["bob"]])
    for secret in (alice, bob):
        check(keys_ref.open_recipient_envelope(sealed, secret).text == "round trip",
              "the reference's sealing opens for the recipient and the writer")


for file_name, build, check_file in (("key-blocks.json", make_key_vectors.build_key_blocks, check_key_blocks),
                                     ("recipient-blocks.json", make_key_vectors.build_recipient_blocks,
                                      check_recipient_blocks)):
    text = load(file_name)
    check(text == make_key_vectors.dumps(build()),
          file_name + " is what make_key_vectors.py writes (run it and commit the result)")
    check_file(json.loads(text))

check(load("runs.json") == make_runs.dumps(make_runs.build()),
      "runs.json is what make_runs.py writes (run it and commit the result)")

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
