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
wine "$bin/ktskinframe.exe" | tr -d '\r'

# Memory: the program with its configuration window shown (a first start shows it), with the
# stored skin index 3 (no skin) and 0 (Blue).
start=$(mktemp -d)
mkdir -p "$start/data"
printf 'D01-1\r\n' >"$start/data/button.dat"
measure() {
    wine reg add 'HKCU\Software\Orvall Software\Ketravo\Options\Skins' /v SkinIndex /t REG_SZ /d "$1" /f >/dev/null 2>&1
    (cd "$start" && wine "$bin/KTRAVO.exe" >/dev/null 2>&1 &)
    local line=""
    for _ in $(seq 100); do
        line=$(wine "$bin/ktdrive.exe" windows | tr -d '\r' | awk -F'\t' '$2=="TConfigForm" && $6=="1"')
        [ -n "$line" ] && break
        sleep 0.2
    done
    sleep 2  # the skin is applied and painted
    local pid
    pid=$(echo "$line" | awk -F'\t' '{print $7}')
    wine "$bin/ktdrive.exe" gui "$pid" | tr -d '\r'
    wine "$bin/ktdrive.exe" close Ketravo >/dev/null 2>&1 || true
    wineserver -k; wineserver -w || true
    wineserver -p
}
plain=$(measure 3)
skinned=$(measure 0)
python3 - "$plain" "$skinned" <<'PY'
import sys
p = [int(v) for v in sys.argv[1].split()]
s = [int(v) for v in sys.argv[2].split()]
print("the program with its configuration window shown")
print("               GDI objects  USER objects  private KB")
print("  unskinned    %11d  %12d  %10d" % (p[0], p[1], p[2] // 1024))
print("  skinned      %11d  %12d  %10d" % (s[0], s[1], s[2] // 1024))
print("  ratio        %11.2f  %12.2f  %10.2f" % (s[0] / p[0], s[1] / p[1], s[2] / p[2]))
PY
cd / && rm -rf "$start"
