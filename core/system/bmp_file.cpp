// Bitmap files the user names (watermark images): only the Windows 3 form with its 40-byte
// info header is taken.
#include "core/system/resources.h"

namespace {
constexpr DWORD kInfoHeaderOffset = 14;
constexpr DWORD kInfoHeaderSize = 40;
}  // namespace

int ResOpenBmpFile(LPCWSTR path, HANDLE* file) {
  if (file) *file = INVALID_HANDLE_VALUE;
  if (!path || !path[0] || !file) return 0;
  HANDLE opened = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (opened == INVALID_HANDLE_VALUE) return 0;
  // The file header and the info header's size word, read from the start.
  BYTE head[kInfoHeaderOffset + 4] = {};
  DWORD read = 0;
  const BYTE* size = head + kInfoHeaderOffset;
  const bool ok = ReadFile(opened, head, sizeof head, &read, NULL) && read == sizeof head &&
                  (size[0] | size[1] << 8 | size[2] << 16 | static_cast<DWORD>(size[3]) << 24) == kInfoHeaderSize;
  if (!ok) {
    CloseHandle(opened);
    return 0;
  }
  *file = opened;
  return 1;
}
