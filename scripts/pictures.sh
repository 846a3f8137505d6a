#!/usr/bin/env bash
# Pictures of the driver's dialogs under Wine, compared with the references in
# tests/fixtures/pictures/. Usage: pictures.sh [--update]
#   Each dialog of the list below is opened from the US language DLL of the mingw build and
#   copied to build/mingw/pictures/<name>.png. Then the sample printer is installed on Wine's
#   spooler and each of the eleven pages of its two sheets is copied, as the sheets show through
#   DocumentPropertiesW and the driver's PrinterProperties, to build/mingw/pictures/sheets/
#   <page>.png; the pages of the list below are compared as sheet_<page>.png. A picture whose
#   reference differs (size, or more than 1 % of its pixels by more than 24 in a channel) fails
#   the run and leaves <name>.diff.png beside it. --update (by hand only) makes the new
#   pictures the references.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
update=0
case "${1:-}" in
  "") ;;
  --update) update=1 ;;
  *) echo "usage: pictures.sh [--update]" >&2; exit 2 ;;
esac
bash "$top/scripts/build.sh" mingw
bin="$top/build/mingw/bin"
if [ ! -x "$bin/picture_tool.exe" ]; then
  echo "pictures.sh: no picture tool: the mingw zlib (libz-mingw-w64-dev) is missing" >&2
  exit 1
fi
out="$top/build/mingw/pictures"
refs="$top/tests/fixtures/pictures"
mkdir -p "$out" "$top/build/tmp"
export TMPDIR="${TMPDIR:-$top/build/tmp}"
# The Wine runner of the tests, with their prefix.
export WINEPREFIX="$top/build/mingw/tests/wineprefix"
run() { (cd "$top/build/mingw/tests" && sh "$top/cmake/wine-run.sh" "$@"); }

# name, dialog, arguments of the tool
pictures=(
  "4006|4006|--title Office --text 5005=7001"
)
# The sheet pages compared with references.
sheet_pages=(1001 1002 1011)

# Compares (or with --update takes as the reference) one picture.
check() {
  local name=$1 picture=$2
  if [ "$update" = 1 ]; then
    cp "$picture" "$refs/$name.png"
    echo "pictures.sh: $name: reference updated"
  elif run "$bin/picture_tool.exe" compare "$refs/$name.png" "$picture" "$out/$name.diff.png"; then
    echo "pictures.sh: $name: as its reference"
  else
    failed=1
  fi
}

failed=0
for row in "${pictures[@]}"; do
  IFS='|' read -r name dialog args <<<"$row"
  rm -f "$out/$name.png" "$out/$name.diff.png"
  # shellcheck disable=SC2086
  if ! run "$bin/picture_tool.exe" shoot "$bin/zemsresus.dll" "$dialog" "$out/$name.png" $args; then
    echo "pictures.sh: $name: no picture" >&2
    failed=1
    continue
  fi
  check "$name" "$out/$name.png"
done

rm -rf "$out/sheets"
mkdir -p "$out/sheets"
if ! run "$bin/picture_tool.exe" sheets "Z:$(printf '%s' "$out/sheets" | tr / '\\')"; then
  echo "pictures.sh: no pictures of the sheet pages" >&2
  exit 1
fi
for page in "${sheet_pages[@]}"; do
  rm -f "$out/sheet_$page.diff.png"
  check "sheet_$page" "$out/sheets/$page.png"
done
exit $failed
