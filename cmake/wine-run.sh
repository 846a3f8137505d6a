#!/bin/sh
# Runs a Windows test program under Wine with a private prefix inside the build folder,
# no display and no first-run downloads.
: "${WINEPREFIX:=$PWD/wineprefix}"
export WINEPREFIX
# ZEMS_WINEDEBUG (scripts/test.sh --wine-heap) turns Wine's channels on, its heap checks say.
export WINEDEBUG="${ZEMS_WINEDEBUG:--all}"
# winedbg.exe disabled: a crashing program ends at once with its exception code instead of
# starting Wine's debugger, which would wait until the test's time-out.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# Wine does not start under qemu's i386 user-mode emulator (scripts/i386-exec.sh): it cannot map
# the shared user data page. Report the run as skipped (CTest's SKIP_RETURN_CODE) there.
if [ -r /proc/sys/fs/binfmt_misc/qemu-i386 ] && head -n1 /proc/sys/fs/binfmt_misc/qemu-i386 | grep -qx enabled; then
  echo "wine-run: skipped, 32-bit programs run through qemu's i386 emulator, where Wine cannot start"
  exit 77
fi
mkdir -p "$WINEPREFIX"
# The first program of a run prepares the prefix; parallel tests wait for it. The Wine server
# may be one that scripts/test.sh keeps for the whole run (wineserver -p), which never exits:
# the registry edit goes through it, so there is nothing to wait for. The services wineboot
# starts live as long as that server, so no Wine process may inherit the lock's descriptor:
# it would hold the lock for the whole run and every later test would wait for it. The wait
# is bounded all the same (below the tests' time-outs), so a stuck setup fails with a message
# saying so instead of a bare time-out.
lock_wait=${ZEMS_WINE_LOCK_WAIT:-90}
(
  if ! flock -w "$lock_wait" 9; then
    echo "wine-run: the prefix $WINEPREFIX was not set up within ${lock_wait}s (lock $WINEPREFIX/.zems-setup.lock held)" >&2
    exit 1
  fi
  if [ ! -f "$WINEPREFIX/.zems-ready" ]; then
    wineboot -i >/dev/null 2>&1 9>&- || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 9>&- || true
    touch "$WINEPREFIX/.zems-ready"
  fi
) 9>"$WINEPREFIX/.zems-setup.lock" || exit 1
# Services Wine starts on demand (services.exe, rpcss.exe, ...) inherit the program's output
# handles and, under a server kept for the whole run, outlive it: were those CTest's pipes,
# CTest would wait for them to close until the test's time-out although the program has ended.
# The program writes to a file instead, shown once it ends.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX") || exit 1
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
