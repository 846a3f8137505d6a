#!/usr/bin/env bash
# Installs what the builds and tests need on a Debian 12 machine (run as root). Does nothing
# when everything is already there.
set -euo pipefail
packages=(cmake ninja-build ccache g++ g++-multilib googletest g++-mingw-w64-i686
          binutils-mingw-w64-i686 wine wine32:i386)
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
# The native builds are 32-bit: make sure their programs can run here.
bash "$(dirname "$0")/i386-exec.sh" ensure
