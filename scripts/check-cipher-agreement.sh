#!/usr/bin/env bash
# check-cipher-agreement.sh <native-build> <win64-build> [<native32-build>]
# Every build of the cipher must write the same bytes. Builds cipher_digest
# where it is missing and runs it three ways: native 64-bit, native 32-bit
# (the same source and double-arithmetic flags as the 32-bit quiren.dll, which
# cannot run here without a 32-bit Wine), and the 64-bit Windows build under
# Wine. Fails unless the three lines are equal.
# The 32-bit build goes to build/native32 unless a third folder is given.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
[ $# -ge 2 ] || { echo "usage: $0 <native-build> <win64-build> [<native32-build>]" >&2; exit 2; }
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$root/$1" ;; esac; }
native=$(absolute "$1") win64=$(absolute "$2") native32=$(absolute "${3:-build/native32}")

# Each build's folder must be configured already, except the 32-bit one,
# which only this check uses.
for b in "$native" "$win64"; do
  [ -f "$b/CMakeCache.txt" ] || { echo "agreement: $b is not a configured build folder" >&2; exit 2; }
done
if [ ! -f "$native32/CMakeCache.txt" ]; then
  cmake -S . -B "$native32" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-m32 \
    -DQUIREN_CIPHER_ONLY=ON -DQUIREN_BUILD_TESTS=OFF -DQUIREN_BUILD_DIGEST=ON >/dev/null
fi
for b in "$native" "$native32" "$win64"; do
  cmake --build "$b" -j 2 --target cipher_digest >/dev/null
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-agreement.XXXXXX")
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
# An empty current folder: a shared code table there would change the blocks.
mkdir "$work/run"

digest_native64=$(cd "$work/run" && "$native/bin/cipher_digest")
digest_native32=$(cd "$work/run" && "$native32/bin/cipher_digest")

# A private prefix, booted once and kept in the Windows build folder.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
prefix=$win64/agreement-wine-prefix
if [ ! -f "$prefix/system.reg" ]; then
  rm -rf "$prefix" "$prefix.partial"
  WINEPREFIX=$prefix.partial wineboot -i >/dev/null 2>&1
  WINEPREFIX=$prefix.partial wineserver -w
  mv "$prefix.partial" "$prefix"
fi
export WINEPREFIX=$prefix
digest_win64=$(cd "$work/run" && timeout 60 wine "$win64/bin/cipher_digest.exe" | tr -d '\r')

show() { sed "s/^/$1: /" <<<"$2"; }
show "native 64-bit " "$digest_native64"
show "native 32-bit " "$digest_native32"
show "Windows 64-bit" "$digest_win64"
if [ -z "$digest_native64" ] || [ "$digest_native64" != "$digest_native32" ] ||
   [ "$digest_native64" != "$digest_win64" ]; then
  echo "agreement: the builds write different blocks" >&2
  exit 1
fi
echo "agreement: all builds write the same blocks"
