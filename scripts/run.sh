#!/usr/bin/env bash
# Runs Ketravo. With an X display (DISPLAY set), KTRAVO.exe starts under Wine on that display,
# in the project's own prefix (settings kept between runs). Without one, a scripted demo runs
# on a virtual display, saves a screenshot and prints its path and what happened.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KT_BUILD_DIR:-$root/build}
export KT_BUILD_DIR=$build

"$root/scripts/setup.sh"
# A quiet build; when it fails, its output is shown.
mkdir -p "$build"
if ! "$root/scripts/build.sh" >"$build/build.log" 2>&1; then
    cat "$build/build.log" >&2
    echo "run.sh: the build failed (output kept in $build/build.log)" >&2
    exit 1
fi

bin="$build/win32/bin"
if [ -n "${DISPLAY:-}" ]; then
    KT_USE_DISPLAY=1 "$root/scripts/wine-session.sh" start "$build/win32" >/dev/null
    trap '"$root/scripts/wine-session.sh" stop "$build/win32"' EXIT
    # shellcheck disable=SC1091
    source "$build/win32/wine/session.env"
    # The user's own prefix and start folder: made once, kept between runs.
    export WINEPREFIX="$KT_WINE_STATE/user"
    if [ ! -d "$WINEPREFIX" ]; then cp -a "$KT_WINE_STATE/template" "$WINEPREFIX"; fi
    # Wine draws the frames (the program's skinned ones), the window manager keeps the focus.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
    mkdir -p "$build/run"
    cp "$bin/KTRAVO.exe" "$build/run/"
    cp -r "$bin/help" "$build/run/"
    cd "$build/run"
    echo "Ketravo is running on $DISPLAY; end it with Exit on its tray menu."
    wine KTRAVO.exe
else
    exec python3 "$root/scripts/demo.py"
fi
