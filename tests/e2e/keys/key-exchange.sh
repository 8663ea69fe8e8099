#!/usr/bin/env bash
# key-exchange.sh <native quiren> <command that runs key_journey.exe ...>
# The Linux side of the key journey, through a folder the two share
# (QUIREN_E2E_EXCHANGE, as a Windows path; see strong/tool-exchange.sh for
# why the tool cannot run from the driver):
#   before: the other party's (佐藤's) key, its key block and the digits the
#           tool prints for it; a key for the tray to import, sealed under a
#           passphrase, and its digits; a block from 佐藤 to that key and one
#           from 佐藤 to somebody else; the text the tray encrypts;
#   after:  the tray's own key block, copied from its contacts window, and
#           the key it exported under a passphrase give the tool the digits
#           the window showed; the block the tray wrote to 佐藤 opens with
#           佐藤's key to the tray's text, the imported key named as its
#           sender.
set -euo pipefail
tool=$1
shift
[ -x "$tool" ] || { echo "key-exchange.sh: no native quiren at $tool" >&2; exit 2; }

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-keys.XXXXXX")
trap 'rm -rf "$exchange"' EXIT

"$tool" key new --name '佐藤 花子' --out "$exchange/sato.key" --no-passphrase >"$exchange/sato-block.txt" 2>/dev/null
# "佐藤 花子: 12345 …": the digits alone.
"$tool" key digits <"$exchange/sato-block.txt" | sed 's/^.*: //' >"$exchange/sato-digits.txt"

# The key the tray imports in place of the one it made, sealed as the tray
# exports one; the blocks the tool writes to it.
printf '%s\n' '読み込みの合言葉 7' >"$exchange/import-passphrase.txt"
"$tool" key new --name 'tray' --out "$exchange/import-key.txt" \
  --password-file "$exchange/import-passphrase.txt" >"$exchange/import-block.txt" 2>/dev/null
"$tool" key digits <"$exchange/import-block.txt" | sed 's/^.*: //' >"$exchange/import-digits.txt"
"$tool" key new --name 'stranger' --out "$exchange/stranger.key" --no-passphrase >"$exchange/stranger-block.txt" 2>/dev/null
printf '%s\r\n%s' '佐藤より: 見積書を添付します。' 'Café — 金額は税込みです。' >"$exchange/sato-text.txt"
"$tool" encrypt --key "$exchange/sato.key" --to "$exchange/import-block.txt" \
  <"$exchange/sato-text.txt" >"$exchange/from-sato-block.txt"
"$tool" encrypt --key "$exchange/sato.key" --to "$exchange/stranger-block.txt" \
  <"$exchange/sato-text.txt" >"$exchange/for-others-block.txt"
printf '%s\r\n%s' 'トレイより: 受け取りました🙏' '金額（税込み）を確認します。' >"$exchange/tray-text.txt"

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"

for file in tray-key-block.txt tray-digits.txt tray-key.txt tray-key-passphrase.txt tray-block.txt; do
  [ -s "$exchange/$file" ] || { echo "key-exchange.sh: the driver wrote no $file" >&2; exit 1; }
done
tool_digits=$("$tool" key digits <"$exchange/tray-key-block.txt" | sed 's/^.*: //')
window_digits=$(cat "$exchange/tray-digits.txt")
if [ "$tool_digits" != "$window_digits" ]; then
  echo "FAIL: the tool reads the tray's key block as $tool_digits; the contacts window shows $window_digits" >&2
  exit 1
fi
exported_digits=$("$tool" key show --key "$exchange/tray-key.txt" \
  --key-passphrase-file "$exchange/tray-key-passphrase.txt" 2>&1 | sed -n 's/^.*safety digits: //p')
if [ "$exported_digits" != "$window_digits" ]; then
  echo "FAIL: the tool opens the tray's exported key as $exported_digits; the window shows $window_digits" >&2
  exit 1
fi

# The block the tray wrote to 佐藤 with the key it imported.
if ! "$tool" decrypt --key "$exchange/sato.key" <"$exchange/tray-block.txt" \
  >"$exchange/tray-block.back" 2>"$exchange/tray-block.notes"; then
  echo "FAIL: the tool could not open the tray's block with 佐藤's key" >&2
  cat "$exchange/tray-block.notes" >&2
  exit 1
fi
if ! cmp -s "$exchange/tray-text.txt" "$exchange/tray-block.back"; then
  echo "FAIL: the tool's text of the tray's block differs" >&2
  diff <(od -c "$exchange/tray-text.txt") <(od -c "$exchange/tray-block.back") >&2 || true
  exit 1
fi
imported_digits=$(cat "$exchange/import-digits.txt")
if ! grep -qF "from $imported_digits," "$exchange/tray-block.notes"; then
  echo "FAIL: the tool does not name the tray's imported key ($imported_digits) as the sender:" >&2
  cat "$exchange/tray-block.notes" >&2
  exit 1
fi
echo "key-exchange.sh: the tray's key block and its exported key give the tool the digits the contacts window shows;"
echo "  the tray's block to 佐藤 opens with 佐藤's key, from the key the tray imported"
