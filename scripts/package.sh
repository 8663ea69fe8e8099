#!/usr/bin/env bash
# Builds the release zip from this checkout:
#   dist/mu-quiren-<version>-win64.zip
#     mu-quiren-<version>/mu_quiren11e.exe   the tray program (64-bit)
#     mu-quiren-<version>/quiren.dll         its cipher library (64-bit)
#     mu-quiren-<version>/quiren.exe         the command-line tool (64-bit)
#     mu-quiren-<version>/x86/quiren.dll     the cipher library for 32-bit programs
#     mu-quiren-<version>/LICENSE-OpenSSL.txt  the licence of OpenSSL's libcrypto,
#                                            which the program and the tool hold
#     mu-quiren-<version>/docs/              the user guides and their pictures
#     mu-quiren-<version>/reader/quiren-reader.html  the offline reader page for
#                                            recipients without the program
#     mu-quiren-<version>/RELEASE-NOTES.txt  what is in the zip, and the page's SHA-256
#     mu-quiren-<version>/WORD-LISTS.txt     the licences of the passphrase word lists
#                                            inside the program, the tool and the page
# It prints the page's SHA-256, so that it can be given to recipients.
# Usage: scripts/package.sh [output-dir]   (default dist)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-dist}
jobs=2

version=$(sed -n 's/^project(mu_quiren VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
name=mu-quiren-$version
zip_name=$name-win64.zip

stage() { printf '\n==== %s\n' "$*"; }

stage "OpenSSL's libcrypto for the Windows build"
libcrypto_root=$("$root/scripts/libcrypto-for-windows.sh")

stage "64-bit program, library and tool"
cmake -S . -B build/package-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_BUILD_E2E=OFF -DQUIREN_LIBCRYPTO_ROOT="$libcrypto_root" >/dev/null
cmake --build build/package-win64 -j "$jobs" --target mu_quiren11e quiren quiren_tool

stage "32-bit library"
cmake -S . -B build/package-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_CIPHER_ONLY=ON >/dev/null
cmake --build build/package-win32 -j "$jobs" --target quiren

stage "staging $name"
staging=build/package-stage
rm -rf "$staging"
dir=$staging/$name
mkdir -p "$dir/x86" "$dir/docs/screenshots" "$dir/reader"
bin64=build/package-win64/bin
cp "$bin64/mu_quiren11e.exe" "$bin64/quiren.dll" "$bin64/quiren.exe" "$dir/"
cp build/package-win32/bin/quiren.dll "$dir/x86/"
# The tarball's own licence file, unchanged (Apache License 2.0).
cp "$libcrypto_root/LICENSE.txt" "$dir/LICENSE-OpenSSL.txt"
# Debug information stays out of what users get.
x86_64-w64-mingw32-strip --strip-debug "$dir/mu_quiren11e.exe" "$dir/quiren.dll" "$dir/quiren.exe"
i686-w64-mingw32-strip --strip-debug "$dir/x86/quiren.dll"
cp docs/guide-ja.md docs/guide-en.md "$dir/docs/"
cp docs/screenshots/*.png "$dir/docs/screenshots/"
"$root/scripts/check-exports.sh" "$dir/quiren.dll"
"$root/scripts/check-exports.sh" "$dir/x86/quiren.dll"

stage "offline reader page"
"$root/scripts/build-reader.sh" "$dir/reader/quiren-reader.html"
page_sha256=$(sha256sum "$dir/reader/quiren-reader.html" | cut -d' ' -f1)
# CR LF: the notes are read on Windows.
sed 's/$/\r/' >"$dir/RELEASE-NOTES.txt" <<NOTES
mu-quiren $version

mu_quiren11e.exe     the tray program (64-bit Windows)
quiren.dll           its cipher library; x86/quiren.dll for 32-bit programs
quiren.exe           the command-line tool
LICENSE-OpenSSL.txt  the licence of OpenSSL's libcrypto (Apache License 2.0),
                     which mu_quiren11e.exe and quiren.exe contain
docs/                the user guides (Japanese and English)
WORD-LISTS.txt       the word lists of generated passphrases and their licences
reader/quiren-reader.html
                     the offline reader page: opens and writes strong blocks in
                     a browser, for recipients who do not have the program.
                     Hand it over once (or put it on an intranet page); never
                     attach it to each message.

SHA-256 of reader/quiren-reader.html:
$page_sha256
NOTES

stage "word lists' licences"
# The lists inside the program, the tool and the page, with their licences
# as Debian ships them (the EFF list's asks to be credited); CR LF.
python3 block/word_lists.py notice "$staging/word-lists.txt"
sed 's/$/\r/' "$staging/word-lists.txt" >"$dir/WORD-LISTS.txt"
rm "$staging/word-lists.txt"

stage "zip"
# Every entry gets the time of the last commit, so one commit always gives
# the same zip.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$dir" -exec touch -h -d "@$stamp" {} +
mkdir -p "$out"
out=$(cd "$out" && pwd)
# What is built here is never committed.
[ -e "$out/.gitignore" ] || echo '*' >"$out/.gitignore"
rm -f "$out/$zip_name"
( cd "$staging" && find "$name" -print | LC_ALL=C sort | zip -X -q -D "$out/$zip_name" -@ )
unzip -l "$out/$zip_name"
echo "package: $out/$zip_name"
echo "package: reader/quiren-reader.html SHA-256 $page_sha256"
