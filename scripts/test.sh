#!/usr/bin/env bash
# Sets up, builds and runs every test of mu-quiren:
#   native unit tests, the same under ASan+UBSan, short fuzzing runs,
#   the offline reader page (Node, headless Chromium), the Windows build
#   (64-bit, and the 32-bit quiren.dll) with its end-to-end tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

"$root/scripts/setup-debian.sh"

# Each stage says how long the run has taken so far: CI's budget is minutes.
stage() { printf '\n==== %s  (%dm%02ds so far)\n' "$*" $((SECONDS / 60)) $((SECONDS % 60)); }

stage "native build (Release, as a packager builds it); unit tests of cipher, block, tray logic and tool; tool end to end"
# Release, not RelWithDebInfo: -O3 finds warnings -O2 does not, and the
# whole tree must build as a packager builds it.
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

stage "offline reader page: its module under Node's test runner; the page in headless Chromium with the native tool"
"$root/tests/web/run-web-tests.sh" "$root/build/native/bin/quiren" build/web

stage "the same unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUIREN_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j "$jobs"

stage "fuzzing: short, bounded libFuzzer runs of the decrypt path, the code table reader, the received-text repair, strong blocks and the blocks of keys"
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUIREN_BUILD_FUZZ=ON -DQUIREN_BUILD_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"
# Six runs of 13 s: within the 80 s that four runs of 20 s took.
"$root/fuzz/run-all.sh" build/fuzz "${QUIREN_FUZZ_SECONDS:-13}"

stage "Windows build (mingw-w64), 32-bit quiren.dll; checks of its exports and of an MSVC-style link"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_CIPHER_ONLY=ON >/dev/null
cmake --build build/win32 -j "$jobs"
"$root/scripts/check-exports.sh" build/win32/bin/quiren.dll
"$root/scripts/check-msvc-exports.sh"

stage "OpenSSL's libcrypto for the Windows build, from Debian's openssl source (built once per machine, then cached)"
libcrypto_root=$("$root/scripts/libcrypto-for-windows.sh")

stage "Windows build (mingw-w64), 64-bit: the tray program, quiren.dll, quiren.exe and the test drivers"
# The native tool from the first stage: the strong journey exchanges blocks
# between it and the tray under Wine.
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_LIBCRYPTO_ROOT="$libcrypto_root" \
  -DQUIREN_NATIVE_TOOL="$root/build/native/bin/quiren" \
  -DQUIREN_READER_PAGE="$root/build/web/quiren-reader.html" >/dev/null
cmake --build build/win64 -j "$jobs"
"$root/scripts/check-exports.sh" build/win64/bin/quiren.dll

stage "cipher agreement: native 64-bit and 32-bit, Windows 64-bit and 32-bit under Wine; a 32-bit C caller"
"$root/scripts/check-cipher-agreement.sh" build/native build/win64 build/win32 build/native32

stage "end-to-end tests under Wine (Japanese and western locales)"
# One Wine prefix at a time: the tests share a display and wineserver.
ctest --test-dir build/win64 --output-on-failure

stage "all tests passed"
