#!/usr/bin/env bash
# Configures and builds: the native build (portable core, tests, tools, the built-in skins)
# and the 32-bit Windows build (KTRAVO.exe, Win32 tests, driver), which embeds the skins the
# native build made.
#   build.sh [native|win32|fuzz|all]   (default: native and win32)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
what=${1:-default}
jobs=$(nproc 2>/dev/null || echo 2)

native() {
    cmake -S "$root" -B "$build/native" -G Ninja -DKT_SANITIZE=ON >/dev/null
    ninja -C "$build/native" -j"$jobs"
}
win32() {
    cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
        -DKT_SKIN_STORE="$build/native/skins/builtin.store" >/dev/null
    ninja -C "$build/win32" -j"$jobs"
}
fuzz() {
    cmake -S "$root" -B "$build/fuzz" -G Ninja -DKT_FUZZ=ON -DKT_SANITIZE=ON \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    ninja -C "$build/fuzz" -j"$jobs"
}

case "$what" in
    native) native ;;
    win32) native; win32 ;;
    fuzz) fuzz ;;
    all) native; win32; fuzz ;;
    default) native; win32 ;;
    *) echo "usage: $0 [native|win32|fuzz|all]" >&2; exit 2 ;;
esac
