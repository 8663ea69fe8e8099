#!/usr/bin/env bash
# tool-exchange.sh <native quiren> <command that runs strong_journey.exe ...>
# The Linux side of the strong journey. A Windows program under Wine cannot
# read the output of a Linux one (Wine starts ELF programs without passing
# pipes), so the tool's part runs here, before and after the driver, through
# a folder the two share: QUIREN_E2E_EXCHANGE, as a Windows path (Wine maps
# Z: to /, and passes the environment on).
#   before: the texts, the password and the tool's strong block of one text;
#   after:  the tool opens the block the tray wrote for the other text and
#           must give that text back byte for byte, and so must the
#           independent Python reader (the base64 module and cryptography);
#           and the block the tray wrote under the passphrase its prompt
#           generated, with that passphrase.
set -euo pipefail
reference=$(cd "$(dirname "$0")/../../reference" && pwd)
tool=$1
shift
[ -x "$tool" ] || { echo "tool-exchange.sh: no native quiren at $tool" >&2; exit 2; }

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-exchange.XXXXXX")
trap 'rm -rf "$exchange"' EXIT

# Japanese and emoji, in the password too: a strong block carries any
# script whatever the system's code page. CR LF line breaks, as the
# clipboard and the viewer hold them, so the texts compare exactly.
printf '%s\n' '合言葉🔑2026' >"$exchange/password.txt"
printf '%s\r\n%s' '来週の監査は🗓️火曜日の午前9時から。' \
  'Café ☕ — 資料は共有フォルダーの「2026年度」へ🙏' >"$exchange/tool-text.txt"
printf '%s\r\n%s\r\n%s' '明日の打ち合わせは午前10時からです🎌 場所は3階の第2会議室。' \
  '資料は各自持参してください。Thanks — see you there 😀🍣' \
  '三行目: 予算案（第3版）の確認と、次回の日程調整。' >"$exchange/tray-text.txt"

"$tool" encrypt --password-file "$exchange/password.txt" <"$exchange/tool-text.txt" >"$exchange/tool-block.txt"

# One password in either Unicode form: the precomposed and the decomposed
# forms of the same kana. The tool seals under the decomposed one, which
# the tray opens under the precomposed; the reference seals a block as
# blocks were sealed before keys came from NFC (the decomposed password's
# own UTF-8), which the tray opens under what was typed then; the tray
# seals under the decomposed one, which the tool opens afterwards under the
# precomposed.
python3 - "$reference" "$exchange" <<'PY'
import sys, unicodedata
sys.path.insert(0, sys.argv[1])
import strong_ref
folder = sys.argv[2]
composed = "がぎぐパ"
decomposed = unicodedata.normalize("NFD", composed)
assert composed != decomposed
for name, content in (("nfc-password.txt", composed + "\n"), ("nfd-password.txt", decomposed + "\n"),
                      ("nfc-text.txt", "濁点の合言葉で🔐")):
    with open(folder + "/" + name, "wb") as f:
        f.write(content.encode("utf-8"))
with open(folder + "/earlier-block.txt", "wb") as f:
    f.write(strong_ref.frame(strong_ref.seal("以前の規則で封をした文", decomposed, 100_000), 60))
PY
"$tool" encrypt --password-file "$exchange/nfd-password.txt" <"$exchange/nfc-text.txt" >"$exchange/nfd-tool-block.txt"

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"

[ -s "$exchange/tray-block.txt" ] || { echo "tool-exchange.sh: the driver wrote no tray-block.txt" >&2; exit 1; }
if ! "$tool" decrypt --password-file "$exchange/password.txt" <"$exchange/tray-block.txt" >"$exchange/tray-back.txt"; then
  echo "FAIL: the native tool could not decrypt the tray's block" >&2
  exit 1
fi
if ! cmp -s "$exchange/tray-text.txt" "$exchange/tray-back.txt"; then
  echo "FAIL: the native tool's text of the tray's block differs" >&2
  diff <(od -c "$exchange/tray-text.txt") <(od -c "$exchange/tray-back.txt") >&2 || true
  exit 1
fi
if ! python3 - "$reference" "$exchange" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import strong_ref
folder = sys.argv[2]
block = open(folder + "/tray-block.txt", "rb").read()
password = open(folder + "/password.txt", encoding="utf-8").read().splitlines()[0]
text = strong_ref.open_envelope(strong_ref.unframe(block), password)
sys.exit(0 if text is not None and text.encode("utf-8") == open(folder + "/tray-text.txt", "rb").read() else 1)
PY
then
  echo "FAIL: the Python reader could not read the tray's block back" >&2
  exit 1
fi
[ -s "$exchange/nfd-tray-block.txt" ] || { echo "tool-exchange.sh: the driver wrote no nfd-tray-block.txt" >&2; exit 1; }
if ! "$tool" decrypt --password-file "$exchange/nfc-password.txt" <"$exchange/nfd-tray-block.txt" \
       >"$exchange/nfd-tray-back.txt" || ! cmp -s "$exchange/nfc-text.txt" "$exchange/nfd-tray-back.txt"; then
  echo "FAIL: the tray's block sealed under the decomposed password did not open under the precomposed one" >&2
  exit 1
fi
[ -s "$exchange/passphrase-block.txt" ] || { echo "tool-exchange.sh: the driver wrote no passphrase-block.txt" >&2; exit 1; }
if ! "$tool" decrypt --password-file "$exchange/passphrase.txt" <"$exchange/passphrase-block.txt" \
       >"$exchange/passphrase-back.txt" || ! cmp -s "$exchange/tray-text.txt" "$exchange/passphrase-back.txt"; then
  echo "FAIL: the tray's block under its generated passphrase did not open in the native tool" >&2
  exit 1
fi
echo "tool-exchange.sh: the native tool and the Python reader read the tray's strong blocks back," \
  "one under the other Unicode form, one under a generated passphrase"
