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

check(load("runs.json") == make_runs.dumps(make_runs.build()),
      "runs.json is what make_runs.py writes (run it and commit the result)")

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
