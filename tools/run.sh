#!/bin/bash
# Builds FollowKelvaro.exe and starts it under Wine.
#
# By default it runs in a demonstration prefix (build/demo-prefix), prepared on
# first use: a central dbpfad.ini naming C:\Praxis\Talvorin_Patientendaten\, and
# two of the three companions installed under C:\Program Files\Talvorin\.
# FOLLOWKELVARO_PREFIX=/path/to/prefix runs it in an existing Wine prefix instead.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target FollowKelvaro
export WINEDEBUG="${WINEDEBUG:--all}"
[ -n "${DISPLAY:-}" ] && export FK_WINE_MANAGED=Y

if [ -n "${FOLLOWKELVARO_PREFIX:-}" ]; then
    export WINEPREFIX="$FOLLOWKELVARO_PREFIX"
    [ -d "$WINEPREFIX/drive_c" ] || { echo "run: no Wine prefix at $WINEPREFIX" >&2; exit 1; }
else
    export WINEPREFIX="$PWD/build/demo-prefix"
    tools/wine-prefix-init.sh
    c="$WINEPREFIX/drive_c"
    if [ ! -f "$WINEPREFIX/.demo-ready" ]; then
        mkdir -p "$c/ProgramData/Talvorin_Patientendaten" "$c/Praxis/Talvorin_Patientendaten"
        : > "$c/Praxis/Talvorin_Patientendaten/person.pxd"
        printf 'C:\\Praxis\\Talvorin_Patientendaten\\\r\n' \
            > "$c/ProgramData/Talvorin_Patientendaten/dbpfad.ini"
        for companion in Dorvant_Assistent_Zeph Pellinor; do
            mkdir -p "$c/Program Files/Talvorin/$companion"
            printf 'C:\\Alte_Daten\\\r\n' > "$c/Program Files/Talvorin/$companion/dbpfad.ini"
        done
        touch "$WINEPREFIX/.demo-ready"
        echo "Demonstration prefix prepared: $WINEPREFIX"
    fi
fi

exe="$PWD/build/windows/app/FollowKelvaro.exe"
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting the program on a virtual display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$exe"
fi
exec /usr/lib/wine/wine64 "$exe"
