#!/usr/bin/env bash
# The test emulator: runs a Windows program under the session's test prefix, making sure
# that prefix and its server exist (the first Wine process must not run on CTest's pipes).
set -euo pipefail
: "${KT_WINE_STATE:?source the session.env of wine-session.sh first}"
export WINEPREFIX="$KT_WINE_STATE/prefix-tests"
if [ ! -d "$WINEPREFIX" ]; then
    "$(dirname "$0")/wine-prefix.sh" tests >/dev/null
else
    wineserver -p </dev/null >/dev/null 2>&1 || true   # already running: nothing to do
fi
exec wine "$@"
