#!/usr/bin/env bash
# The skinned frame's cost under Wine, each figure beside its unskinned baseline in one run:
# 200 resizes of one window, and the memory of the program with its configuration window shown.
#   bench/skinframe/run.sh
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
start=$(mktemp -d)
cd "$start"
wine "$bin/ktskinframe.exe" | tr -d '\r'
cd / && rm -rf "$start"
