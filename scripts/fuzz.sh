#!/usr/bin/env bash
# Runs every fuzz target for a while from a copy of its seeds.
#   fuzz.sh SECONDS [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
seconds=${1:-15}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$build"/fuzz/fuzz/fuzz_*; do [ -x "$f" ] && targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
work="$build/fuzz/runs"
status=0
for t in "${targets[@]}"; do
    corpus="$work/$t"
    mkdir -p "$corpus"
    [ -d "$root/fuzz/corpus/$t" ] && cp -n "$root/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
    log="$work/$t.log"
    if "$build/fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$work/$t-" "$corpus" >"$log" 2>&1; then
        echo "fuzz $t: $(grep -Eo '#[0-9]+' "$log" | tail -1 | tr -d '#') runs, no finding"
    else
        echo "fuzz $t: FINDING, see $log"
        tail -30 "$log"
        status=1
    fi
done
exit $status
