#!/usr/bin/env bash
# A 10 MB scheme loaded by the configuration window and the bar under Wine, against reading the
# file into memory, in one run. Prints medians and ratios.
#   bench/schemeload/run.sh [ROUNDS]
set -euo pipefail
# shellcheck source=../session.sh
source "$(dirname "$0")/../session.sh"
wine "$bin/ktschemeload.exe" "${1:-5}" | tr -d '\r'
