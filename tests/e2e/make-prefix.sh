#!/usr/bin/env bash
# make-prefix.sh <locale> <prefix-dir>
# Builds the template Wine prefix that every end-to-end test of one locale
# copies: booted once, with Japanese fonts standing in for the Windows ones.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e-common.sh"
locale=$1
prefix=$2
e2e_locale "$locale"

rm -rf "$prefix" "$prefix.partial"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix.partial"
trap 'e2e_stop_wine; e2e_stop_display' EXIT
e2e_start_display

wineboot -i >/dev/null 2>&1
wineserver -w
# Windows UI fonts the program and Wine's dialogs ask for, drawn with IPA
# Gothic so Japanese text reads right in screenshots.
for face in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Gothic" \
            "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "MS PGothic" "Meiryo" "Meiryo UI" "Yu Gothic UI" "Segoe UI"; do
  case "$face" in
    "ＭＳ Ｐゴシック"|"MS PGothic") sub=IPAPGothic ;;
    *) sub=IPAGothic ;;
  esac
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$sub" /f >/dev/null 2>&1
done
# Wine draws caption buttons with its Marlett font; give the prefix a copy
# where Windows keeps fonts, or the buttons show as letters.
for font in /usr/share/wine/fonts/marlett.ttf; do
  [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done
# A bare Xvfb has no window manager: let Wine draw captions and frames
# itself, so screenshots show window titles.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -w
e2e_stop_wine
trap - EXIT
e2e_stop_display
mv "$WINEPREFIX" "$prefix"
echo "template prefix ready: $prefix ($LANG)"
