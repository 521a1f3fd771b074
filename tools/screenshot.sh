#!/bin/bash
# Takes a screenshot of the main window under Wine and Xvfb: docs/main-window.png.
# Usage: tools/screenshot.sh [OUTPUT.png]   (after a windows build)
set -eu
cd "$(dirname "$0")/.."
out="${1:-docs/main-window.png}"
exe="$PWD/build/windows/app/FollowKelvaro.exe"
[ -f "$exe" ] || cmake --build --preset windows --target FollowKelvaro
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/wineprefix}"
shot() {
    /usr/lib/wine/wine64 "$exe" >/dev/null 2>&1 </dev/null &
    local pid=$!
    sleep 4
    import -window root -display "$DISPLAY" /tmp/fk-root.png
    convert /tmp/fk-root.png -trim +repage "$out"
    kill "$pid" 2>/dev/null || true
    rm -f /tmp/fk-root.png
}
export -f shot
export exe out
tools/wine-env.sh bash -c shot
echo "wrote $out"
