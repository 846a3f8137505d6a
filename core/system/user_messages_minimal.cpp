// Minimal version until the message composer and the wait dialog are built: a warning is the
// loaded string in the window interface's message box, and no wait dialog is ever created
// (callers already cope with a dialog that cannot be made). A null owner stays null: the
// machine has no active window.
#include "core/system/user_messages.h"

#include "core/common/window_ui.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/common/mem.h"

int UiWarnById(DriverContext* ctx, HWND owner, WORD textId, UINT buttons) {
  WCHAR text[1025] = {};
  ResLoadString(ctx, textId, text, 1025, TRUE);
  const WCHAR* caption = ctx ? PrnGetPrinterName(ctx) : nullptr;
  return WuiMessageBox(owner, text, caption, MB_ICONWARNING | buttons);
}

HWND UiShowWaitDialog(DriverContext* ctx, WORD textId) {
  (void)ctx;
  (void)textId;
  return nullptr;
}

void UiCloseWaitDialog(HWND window) { (void)window; }

namespace {
constexpr int kTextChars = 1025;
}  // namespace

int UiWarnWithArgument(DriverContext* ctx, HWND owner, UINT textId, LPCWSTR text) {
  if (!ctx) return 0;
  WCHAR format[kTextChars] = {};
  ResLoadString(ctx, textId, format, kTextChars, TRUE);
  DWORD argChars = 0;
  if (text)
    while (text[argChars]) ++argChars;
  DWORD formatChars = 0;
  while (format[formatChars]) ++formatChars;
  // Every "%s" may take the whole argument: the message never outgrows its buffer.
  DWORD capacity = formatChars + (formatChars / 2 + 1) * argChars + 1;
  WCHAR* message = static_cast<WCHAR*>(MemAllocZero(capacity * sizeof(WCHAR)));
  if (!message) return 0;
  DWORD n = 0;
  for (DWORD i = 0; format[i] && n + 1 < capacity; ++i) {
    if (format[i] == u'%' && format[i + 1] == u's') {
      for (DWORD k = 0; k < argChars && n + 1 < capacity; ++k) message[n++] = text[k];
      ++i;
    } else if (format[i] == u'%' && format[i + 1] == u'%') {
      message[n++] = u'%';
      ++i;
    } else {
      message[n++] = format[i];
    }
  }
  message[n] = 0;
  if (!owner) owner = WuiActiveWindow();
  int answer = WuiMessageBox(owner, message, PrnGetPrinterName(ctx), MB_ICONWARNING | MB_OK);
  MemFree(message);
  return answer;
}
