#!/usr/bin/env bash
# Start-up of KTRAVO.exe under Wine until its bar window is visible, beside a one-window program
# (the floor), alternating in one run. Prints the medians and their ratio.
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
ours=() floor=()
for _ in $(seq "$rounds"); do
    ours+=("$(wine "$bin/ktlaunch.exe" TButtonForm "$exe" | tr -d '\r')")
    floor+=("$(wine "$bin/ktlaunch.exe" FloorWindow "$bin/floorwin.exe" | tr -d '\r')")
done
python3 - "${ours[*]}" "${floor[*]}" <<'PY'
import statistics, sys
ours = [float(v) for v in sys.argv[1].split()]
floor = [float(v) for v in sys.argv[2].split()]
mo, mf = statistics.median(ours), statistics.median(floor)
print("start until the window is visible, %d rounds (ms: min / median / max)" % len(ours))
print("  KTRAVO.exe   %7.1f / %7.1f / %7.1f" % (min(ours), mo, max(ours)))
print("  one window   %7.1f / %7.1f / %7.1f" % (min(floor), mf, max(floor)))
print("  ratio (median): %.2f" % (mo / mf))
PY
cd / && rm -rf "$start"
