#!/usr/bin/env bash
# recipients-exchange.sh <native quiren> <command that runs recipients_journey.exe ...>
# The Linux side of the recipients journey (see recipients_journey.cpp for the files),
# through a folder shared with the driver as tool-exchange.sh does:
#   before: key pairs for the tray and for 田中, 鈴木 and a stranger, the
#           tray's key block and its digits, blocks from each of them to the
#           tray and one from the stranger to 田中 alone;
#   after:  the tool opens the tray's block and quiren.exe's with 田中's
#           key: the tray's text, and the tray's key named as the sender.
set -euo pipefail
tool=$1
shift
[ -x "$tool" ] || { echo "recipients-exchange.sh: no native quiren at $tool" >&2; exit 2; }

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-keys.XXXXXX")
trap 'rm -rf "$exchange"' EXIT
cd "$exchange"

printf '%s' 'me' >tray-name.txt
"$tool" key new --no-passphrase --name me --out tray-key.txt >tray-keyblock.txt 2>/dev/null
"$tool" key new --no-passphrase --name 田中 --out tanaka-key.txt >tanaka-keyblock.txt 2>/dev/null
"$tool" key new --no-passphrase --name stranger --out stranger-key.txt >stranger-keyblock.txt 2>/dev/null
cp tanaka-keyblock.txt contacts.txt
"$tool" key new --no-passphrase --name 鈴木 --out suzuki-key.txt >contacts-unconfirmed.txt 2>/dev/null
"$tool" key digits <tray-keyblock.txt >tool-digits.txt
"$tool" key digits <stranger-keyblock.txt >stranger-digits.txt
printf '%s\r\n%s' '田中より: 明日の会議は10時からです。' 'Café — 資料は共有フォルダーへ置きました。' >tool-text.txt
printf '%s\r\n%s' 'トレイより: 了解しました🙏' '予算案（第3版）を持参します。' >tray-text.txt
"$tool" encrypt --key tanaka-key.txt --to tray-keyblock.txt <tool-text.txt >to-tray-block.txt
"$tool" encrypt --key stranger-key.txt --to tanaka-keyblock.txt <tool-text.txt >not-for-tray-block.txt
"$tool" encrypt --key suzuki-key.txt --to tray-keyblock.txt <tool-text.txt >from-suzuki-block.txt
"$tool" encrypt --key stranger-key.txt --to tray-keyblock.txt <tool-text.txt >from-stranger-block.txt

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"

# "me: 12345 ..." -> the digits alone.
tray_digits=$(sed -n 's/^[^:]*: //p' tool-digits.txt | head -n 1)
[ -n "$tray_digits" ] || { echo "recipients-exchange.sh: no digits of the tray's key" >&2; exit 1; }
for written in tray-block.txt exe-block.txt; do
  [ -s "$written" ] || { echo "recipients-exchange.sh: the driver wrote no $written" >&2; exit 1; }
  if ! "$tool" decrypt --key tanaka-key.txt <"$written" >"$written.back" 2>"$written.notes"; then
    echo "FAIL: the native tool could not open $written with 田中's key" >&2
    cat "$written.notes" >&2
    exit 1
  fi
  if ! cmp -s tray-text.txt "$written.back"; then
    echo "FAIL: the native tool's text of $written differs" >&2
    diff <(od -c tray-text.txt) <(od -c "$written.back") >&2 || true
    exit 1
  fi
  if ! grep -qF "from $tray_digits" "$written.notes"; then
    echo "FAIL: the native tool does not name the tray's key ($tray_digits) as the sender of $written:" >&2
    cat "$written.notes" >&2
    exit 1
  fi
done
echo "recipients-exchange.sh: the native tool opened the tray's and quiren.exe's blocks to 田中, the tray's key the sender"
