#!/bin/sh
# Runs a Windows test program under Wine with a private prefix inside the build folder,
# no display and no first-run downloads.
: "${WINEPREFIX:=$PWD/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.zems-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.zems-ready"
fi
wine "$@"
rc=$?
exit $rc
