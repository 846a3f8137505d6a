// The watermark store: watermark n is section "Stamp%d%s" (n, language code) of the printer's
// settings ini holding the watermark group of items; "StampCount" of the language section
// counts them. The model data file carries the factory watermarks in the same form.
// Watermark 256 is a scratch entry, written like the others but never counted.
#pragma once
#include "core/context/driver_context.h"
#include "core/store/settings_stores.h"
#include "core/store/watermark_font.h"  // StampDefaultFontName
#include "platform/win32.h"

constexpr int kStampScratch = 256;

// "StampCount" of the settings ini / of section of another file (0 when absent).
// StampGetCount, StampSave and StampSelect are declared with the stores the settings files
// call (settings_stores.h).
BOOL StampSetCount(DriverContext* ctx, LONG count);
LONG StampGetCountIn(LPCWSTR path, LPCWSTR section);
// "Stamp%d%s" with n and the language code into buffer (cchBuffer characters).
WCHAR* StampSectionName(WCHAR* buffer, DWORD cchBuffer, int n, DriverContext* ctx);
// Removes watermark n (0 <= n < count), moving the later ones down; any other n does nothing.
void StampDelete(DriverContext* ctx, int n);
// Every watermark below the count selected and saved again (after an upgrade).
void StampResaveAll(DriverContext* ctx);
// Selects watermark zdmWmID again when the watermark function is on and the kind is known.
void StampReselect(DriverContext* ctx);
// The factory watermarks of the model data file; watermark n of another file.
LONG StampGetFactoryCount(DriverContext* ctx);
void StampLoadFactorySlot(DriverContext* ctx, int n);
void StampLoadSlotFrom(DriverContext* ctx, LPCWSTR path, int n);
