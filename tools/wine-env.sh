#!/bin/bash
# Runs a command with an Xvfb display and one persistent wineserver, and ends both
# afterwards. Usage: tools/wine-env.sh COMMAND [ARGS...]
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/windows/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1
    kill "$xvfb_pid" 2>/dev/null
    rm -f "$dfile"
}
trap cleanup EXIT
for _ in $(seq 1 100); do
    [ -s "$dfile" ] && break
    sleep 0.1
done
[ -s "$dfile" ] || { echo "wine-env: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$dfile")"

"$here/wine-prefix-init.sh" || exit 1
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot.exe >/dev/null 2>&1 </dev/null
"$@"
