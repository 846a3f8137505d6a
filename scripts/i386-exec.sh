#!/usr/bin/env bash
# Makes sure this machine can run 32-bit x86 programs, which every native test is. Some virtual
# machines run no 32-bit user code at all ("Exec format error"); there the kernel is told to run
# i386 programs through qemu's user-mode emulator (binfmt_misc), which the tests then use
# transparently. Run as root; does nothing where 32-bit programs already run.
#   i386-exec.sh ensure     set up if needed, exit non-zero if 32-bit programs still cannot run
#   i386-exec.sh emulated   exit 0 when i386 programs run through the emulator
set -euo pipefail
binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/qemu-i386

emulated() { [ -r "$entry" ] && head -n1 "$entry" | grep -qx enabled; }

runs_32bit() {
  local dir rc
  dir=$(mktemp -d)
  printf 'int main(void){return 0;}\n' > "$dir/t.c"
  gcc -m32 "$dir/t.c" -o "$dir/t" 2>/dev/null || { rm -rf "$dir"; return 2; }
  "$dir/t" 2>/dev/null && rc=0 || rc=1
  rm -rf "$dir"
  return $rc
}

case "${1:-ensure}" in
  emulated) emulated ;;
  ensure)
    if runs_32bit; then exit 0; fi
    echo "i386-exec: this machine runs no 32-bit programs; using qemu's i386 user-mode emulator"
    if ! dpkg -s qemu-user-static >/dev/null 2>&1; then
      DEBIAN_FRONTEND=noninteractive apt-get install -y -q qemu-user-static >/dev/null
    fi
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$entry" ]; then
      # ELF, 32-bit, little-endian, executable or shared object, machine i386. F: the kernel
      # opens the emulator now, so it also works inside other mount namespaces.
      printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' > "$binfmt/register"
    fi
    echo 1 > "$entry"
    if ! runs_32bit; then
      echo "i386-exec: 32-bit programs still do not run; the native tests cannot run here" >&2
      exit 1
    fi
    ;;
  *) echo "usage: i386-exec.sh ensure|emulated" >&2; exit 2 ;;
esac
