#!/bin/sh
# Makes the Wine prefix given as $1 anew: stops its server, removes it, sets it up.
set -u
prefix="$1"
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1
rm -rf "$prefix"
WINEPREFIX="$prefix" exec "$(dirname "$0")/wine-prefix-init.sh"
