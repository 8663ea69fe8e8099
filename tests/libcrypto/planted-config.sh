#!/usr/bin/env bash
# planted-config.sh <libcrypto_probe> <quiren>
# A configuration file named by OPENSSL_CONF that breaks libcrypto when read
# (planted-openssl.cnf) changes nothing for the tool on Linux: the probe
# shows that it does break a start that reads it (the control), and that
# the program's own start ignores it; then the tool encrypts and decrypts
# with it in place.
set -euo pipefail
probe=$1
tool=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-planted.XXXXXX")
trap 'rm -rf "$work"' EXIT
export OPENSSL_CONF=$here/planted-openssl.cnf
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "-- control: a start that reads the planted file"
set +e
"$probe" loading-config
rc=$?
set -e
[ $rc -eq 3 ] || fail "the planted file did not make key generation fail (exit $rc, expected 3): the test proves nothing"

echo "-- the program's start"
"$probe" as-the-program || fail "the program's start did not ignore the planted file"

echo "-- the tool encrypts and decrypts"
printf 'planted-config password\n' >"$work/password"
printf '明日の会議は10時から' >"$work/plain"
if "$tool" encrypt --password-file "$work/password" <"$work/plain" >"$work/block" &&
   "$tool" decrypt --password-file "$work/password" <"$work/block" >"$work/back"; then
  cmp -s "$work/plain" "$work/back" || fail "the tool gave back another text"
else
  fail "the tool failed with the planted file in place"
fi

[ $failures -eq 0 ] && echo "all passed"
exit $((failures > 0))
