#!/bin/sh
# Creates the Wine prefix named by WINEPREFIX once, under a lock, so parallel
# tests do not race. The marker is written last: a prefix whose set-up was
# interrupted is set up again.
set -u
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.prefix-ready" ] && exit 0
wine=/usr/lib/wine/wine64
$wine wineboot.exe --init >/dev/null 2>&1 </dev/null
# No window manager under Xvfb: unmanaged windows (FK_WINE_MANAGED=Y keeps them managed
# for a desktop), and no crash dialog that would hang a test.
$wine reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${FK_WINE_MANAGED:-N}" /f >/dev/null 2>&1 </dev/null
$wine reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
/usr/lib/wine/wineserver -w
touch "$WINEPREFIX/.prefix-ready"
