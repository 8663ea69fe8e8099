#!/usr/bin/env bash
# Checks that a quiren.dll exports exactly the library's three names,
# undecorated (no @N suffix, no leading underscore).
set -euo pipefail
dll=$1
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v objdump)
names=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}' | sort)
expected=$(printf '%s\n' quiren_release wakaranakusuru wakaruyounisuru)
if [ "$names" != "$expected" ]; then
  echo "check-exports: $dll exports:" >&2
  echo "$names" >&2
  echo "expected:" >&2
  echo "$expected" >&2
  exit 1
fi
echo "check-exports: $dll exports exactly: $(echo $names)"
