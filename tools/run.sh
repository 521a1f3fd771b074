#!/bin/bash
# Builds FollowKelvaro.exe and starts it under Wine on the current display
# (or on an Xvfb display of its own when there is none).
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target FollowKelvaro
export WINEPREFIX="${FOLLOWKELVARO_PREFIX:-$PWD/build/run-prefix}"
[ -n "${DISPLAY:-}" ] && export FK_WINE_MANAGED=Y
tools/wine-prefix-init.sh
export WINEDEBUG="${WINEDEBUG:--all}"
exe="$PWD/build/windows/app/FollowKelvaro.exe"
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting the program on a virtual display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$exe"
fi
exec /usr/lib/wine/wine64 "$exe"
