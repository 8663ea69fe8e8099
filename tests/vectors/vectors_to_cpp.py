#!/usr/bin/env python3
"""Turns the shared test vectors into C++ headers of data, in the shapes of
tests/support/test_vectors.h, so the C++ tests and the Windows driver
programs read the same file as every other test.

usage: vectors_to_cpp.py received-forms.json strong-envelopes.json sealed-blocks.json repair-cases.json runs.json
                         key-blocks.json recipient-blocks.json OUTPUT_DIR
writes OUTPUT_DIR/received_forms.h, strong_envelopes.h, sealed_blocks.h, repair_cases.h, runs.h, key_blocks.h
and recipient_blocks.h
"""
import json
import os
import sys

HEADER = """// Made by tests/vectors/vectors_to_cpp.py from tests/vectors/%s.
// Do not edit: change the JSON file (or the script that writes it).
#pragma once

#include "tests/support/test_vectors.h"

namespace quiren::testing::vectors {
"""
FOOTER = "\n}  // namespace quiren::testing::vectors\n"
PIECE = 1000  # code units a literal piece, well within every compiler's limit


# "?" too, so that no "??" reads as a trigraph on an older compiler.
ESCAPES = {"\\": "\\\\", '"': '\\"', "?": "\\?", "\r": "\\r", "\n": "\\n", "\t": "\\t"}


def u16_literal(text):
    """A u"" literal, escaped so that the source is ASCII: \\uXXXX and
    \\UXXXXXXXX never read on into the next character."""
    out = []
    for c in text:
        o = ord(c)
        if c in ESCAPES:
            out.append(ESCAPES[c])
        elif 0x20 <= o < 0x7F:
            out.append(c)
        elif o < 0x20 or o == 0x7F:
            out.append("\\%03o" % o)
        elif o <= 0xFFFF:
            out.append("\\u%04X" % o)
        else:
            out.append("\\U%08X" % o)
    pieces = ["".join(out[i:i + PIECE]) for i in range(0, len(out), PIECE)] or [""]
    return " ".join('u"%s"' % p for p in pieces)


def utf8_literal(text):
    out = []
    for b in text.encode("utf-8"):
        if chr(b) in ESCAPES:
            out.append(ESCAPES[chr(b)])
        elif 0x20 <= b < 0x7F:
            out.append(chr(b))
        else:
            out.append("\\%03o" % b)
    pieces = ["".join(out[i:i + PIECE]) for i in range(0, len(out), PIECE)] or [""]
    return " ".join('"%s"' % p for p in pieces)


def name_literal(text):
    return utf8_literal(text)


FORMATS = {"compatible": "BlockFormat::compatible", "strong": "BlockFormat::strong",
           "recipient": "BlockFormat::recipient"}
KINDS = {"foreign character": "DamageKind::foreign_character", "short line": "DamageKind::short_line",
         "length": "DamageKind::length"}


def received_forms(table):
    names = [b["name"] for b in table["blocks"]]
    out = [HEADER % "received-forms.json"]
    out.append("inline constexpr SourceBlock kSourceBlocks[] = {")
    for b in table["blocks"]:
        out.append("    {%s, %s, %d,\n     %s,\n     %s,\n     %s}," % (
            name_literal(b["name"]), FORMATS[b["format"]], b["width"], u16_literal(b["password"]),
            u16_literal(b["text"]), u16_literal(b["block"])))
    out.append("};\n")
    for i, form in enumerate(table["forms"]):
        indexes = ", ".join(str(names.index(s)) for s in form["sources"])
        out.append("inline constexpr std::size_t kFormSources%d[] = {%s};" % (i, indexes))
    out.append("\ninline constexpr ReceivedForm kReceivedForms[] = {")
    for i, form in enumerate(table["forms"]):
        damage = form.get("damage")
        if damage:
            character = ord(damage["character"]) if "character" in damage else 0
            damage_text = "{%s, %d, %d, 0x%X}" % (KINDS[damage["kind"]], damage["line"], damage.get("column", 0),
                                                 character)
        else:
            damage_text = "{}"
        out.append("    {%s,\n     %s,\n     kFormSources%d,\n     %s,\n     Expect::%s, %s, %s}," % (
            name_literal(form["name"]), name_literal(form["transformation"]), i, u16_literal(form["received"]),
            form["expect"], "true" if form.get("untouched") else "false", damage_text))
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def strong_envelopes(table):
    p = table["parameters"]
    out = [HEADER % "strong-envelopes.json"]
    out.append("inline constexpr std::uint32_t kKnownIterations = %d;" % p["iterations"])
    out.append("inline constexpr std::string_view kKnownSaltHex = %s;" % utf8_literal(p["salt"]))
    out.append("inline constexpr std::string_view kKnownNonceHex = %s;\n" % utf8_literal(p["nonce"]))
    out.append("inline constexpr KnownEnvelope kKnownEnvelopes[] = {")
    for e in table["envelopes"]:
        out.append("    {%s, %s, %s,\n     %s,\n     %d, %s}," % (
            name_literal(e["name"]), utf8_literal(e["text"]), utf8_literal(e["password"]), utf8_literal(e["envelope"]),
            e["width"], u16_literal(e["block"])))
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def sealed_blocks(table):
    out = [HEADER % "sealed-blocks.json"]
    out.append("inline constexpr SealedBlock kSealedBlocks[] = {")
    for b in table["blocks"]:
        out.append("    {%s, %s, %s, %s,\n     %d, %s,\n     %s}," % (
            name_literal(b["name"]), utf8_literal(b["text"]), utf8_literal(b["password"]),
            utf8_literal(b["password_nfc"]), b["width"], utf8_literal(b["envelope"]), u16_literal(b["block"])))
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def repair_cases(table):
    out = [HEADER % "repair-cases.json"]
    out.append("inline constexpr RewrittenCase kRewrittenCases[] = {")
    for c in table["rewritten"]:
        out.append("    {%s,\n     %s,\n     %s}," % (
            name_literal(c["name"]), u16_literal(c["received"]), u16_literal(c["repaired"])))
    out.append("};\n")
    out.append("inline constexpr UntouchedCase kUntouchedCases[] = {")
    for c in table["untouched"]:
        out.append("    {%s,\n     %s}," % (name_literal(c["why"]), u16_literal(c["received"])))
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def array(name, element_type, items):
    """A named array of `items` (already C++ text) and what a span of it
    is initialised with: `{}` when there are none, as C++ has no empty
    arrays."""
    if not items:
        return "", "{}"
    return "inline constexpr %s %s[] = {%s};\n" % (element_type, name, ", ".join(items)), name


def runs(table):
    out = [HEADER % "runs.json"]
    entries = []
    for i, c in enumerate(table["cases"]):
        e = c["expect"]
        answers, answers_ref = array("kRunAnswers%d" % i, "bool",
                                     ["true" if a == "continue" else "false" for a in c["answers"]])
        blocks, blocks_ref = array("kRunBlocks%d" % i, "RunBlock", [
            "{%s, %s, %s, %s, %dULL}" % (
                FORMATS[b["kind"]] if "kind" in b else "std::nullopt", name_literal(b["outcome"]),
                u16_literal(b.get("text", "")), utf8_literal(b.get("sender", "")), b.get("written_at", 0))
            for b in e["blocks"]])
        rounds, rounds_ref = array("kRunRounds%d" % i, "std::uint64_t", ["%dULL" % r for r in e["rounds_asked"]])
        out.append(answers + blocks + rounds)
        entries.append("    {%s,\n     %s,\n     %s,\n     %s, %s, %d, %s, %s, %s, %s, %s, %d, %s}," % (
            name_literal(c["name"]), u16_literal(c["received"]), u16_literal(c["password"]),
            utf8_literal(c.get("secret_key", "")), answers_ref, c.get("cancel_after", -1),
            "true" if c.get("strong_only", False) else "false", name_literal(e["end"]),
            blocks_ref, "true" if e["texts_kept"] else "false", rounds_ref, e["derivations"],
            "true" if e["password_asked"] else "false"))
    out.append("inline constexpr RunCase kRunCases[] = {")
    out.extend(entries)
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def people(name, table):
    return "inline constexpr KeyPerson %s[] = {\n%s\n};\n" % (name, "\n".join(
        "    {%s, %s, %s, %s}," % (name_literal(k["name"]), utf8_literal(k["secret"]), utf8_literal(k["public"]),
                                utf8_literal(k["digits"])) for k in table["keys"]))


def key_blocks(table):
    out = [HEADER % "key-blocks.json", people("kKeyPeople", table)]
    out.append("inline constexpr KeyBlockVector kKeyBlocks[] = {")
    for b in table["key_blocks"]:
        out.append("    {%s, %s, %s,\n     %s, %s,\n     %s, %d,\n     %s,\n     %s}," % (
            name_literal(b["name"]), name_literal(b["key"]), utf8_literal(b["public"]),
            utf8_literal(b["holder_name_given"]), utf8_literal(b["holder_name"]), utf8_literal(b["digits"]), b["width"],
            utf8_literal(b["envelope"]), u16_literal(b["block"])))
    out.append("};\n")
    out.append("inline constexpr KeyBlockCase kKeyBlockCases[] = {")
    for c in table["key_block_cases"]:
        out.append("    {%s,\n     %s,\n     %s,\n     %s, %s, %s}," % (
            name_literal(c["name"]), utf8_literal(c["envelope"]), u16_literal(c["block"]), name_literal(c["outcome"]),
            utf8_literal(c.get("public", "")), utf8_literal(c.get("holder_name", ""))))
    out.append("};\n")
    out.append("inline constexpr SecretKeyTextVector kSecretKeyTexts[] = {")
    for t in table["secret_key_texts"]:
        out.append("    {%s, %s, %s, %s}," % (name_literal(t["name"]), name_literal(t["key"]), utf8_literal(t["secret"]),
                                           utf8_literal(t["text"])))
    out.append("};\n")
    out.append("inline constexpr SealedSecretKey kSealedSecretKeys[] = {")
    for k in table["sealed_secret_keys"]:
        out.append("    {%s, %s, %s, %s,\n     %s, %s, %d, %s, %s, %d,\n     %s,\n     %s}," % (
            name_literal(k["name"]), name_literal(k["key"]), utf8_literal(k["secret"]), utf8_literal(k["text"]),
            utf8_literal(k["passphrase"]), utf8_literal(k["passphrase_nfc"]), k["iterations"], utf8_literal(k["salt"]),
            utf8_literal(k["nonce"]), k["width"], utf8_literal(k["envelope"]), u16_literal(k["block"])))
    out.append("};\n")
    out.append("inline constexpr SecretKeyTextCase kSecretKeyTextCases[] = {")
    for c in table["secret_key_text_cases"]:
        out.append("    {%s, %s, %s, %s}," % (name_literal(c["name"]), utf8_literal(c["text"]), name_literal(c["outcome"]),
                                           utf8_literal(c.get("secret", ""))))
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def reads_array(name, reads):
    return array(name, "KeyReadExpected", ["{%s, %s}" % (name_literal(r["key"]), name_literal(r["outcome"]))
                                           for r in reads])


def recipient_blocks(table):
    out = [HEADER % "recipient-blocks.json", people("kRecipientPeople", table)]
    entries = []
    for i, b in enumerate(table["blocks"]):
        order, order_ref = array("kSlotOrder%d" % i, "std::string_view", [name_literal(k) for k in b["slot_order"]])
        keys, keys_ref = array("kSlotKeys%d" % i, "std::string_view", [utf8_literal(k) for k in b["recipients"]])
        reads, reads_ref = reads_array("kBlockReads%d" % i, b["reads"])
        out.append(order + keys + reads)
        entries.append("    {%s,\n     %s,\n     %s, %s, %s, %s,\n     %s, %s, %dULL,\n     %s, %s, %d,\n     %s,\n"
                       "     %s,\n     %s}," % (
                           name_literal(b["name"]), utf8_literal(b["text"]), name_literal(b["sender"]),
                           utf8_literal(b["sender_public"]), utf8_literal(b["ephemeral_secret"]),
                           utf8_literal(b["ephemeral_public"]), utf8_literal(b["text_key"]), utf8_literal(b["nonce"]),
                           b["written_at"], order_ref, keys_ref, b["width"], utf8_literal(b["envelope"]),
                           u16_literal(b["block"]), reads_ref))
    out.append("inline constexpr RecipientBlockVector kRecipientBlocks[] = {")
    out.extend(entries)
    out.append("};\n")
    entries = []
    for i, c in enumerate(table["cases"]):
        reads, reads_ref = reads_array("kCaseReads%d" % i, c["reads"])
        out.append(reads)
        entries.append("    {%s, %s,\n     %s,\n     %s, %s,\n     %s,\n     %s}," % (
            name_literal(c["name"]), name_literal(c["source"]), name_literal(c["why"]),
            "true" if c["envelope"] is not None else "false", utf8_literal(c["envelope"] or ""),
            u16_literal(c["block"]), reads_ref))
    out.append("inline constexpr RecipientCase kRecipientCases[] = {")
    out.extend(entries)
    out.append("};")
    out.append(FOOTER)
    return "\n".join(out)


def write(path, text):
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


def main():
    forms_path, envelopes_path, sealed_path, repairs_path, runs_path, keys_path, recipients_path, out_dir = sys.argv[1:9]
    os.makedirs(out_dir, exist_ok=True)
    with open(forms_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "received_forms.h"), received_forms(json.load(f)))
    with open(envelopes_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "strong_envelopes.h"), strong_envelopes(json.load(f)))
    with open(sealed_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "sealed_blocks.h"), sealed_blocks(json.load(f)))
    with open(repairs_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "repair_cases.h"), repair_cases(json.load(f)))
    with open(runs_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "runs.h"), runs(json.load(f)))
    with open(keys_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "key_blocks.h"), key_blocks(json.load(f)))
    with open(recipients_path, encoding="utf-8") as f:
        write(os.path.join(out_dir, "recipient_blocks.h"), recipient_blocks(json.load(f)))


if __name__ == "__main__":
    main()
