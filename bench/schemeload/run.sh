#!/usr/bin/env bash
# A 10 MB scheme loaded by the configuration window and the bar under Wine, against reading the
# file into memory, in one run. Prints medians and ratios.
#   bench/schemeload/run.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null
bin="$build/win32/bin"
"$root/scripts/wine-session.sh" start "$build/win32" >/dev/null
trap '"$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
# shellcheck disable=SC1091
source "$build/win32/wine/session.env"
export KT_WARMUP_EXE="$bin/ktdrive.exe"
export WINEPREFIX=$("$root/scripts/wine-prefix.sh" bench)
wine "$bin/ktschemeload.exe" "${1:-5}" | tr -d '\r'
