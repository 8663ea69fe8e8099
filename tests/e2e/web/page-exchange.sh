#!/usr/bin/env bash
# page-exchange.sh <quiren-reader.html> <command that runs page_journey.exe ...>
# The Linux side of the page journey: seals a text with the reader page in
# headless Chromium, then hands the block to the driver under Wine through a
# folder the two share, QUIREN_E2E_EXCHANGE (a Windows path: Wine maps Z:
# to /).
#   password.txt  the password (its first line)
#   page-text.txt the text, CR LF line breaks as the page seals them
#   page-block.txt the page's block
set -euo pipefail
page=$1
shift
[ -f "$page" ] || { echo "page-exchange.sh: no reader page at $page" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)

exchange=$(mktemp -d "${TMPDIR:-/tmp}/quiren-page-exchange.XXXXXX")
trap 'rm -rf "$exchange"' EXIT

printf '%s\n' 'パートナー🔑2026' >"$exchange/password.txt"
printf '%s\r\n%s' '御社の見積書を受け取りました🙏 金額は税込で1,280,000円です。' \
  'Café ☕ — 来週火曜の午後3時にお伺いします。' >"$exchange/page-text.txt"

/usr/bin/python3 "$here/../../web/seal_with_page.py" "$page" "$exchange/page-text.txt" "$exchange/password.txt" \
  "$exchange/page-block.txt"

export QUIREN_E2E_EXCHANGE
QUIREN_E2E_EXCHANGE="Z:$(echo "$exchange" | tr / '\\')"
"$@"
