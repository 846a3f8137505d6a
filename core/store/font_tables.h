// The font tables that a settings block points at (device fonts, option fonts, font
// substitution): heap arrays owned by the block that holds their addresses, kept in printer
// data in a layout of their own.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;

constexpr int kFontNameChars = 32;

// One resident or cartridge font of the printer, as the font lists and printer data hold it.
struct DeviceFontRecord {
  DWORD id;                      // readers that want the font's number take the low 16 bits
  WCHAR name[kFontNameChars];    // terminated in memory
};
static_assert(sizeof(DeviceFontRecord) == 68, "device font record is 68 bytes");
static_assert(offsetof(DeviceFontRecord, name) == 4, "device font name follows the id");

// One substitution: a TrueType face and the device font printed instead.
struct FontSubstEntry {
  WCHAR face[kFontNameChars];
  WCHAR deviceFont[kFontNameChars];
};
static_assert(sizeof(FontSubstEntry) == 128, "substitution entry is 128 bytes");
static_assert(offsetof(FontSubstEntry, deviceFont) == 64, "device font follows the face");

// Counts above this do not fit the count items.
constexpr DWORD kFontTableMaxCount = 32767;

// Flags of the table writes.
enum : DWORD {
  kFontFromModel = 0x1,
  kFontOnlyChanged = 0x2,
  kFontDefaultTable = 0x100,
};

// The three loads, in this order, each run; 1 when all three gave 1.
int StoreLoadFontTables(HANDLE printer, DriverContext* ctx);
// Device or option fonts: printer data first written from the model when it has none. 1 when
// the table is now not empty.
int StoreLoadDeviceFonts(HANDLE printer, DriverContext* ctx);
int StoreLoadOptionFonts(HANDLE printer, DriverContext* ctx);
// The substitution table: 0 when printer data holds a count whose entries cannot all be read.
int StoreLoadFontSubstTable(HANDLE printer, DriverContext* ctx);
// Replaces the substitution table by the default table (1 when it is empty or was read).
int StoreLoadDefaultFontSubstTable(HANDLE printer, DriverContext* ctx);

// Writes each table that differs from the initial settings; 1 unless a write failed.
int StoreSaveFontTablesChanged(HANDLE printer, DriverContext* ctx);
// Writes each table from the model description; 1 unless a write failed.
int StoreSaveFontTablesFromModel(HANDLE printer, DriverContext* ctx);
// Writes the default substitution table from the model when printer data has none.
int StoreEnsureDefaultFontSubstTable(HANDLE printer, DriverContext* ctx);

// flags kFont...: the table from the model or the items, only when changed, the default table.
int StoreWriteDeviceFonts(HANDLE printer, DriverContext* ctx, DWORD flags);
int StoreWriteOptionFonts(HANDLE printer, DriverContext* ctx, DWORD flags);
int StoreWriteFontSubstTable(HANDLE printer, DriverContext* ctx, DWORD flags);

// The numbered values of a substitution table: entries first, then the count, then (without
// kFontDefaultTable) the numbers above the new count removed. 1 unless a write failed.
int StoreWriteFontTables(HANDLE printer, const FontSubstEntry* entries, WORD count, WORD flags);
// Reads count numbered entries into destination: 0 when all were read, else an error code.
DWORD StoreReadFontTables(HANDLE printer, FontSubstEntry* destination, WORD count, WORD flags);
// Deletes the numbered values "LastFontTableNum" names.
int StoreDeleteFontTables(HANDLE printer);
void StoreSplitFontTable(const FontSubstEntry* entries, WCHAR (*faces)[kFontNameChars],
                         WCHAR (*devices)[kFontNameChars], WORD count);
void StoreJoinFontTable(FontSubstEntry* entries, const WCHAR (*faces)[kFontNameChars],
                        const WCHAR (*devices)[kFontNameChars], WORD count);

// Frees the three heap tables of the context's current settings and sets their items to 0;
// the count items are left. Returns 1; nothing happens without a context or settings block.
int StoreFreeFontTables(DriverContext* ctx);
