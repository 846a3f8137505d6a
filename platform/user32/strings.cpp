// LoadStringW: strings of a module's string table. A table block holds sixteen strings (block
// id / 16 + 1), each a 16-bit length and that many UTF-16 units; nothing beyond the block's
// size is ever read. A string that does not exist (no block, or a damaged one) gives 0 and writes
// nothing: the 0 is all the API promises then, and the real one leaves the buffer alone too, so
// callers that use the buffer must check the result or clear it first. An empty slot of a
// present block is an empty string.
#include <string.h>

#include "platform/win32.h"

WINSIM_API int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WCHAR* text = nullptr;
  DWORD length = 0;
  HRSRC found = FindResourceExW(hInstance, RT_STRING, MAKEINTRESOURCEW((uID >> 4) + 1), 0);
  const BYTE* block = found ? static_cast<const BYTE*>(LockResource(LoadResource(hInstance, found))) : nullptr;
  if (block) {
    DWORD size = SizeofResource(hInstance, found), at = 0;
    for (UINT i = 0; i <= (uID & 15); ++i) {
      if (size < 2 || at > size - 2) {
        block = nullptr;
        break;
      }
      length = DWORD(block[at] | (block[at + 1] << 8));
      at += 2;
      if (length > (size - at) / 2) {
        block = nullptr;
        break;
      }
      text = reinterpret_cast<const WCHAR*>(block + at);
      at += length * 2;
    }
  }
  if (!block) {
    // FindResourceExW has said why when there is no block; a damaged block has no such string.
    if (found) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (cchBufferMax == 0) {
    // The caller asks for the read-only text itself: its address goes into the buffer.
    if (!text || length == 0) return 0;
    memcpy(lpBuffer, &text, sizeof(text));
    return int(length);
  }
  // Cut to the buffer and always terminated, a buffer of one unit getting the terminator only.
  DWORD n = length < DWORD(cchBufferMax - 1) ? length : DWORD(cchBufferMax - 1);
  if (n) memcpy(lpBuffer, text, n * sizeof(WCHAR));
  lpBuffer[n] = 0;
  return int(n);
}
