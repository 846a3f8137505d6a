#!/bin/sh
# Runs a Windows test program under Wine with a private prefix inside the build folder,
# no display and no first-run downloads.
: "${WINEPREFIX:=$PWD/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# Wine does not start under qemu's i386 user-mode emulator (scripts/i386-exec.sh): it cannot map
# the shared user data page. Report the run as skipped (CTest's SKIP_RETURN_CODE) there.
if [ -r /proc/sys/fs/binfmt_misc/qemu-i386 ] && head -n1 /proc/sys/fs/binfmt_misc/qemu-i386 | grep -qx enabled; then
  echo "wine-run: skipped, 32-bit programs run through qemu's i386 emulator, where Wine cannot start"
  exit 77
fi
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
