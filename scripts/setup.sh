#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine (run as root). Does nothing
# when everything is already there. Usage: setup.sh [bench]
set -euo pipefail
# The mingw compilers are the -win32 ones (cmake/mingw32.cmake): named here, as the plain
# g++-mingw-w64-i686 package does not say which thread model it brings.
packages=(cmake ninja-build ccache g++ g++-multilib googletest g++-mingw-w64-i686
          gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
          binutils-mingw-w64-i686 wine wine32:i386 clang libclang-rt-14-dev libz-mingw-w64-dev)
# "setup.sh bench": also the 32-bit libcups for the benchmarks' CUPS side (tools/anchor).
if [ "${1:-}" = bench ]; then packages+=(libcups2-dev:i386); fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${missing[@]}"
fi
# The fuzz flavour links clang's 32-bit libFuzzer runtime, which libclang-rt-14-dev ships.
rt=$(ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-i386.a 2>/dev/null | head -1)
if [ -z "$rt" ]; then
  echo "setup: clang's 32-bit libFuzzer runtime (libclang_rt.fuzzer-i386.a) is missing" >&2
  exit 1
fi
# The native builds are 32-bit: make sure their programs can run here.
bash "$(dirname "$0")/i386-exec.sh" ensure
