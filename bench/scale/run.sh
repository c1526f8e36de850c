#!/usr/bin/env bash
# The cost of display scaling, in one run under Wine: start-up of KTRAVO.exe until its bar is
# visible and the gallery of skinned controls painted, at 96 pixels per inch and at 144 (a
# prefix of its own whose display reports 144), alternating. With BEFORE set to the bin folder of
# another build (e.g. one made from the commit before the scaling), that build at 96 is timed in
# the same rounds, and this build's start at 96 is compared with it.
#   [BEFORE=/path/to/win32/bin] bench/scale/run.sh [ROUNDS] [PAINTS]
set -euo pipefail
rounds=${1:-15}
paints=${2:-200}
what=win32
# shellcheck source=../session.sh
source "$(dirname "$0")/../session.sh"
p96=$WINEPREFIX
p144=$(KT_LOGPIXELS=144 "$root/scripts/wine-prefix.sh" bench-144)
work=$(mktemp -d)
trap 'rm -rf "$work"; "$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
# Both programs stripped alike: the builds carry ~20 MB of debugging information a start reads.
i686-w64-mingw32-strip -o "$work/after.exe" "$bin/KTRAVO.exe"
[ -n "${BEFORE:-}" ] && i686-w64-mingw32-strip -o "$work/before.exe" "$BEFORE/KTRAVO.exe"
start() {  # prefix exe: ms until the bar is visible, from a start folder of that prefix's own
    local dir="$work/start-$(basename "$1")"
    mkdir -p "$dir/data"
    printf 'C01Name\r\nT01Jane Doe\r\nC01Street\r\nT01Market Street 12\r\nC01Mail\r\nT01jane@example.com\r\nD011\r\n' \
        >"$dir/data/button.dat"
    (cd "$dir" && WINEPREFIX=$1 wine "$bin/ktlaunch.exe" TButtonForm "$2" | tr -d '\r')
}
# One start first in each: it writes the first-run settings, which later starts only read.
start "$p96" "$work/after.exe" >/dev/null
start "$p144" "$work/after.exe" >/dev/null
after96=() after144=() before96=() floor96=() floor144=()
floor() {  # prefix: the one-window program's start, what Wine itself costs at that resolution
    WINEPREFIX=$1 wine "$bin/ktlaunch.exe" FloorWindow "$bin/floorwin.exe" | tr -d '\r'
}
# Each round in another order, so that a drift of the machine does not favour one side.
for i in $(seq "$rounds"); do
    for k in 0 1 2 3 4; do
        case $(( (i + k) % 5 )) in
            0) after96+=("$(start "$p96" "$work/after.exe")") ;;
            1) after144+=("$(start "$p144" "$work/after.exe")") ;;
            2) [ -z "${BEFORE:-}" ] || before96+=("$(start "$p96" "$work/before.exe")") ;;
            3) floor96+=("$(floor "$p96")") ;;
            4) floor144+=("$(floor "$p144")") ;;
        esac
    done
done
gallery() {  # prefix folder: the skinned paint's ms
    WINEPREFIX=$1 wine "$2/ktgallery.exe" bench "$paints" | tr -d '\r' | tee /dev/stderr | awk '/skinned/ && !/un/ {print $2}'
}
g96=() g144=() gbefore=()
for i in 1 2 3; do
    for k in 0 1 2; do
        case $(( (i + k) % 3 )) in
            0) g96+=("$(gallery "$p96" "$bin")") ;;
            1) g144+=("$(gallery "$p144" "$bin")") ;;
            2) [ -z "${BEFORE:-}" ] || gbefore+=("$(gallery "$p96" "$BEFORE")") ;;
        esac
    done
done
python3 - "${after96[*]}" "${after144[*]}" "${before96[*]:-}" "${g96[*]}" "${g144[*]}" "${gbefore[*]:-}" \
    "${floor96[*]}" "${floor144[*]}" <<'PY'
import statistics, sys
runs = [[float(v) for v in a.split()] for a in sys.argv[1:]]
a96, a144, b96, g96, g144, gb, f96, f144 = runs
m = statistics.median
print("start until the bar is visible, %d rounds (ms: min / median / max)" % len(a96))
for name, r in (("this build at 96", a96), ("this build at 144", a144), ("before at 96", b96),
                ("one window at 96", f96), ("one window at 144", f144)):
    if r:
        print("  %-20s %7.1f / %7.1f / %7.1f" % (name, min(r), m(r), max(r)))
print("  at 144 against at 96 (median): %.3f; the one window's: %.3f" % (m(a144) / m(a96), m(f144) / m(f96)))
print("  above the one window, at 144 against at 96 (median): %.3f" % ((m(a144) - m(f144)) / (m(a96) - m(f96))))
if b96:
    print("  this build against before, at 96 (median): %.3f" % (m(a96) / m(b96)))
print("gallery painted skinned (ms per paint, median of %d runs)" % len(g96))
print("  at 96 %.2f, at 144 %.2f: at 144 against at 96 %.3f" % (m(g96), m(g144), m(g144) / m(g96)))
if gb:
    print("  before at 96 %.2f: this build against before, at 96 %.3f" % (m(gb), m(g96) / m(gb)))
PY
