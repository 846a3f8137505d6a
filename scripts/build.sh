#!/usr/bin/env bash
# Configures and builds one flavour: native | sanitize | mingw | fuzz. Usage: build.sh FLAVOUR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:?usage: build.sh native|sanitize|mingw|fuzz}
export CCACHE_DIR=${CCACHE_DIR:-/var/cache/zems-ccache}
# Paths relative to the tree, so a fresh clone elsewhere (as CI makes) reuses the cache.
export CCACHE_BASEDIR="$top" CCACHE_NOHASHDIR=true
mkdir -p "$CCACHE_DIR"
case "$flavour" in
  native)   args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/linux32.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/linux32.cmake" -DCMAKE_BUILD_TYPE=Debug -DZEMS_SANITIZE=ON) ;;
  mingw)    args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw32.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  fuzz)     args=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/linux32.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
                  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZEMS_FUZZ=ON) ;;
  *) echo "build.sh: unknown flavour '$flavour'" >&2; exit 2 ;;
esac
dir="$top/build/$flavour"
# CMake keeps the compilers an existing cache recorded, whatever the toolchain file now names:
# when the flavour's arguments or toolchain file changed, the cache and the compiler checks
# are made afresh (the objects stay; Ninja rebuilds those whose command changed).
toolchain=""
for a in "${args[@]}"; do
  case "$a" in -DCMAKE_TOOLCHAIN_FILE=*) toolchain=${a#-DCMAKE_TOOLCHAIN_FILE=} ;; esac
done
key=$( { printf '%s\n' "${args[@]}"; cat "$toolchain"; } | sha1sum | cut -d' ' -f1)
if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/.zems-configured" 2>/dev/null)" != "$key" ]; then
  rm -rf "$dir/CMakeCache.txt" "$dir"/CMakeFiles/[0-9]*
fi
cmake -S "$top" -B "$dir" -G Ninja "${args[@]}" >/dev/null
echo "$key" >"$dir/.zems-configured"
# The fuzz flavour builds only its targets (and the core they test).
if [ "$flavour" = fuzz ]; then
  cmake --build "$dir" --target fuzz_targets
else
  cmake --build "$dir"
fi
