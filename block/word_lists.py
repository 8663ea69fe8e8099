#!/usr/bin/env python3
"""The word lists generated passphrases are drawn from, read from Debian's
packages on the build machine (cross-compiled builds too) and never kept in
the repository: each file must have the SHA-256 below, or the build stops.

    word_lists.py cpp OUTPUT.cpp [--depfile FILE] [--latin PATH] [--kana PATH]
        the C++ source of block/word_lists.h's lists
    word_lists.py notice OUTPUT.txt [--latin PATH] [--kana PATH]
        the lists' licences, for the release zip
    word_lists.py js OUTPUT.mjs [--latin PATH] [--kana PATH]
        the reader page's module word_lists (its tests import it)

The reader page's assembler (web/assemble.py) imports this module for the
same lists. PATH overrides where a list is read from (a machine without
Debian's packages holds copies of the same files); the hash still decides.
"""
import argparse
import hashlib
import fnmatch
import json
import pathlib
import sys
import unicodedata
from dataclasses import dataclass

DIST_PACKAGES = "/usr/lib/python3/dist-packages"


@dataclass(frozen=True)
class Source:
    kind: str             # the passphrase's form: "latin" or "kana"
    title: str            # the list's name in credits
    package: str          # the Debian package that holds the file
    path: str             # where the package installs it
    in_package: str       # its name in the package's source, as its copyright file names it
    sha256: str
    size: int             # words in the list
    per_passphrase: int   # words in a passphrase
    separator: str        # between the words of a passphrase
    licence: str


SOURCES = (
    # The EFF large list: 7,776 words for five dice, one per line after
    # the dice's numbers; six words are 77.5 bits.
    Source("latin", "EFF Large Wordlist (Electronic Frontier Foundation)", "diceware",
           f"{DIST_PACKAGES}/diceware/wordlists/wordlist_en_eff.txt", "diceware/wordlists/wordlist_en_eff.txt",
           "addd35536511597a02fa0a9ff1e5284677b8883b83e986e43f15a3db996b903e", 7776, 6, "-", "CC-BY-3.0"),
    # The Japanese BIP-39 list: 2,048 hiragana words, one per line, stored
    # decomposed (NFD); seven words are 77 bits.
    Source("kana", "BIP-39 Japanese wordlist", "python3-mnemonic",
           f"{DIST_PACKAGES}/mnemonic/wordlist/japanese.txt", "mnemonic/wordlist/japanese.txt",
           "2eed0aef492291e061633d7ad8117f1a2b03eb80a29d0e4e3117ac2528d05ffd", 2048, 7, "\u3000", "MIT"),
)

LICENCE_URLS = {
    "CC-BY-3.0": "https://creativecommons.org/licenses/by/3.0/",
    "MIT": "https://opensource.org/license/mit/",
}
# What a copy of a list must carry beside the copyright lines: CC BY 3.0
# takes its address; MIT wants its permission notice itself.
LICENCE_TEXT_IN_COPIES = {"CC-BY-3.0": False, "MIT": True}


class WordListError(Exception):
    pass


def words_of(source, data):
    """The words of a list file, in its order: for the dice list the word
    after each line's number, for the others the line itself; in Unicode
    NFC, as users type them and as edit boxes show them."""
    text = data.decode("utf-8")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    words = []
    for line in lines:
        word = line.split("\t", 1)[1] if source.kind == "latin" else line
        words.append(unicodedata.normalize("NFC", word))
    return words


def load(source, path=None):
    """The list's words, after the file's hash and the words themselves were
    checked. WordListError names the file and its package otherwise."""
    file = pathlib.Path(path or source.path)
    where = f"{file} (Debian package {source.package})"
    try:
        data = file.read_bytes()
    except OSError as e:
        raise WordListError(f"cannot read the word list {where}: {e.strerror}; "
                            f"install the package (scripts/setup-debian.sh)") from None
    digest = hashlib.sha256(data).hexdigest()
    if digest != source.sha256:
        raise WordListError(f"the word list {where} has SHA-256 {digest}, not {source.sha256}: "
                            f"it is not the list this program was made for; reinstall the package "
                            f"(apt-get install --reinstall {source.package})")
    words = words_of(source, data)
    # The hash vouches for the file; these vouch for what is made of it. (A
    # few of the EFF list's words hold a "-" themselves: "t-shirt".)
    if len(words) != source.size or len(set(words)) != source.size or \
            any(not w or any(c.isspace() for c in w) for w in words):
        raise WordListError(f"the word list {where} does not read as {source.size} distinct words")
    return words


def load_all(paths=None):
    """{kind: (source, words)} for every list; `paths` maps a kind to
    another file to read it from."""
    paths = paths or {}
    return {s.kind: (s, load(s, paths.get(s.kind))) for s in SOURCES}


def u16_literal(text):
    """A u"" literal whose source is ASCII."""
    out = []
    for c in text:
        o = ord(c)
        if 0x20 <= o < 0x7F and c not in '\\"?':
            out.append(c)
        elif o > 0xFFFF:
            out.append("\\U%08X" % o)
        else:
            out.append("\\u%04X" % o)
    return 'u"' + "".join(out) + '"'


def cpp_source(lists):
    out = ["// Made by block/word_lists.py from Debian's packages at build time. Do not edit.",
           '#include "block/word_lists.h"', "", "namespace quiren::block {", "namespace {", ""]
    for kind, (source, words) in lists.items():
        out.append(f"// {source.title}: {source.path} ({source.package}).")
        out.append(f"constexpr std::u16string_view k_{kind}_words[{len(words)}] = {{")
        out.extend(f"    {u16_literal(w)}," for w in words)
        out.extend(["};", ""])
    out.extend(["}  // namespace", ""])
    for kind, (source, words) in lists.items():
        out.append(f"const WordList k{kind.capitalize()}Words{{k_{kind}_words, {source.per_passphrase}, "
                   f"{u16_literal(source.separator)}, \"{source.sha256}\"}};")
    out.extend(["", "}  // namespace quiren::block", ""])
    return "\n".join(out)


def js_module(lists):
    """The lists as the reader page's module word_lists: each form's words
    (one string, split once), how many make a passphrase and what joins
    them."""
    out = ["// The word lists of generated passphrases, put in by web/assemble.py from",
           "// Debian's packages (block/word_lists.py). Their licences:"]
    for source, _ in lists.values():
        out.append(f"//   {source.title}, {source.licence}: {LICENCE_URLS[source.licence]}")
        for line in copyright_lines(source):
            out.append(f"//     {line}")
        if LICENCE_TEXT_IN_COPIES[source.licence]:
            _, licence = copyright_paragraphs(source)
            out.extend(f"//     {line}".rstrip() for line in licence.split("\n")[1:])
    out.append("export const WORD_LISTS = {")
    for kind, (source, words) in lists.items():
        out.append(f"  {kind}: {{ words: {json.dumps(' '.join(words), ensure_ascii=False)}.split(' '), "
                   f"count: {source.per_passphrase}, separator: {json.dumps(source.separator)} }},")
    out.append("};")
    return "\n".join(out) + "\n"


def copyright_paragraphs(source):
    """The paragraphs of the package's Debian copyright file that apply to
    the list: the last "Files:" paragraph whose patterns match it, and the
    stand-alone text of its licence."""
    path = pathlib.Path("/usr/share/doc") / source.package / "copyright"
    try:
        text = path.read_text(encoding="utf-8")
    except OSError as e:
        raise WordListError(f"cannot read {path} (Debian package {source.package}): {e.strerror}") from None
    paragraphs = [p for p in text.split("\n\n") if p.strip()]

    def field(paragraph, name):
        lines = paragraph.split("\n")
        for i, line in enumerate(lines):
            if line.startswith(name + ":"):
                value = [line[len(name) + 1:].strip()]
                for more in lines[i + 1:]:
                    if not more.startswith((" ", "\t")):
                        break
                    value.append(more.strip())
                return value
        return None

    files = None
    for p in paragraphs:
        patterns = field(p, "Files")
        if patterns and any(fnmatch.fnmatchcase(source.in_package, pat) for pat in " ".join(patterns).split()):
            files = p
    if files is None:
        raise WordListError(f"{path} names no licence for {source.in_package}")
    licence_name = field(files, "License")[0]
    licence = next((p for p in paragraphs if p.startswith("License:") and field(p, "License")[0] == licence_name
                    and field(p, "Files") is None), "")
    return files, licence


def copyright_lines(source):
    """The list's own paragraph of the package's copyright file, without its
    "Files:" line: who holds the copyright, where it comes from, its licence."""
    files, _ = copyright_paragraphs(source)
    return [line.strip() for line in files.split("\n") if not line.startswith("Files:")]


def notice(lists):
    """The release zip's notice of the lists inside the program, the tool
    and the reader page, with their licences as Debian ships them."""
    out = ["Word lists in mu_quiren11e.exe, quiren.exe and reader/quiren-reader.html",
           "",
           "Generated passphrases (the program's and the page's \"generate\" buttons,",
           "quiren passphrase) are drawn from these lists, used unchanged except",
           "that the dice numbers before the EFF list's words are left out and the",
           "Japanese words are stored precomposed (Unicode NFC).", ""]
    for source, words in lists.values():
        files, licence = copyright_paragraphs(source)
        out += ["=" * 72, f"{source.title}: {len(words)} words, {source.licence} "
                          f"({LICENCE_URLS[source.licence]})",
                f"From Debian's package {source.package} ({source.path}),",
                "whose copyright file says:", "", files, "", licence, ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("what", choices=("cpp", "notice", "js"))
    parser.add_argument("output")
    parser.add_argument("--depfile")
    for source in SOURCES:
        parser.add_argument(f"--{source.kind}", help=f"where to read {source.title} from")
    args = parser.parse_args()
    paths = {s.kind: getattr(args, s.kind) for s in SOURCES if getattr(args, s.kind)}
    try:
        lists = load_all(paths)
        text = {"cpp": cpp_source, "notice": notice, "js": js_module}[args.what](lists)
    except WordListError as e:
        sys.exit(f"word_lists.py: {e}")
    out = pathlib.Path(args.output)
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text(text, encoding="utf-8", newline="\n")
    if args.depfile:
        inputs = [str(pathlib.Path(paths.get(s.kind) or s.path)) for s in SOURCES]
        pathlib.Path(args.depfile).write_text(f"{out}: " + " ".join(i.replace(" ", "\\ ") for i in inputs) + "\n")


if __name__ == "__main__":
    main()
