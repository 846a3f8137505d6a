// FormatMessageW* of the simulated machine: only FORMAT_MESSAGE_FROM_SYSTEM with
// FORMAT_MESSAGE_IGNORE_INSERTS, from a short table of the system errors the driver may show;
// any other code has no text (ERROR_MR_MID_NOT_FOUND), as a code unknown to Windows. The
// language is ignored. Texts end in "\r\n" as Windows' do.
#include <stdarg.h>
#include <string.h>

#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

struct SystemMessage {
  DWORD code;
  const char16_t* text;
};
const SystemMessage kMessages[] = {
    {0, u"The operation completed successfully.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {5, u"Access is denied.\r\n"},
    {8, u"Not enough storage is available to process this command.\r\n"},
    {87, u"The parameter is incorrect.\r\n"},
    {112, u"There is not enough space on the disk.\r\n"},
    {1801, u"The printer name is invalid.\r\n"},
};

}  // namespace

WINSIM_API DWORD WINAPI FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                       LPWSTR buffer, DWORD size, va_list* arguments) {
  (void)source;
  (void)languageId;
  (void)arguments;
  WINSIM_SIMPLIFIED("FormatMessageW", "answers only system texts of a short table, inserts ignored");
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char16_t* text = nullptr;
  for (const SystemMessage& m : kMessages)
    if (m.code == messageId) text = m.text;
  if (!text) {
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
  }
  DWORD length = 0;
  while (text[length]) ++length;
  WCHAR* out = buffer;
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    // The caller frees it with LocalFree; size is the least it asks for.
    DWORD chars = length + 1 > size ? length + 1 : size;
    out = static_cast<WCHAR*>(LocalAlloc(LMEM_ZEROINIT, chars * sizeof(WCHAR)));
    if (!out) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    *reinterpret_cast<WCHAR**>(buffer) = out;
  } else if (size < length + 1) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(out, text, (length + 1) * sizeof(WCHAR));
  return length;
}
