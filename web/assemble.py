#!/usr/bin/env python3
"""Assembles the offline reader page: one self-contained quiren-reader.html
with its styles and script inline, and a Content-Security-Policy that lets
the page reach nothing: its one script and its one style sheet are allowed
by their hashes, everything else (network, frames, forms, images) by
nothing.

    web/assemble.py OUTPUT [--version TEXT]

The script is the page's modules (web/*.mjs), each in a scope of its own
in the order their imports need; imports become plain references. One
module is made here: word_lists, the word lists of generated passphrases,
from Debian's packages (block/word_lists.py checks their hashes; they are
never kept in the repository). The same sources always give the same
bytes.
"""
import argparse
import base64
import hashlib
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
ENTRY = "page.mjs"
sys.path.insert(0, str(HERE.parent / "block"))
import word_lists  # noqa: E402


def word_lists_module():
    try:
        return word_lists.js_module(word_lists.load_all())
    except word_lists.WordListError as e:
        sys.exit(f"assemble: {e}")


# Modules made at assembly rather than read from web/.
MADE = {"word_lists": word_lists_module}

IMPORT = re.compile(r"^import\s*\{([^}]*)\}\s*from\s*'\./([\w]+)\.mjs';[ \t]*\n", re.M)
EXPORT = re.compile(r"^export\s+((?:async\s+)?(?:function\*?|const|let|class))\s+(\w+)", re.M)


def module_order(entry):
    order, seen = [], set()

    def visit(name, path):
        if name in path:
            sys.exit(f"assemble: import cycle through {name}")
        if name in seen:
            return
        source = MADE[name]() if name in MADE else (HERE / f"{name}.mjs").read_text(encoding="utf-8")
        for _, dep in IMPORT.findall(source):
            visit(dep, path + [name])
        seen.add(name)
        order.append((name, source))

    visit(entry, [])
    return order


def bindings(names):
    out = []
    for part in names.split(","):
        part = part.strip()
        if not part:
            continue
        m = re.fullmatch(r"(\w+)(?:\s+as\s+(\w+))?", part)
        if not m:
            sys.exit(f"assemble: cannot read import of {part!r}")
        out.append(f"{m[1]}: {m[2]}" if m[2] else m[1])
    return ", ".join(out)


def script():
    parts = []
    for name, source in module_order(ENTRY.removesuffix(".mjs")):
        if re.search(r"^\s*(import|export)\b(?!\s+(const|let|function|async|class))", IMPORT.sub("", source), re.M):
            sys.exit(f"assemble: {name}.mjs has an import or export this script does not handle")
        exported = [m[2] for m in EXPORT.finditer(source)]
        body = IMPORT.sub(lambda m: f"const {{ {bindings(m[1])} }} = module_{m[2]};\n", source)
        body = EXPORT.sub(lambda m: f"{m[1]} {m[2]}", body)
        parts.append(f"const module_{name} = (() => {{\n{body}\nreturn {{ {', '.join(exported)} }};\n}})();\n")
    code = "\n" + "".join(parts)
    # The script stands inside the page's own <script> element.
    if re.search(r"</script|<!--", code, re.I):
        sys.exit("assemble: the script holds text that would end its element")
    return code


def sha256(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode() + "'"


def assemble(version):
    style = "\n" + (HERE / "page.css").read_text(encoding="utf-8")
    code = script()
    csp = ("default-src 'none'; script-src " + sha256(code) + "; style-src " + sha256(style) +
           "; connect-src 'none'; img-src 'none'; font-src 'none'; media-src 'none'; object-src 'none'; "
           "frame-src 'none'; worker-src 'none'; form-action 'none'; base-uri 'none'")
    page = (HERE / "page.html").read_text(encoding="utf-8")
    for key, value in (("@CSP@", csp), ("@VERSION@", version), ("@STYLE@", style), ("@SCRIPT@", code)):
        if page.count(key) != 1:
            sys.exit(f"assemble: page.html must hold {key} once")
        page = page.replace(key, value)
    return page


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--version", default="")
    args = parser.parse_args()
    out = pathlib.Path(args.output)
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(assemble(args.version).encode("utf-8"))


if __name__ == "__main__":
    main()
