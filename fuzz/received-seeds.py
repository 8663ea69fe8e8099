#!/usr/bin/env python3
"""Writes a seed of fuzz_received_text for every form of the shared table
of received forms (tests/vectors/received-forms.json) and every text of
the shared repair cases (tests/vectors/repair-cases.json): the byte 0 (a
received text), then the text in UTF-8.

usage: fuzz/received-seeds.py FOLDER
"""
import json
import os
import re
import sys

here = os.path.dirname(os.path.abspath(__file__))
vectors = os.path.join(here, "..", "tests", "vectors")
with open(os.path.join(vectors, "received-forms.json"), encoding="utf-8") as f:
    forms = json.load(f)["forms"]
with open(os.path.join(vectors, "repair-cases.json"), encoding="utf-8") as f:
    repairs = json.load(f)
folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
for number, form in enumerate(forms):
    name = "form-%03d-%s" % (number, re.sub(r"[^a-z0-9]+", "-", form["name"].lower()).strip("-"))
    with open(os.path.join(folder, name), "wb") as f:
        f.write(b"\0" + form["received"].encode("utf-8", "surrogatepass"))
cases = [c["received"] for c in repairs["rewritten"]] + [c["received"] for c in repairs["untouched"]]
for number, text in enumerate(cases):
    with open(os.path.join(folder, "repair-%03d" % number), "wb") as f:
        f.write(b"\0" + text.encode("utf-8", "surrogatepass"))
print("received-seeds.py: %d seeds from the table of received forms, %d from the repair cases"
      % (len(forms), len(cases)))
