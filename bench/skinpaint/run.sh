#!/usr/bin/env bash
# Painting the gallery of controls (tests/e2e/gallery.cpp) with the skin's painters against the
# same gallery drawn by the system, alternating in blocks in one run under Wine. Prints the time
# per paint of each and their ratio.
#   bench/skinpaint/run.sh [PAINTS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
paints=${1:-200}
"$root/scripts/build.sh" win32 >/dev/null
bin="$build/win32/bin"
"$root/scripts/wine-session.sh" start "$build/win32" >/dev/null
trap '"$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
# shellcheck disable=SC1091
source "$build/win32/wine/session.env"
export KT_WARMUP_EXE="$bin/ktdrive.exe"
export WINEPREFIX=$("$root/scripts/wine-prefix.sh" bench)
wine "$bin/ktgallery.exe" bench "$paints" | tr -d '\r'
