#!/usr/bin/env bash
# Assembles the offline reader page, one self-contained file:
#   scripts/build-reader.sh [output]   (default build/web/quiren-reader.html)
# The page is built, not committed: the package script and the tests build
# it from web/, so it never lags behind its sources.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/web/quiren-reader.html}
version=$(sed -n 's/^project(mu_quiren VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "build-reader: no version in CMakeLists.txt" >&2; exit 1; }
python3 web/assemble.py "$out" --version "む～くいれん Ver$version"
echo "reader page: $out"
