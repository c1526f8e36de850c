#!/usr/bin/env bash
# Runs the native benchmarks in an optimised build without sanitizers (build/bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
cmake -S "$root" -B "$build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build/bench" bench_lzh bench_skindraw >/dev/null
for b in "$build"/bench/bench/*/bench_*; do
    echo "== $(basename "$b")"
    "$b"
done
