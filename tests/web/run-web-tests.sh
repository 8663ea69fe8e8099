#!/usr/bin/env bash
# The offline reader page's tests: its module's unit tests under Node's own
# test runner (with the native build's received_text_probe beside the tool,
# to compare the page's repair and reader with the program's), then the
# assembled page in headless Chromium against the native tool.
#   tests/web/run-web-tests.sh NATIVE_QUIREN [OUT_DIR]   (default build/web)
# OUT_DIR receives quiren-reader.html and screens/ (each tab, both
# languages, desktop and phone width).
set -euo pipefail
cd "$(dirname "$0")/../.."
tool=$1
out=${2:-build/web}
[ -x "$tool" ] || { echo "run-web-tests: no native quiren at $tool" >&2; exit 2; }
scripts/build-reader.sh "$out/quiren-reader.html"
QUIREN_RECEIVED_TEXT_PROBE="$(dirname "$tool")/received_text_probe" node --test tests/web/*.test.mjs
# Debian's python3: selenium is installed there, not in another python3
# that may come first on PATH.
/usr/bin/python3 tests/web/browser_test.py "$out/quiren-reader.html" "$tool" "$out"
