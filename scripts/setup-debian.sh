#!/usr/bin/env bash
# Installs what building, running and testing mu-quiren needs on Debian,
# only where it is missing. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ g++-multilib clang libclang-rt-14-dev lld llvm pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 wine wine64 wine32:i386 xvfb xauth x11-utils
  debian-archive-keyring perl
  locales fonts-ipafont-gothic imagemagick
  python3 zip unzip
  libssl-dev python3-cryptography libutf8proc-dev
  # The word lists of generated passphrases (read at build time).
  diceware python3-mnemonic
  nodejs chromium chromium-driver python3-selenium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# 32-bit Wine (for the 32-bit quiren.dll) comes from the i386 architecture.
if [ "$(dpkg --print-architecture)" = amd64 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# The program's home is a Japanese system (ANSI code page 932); the tests
# also run it under a western locale (code page 1252).
need_locales=()
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || need_locales+=("ja_JP.UTF-8 UTF-8")
locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$' || need_locales+=("en_US.UTF-8 UTF-8")
if [ ${#need_locales[@]} -gt 0 ]; then
  for l in "${need_locales[@]}"; do
    grep -qxF "$l" /etc/locale.gen 2>/dev/null || echo "$l" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
