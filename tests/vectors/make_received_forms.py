#!/usr/bin/env python3
"""Writes received-forms.json: blocks as they were written, and the forms
they come back in from mail, chat and office programs, each with what it
must read as. README.md describes the file.

usage: make_received_forms.py [OUTPUT]   (default: received-forms.json beside
this script; "-" writes to standard output)

The blocks come from the independent Python references (tests/reference):
compatible blocks from its cipher, strong ones sealed with fixed salts and
nonces, so the file comes out the same every time. The transformations are
written out here one by one; the damage a damaged form must be reported
with is worked out from where the transformation put it.
"""
import os
import re
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "reference"))
import block_ref  # noqa: E402
import strong_ref  # noqa: E402
import vector_json  # noqa: E402

CRLF = "\r\n"
PASSWORD = "pw"
NARROW_PASSWORD = "quote"
BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
STRONG_ITERATIONS = 100_000  # the fewest readers take: quick in every test


# ------------------------------------------------------------------ blocks

def compatible_block(text, width=60, password=PASSWORD):
    cwd = os.getcwd()
    with tempfile.TemporaryDirectory() as work:
        os.chdir(work)  # no shared code table: self-contained blocks only
        try:
            return block_ref.encrypt_block(text.encode("ascii"), password.encode("ascii"), width).decode("ascii")
        finally:
            os.chdir(cwd)


def strong_block(text, salt_start, width=60):
    salt = bytes(range(salt_start, salt_start + 16))
    nonce = bytes(range(salt_start + 16, salt_start + 28))
    envelope = strong_ref.seal(text, PASSWORD, STRONG_ITERATIONS, salt, nonce)
    return strong_ref.frame(envelope, width).decode("ascii")


def body_lines(block):
    return block.split(CRLF)[1:-1]


EMOJI_SHORTCUTS = [(":)", "\U0001F642"), (";)", "\U0001F609"), (":D", "\U0001F600"), (":(", "\U0001F641"),
                   (":P", "\U0001F61B"), (":p", "\U0001F61B"), (":O", "\U0001F62E"), ("(y)", "\U0001F44D")]
MARKDOWN = re.compile(r"(\*|_|~~)(?=\S)(.+?)(?<=\S)\1")


def compatible_fields(block):
    payload = "".join(body_lines(block))[1:]
    check, _, rest = payload.partition(">")
    return check, rest[1:]


def suits_chat_forms(block):
    """A compatible block that every compatible form can be made from: four
    body lines or more, quotes of both kinds in its body, an emoji shortcut,
    and a markdown emphasis whose removal leaves a field that is not whole
    armour groups."""
    lines = body_lines(block)
    body = "".join(lines)
    if len(lines) < 4 or "'" not in body or '"' not in body or lines[1][16] == ">":
        return False
    if not any(shortcut in line for line in lines for shortcut, _ in EMOJI_SHORTCUTS):
        return False
    emphasised = markdown_emphasis(block)
    if emphasised == block:
        return False
    check, text = compatible_fields(emphasised)
    return len(check) % 5 != 0 or len(text) % 5 != 0


def narrow_block():
    """A compatible block at width 11 whose second line begins with the
    separator ">" (a check field of 10 characters, from a password of 5 to
    8 bytes) and a later line with the armour character "|": the
    characters a quote is made of."""
    for n in range(1000):
        text = "(%d) Lines that begin like a quote" % n
        block = compatible_block(text, 11, NARROW_PASSWORD)
        lines = body_lines(block)
        if lines[1].startswith(">") and any(line.startswith("|") for line in lines[2:]):
            return text, block
    raise SystemExit("no narrow block found")


def chat_block():
    for n in range(1000):
        text = ("Ref. %d: meet at noon by the north gate.\r\nBring the map, the keys and the list of names; "
                "the car waits behind the old station, ask for Mr. Okada at the desk." % n)
        block = compatible_block(text)
        if suits_chat_forms(block):
            return text, block
    raise SystemExit("no compatible block with every chat hazard found")


# ----------------------------------------------------------- transformations

def joined(lines, before, between):
    return between.join(before + line for line in lines)


def quoted_lines(lines, quote, eol):
    return (quote + "On Monday you wrote:" + eol + joined(lines, quote, eol) + eol + quote + eol +
            "Thanks, see above.")


def rewrapped(lines, width):
    body = "".join(lines[1:-1])
    return [lines[0]] + [body[i:i + width] for i in range(0, len(body), width)] + [lines[-1]]


def blank_inside(lines, blank):
    out = list(lines)
    for i in range(1, len(out) - 1):
        out[i] = out[i][:len(out[i]) // 2] + blank + out[i][len(out[i]) // 2:]
    return joined(out, "", CRLF)


def mixed_quotes(lines):
    out = "> She wrote:\r\n"
    for i, line in enumerate(lines):
        out += ("> > " if i % 2 else ">> ") + line + CRLF
    return out + "> Did you get it?\r\nYes."


def every_20(text, inserted):
    """`inserted` after every 20th character, line breaks not counted, as
    editors and chat programs let long words wrap."""
    out, count = [], 0
    for c in text:
        out.append(c)
        if c not in "\r\n":
            count += 1
            if count % 20 == 0:
                out.append(inserted)
    return "".join(out)


def full_width(text):
    """Printable ASCII as its full-width form, the space as U+3000."""
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else "\u3000" if c == " " else c for c in text)


def body_full_width(lines):
    return joined([lines[0]] + [full_width(line) for line in lines[1:-1]] + [lines[-1]], "", CRLF)


def smart_quotes(text):
    """Straight quotes as "smart punctuation" makes them: opening after a
    line break, a blank or an opening bracket, closing elsewhere."""
    out = []
    for i, c in enumerate(text):
        opening = i == 0 or text[i - 1] in " \t\r\n([{"
        if c == "'":
            c = "\u2018" if opening else "\u2019"
        elif c == '"':
            c = "\u201C" if opening else "\u201D"
        out.append(c)
    return "".join(out)


def emoji_shortcuts(text):
    """What chat programs make of emoji shortcuts, leftmost first."""
    pattern = re.compile("|".join(re.escape(s) for s, _ in EMOJI_SHORTCUTS))
    return pattern.sub(lambda m: dict(EMOJI_SHORTCUTS)[m.group(0)], text)


def markdown_emphasis(text):
    """Emphasis markers a markdown renderer takes away: a pair of "*", "_"
    or "~~" around text on one line."""
    return CRLF.join(MARKDOWN.sub(r"\2", line) for line in text.split(CRLF))


# --------------------------------------------------------------- damage

def position(text, offset):
    """(line, column) of `offset` in `text`, both from 1: lines end at CR LF,
    LF or CR; columns count code points."""
    line, column, i = 1, 1, 0
    while i < offset:
        if text[i] == "\r" and i + 1 < len(text) and text[i + 1] == "\n":
            i += 1
        if text[i] in "\r\n":
            line, column = line + 1, 1
        else:
            column += 1
        i += 1
    return line, column


def foreign(text, offset):
    line, column = position(text, offset)
    return {"kind": "foreign character", "line": line, "column": column, "character": text[offset]}


def first_difference(a, b):
    return next(i for i in range(min(len(a), len(b))) if a[i] != b[i])


def short_line(block, damaged):
    """Where the reader's length check fails: the first body line shorter
    than the longest of the others (the last line aside), else the last."""
    lines = damaged.split(CRLF)
    body = lines[1:-1]
    widest = max(len(line) for line in body[:-1]) if len(body) > 1 else 0
    for i, line in enumerate(body[:-1]):
        if len(line) < widest:
            return {"kind": "short line", "line": i + 2}
    return {"kind": "length", "line": len(body) + 1}


# --------------------------------------------------------------- the table

def mail_forms(block):
    """The forms every block comes back in from mail and chat, as sent
    first."""
    lines = block.split(CRLF)
    q = lambda quote, eol: quoted_lines(lines, quote, eol)  # noqa: E731
    zwsp = every_20(block, "\u200B")
    return [
        ("as sent", block),
        ("LF only", joined(lines, "", "\n")),
        ("CR only", joined(lines, "", "\r")),
        ("quoted '> ', CR LF", q("> ", CRLF)),
        ("quoted '> ', LF", q("> ", "\n")),
        ("quoted '>> ', CR LF", q(">> ", CRLF)),
        ("quoted '>> ', LF", q(">> ", "\n")),
        ("quoted '| ', CR LF", q("| ", CRLF)),
        ("quoted '>' without space, LF", q(">", "\n")),
        ("mixed depth and spacing", mixed_quotes(lines)),
        ("indented 4 spaces", "Here it is:\r\n" + joined(lines, "    ", CRLF)),
        ("indented with a tab", "Here it is:\r\n" + joined(lines, "\t", CRLF)),
        ("U+00A0 after lines", joined(lines, "", "\u00A0\r\n") + "\u00A0"),
        ("U+3000 after lines", joined(lines, "", "\u3000\r\n") + "\u3000"),
        ("U+00A0 inside lines", blank_inside(lines, "\u00A0")),
        ("U+3000 inside lines", blank_inside(lines, "\u3000")),
        ("U+3000 indent, U+00A0 after lines", joined(lines, "\u3000", "\u00A0\r\n")),
        ("re-wrapped at 30", joined(rewrapped(lines, 30), "", CRLF)),
        ("re-wrapped at 76", joined(rewrapped(lines, 76), "", CRLF)),
        ("quoted '> ', LF, re-wrapped at 76", quoted_lines(rewrapped(lines, 76), "> ", "\n")),
        ("joined on one line", joined(lines, "", " ")),
        ("joined on one line, quoted '> '", "> " + joined(lines, "", " ") + "\r\n> \r\nok"),
        ("joined on one line, no spaces", joined(lines, "", "")),
        # What web editors, chat and office programs insert and convert.
        ("U+200B zero-width space every 20 characters", zwsp),
        ("U+200C zero-width non-joiner every 20 characters", every_20(block, "\u200C")),
        ("U+200D zero-width joiner every 20 characters", every_20(block, "\u200D")),
        ("U+2060 word joiner every 20 characters", every_20(block, "\u2060")),
        ("U+FEFF zero-width no-break space every 20 characters", every_20(block, "\uFEFF")),
        ("U+00AD soft hyphen every 20 characters", every_20(block, "\u00AD")),
        ("U+2060 word joiner inside both markers",
         block.replace("(quiren_start)", "(quiren\u2060_start)").replace("(quiren_end)", "(quiren_\u2060end)")),
        ("byte order mark before the block", "\uFEFF" + block),
        ("U+200B every 20 characters, quoted '> ', LF", quoted_lines(zwsp.split(CRLF), "> ", "\n")),
        ("body in full-width", body_full_width(lines)),
        ("whole block in full-width", full_width(block)),
        ("whole reply in full-width, quoted '> '", full_width(q("> ", CRLF))),
        ("body in full-width, joined on one line with U+3000",
         full_width(lines[0]) + "\u3000" + "\u3000".join(full_width(line) for line in lines[1:-1]) + "\u3000" +
         lines[-1]),
    ]


def pair_forms(first, second):
    quoted_first = joined(first.split(CRLF), "> ", CRLF)
    quoted_second = joined(second.split(CRLF), "> ", "\n")
    return [
        ("first as sent, second quoted", first + "\r\n\r\nYou wrote:\r\n" + quoted_second),
        ("first quoted, second as sent", "You wrote:\r\n" + quoted_first + "\r\n> \r\nHere is mine:\r\n" + second),
    ]


def damaged_forms(block):
    """One character changed, lost or put in: (transformation, received,
    damage). Line 3 is the block's second body line."""
    lines = block.split(CRLF)
    at = len(CRLF.join(lines[:2])) + len(CRLF) + 16  # line 3, column 17
    emoji = block[:at] + "\U0001F600" + block[at + 1:]
    lost = block[:at] + block[at + 1:]
    mark = block[:at] + "\u200E" + block[at:]
    quoted = quoted_lines(emoji.split(CRLF), "> ", CRLF)
    return [
        ("an emoji in place of a character", emoji, foreign(emoji, at)),
        ("a left-to-right mark put in", mark, foreign(mark, at)),
        ("quoted '> ', an emoji in place of a character", quoted, foreign(quoted, quoted.index("\U0001F600"))),
        ("a character lost", lost, short_line(block, lost)),
    ]


def chat_forms(block, compatible):
    """Emoji shortcuts and markdown: nothing to change in a strong block; a
    compatible block is damaged, and must say where."""
    out = []
    for name, change in (("emoji shortcuts converted", emoji_shortcuts), ("markdown emphasis removed", markdown_emphasis)):
        received = change(block)
        if not compatible:
            assert received == block, name
            out.append((name, received, None))
        elif change is emoji_shortcuts:
            out.append((name, received, foreign(received, first_difference(block, received))))
        else:
            out.append((name, received, short_line(block, received)))
    return out


def build():
    chat_text, chat = chat_block()
    narrow_text, narrow = narrow_block()
    strong_text = ("明日の打ち合わせは午前10時からです🎌 場所は3階の第2会議室。\r\n"
                   "資料は各自持参してください。Thanks — see you there 😀")
    sources = [
        ("compatible", "compatible", 60, chat_text, chat),
        ("compatible second", "compatible", 60, "second", compatible_block("second")),
        ("compatible narrow", "compatible", 11, narrow_text, narrow),
        ("strong", "strong", 60, strong_text, strong_block(strong_text, 0x20)),
        ("strong second", "strong", 60, "二つ目 second", strong_block("二つ目 second", 0x40)),
    ]
    blocks = [{"name": name, "format": kind, "width": width, "text": text, "block": block,
               "password": NARROW_PASSWORD if name == "compatible narrow" else PASSWORD}
              for name, kind, width, text, block in sources]
    by_name = {b["name"]: b["block"] for b in blocks}

    forms = []

    def add(sources, transformation, received, damage=None):
        form = {"name": "%s: %s" % (" + ".join(sources), transformation), "sources": sources,
                "transformation": transformation, "received": received}
        if damage is None:
            form["expect"] = "source"
            form["untouched"] = len(sources) == 1 and received == by_name[sources[0]]
        else:
            form["expect"] = "damaged"
            form["damage"] = damage
        forms.append(form)

    for name in ("compatible", "compatible narrow", "strong"):
        for transformation, received in mail_forms(by_name[name]):
            add([name], transformation, received)
    add(["compatible"], "smart quotes in the body",
        CRLF.join([chat.split(CRLF)[0]] + [smart_quotes(line) for line in body_lines(chat)] + [chat.split(CRLF)[-1]]))
    for name, kind in (("compatible", True), ("strong", False)):
        for transformation, received, damage in chat_forms(by_name[name], kind):
            add([name], transformation, received, damage)
        for transformation, received, damage in damaged_forms(by_name[name]):
            add([name], transformation, received, damage)
    for first, second in (("compatible", "compatible second"), ("strong", "strong second"),
                          ("strong", "compatible")):
        for transformation, received in pair_forms(by_name[first], by_name[second]):
            add([first, second], transformation, received)
    return {
        "about": "Blocks as written and the forms they come back in from mail, chat and office programs. "
                 "Written by make_received_forms.py; README.md describes the fields.",
        "blocks": blocks,
        "forms": forms,
    }


dumps = vector_json.dumps


def main():
    vector_json.write(build(), os.path.join(HERE, "received-forms.json"))


if __name__ == "__main__":
    main()
