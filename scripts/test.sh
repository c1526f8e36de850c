#!/usr/bin/env bash
# Runs every test: the include check of the rings, native tests (ASan/UBSan), short fuzz runs,
# Win32 tests under Wine and the end-to-end tests of the real KTRAVO.exe on a virtual display.
# Installs what is missing first.
#   KT_FUZZ_SECONDS  seconds per fuzz target (default 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
export KT_BUILD_DIR=$build

echo "== rings: no lower ring includes a header of a higher one"
"$root/scripts/check-rings.sh" --self-test
"$root/scripts/check-rings.sh"
echo "== text: no ANSI text call outside the named ones"
"$root/scripts/check-text-api.sh" --self-test
"$root/scripts/check-text-api.sh"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" all

echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j"$(nproc)"

echo "== fuzz targets, ${KT_FUZZ_SECONDS:-15} s each"
"$root/scripts/fuzz.sh" "${KT_FUZZ_SECONDS:-15}"

echo "== Win32 and end-to-end tests under Wine"
unset DISPLAY
"$root/scripts/wine-session.sh" start "$build/win32" >/dev/null
trap '"$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
# shellcheck disable=SC1091
source "$build/win32/wine/session.env"
export KT_WARMUP_EXE="$build/win32/bin/ktdrive.exe"
"$root/scripts/wine-prefix.sh" tests >/dev/null
ctest --test-dir "$build/win32" --output-on-failure
echo "== all tests passed"
