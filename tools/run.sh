#!/bin/bash
# Builds FollowKelvaro.exe and starts it under Wine.
#
# By default it runs in a demonstration prefix (build/demo-prefix), prepared on
# first use: a central dbpfad.ini naming C:\Praxis\Talvorin_Patientendaten\, and
# two of the three companions installed under C:\Program Files\Talvorin\.
# FOLLOWKELVARO_PREFIX=/path/to/prefix runs it in an existing Wine prefix instead.
#
# Without DISPLAY the demonstration runs by itself on a virtual display: the pointer
# clicks "Start", and once "Ende" shows, the window goes to build/demo-after-start.png,
# its progress log to standard output, and the pointer clicks "Ende". A practice's own
# prefix is never driven: there the window waits for its user on the virtual display.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target FollowKelvaro demo_driver
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
[ -n "${DISPLAY:-}" ] && exec /usr/lib/wine/wine64 "$exe"
if [ -n "${FOLLOWKELVARO_PREFIX:-}" ]; then
    echo "No DISPLAY: starting the program on a virtual display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$exe"
fi

# Runs under tools/wine-env.sh, whose end stops every Wine process of the prefix and the
# virtual display, also when a step below gives up. The waits add up to under a minute.
demo() {
    local at geometry program
    "$wine" "$exe" >/dev/null 2>&1 </dev/null &
    program=$!
    if ! at=$("$wine" "$driver" button Start 30); then
        echo "run: the window did not appear within 30 seconds; stopping" >&2
        return 1
    fi
    xdotool mousemove $at click 1
    if ! at=$("$wine" "$driver" button Ende 20); then
        echo "run: \"Ende\" did not show within 20 seconds of the click on \"Start\"; stopping" >&2
        return 1
    fi
    sleep 1  # the window repaints after the run has returned
    geometry=$("$wine" "$driver" window)
    import -window root -crop "$geometry" +repage "$shot"
    echo "The progress log after \"Start\":"
    "$wine" "$driver" log | tr -d '\r'
    echo
    xdotool mousemove $at click 1
    for _ in $(seq 1 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$program" 2>/dev/null || ! wait "$program"; then
        echo "run: the program did not end with exit code 0 on \"Ende\"" >&2
        return 1
    fi
    echo "Picture of the window after \"Start\": $shot"
}
echo "No DISPLAY: the demonstration runs by itself on a virtual display."
wine=/usr/lib/wine/wine64
driver="$PWD/build/windows/tools/demo_driver.exe"
shot="$PWD/build/demo-after-start.png"
rm -f "$shot"
export -f demo
export wine exe driver shot
exec tools/wine-env.sh bash -eo pipefail -c demo
