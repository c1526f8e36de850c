#!/usr/bin/env bash
# Painting the gallery of controls (tests/e2e/gallery.cpp) with the skin's painters against the
# same gallery drawn by the system, alternating in blocks in one run under Wine. Prints the time
# per paint of each and their ratio.
#   bench/skinpaint/run.sh [PAINTS]
set -euo pipefail
paints=${1:-200}
what=win32
# shellcheck source=../session.sh
source "$(dirname "$0")/../session.sh"
wine "$bin/ktgallery.exe" bench "$paints" | tr -d '\r'
