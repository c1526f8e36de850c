#!/usr/bin/env bash
# Installs what the build, the program and the tests need on a Debian 12 machine.
# Idempotent: packages already installed are skipped, so a warm machine pays nothing.
set -euo pipefail

pkgs=(
  cmake ninja-build g++ googletest libgtest-dev zlib1g-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 wine64
  xvfb xauth x11-xkb-utils x11-utils xdotool openbox imagemagick
  nsis locales
)

# The keyboard-layout tests run Wine in these locales (each gives Wine its code page).
locales=(en_US de_DE fr_FR cs_CZ ru_RU el_GR)

make_locales() {
  local have
  have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
  for l in "${locales[@]}"; do
    local want
    want=$(echo "$l.utf8" | tr 'A-Z' 'a-z')
    if ! grep -qx "$want" <<<"$have"; then
      localedef -i "$l" -f UTF-8 "$l.UTF-8" || echo "setup: could not make the locale $l.UTF-8" >&2
    fi
  done
}

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then missing+=("$p"); fi
done
if [ ${#missing[@]} -eq 0 ]; then make_locales; exit 0; fi

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

echo "setup: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
make_locales
