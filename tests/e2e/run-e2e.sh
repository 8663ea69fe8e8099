#!/usr/bin/env bash
# run-e2e.sh --locale ja|en --template <prefix> --bin <dir> --screens <dir>
#            --timeout <seconds> -- <driver.exe> [args...]
# Runs one end-to-end driver under Wine in a fresh copy of the template
# prefix, on its own display, with everything in <bin> (the build's
# programs, DLLs and their subfolders) copied to C:\mu-quiren\. The driver
# finds the screenshot folder in QUIREN_E2E_SCREENS (a Windows path); BMPs it
# writes there become PNGs. On failure the screen is saved as failure.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"

locale= template= bin= screens= timeout_s=60
while [ $# -gt 0 ]; do
  case "$1" in
    --locale) locale=$2; shift 2 ;;
    --template) template=$2; shift 2 ;;
    --bin) bin=$2; shift 2 ;;
    --screens) screens=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --) shift; break ;;
    *) echo "run-e2e.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
driver=$1; shift
e2e_locale "$locale"
[ -d "$template" ] || { echo "no template prefix at $template" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quiren-e2e.XXXXXX")
export WINEPREFIX="$work/prefix"
cleanup() {
  e2e_stop_wine
  e2e_stop_display
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 124' TERM INT

cp -a "$template" "$WINEPREFIX"
app="$WINEPREFIX/drive_c/mu-quiren"
mkdir -p "$app"
cp -a "$bin"/. "$app"/
rm -rf "$screens"
mkdir -p "$screens"
export QUIREN_E2E_SCREENS
QUIREN_E2E_SCREENS="Z:$(echo "$screens" | tr / '\\')"
e2e_start_display

set +e
( cd "$app" && timeout --kill-after=5 "$timeout_s" wine "C:\\mu-quiren\\$driver" "$@" )
rc=$?
set -e
if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
  echo "E2E TIMEOUT after ${timeout_s}s" >&2
fi
if [ $rc -ne 0 ]; then
  import -display "$DISPLAY" -window root "$screens/failure.png" 2>/dev/null || true
fi
for bmp in "$screens"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
exit $rc
