#!/usr/bin/env bash
# Checks a release as a user gets it, from what is committed: clones this
# repository's HEAD into a temporary folder, builds the zip there with
# scripts/package.sh, checks what the zip holds, unpacks it into a fresh
# Wine prefix (Japanese locale) and runs the main journey (encrypt, decrypt,
# settings, password list, exit) against the unpacked files alone, plus a
# round trip through the unpacked quiren.exe. Prints RELEASE CHECK: PASS or
# FAIL at the end.
#   scripts/release-check.sh [--keep]   (--keep leaves the temporary folder)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
[ "${1:-}" = --keep ] && keep=1

work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-release.XXXXXX")
result=FAIL
finish() {
  local rc=$?
  [ $rc -eq 0 ] && [ "$result" = PASS ] || result=FAIL
  if [ $keep -eq 1 ] || [ "$result" = FAIL ]; then
    echo "release-check: work folder kept: $work"
  else
    rm -rf "$work"
  fi
  printf '\nRELEASE CHECK: %s\n' "$result"
}
trap finish EXIT

stage() { printf '\n==== %s\n' "$*"; }
fail() { echo "release-check: $*" >&2; exit 1; }

"$root/scripts/setup-debian.sh"

stage "clone $(git -C "$root" rev-parse --short HEAD) into $work/src"
git clone -q --no-hardlinks "$root" "$work/src"
cd "$work/src"

stage "package"
scripts/package.sh "$work/dist"
zips=("$work"/dist/mu-quiren-*-win64.zip)
zip=${zips[0]}
[ -f "$zip" ] || fail "no zip was made"
name=$(basename "$zip" -win64.zip)

stage "contents of $(basename "$zip")"
expected=$(printf '%s\n' \
  "$name/mu_quiren11e.exe" "$name/quiren.dll" "$name/quiren.exe" "$name/x86/quiren.dll" \
  "$name/LICENSE-OpenSSL.txt" \
  "$name/docs/guide-ja.md" "$name/docs/guide-en.md" "$name/reader/quiren-reader.html" \
  "$name/RELEASE-NOTES.txt" | LC_ALL=C sort)
listing=$(unzip -Z1 "$zip")
present=$(grep -v '/$' <<<"$listing" | grep -v '/docs/screenshots/' | LC_ALL=C sort)
[ "$present" = "$expected" ] || fail "the zip holds:
$present
expected:
$expected"
# Every picture the guides show is in the zip.
for guide in guide-ja.md guide-en.md; do
  for pic in $(grep -o 'screenshots/[A-Za-z0-9._-]*\.png' "docs/$guide" | sort -u); do
    grep -qxF "$name/docs/$pic" <<<"$listing" || fail "$guide shows $pic, which the zip lacks"
  done
done
unpacked=$work/unpacked
unzip -q "$zip" -d "$unpacked"
# The notes name the page's SHA-256, for recipients to check the file.
page_sha256=$(sha256sum "$unpacked/$name/reader/quiren-reader.html" | cut -d' ' -f1)
grep -q "^$page_sha256"$'\r'"\$" "$unpacked/$name/RELEASE-NOTES.txt" ||
  fail "RELEASE-NOTES.txt does not carry the reader page's SHA-256 $page_sha256"
app=$unpacked/$name
# The programs hold OpenSSL's libcrypto: its licence travels with them.
if ! grep -q 'Apache License' "$app/LICENSE-OpenSSL.txt" || ! grep -q 'Version 2.0' "$app/LICENSE-OpenSSL.txt"; then
  fail "LICENSE-OpenSSL.txt is not OpenSSL's Apache License 2.0"
fi
format() { x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format \(.*\)/\1/p'; }
for f in mu_quiren11e.exe quiren.dll quiren.exe; do
  [ "$(format "$app/$f")" = pei-x86-64 ] || fail "$f is not a 64-bit Windows binary"
done
[ "$(format "$app/x86/quiren.dll")" = pei-i386 ] || fail "x86/quiren.dll is not a 32-bit Windows binary"
scripts/check-exports.sh "$app/quiren.dll"
scripts/check-exports.sh "$app/x86/quiren.dll"
echo "release-check: contents as expected"

stage "journey driver (built from the clone; only its exe is used)"
# package.sh made or found the same libcrypto: this only looks it up.
libcrypto_root=$(scripts/libcrypto-for-windows.sh)
cmake -S . -B build/release-driver -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_BUILD_E2E=ON -DQUIREN_LIBCRYPTO_ROOT="$libcrypto_root" >/dev/null
cmake --build build/release-driver -j 2 --target release_journey
mkdir -p "$work/driver"
cp build/release-driver/bin/release_journey.exe "$work/driver/"

stage "fresh Wine prefix (ja) with the zip unpacked in C:\\$name"
bash tests/e2e/make-prefix.sh ja "$work/prefix"
unzip -q "$zip" -d "$work/prefix/drive_c/"

stage "quiren.exe round trip from the unpacked folder"
(
  . tests/e2e/e2e-common.sh
  e2e_locale ja
  export WINEPREFIX=$work/tool-prefix
  cp -a "$work/prefix" "$WINEPREFIX"
  trap e2e_stop_wine EXIT
  tool="$WINEPREFIX/drive_c/$name/quiren.exe"
  printf '合言葉2024\n' >"$work/pass.txt"
  plain='明日の打ち合わせは午前10時からです。'
  printf '%s' "$plain" >"$work/plain.txt"
  wine "$tool" encrypt -w 40 --password-file "Z:$work/pass.txt" <"$work/plain.txt" >"$work/block.txt"
  grep -q '(quiren_start)' "$work/block.txt" || { echo "release-check: no block from quiren.exe" >&2; exit 1; }
  wine "$tool" decrypt --password-file "Z:$work/pass.txt" <"$work/block.txt" >"$work/back.txt"
  [ "$(tr -d '\r' <"$work/back.txt")" = "$plain" ] || { echo "release-check: quiren.exe did not give the text back" >&2; exit 1; }
  echo "release-check: quiren.exe encrypts and decrypts Japanese text"
)

stage "main journey against C:\\$name"
bash tests/e2e/run-e2e.sh --locale ja --template "$work/prefix" --bin "$work/driver" \
  --screens "$work/screens" --timeout 240 -- release_journey.exe "C:\\$name"
result=PASS
