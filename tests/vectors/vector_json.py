"""How the scripts here write their JSON files: UTF-8, one-space indent,
and every character a reader of the file could not see written as a \\u
escape (format characters, blanks but the space, combining marks), so that
the file shows every character a test puts in.
"""
import json
import re
import sys

HIDDEN = re.compile("[\u007F-\u00A0\u00AD\u0300-\u036F\u034F\u061C\u115F\u1160\u17B4\u17B5\u180E"
                    "\u2000-\u200F\u2028-\u202F\u205F-\u206F\u3000\u3099\u309A\u3164\uFE00-\uFE0F\uFEFF"
                    "\uFFA0\uFFF0-\uFFFB]")


def dumps(table):
    text = json.dumps(table, ensure_ascii=False, indent=1)
    return HIDDEN.sub(lambda m: "\\u%04x" % ord(m.group(0)), text) + "\n"


def write(table, default_path):
    """Writes `table` to the path the command line names, `default_path`
    when it names none, standard output for "-"."""
    out = sys.argv[1] if len(sys.argv) > 1 else default_path
    text = dumps(table)
    if out == "-":
        sys.stdout.write(text)
    else:
        with open(out, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
