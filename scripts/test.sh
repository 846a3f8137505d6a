#!/usr/bin/env bash
# Every test: native, with AddressSanitizer/UndefinedBehaviorSanitizer, the mingw build
# (export tables, platform conformance under Wine) and a short run of every fuzz target.
# Exits non-zero when anything fails.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# --wine-heap: the programs under Wine run with Wine's heap checks (WINEDEBUG=+heap).
if [ "${1:-}" = --wine-heap ]; then export ZEMS_WINEDEBUG=+heap; fi
bash "$top/scripts/setup.sh" || exit 1
jobs=$(nproc)
# Under qemu's i386 emulator (see scripts/i386-exec.sh) the sanitizers' runtime does not hold:
# LeakSanitizer cannot stop the threads of a process (no ptrace there) and hangs at exit, and
# AddressSanitizer's shadow memory and the emulator's placement of mappings collide ("CHECK
# failed: ... AddrIsInMem", also with the guest's address space limited to 3 GB). There the
# sanitizer and fuzz flavours are built but not run, and Wine (a 32-bit program too) does not
# start; every flavour runs on a machine whose CPU runs 32-bit code itself.
emulated=0
leaks=1
if bash "$top/scripts/i386-exec.sh" emulated; then
  emulated=1
  leaks=0
  echo "=== 32-bit programs run through qemu's i386 emulator: native tests and the mingw checks"
  echo "=== run; the sanitizer and fuzz flavours are only built; no Wine run"
fi
# Test machines live on the work disk: the simulated file attributes need user extended
# attributes, which some tmpfs mounts lack.
export TMPDIR="$top/build/tmp"
mkdir -p "$TMPDIR"
# One Wine server for the whole mingw run (the prefix is the Wine runner's default for the tests
# folder): each program under Wine then starts in tens of milliseconds instead of starting a
# server of its own. Not under the emulator, where Wine cannot start.
wineprefix="$top/build/mingw/tests/wineprefix"
wine_server=0
stop_wine_server() {
  if [ $wine_server -eq 1 ]; then WINEPREFIX="$wineprefix" wineserver -k >/dev/null 2>&1; wine_server=0; fi
}
trap stop_wine_server EXIT
status=0
for flavour in native sanitize mingw; do
  echo "=== $flavour: build"
  if ! bash "$top/scripts/build.sh" "$flavour"; then
    echo "=== $flavour: BUILD FAILED"
    status=1
    continue
  fi
  if [ "$flavour" = sanitize ] && [ $emulated -eq 1 ]; then
    echo "=== sanitize: built; its tests are not run under the emulator"
    continue
  fi
  echo "=== $flavour: tests"
  if [ "$flavour" = mingw ] && command -v wineserver >/dev/null && ! bash "$top/scripts/i386-exec.sh" emulated; then
    # The prefix is made first, under a server of its own: the desktop Wine starts with the
    # prefix takes its display driver from the registry once, and one started before the runner
    # set the driver to none would refuse every window of the run. The kept server then starts
    # on the finished prefix.
    mkdir -p "$wineprefix"
    (cd "$top/build/mingw/tests" && WINEPREFIX="$wineprefix" sh "$top/cmake/wine-run.sh" cmd /c exit >/dev/null 2>&1)
    WINEPREFIX="$wineprefix" wineserver -k >/dev/null 2>&1
    WINEPREFIX="$wineprefix" wineserver -w >/dev/null 2>&1
    WINEPREFIX="$wineprefix" wineserver -p && wine_server=1
  fi
  env=()
  if [ "$flavour" = sanitize ]; then
    env=(ASAN_OPTIONS=detect_leaks=$leaks UBSAN_OPTIONS=print_stacktrace=1)
  fi
  if ! (cd "$top/build/$flavour" && env "${env[@]}" ctest --output-on-failure -j "$jobs"); then
    echo "=== $flavour: TESTS FAILED"
    status=1
  fi
done
# Fuzz targets (clang's libFuzzer): a bounded run each, seeded from the sample models, the
# model fixtures, the sample resource DLL, the generated font resources and file-dialog answers;
# any finding fails the test command. ZEMS_FUZZ_SECONDS sets the time per target.
echo "=== fuzz: build"
if ! bash "$top/scripts/build.sh" fuzz; then
  echo "=== fuzz: BUILD FAILED"
  status=1
elif [ $emulated -eq 1 ]; then
  echo "=== fuzz: built; the targets are not run under the emulator"
else
  seconds=${ZEMS_FUZZ_SECONDS:-5}
  findings="$TMPDIR/fuzz-findings"
  mkdir -p "$findings"
  for target in "$top"/build/fuzz/bin/*_fuzz; do
    name=$(basename "$target")
    corpus="$TMPDIR/fuzz-corpus/$name"
    rm -rf "$corpus"
    mkdir -p "$corpus"
    echo "=== fuzz: $name for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=$leaks "$target" -detect_leaks=$leaks -max_total_time="$seconds" \
        -rss_limit_mb=2048 -artifact_prefix="$findings/$name-" "$corpus" \
        "$top/samples/models" "$top/samples/jobs" "$top/samples/print" "$top/tests/fixtures/model" \
        "$top/tests/fixtures/resource_dll" "$top/tests/fixtures/print" "$top/tests/fixtures/bmp" \
        "$top/build/fuzz/resources/fonts" "$top/tests/fixtures/file_dialog" "$top/tests/fixtures/value_texts" \
        >"$TMPDIR/$name.log" 2>&1; then
      tail -40 "$TMPDIR/$name.log"
      echo "=== fuzz: $name FOUND A FAILURE (input saved under $findings)"
      status=1
    fi
  done
fi
stop_wine_server
[ $status -eq 0 ] && echo "=== all test runs passed" || echo "=== some test runs FAILED"
exit $status
