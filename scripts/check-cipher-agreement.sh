#!/usr/bin/env bash
# check-cipher-agreement.sh <native-build> <win64-build> <win32-build> [<native32-build>]
# Every build of the cipher must write the same bytes. Builds cipher_digest
# where it is missing and runs it four ways: native 64-bit, native 32-bit
# (the same source and double-arithmetic flags as the 32-bit quiren.dll), and
# the 64-bit and 32-bit Windows builds under Wine. Fails unless the four
# lines are equal. Also runs caller32.exe of the 32-bit Windows build, a C
# caller linked through the import library, against its known answers.
# The native 32-bit build goes to build/native32 unless a fourth folder is given.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
[ $# -ge 3 ] || { echo "usage: $0 <native-build> <win64-build> <win32-build> [<native32-build>]" >&2; exit 2; }
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$root/$1" ;; esac; }
native=$(absolute "$1") win64=$(absolute "$2") win32=$(absolute "$3") native32=$(absolute "${4:-build/native32}")

# Each build's folder must be configured already, except the native 32-bit one,
# which only this check uses.
for b in "$native" "$win64" "$win32"; do
  [ -f "$b/CMakeCache.txt" ] || { echo "agreement: $b is not a configured build folder" >&2; exit 2; }
done
# The cipher-only 32-bit Windows build leaves cipher_digest out unless asked.
if ! grep -q '^QUIREN_BUILD_DIGEST:BOOL=ON$' "$win32/CMakeCache.txt"; then
  cmake "$win32" -DQUIREN_BUILD_DIGEST=ON >/dev/null
fi
if [ ! -f "$native32/CMakeCache.txt" ]; then
  cmake -S . -B "$native32" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-m32 \
    -DQUIREN_CIPHER_ONLY=ON -DQUIREN_BUILD_TESTS=OFF -DQUIREN_BUILD_DIGEST=ON >/dev/null
fi
for b in "$native" "$native32" "$win64"; do
  cmake --build "$b" -j 2 --target cipher_digest >/dev/null
done
cmake --build "$win32" -j 2 --target cipher_digest caller32 >/dev/null

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

# Some virtual machines run no 32-bit programs at all (their kernel answers
# "Exec format error"), and 32-bit Wine cannot run there either (e2e-common.sh
# then calls Wine's 64-bit loader directly). The 32-bit builds are still made
# and linked; only running them is left out, loudly.
# shellcheck source=../tests/e2e/e2e-common.sh
source "$root/tests/e2e/e2e-common.sh"
runs_32bit=no
! e2e_runs_32bit || runs_32bit=yes

digest_native64=$(cd "$work/run" && "$native/bin/cipher_digest")
digest_native32=
[ "$runs_32bit" = no ] || digest_native32=$(cd "$work/run" && "$native32/bin/cipher_digest")

# A private prefix, booted once and kept in the Windows build folder. It
# must have been booted with 32-bit Wine present, by this Wine: an older one
# cannot run 32-bit programs, or stops on Wine's prefix-update dialog. The
# stamp records which Wine booted it.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "agreement: 32-bit Wine (wine32:i386) is missing; scripts/setup-debian.sh installs it" >&2
  exit 2
fi
prefix=$win64/agreement-wine-prefix
booted_by="$(wine --version) with wine32"
if [ ! -f "$prefix/system.reg" ] || [ "$(cat "$prefix/quiren-booted-by" 2>/dev/null)" != "$booted_by" ]; then
  rm -rf "$prefix" "$prefix.partial"
  WINEPREFIX=$prefix.partial wineboot -i >/dev/null 2>&1
  WINEPREFIX=$prefix.partial wineserver -w
  echo "$booted_by" >"$prefix.partial/quiren-booted-by"
  mv "$prefix.partial" "$prefix"
fi
export WINEPREFIX=$prefix
digest_win64=$(cd "$work/run" && timeout 60 wine "$win64/bin/cipher_digest.exe" | tr -d '\r')
if [ "$runs_32bit" = yes ]; then
  digest_win32=$(cd "$work/run" && timeout 60 wine "$win32/bin/cipher_digest.exe" | tr -d '\r')
  if ! caller32=$(cd "$work/run" && timeout 60 wine "$win32/bin/caller32.exe" | tr -d '\r'); then
    echo "$caller32" >&2
    echo "agreement: the 32-bit C caller does not get the known answers" >&2
    exit 1
  fi
  echo "$caller32"
else
  echo "agreement: NOT RUN on this machine, whose kernel runs no 32-bit programs:" \
    "the native 32-bit digest, the 32-bit quiren.dll under 32-bit Wine and the 32-bit C caller (all built)" >&2
fi

show() { sed "s/^/$1: /" <<<"$2"; }
show "native 64-bit " "$digest_native64"
show "Windows 64-bit" "$digest_win64"
if [ "$runs_32bit" = yes ]; then
  show "native 32-bit " "$digest_native32"
  show "Windows 32-bit" "$digest_win32"
else
  # Compared with themselves: the 32-bit lines drop out of the check.
  digest_native32=$digest_native64 digest_win32=$digest_native64
fi
if [ -z "$digest_native64" ] || [ "$digest_native64" != "$digest_native32" ] ||
   [ "$digest_native64" != "$digest_win64" ] || [ "$digest_native64" != "$digest_win32" ]; then
  echo "agreement: the builds write different blocks" >&2
  exit 1
fi
echo "agreement: all builds write the same blocks"
