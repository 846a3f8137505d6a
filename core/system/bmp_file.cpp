// Bitmap files the user names (watermark images): only the Windows 3 form with its 40-byte
// info header is taken.
#include "core/system/resources.h"

#include <string.h>

#include "core/common/draw_ui.h"
#include "core/common/mem.h"

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

namespace {

DWORD Le32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }
WORD Le16(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

bool ReadAt(HANDLE file, DWORD offset, void* buffer, DWORD bytes) {
  if (SetFilePointer(file, static_cast<LONG>(offset), NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  // In pieces of at most 16 KB.
  BYTE* at = static_cast<BYTE*>(buffer);
  while (bytes) {
    DWORD piece = bytes < 16384 ? bytes : 16384, read = 0;
    if (!ReadFile(file, at, piece, &read, NULL) || read != piece) return false;
    at += piece;
    bytes -= piece;
  }
  return true;
}

}  // namespace

BOOL ResCheckBmpHeaders(const BYTE* head, DWORD headBytes, DWORD fileSize, BmpLayout* layout) {
  if (!head || !layout || headBytes < kBmpHeadBytes || fileSize < kBmpHeadBytes) return FALSE;
  const BYTE* info = head + kInfoHeaderOffset;
  if (Le32(info) != kInfoHeaderSize) return FALSE;
  const LONG width = static_cast<LONG>(Le32(info + 4));
  const LONG height = static_cast<LONG>(Le32(info + 8));
  const WORD planes = Le16(info + 12), bits = Le16(info + 14);
  const DWORD compression = Le32(info + 16), used = Le32(info + 32);
  if (width <= 0 || width > kBmpMaxSide || height == 0 || height < -kBmpMaxSide || height > kBmpMaxSide) return FALSE;
  if (planes != 1 || compression != 0 /* BI_RGB */) return FALSE;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return FALSE;
  DWORD entries = 0;
  if (bits <= 8) {
    const DWORD most = 1u << bits;
    if (used > most) return FALSE;
    entries = used ? used : most;
  }
  const unsigned long long rows = static_cast<unsigned long long>(height < 0 ? -static_cast<long long>(height) : height);
  const unsigned long long stride = (static_cast<unsigned long long>(bits) * width + 31) / 32 * 4;
  const unsigned long long image = stride * rows;
  const unsigned long long tableEnd = kBmpHeadBytes + 4ull * entries;
  const DWORD offBits = Le32(head + 10);
  if (tableEnd > fileSize || offBits < tableEnd || offBits + image > fileSize) return FALSE;
  layout->width = width;
  layout->height = height;
  layout->bitCount = bits;
  layout->colourEntries = entries;
  layout->pixelsOffset = offBits;
  layout->imageSize = static_cast<DWORD>(image);
  return TRUE;
}

HBITMAP ResLoadBmpFile(LPCWSTR path, LONG* width, LONG* height) {
  if (width) *width = 0;
  if (height) *height = 0;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!ResOpenBmpFile(path, &file)) return NULL;
  HBITMAP bitmap = NULL;
  BYTE head[kBmpHeadBytes + 4 * 256];
  BmpLayout layout;
  const DWORD fileSize = GetFileSize(file, NULL);
  DWORD headBytes = fileSize < sizeof head ? fileSize : static_cast<DWORD>(sizeof head);
  if (fileSize != 0xFFFFFFFFu && ReadAt(file, 0, head, headBytes) &&
      ResCheckBmpHeaders(head, headBytes, fileSize, &layout)) {
    BITMAPINFOHEADER info;
    memcpy(&info, head + kInfoHeaderOffset, sizeof info);
    info.biSizeImage = layout.imageSize;
    info.biClrUsed = layout.colourEntries;
    void* pixels = MemAllocZero(layout.imageSize);
    if (pixels && ReadAt(file, layout.pixelsOffset, pixels, layout.imageSize)) {
      bitmap = DuiCreateDisplayBitmap(&info, layout.colourEntries ? head + kBmpHeadBytes : nullptr, pixels);
    }
    MemFree(pixels);
  }
  CloseHandle(file);
  if (bitmap) {
    if (width) *width = layout.width;
    if (height) *height = layout.height < 0 ? -layout.height : layout.height;
  }
  return bitmap;
}
