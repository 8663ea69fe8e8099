#!/usr/bin/env bash
# check-msvc-exports.sh
# What the MSVC build makes of cipher/quiren.def, without MSVC: lld-link
# (LLVM's work-alike of MSVC's link) links a stand-in quiren.dll from
# quiren.h's declarations and that .def, as the MSVC build's link does, once
# for x86 and once for x64. Checks that the DLL exports exactly the three
# plain names, and that a caller compiled with quiren.h links against the
# import library the link wrote (on x86 it asks for _name@N) and imports the
# plain names. The import library must come from the link: one made from the
# .def alone cannot know the @N of each name.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
for tool in clang lld-link llvm-readobj; do
  command -v "$tool" >/dev/null || { echo "check-msvc-exports: $tool is missing (scripts/setup-debian.sh)" >&2; exit 2; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-msvc-exports.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The functions' bodies do not matter here, only the names the header gives.
cat >"$work/library.c" <<'EOF'
#define QUIREN_BUILDING_LIBRARY
#include "cipher/quiren.h"
char* QUIREN_CALL wakaranakusuru(const char* text, const char* password) {
  (void)text;
  (void)password;
  return 0;
}
char* QUIREN_CALL wakaruyounisuru(const char* body, const char* password, const char* mode) {
  (void)body;
  (void)password;
  (void)mode;
  return 0;
}
void QUIREN_CALL quiren_release(char* result) { (void)result; }
EOF
# No C runtime here: the caller is its own entry point.
cat >"$work/caller.c" <<'EOF'
#include "cipher/quiren.h"
int start(void) {
  char* block = wakaranakusuru("text", "password");
  quiren_release(wakaruyounisuru(block, "password", "A"));
  quiren_release(block);
  return 0;
}
EOF

expected=$(printf '%s\n' quiren_release wakaranakusuru wakaruyounisuru)
status=0
for pair in x86:i686 x64:x86_64; do
  machine=${pair%%:*}
  out=$work/$machine
  mkdir "$out"
  for c in library caller; do
    clang --target="${pair#*:}-pc-windows-msvc" -ffreestanding -Wall -Wextra -Werror -I"$root" \
      -c "$work/$c.c" -o "$out/$c.obj"
  done
  lld-link /nologo /dll /noentry /nodefaultlib /machine:"$machine" /def:cipher/quiren.def \
    "$out/library.obj" /out:"$out/quiren.dll" /implib:"$out/quiren.lib"
  exports=$(llvm-readobj --coff-exports "$out/quiren.dll" | sed -n 's/^ *Name: \(..*\)$/\1/p' | sort)
  if ! lld-link /nologo /machine:"$machine" /subsystem:console /entry:start /nodefaultlib \
      "$out/caller.obj" "$out/quiren.lib" /out:"$out/caller.exe"; then
    echo "check-msvc-exports: $machine: a caller does not link against the import library" >&2
    status=1
    continue
  fi
  imports=$(llvm-readobj --coff-imports "$out/caller.exe" | sed -n 's/^ *Symbol: \([^ ]*\).*/\1/p' | sort)
  if [ "$exports" != "$expected" ] || [ "$imports" != "$expected" ]; then
    echo "check-msvc-exports: $machine: the DLL exports: $(echo $exports); a caller imports: $(echo $imports)" >&2
    status=1
  else
    echo "check-msvc-exports: $machine: exports and a linked caller's imports are exactly: $(echo $expected)"
  fi
done
exit $status
