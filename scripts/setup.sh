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
  nsis
)

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1; then missing+=("$p"); fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi

echo "setup: installing ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
