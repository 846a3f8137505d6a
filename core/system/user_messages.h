// User messages: message boxes composed from the language DLL's strings and the wait dialog.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Argument kinds of a composed message.
constexpr WORD kUiArgNone = 0;
constexpr WORD kUiArgText = 1;     // arguments: one wide text, the string's "%s"
constexpr WORD kUiArgNumbers = 2;  // arguments: numberCount WORDs, the string's %u %d %x
constexpr WORD kUiArgLongs = 3;    // arguments: numberCount LONGs, the string's %u %d (signed) %x
constexpr int kUiMaxNumbers = 8;

// The composer's input.
struct MessageRequest {
  WORD textId;         // loaded with completion
  WORD captionId;      // 0: the printer's name
  WORD iconStyle;      // MB_ICON...
  WORD buttonStyle;    // MB_OK, MB_OKCANCEL, ...
  LPCWSTR prefix;      // may be null; stands before the text with an empty line between
  WORD argumentKind;   // kUiArg...
  WORD numberCount;    // 1-8 with numbers; only the first is used above 8
  const void* arguments;
  LPCWSTR suffix;      // may be null; stands after the text between empty lines
};

// Shows the composed message in a message box owned by owner; the button chosen, 0 when
// nothing was shown (a null request, arguments with kind 0, numbers with a count of 0, an
// unknown kind, no memory).
int UiShowComposedMessage(DriverContext* ctx, const MessageRequest* request, HWND owner);

// Formats a loaded string the way the composer does, without reading more than was given:
// kind 1 fills the first "%s" with text; kind 2 fills %u, %d and %x (flags '-', '0', '#' and
// a width of at most 1024) with the numbers in order, kind 3 the same with 32-bit numbers, %d
// signed; "%%" is '%'. Any other directive, and
// one beyond the arguments, stays as it is. Writes at most cchOut characters with the
// terminator (none when cchOut is 0) and answers the length of the whole result.
size_t UiFormatMessageText(LPCWSTR format, WORD kind, const void* arguments, int numberCount, WCHAR* out,
                           size_t cchOut);

// A warning box with string textId, captioned with the printer name; a null owner is replaced
// by the active window. The button chosen, 0 when nothing was shown.
int UiWarnById(DriverContext* ctx, HWND owner, WORD textId, UINT buttons);
int UiWarnOk(DriverContext* ctx, HWND owner, WORD textId);
int UiWarnOkCancel(DriverContext* ctx, HWND owner, WORD textId);
// A warning with OK: string textId is the format of text (its "%s"). A null owner is replaced
// by the active window.
int UiWarnWithArgument(DriverContext* ctx, HWND owner, UINT textId, LPCWSTR text);
// String textId with the given icon and buttons, captioned with the printer name.
int UiShowMessageById(DriverContext* ctx, HWND owner, WORD textId, UINT icon, UINT buttons);
// The system's own text of errorCode in a warning box captioned with the printer name;
// nothing is shown when the system has no text for it. Always 1.
int UiShowSystemError(DriverContext* ctx, DWORD errorCode, HWND owner);

// The modeless wait dialog (template 4006 of the language DLL, owned by the active window):
// its title is the printer name and its control 5005 shows string textId. Null when there is
// no language DLL or the dialog cannot be made.
HWND UiShowWaitDialog(DriverContext* ctx, WORD textId);
// Closes a wait dialog of UiShowWaitDialog; null is ignored.
void UiCloseWaitDialog(HWND window);
