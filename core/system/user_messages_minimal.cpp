// Minimal version until the message composer and the wait dialog are built: the warning is the
// loaded string in the window interface's message box, and no wait dialog is ever created
// (callers already cope with a dialog that cannot be made). A null owner stays null: the
// machine has no active window.
#include "core/system/user_messages.h"

#include "core/common/window_ui.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"

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
