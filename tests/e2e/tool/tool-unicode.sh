#!/usr/bin/env bash
# tool-unicode.sh <native quiren> <command that runs tool_unicode.exe ...>
# The Linux side of the Unicode journey of quiren.exe: a folder whose name
# holds Japanese and an emoji, shared with the driver through
# QUIREN_E2E_EXCHANGE (a Windows path: Wine maps Z: to / and file names to
# UTF-8).
#   before: the native tool makes 佐藤花子's key there (its secret key and
#           key block in files named in Japanese and an emoji), and the
#           text and the password file;
#   after:  the native tool reads what quiren.exe wrote there under such
#           names: the key block says 田中太郎 with the digits quiren.exe
#           printed, the block to 佐藤花子's key opens with her key and with
#           the sealed key quiren.exe wrote, the password block opens.
set -euo pipefail
tool=$1
shift
[ -x "$tool" ] || { echo "tool-unicode.sh: no native quiren at $tool" >&2; exit 2; }

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-unicode.XXXXXX")
trap 'rm -rf "$exchange"' EXIT
folder="$exchange/鍵の 置き場 café 🔑"
mkdir "$folder"

printf '%s\r\n%s' '来週の監査は火曜日の午前9時から🗓️' '資料は「2026年度」フォルダーへ。Café ☕' >"$exchange/text.txt"
printf '%s\r\n' '合言葉🔐2026' >"$folder/合言葉🔐.txt"
"$tool" key new --name 佐藤花子 --no-passphrase --out "$folder/佐藤の秘密鍵🗝.txt" \
  >"$folder/佐藤の鍵ブロック🔑.txt" 2>/dev/null

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
digits=$(cat "$exchange/tanaka-digits.txt" 2>/dev/null) || fail "the driver kept no safety digits"
[ -f "$folder/田中の秘密鍵🗝.txt" ] || fail "no secret key file under its Japanese and emoji name"
line=$("$tool" key digits <"$folder/田中の鍵ブロック🔑.txt") || fail "the native tool cannot read quiren.exe's key block"
[ "$line" = "田中太郎: $digits" ] || fail "the native tool reads the key block as '$line', not '田中太郎: $digits'"

"$tool" decrypt --key "$folder/佐藤の秘密鍵🗝.txt" <"$folder/宛先の暗号文📨.txt" >"$exchange/back-sato.txt" 2>/dev/null ||
  fail "the native tool cannot open quiren.exe's block with the recipient's key"
cmp -s "$exchange/text.txt" "$exchange/back-sato.txt" || fail "the recipient's text differs"
"$tool" decrypt --key "$folder/田中の秘密鍵🗝.txt" --key-passphrase-file "$folder/合言葉🔐.txt" \
  <"$folder/宛先の暗号文📨.txt" >"$exchange/back-tanaka.txt" 2>/dev/null ||
  fail "the native tool cannot open quiren.exe's block with the sealed key quiren.exe wrote"
cmp -s "$exchange/text.txt" "$exchange/back-tanaka.txt" || fail "the writer's text differs"
"$tool" decrypt --password-file "$folder/合言葉🔐.txt" <"$folder/合言葉の暗号文📨.txt" >"$exchange/back-password.txt" \
  2>/dev/null || fail "the native tool cannot open quiren.exe's password block"
cmp -s "$exchange/text.txt" "$exchange/back-password.txt" || fail "the password block's text differs"
echo "tool-unicode.sh: the native tool reads quiren.exe's key block as 田中太郎 and opens its blocks"
