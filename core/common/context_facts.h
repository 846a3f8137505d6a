// Fields of a driver context's UI state that the common services read and fill: the open
// kind and mode, the settings-file path, the language code and the text buffer.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Characters of the UI-state buffers.
constexpr DWORD kCtxSettingsFileChars = 260;
constexpr DWORD kCtxLanguageCodeChars = 3;
constexpr DWORD kCtxTextBufferChars = 1025;

DWORD CtxOpenKind(DriverContext* ctx);
WORD CtxOpenMode(DriverContext* ctx);
// The UI state's buffers; null for a null context.
LPWSTR CtxSettingsFilePath(DriverContext* ctx);
LPWSTR CtxLanguageCode(DriverContext* ctx);
LPWSTR CtxTextBuffer(DriverContext* ctx);
// What the open records (tests set them the same way).
void CtxSetOpenKind(DriverContext* ctx, DWORD kind);
void CtxSetOpenMode(DriverContext* ctx, WORD mode);
