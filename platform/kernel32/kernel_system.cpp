// System folders of the simulated machine.
#include <string.h>

#include "platform/kernel32/kernel_internal.h"

namespace {

// Copies a folder name the way the Get...Directory functions answer: the length without the
// terminator when it fits, else the size needed with the terminator (buffer untouched).
template <class Char>
UINT AnswerFolder(Char* buffer, UINT size, const char* folder) {
  UINT length = UINT(strlen(folder));
  if (!buffer || size <= length) return length + 1;
  for (UINT i = 0; i <= length; ++i) buffer[i] = Char(folder[i]);
  return length;
}

const char kWindows[] = "C:\\WINDOWS";
const char kSystem[] = "C:\\WINDOWS\\system32";

}  // namespace

WINSIM_API UINT WINAPI GetSystemDirectoryW(LPWSTR buffer, UINT size) { return AnswerFolder(buffer, size, kSystem); }
WINSIM_API UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) { return AnswerFolder(buffer, size, kSystem); }
WINSIM_API UINT WINAPI GetWindowsDirectoryW(LPWSTR buffer, UINT size) { return AnswerFolder(buffer, size, kWindows); }
WINSIM_API UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) { return AnswerFolder(buffer, size, kWindows); }
