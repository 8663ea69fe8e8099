#!/usr/bin/env bash
# Sets up, builds and starts mu-quiren under Wine on your display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# A desktop program needs a display: say so before spending time on a build.
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY is not set). mu-quiren is a desktop program:" >&2
  echo "     start it from a graphical session, or run the tests with scripts/test.sh." >&2
  exit 1
fi
"$root/scripts/setup-debian.sh"
libcrypto_root=$("$root/scripts/libcrypto-for-windows.sh")
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_LIBCRYPTO_ROOT="$libcrypto_root" >/dev/null
cmake --build build/win64 -j "$(nproc 2>/dev/null || echo 2)" --target mu_quiren11e quiren

exe=$root/build/win64/bin/mu_quiren11e.exe
# Which Wine loader this machine can run.
# shellcheck source=../tests/e2e/e2e-common.sh
source "$root/tests/e2e/e2e-common.sh"
export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/mu-quiren/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=${MU_QUIREN_LANG:-ja_JP.UTF-8}
if [ ! -d "$WINEPREFIX" ]; then
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  wineserver -w
fi
exec wine "$exe"
