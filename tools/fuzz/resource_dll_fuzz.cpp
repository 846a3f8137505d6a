// Fuzz target: any bytes as a resource-only DLL file. The machine's reader either refuses the
// file or answers lookups (strings, bitmaps, named resources) whose data lies inside the file;
// a crash or a sanitizer report is a finding.
#include <stdint.h>
#include <string.h>

#include <string>

#include "platform/kernel32/resource_pe.h"

namespace {

// Walks a string block the way LoadStringW does: sixteen counted strings, never past the end.
unsigned WalkStringBlock(const uint8_t* block, DWORD size) {
  unsigned sum = 0;
  DWORD at = 0;
  for (int i = 0; i < 16 && size >= 2 && at <= size - 2; ++i) {
    DWORD length = DWORD(block[at] | (block[at + 1] << 8));
    at += 2;
    if (length > (size - at) / 2) break;
    for (DWORD c = 0; c < length * 2; ++c) sum += block[at + c];
    at += length * 2;
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size > (1u << 20)) return 0;
  DWORD error = 0;
  auto image = winsim::PeResourceImage::Parse(std::string(reinterpret_cast<const char*>(data), size), &error);
  if (!image) return 0;
  volatile unsigned sum = 0;
  const WCHAR kName[] = {'H', 'E', 'L', 'L', 'O', 0}, kType[] = {'D', 'A', 'T', 'A', 0}, kHash[] = {'#', '7', 0};
  struct Key {
    LPCWSTR type, name;
    WORD language;
  } keys[] = {
      {MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(1), 0},   {MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(10), 0},
      {MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(938), 0}, {MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(7), 0},
      {MAKEINTRESOURCEW(2), kHash, 0x409},             {kType, kName, 0},
  };
  for (const Key& k : keys) {
    const uint8_t* entry = image->Find(k.type, k.name, k.language);
    DWORD bytes = 0;
    const uint8_t* p = entry ? image->DataOf(entry, &bytes) : nullptr;
    if (!p) continue;
    sum = sum + WalkStringBlock(p, bytes);
    for (DWORD i = 0; i < bytes; ++i) sum = sum + p[i];
  }
  return 0;
}
