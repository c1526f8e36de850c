#!/usr/bin/env bash
# Start-up of KTRAVO.exe under Wine until its bar window is visible, beside a one-window program
# (the floor), alternating in one run. Prints the medians and their ratio; also the ratio to the
# same one-window program with common controls 6, which KTRAVO.exe's manifest brings in.
#   bench/startup/run.sh [ROUNDS]
set -euo pipefail
rounds=${1:-15}
# shellcheck source=../session.sh
source "$(dirname "$0")/../session.sh"
# The program as it ships (stripped, in the release folder); the build's own carries ~20 MB
# of debugging information that a start would read too.
exe="$build/win32/packaging/stage/Ketravo/KTRAVO.exe"
[ -f "$exe" ] || exe="$bin/KTRAVO.exe"
start=$(mktemp -d)
mkdir -p "$start/data"
printf 'C01Name\r\nT01Jane Doe\r\nC01Street\r\nT01Market Street 12\r\nC01Mail\r\nT01jane@example.com\r\nD011\r\n' \
    >"$start/data/button.dat"
cd "$start"
# One start first: it writes the first-run settings, which later starts only read.
wine "$bin/ktlaunch.exe" TButtonForm "$exe" >/dev/null
ours=() floor=() floorcc6=()
for _ in $(seq "$rounds"); do
    ours+=("$(wine "$bin/ktlaunch.exe" TButtonForm "$exe" | tr -d '\r')")
    floor+=("$(wine "$bin/ktlaunch.exe" FloorWindow "$bin/floorwin.exe" | tr -d '\r')")
    floorcc6+=("$(wine "$bin/ktlaunch.exe" FloorWindow "$bin/floorcc6.exe" | tr -d '\r')")
done
python3 - "${ours[*]}" "${floor[*]}" "${floorcc6[*]}" <<'PY'
import statistics, sys
ours = [float(v) for v in sys.argv[1].split()]
floor = [float(v) for v in sys.argv[2].split()]
cc6 = [float(v) for v in sys.argv[3].split()]
mo, mf, mc = statistics.median(ours), statistics.median(floor), statistics.median(cc6)
print("start until the window is visible, %d rounds (ms: min / median / max)" % len(ours))
for name, runs, median in (("KTRAVO.exe", ours, mo), ("one window", floor, mf),
                           ("one window, common controls 6", cc6, mc)):
    print("  %-30s %7.1f / %7.1f / %7.1f" % (name, min(runs), median, max(runs)))
print("  ratio (median): %.2f" % (mo / mf))
print("  ratio to the one window with common controls 6 (median): %.2f" % (mo / mc))
PY
cd / && rm -rf "$start"
