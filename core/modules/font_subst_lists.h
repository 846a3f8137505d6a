// The font-substitution pages' two lists as plain functions: the substitution entry's text (the
// TrueType face padded to 31 characters, " > ", the device font) and the table built from the
// entries.
#pragma once
#include "core/items/item_fonts.h"
#include "platform/win32.h"

// Where the device font starts in an entry's text, and an entry's longest text.
constexpr int kTtfDeviceAt = 34;
constexpr int kTtfEntryChars = kTtfDeviceAt + 32;

// The entry of face (cut at 31 characters) replaced by device (cut at 31): kTtfEntryChars
// characters with the terminator.
void TtfFormatEntry(const WCHAR* face, const WCHAR* device, WCHAR* out);
// The face (the first 32 characters, trailing blanks removed) and the device font (from
// character 34, at most 31) of an entry, each terminated within its 32 characters.
void TtfEntryParts(const WCHAR* entry, WCHAR* face, WCHAR* device);
// The table of the entries whose device font is not noSubstitution, in order, into table (room
// for count entries, zeroed by the caller); the number written.
int TtfFillTable(const WCHAR* const* entries, int count, const WCHAR* noSubstitution, ItemFontSubstEntry* table);
// Builds the substitution table from the list window and installs it. FALSE, with the table in
// force kept, when its memory cannot be had.
BOOL TtfStoreSubstitutions(DriverContext* ctx, HWND list);
// The enumeration callback of the TrueType families: param points at a TtfEnumBlock.
struct TtfEnumBlock {
  DriverContext* ctx;
  HWND control;
  BOOL substitutionList;  // entries with their substitute; else bare faces with their index
  WCHAR* text;            // kTtfEntryChars characters
};
int CALLBACK TtfEnumFontProc(const LOGFONTW* font, const TEXTMETRICW* metric, DWORD type, LPARAM param);
