#!/usr/bin/env bash
# Regenerates the user guide's pictures (docs/screenshots/*.png) from the
# real windows: builds the 64-bit Windows tree, runs the release journey
# under Wine with the Japanese locale and the window journey with both
# locales (the password list and the chooser, masked and shown, and the
# encrypt prompt's generated passphrase), the key journey with both locales
# (the offer for a key block, the contacts window) and the recipients
# journey with both locales (the encrypt prompt's "宛先を選ぶ", the viewer
# naming a sender; the key and recipients journeys need the native tool,
# build/native's unless QUIREN_NATIVE_TOOL names one), and cuts
# each shot to its window. The reader page's pictures are shot in headless
# Chromium.
#   scripts/screenshots.sh [build-dir]   (default build/h-rel-win64)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/h-rel-win64}
out=docs/screenshots

libcrypto_root=$(scripts/libcrypto-for-windows.sh)
# The key journey's other party is the native tool.
native_tool=$(realpath -m "${QUIREN_NATIVE_TOOL:-build/native/bin/quiren}")
if [ ! -x "$native_tool" ]; then
  cmake -S . -B build/native >/dev/null
  cmake --build build/native -j2 --target quiren
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIREN_BUILD_E2E=ON -DQUIREN_LIBCRYPTO_ROOT="$libcrypto_root" \
  -DQUIREN_NATIVE_TOOL="$native_tool" >/dev/null
cmake --build "$build" -j2 --target release_journey window_journey key_journey recipients_journey flows_host \
  mu_quiren11e quiren quiren_tool
ctest --test-dir "$build" -R '^e2e\.(release_journey\.ja|(window|key|recipients)_journey\.(ja|en))$' --output-on-failure

mkdir -p "$out"
# cut SHOT PICTURE: the shot (SHOT.png, its window's place in SHOT.rect) cut
# to the window, without time stamps, so an unchanged window gives the
# same file.
cut() {
  local shot=$1 picture=$2
  [ -f "$shot.png" ] && [ -f "$shot.rect" ] || { echo "screenshots: $shot was not shot" >&2; exit 1; }
  local x y w h
  read -r x y w h <"$shot.rect"
  local crop=(-crop "${w}x${h}+${x}+${y}" +repage)
  if [ "$(basename "$shot")" = splash ]; then
    # The splash window is an ellipse: the corners outside it are not its.
    crop+=(\( -size "${w}x${h}" xc:black -fill white
           -draw "ellipse $((w / 2)),$((h / 2)) $((w / 2)),$((h / 2)) 0,360" \)
           -alpha off -compose CopyOpacity -composite)
  fi
  convert "$shot.png" "${crop[@]}" -strip -define png:exclude-chunks=date,time "$picture"
  echo "screenshots: $picture (${w}x${h})"
}

# Shot name: the name the guides use.
for name in splash encrypt-question password-prompt password-prompt-shown viewer menu settings progress password-editor about; do
  cut "$build/e2e-screens/release_journey.ja/$name" "$out/$name.png"
done
# The password list and the chooser, and the encrypt prompt with a
# generated passphrase, under each locale: <name>-<locale>.png.
for locale in ja en; do
  for name in password-list-masked password-list-shown chooser-masked chooser-shown password-prompt-generated; do
    cut "$build/e2e-screens/window_journey.$locale/$name" "$out/$name-$locale.png"
  done
  for name in key-offer contacts; do
    cut "$build/e2e-screens/key_journey.$locale/$name" "$out/$name-$locale.png"
  done
  for name in password-prompt-recipients viewer-sender; do
    cut "$build/e2e-screens/recipients_journey.$locale/$name" "$out/$name-$locale.png"
  done
done

# The reader page: each tab in both languages, at desktop and phone width;
# the open and seal tabs used with keys at desktop width.
scripts/build-reader.sh "$build/web/quiren-reader.html" >/dev/null
/usr/bin/python3 tests/web/shoot_page.py "$build/web/quiren-reader.html" "$build/web/shots" >/dev/null
for lang in ja en; do
  for name in reader-{open,seal,keys}-$lang reader-{open,seal,keys}-$lang-phone reader-open-key-$lang reader-seal-keys-$lang; do
    convert "$build/web/shots/$name.png" -strip -define png:exclude-chunks=date,time "$out/$name.png"
    echo "screenshots: $out/$name.png"
  done
done
