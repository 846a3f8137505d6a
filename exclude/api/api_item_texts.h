// What the job, watermark, preset and finishing status items share: texts of a record read
// within their arrays, texts of settings in the ANSI code page, and capability lists asked of
// a capability's handler directly.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// Copies the text of a record's char[size] field at offset into out (size bytes): 1 when the
// field holds its terminator, else 0 with out empty (nothing past the array is read).
int ApiRecordText(const void* record, UINT offset, UINT size, char* out);
// Fills a record's char[size] field: the text when it has 1 to maxChars characters, else an
// empty field; always terminated within the array.
void ApiPutRecordText(void* record, UINT offset, UINT size, const char* text, UINT maxChars);
// A text setting as ANSI text (out of outSize bytes, always terminated); 0 without the setting.
int ApiReadSettingText(ApiContext* api, WORD setting, char* out, int outSize);
// Writes an ANSI text to a text setting (cut to the setting's size): 1, or 0 without it.
int ApiWriteSettingText(ApiContext* api, WORD setting, const char* text);
// 1 when the int list a capability's handler builds (called directly) holds value; 0 when not
// or when it is empty. *noMemory (when given) is set when the list could not be allocated.
int ApiCapsListHas(ApiContext* api, DWORD capsId, LONG value, int* noMemory);
// Letters and digits only (ASCII); digits only.
int ApiIsAlnumText(const char* text);
int ApiIsDigitText(const char* text);
