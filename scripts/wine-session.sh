#!/usr/bin/env bash
# A headless Wine session of the project's own: Xvfb, a window manager, a Wine prefix under
# the build folder and a persistent wineserver. Everything started is stopped by its PID.
#
#   wine-session.sh start BUILD_DIR   writes BUILD_DIR/wine/session.env (source it)
#   wine-session.sh stop BUILD_DIR
#
# With KT_USE_DISPLAY=1 and DISPLAY set, the caller's display is used instead of Xvfb.
set -euo pipefail

cmd=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
state="$build/wine"
mkdir -p "$state"
envfile="$state/session.env"

export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

stop() {
    [ -f "$envfile" ] || return 0
    # shellcheck disable=SC1090
    source "$envfile"
    for p in "$state"/prefix-*/ "$state/user/"; do
        [ -d "$p" ] && WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true
    done
    for pid in ${KT_WM_PID:-} ${KT_XVFB_PID:-}; do
        kill "$pid" 2>/dev/null || true
    done
    rm -f "$envfile"
}

# A ready prefix, made once and copied for each fresh start (a copy takes a second).
# Wine draws the window frames itself ("Decorated" off) while the window manager still
# manages focus and stacking: the program's skinned frames then show as they are drawn.
template() {
    local t="$state/template"
    if [ ! -f "$t/.ready-undecorated" ]; then
        rm -rf "$t"
        WINEPREFIX="$t" wineboot -i </dev/null >"$state/wineboot.log" 2>&1
        WINEPREFIX="$t" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
            </dev/null >>"$state/wineboot.log" 2>&1
        WINEPREFIX="$t" wineserver -w
        touch "$t/.ready-undecorated"
    fi
}

start() {
    stop
    local display xvfb_pid="" wm_pid=""
    if [ "${KT_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        display=$DISPLAY
    else
        rm -f "$state/display"
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$state/display" \
            >"$state/xvfb.log" 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
        display=":$(cat "$state/display")"
        export DISPLAY=$display
        # The default keymap puts "(" and ")" on keys Wine cannot map.
        setxkbmap -layout us -symbols 'pc+us' || true
        openbox --sm-disable >"$state/openbox.log" 2>&1 &
        wm_pid=$!
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.1
        done
    fi
    export DISPLAY=$display
    template
    cat >"$envfile" <<ENV
export DISPLAY=$display
export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export KT_WINE_STATE=$state
export KT_XVFB_PID=$xvfb_pid
export KT_WM_PID=$wm_pid
ENV
    echo "$envfile"
}

case "$cmd" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
