#!/bin/bash
# Regenerates the golden job-stream dumps tests/fixtures/print/NAME.jobdump from NAME.zds: each
# script is printed on the sample printer of a fresh machine through the spool-DLL stand-in and
# its stream dumped. Review the change with git diff. Usage: print_goldens.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/native}/bin
work=$(mktemp -d "${TMPDIR:-/tmp}/goldens.XXXXXX")
trap 'rm -rf "$work"' EXIT
for script in "$top"/tests/fixtures/print/*.zds; do
  name=$(basename "$script" .zds)
  export ZEMS_MACHINE_ROOT="$work/$name"
  "$bin/zemshost" machine install --model "$top/samples/models/zems_c4.zmd" --printer Print \
    --extra "$top/samples/driver/OV1BD172.ini" >/dev/null
  # A standing clock: the job header carries the date and time.
  "$bin/zemshost" print "$script" --printer Print --time 2026-01-02T03:04:05 >/dev/null
  stream=$(ls "$ZEMS_MACHINE_ROOT"/stand-ins/ov1bc123/*.zjs)
  # The first line names the file, which differs from run to run.
  "$bin/zemshost" job dump "$stream" --blocks --records | tail -n +2 >"$top/tests/fixtures/print/$name.jobdump"
  echo "$name: $(wc -c <"$stream") bytes"
done
# Scripts printed again in monochrome raster mode (NAME_raster.jobdump) and with text as glyph
# bitmaps (NAME_bitmap.jobdump).
again() {
  local name=$1 suffix=$2 line=$3
  export ZEMS_MACHINE_ROOT="$work/${name}_$suffix"
  "$bin/zemshost" machine install --model "$top/samples/models/zems_c4.zmd" --printer Print \
    --extra "$top/samples/driver/OV1BD172.ini" >/dev/null
  # Raster mode has no device fonts: their part of a page ("# device fonts" to endpage) goes.
  { echo "$line"; if [ "$suffix" = raster ]; then sed '/^# device fonts$/,/^endpage$/{/^endpage$/!d}' \
      "$top/tests/fixtures/print/$name.zds"; else cat "$top/tests/fixtures/print/$name.zds"; fi; } \
    >"$work/${name}_$suffix.zds"
  "$bin/zemshost" print "$work/${name}_$suffix.zds" --printer Print --time 2026-01-02T03:04:05 >/dev/null
  stream=$(ls "$ZEMS_MACHINE_ROOT"/stand-ins/ov1bc123/*.zjs)
  "$bin/zemshost" job dump "$stream" --blocks --records | tail -n +2 >"$top/tests/fixtures/print/${name}_$suffix.jobdump"
  echo "${name}_$suffix: $(wc -c <"$stream") bytes"
}
for name in vector_shapes images text; do
  again "$name" raster "devmode zdmImagePrint=1 zdmColorProcess=1 dmColor=1"
done
again text bitmap "devmode zdmHiddenFunc26=1"
