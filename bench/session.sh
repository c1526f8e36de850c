# Sourced by the benchmarks: builds, starts the Wine session (stopped on exit) and a fresh
# prefix of its own. Sets root, build and bin; the caller sets `what` (build.sh's argument).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" ${what:-} >/dev/null
bin="$build/win32/bin"
"$root/scripts/wine-session.sh" start "$build/win32" >/dev/null
trap '"$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
# shellcheck disable=SC1091
source "$build/win32/wine/session.env"
export KT_WARMUP_EXE="$bin/ktdrive.exe"
WINEPREFIX=$("$root/scripts/wine-prefix.sh" bench)
export WINEPREFIX
