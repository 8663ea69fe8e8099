#!/usr/bin/env bash
# key-exchange.sh <native quiren> <command that runs key_journey.exe ...>
# The Linux side of the key journey, through a folder the two share
# (QUIREN_E2E_EXCHANGE, as a Windows path; see strong/tool-exchange.sh for
# why the tool cannot run from the driver):
#   before: the other party's key, its key block and the digits the tool
#           prints for it;
#   after:  the tray's own key block, copied from its contacts window, and
#           the key it exported under a passphrase give the tool the digits
#           the window showed.
set -euo pipefail
tool=$1
shift
[ -x "$tool" ] || { echo "key-exchange.sh: no native quiren at $tool" >&2; exit 2; }

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-keys.XXXXXX")
trap 'rm -rf "$exchange"' EXIT

"$tool" key new --name '佐藤 花子' --out "$exchange/sato.key" --no-passphrase >"$exchange/sato-block.txt" 2>/dev/null
# "佐藤 花子: 12345 …": the digits alone.
"$tool" key digits <"$exchange/sato-block.txt" | sed 's/^.*: //' >"$exchange/sato-digits.txt"

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"

for file in tray-key-block.txt tray-digits.txt tray-key.txt tray-key-passphrase.txt; do
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
echo "key-exchange.sh: the tray's key block and its exported key give the tool the digits the contacts window shows"
