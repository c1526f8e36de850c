#!/usr/bin/env bash
# Makes a fresh prefix from the session's template and starts its persistent wineserver.
#   wine-prefix.sh NAME     prints the prefix path
# With KT_LOGPIXELS set (e.g. 144), the prefix reports that display resolution: set in its
# registry files before its first process starts, as a user's display scale is.
set -euo pipefail
: "${KT_WINE_STATE:?source the session.env of wine-session.sh first}"
name=${1:?prefix name}
p="$KT_WINE_STATE/prefix-$name"
if [ -d "$p" ]; then WINEPREFIX="$p" wineserver -k >/dev/null 2>&1 || true; WINEPREFIX="$p" wineserver -w || true; fi
rm -rf "$p"
# The system folder holds ~500 MB of Wine's own DLLs, never written after set-up: link them
# instead of copying. Everything else (registry files, user folders) is a real copy.
t="$KT_WINE_STATE/template"
mkdir -p "$p"
(cd "$t" && tar --exclude=./drive_c/windows/system32 -cf - .) | (cd "$p" && tar -xf -)
cp -al "$t/drive_c/windows/system32" "$p/drive_c/windows/system32"
if [ -n "${KT_LOGPIXELS:-}" ]; then
    hex=$(printf '%08x' "$KT_LOGPIXELS")
    sed -i "s/^\"LogPixels\"=dword:.*/\"LogPixels\"=dword:$hex/" "$p/user.reg" "$p/system.reg"
    sed -i "/^\[Control Panel\\\\\\\\Desktop\]/a \"LogPixels\"=dword:$hex" "$p/user.reg"
fi
export WINEPREFIX=$p
wineserver -p
# The first process starts Wine's services; its output must not sit on a caller's pipe.
wine cmd /c exit </dev/null >"$p/warmup.log" 2>&1 || true
# The first program that touches the desktop starts Wine's desktop process, which would keep
# that program's output pipe open: let a program of ours do that here, onto the log.
if [ -n "${KT_WARMUP_EXE:-}" ] && [ -f "$KT_WARMUP_EXE" ]; then
    wine "$KT_WARMUP_EXE" windows </dev/null >>"$p/warmup.log" 2>&1 || true
fi
echo "$p"
