// The three font tables of a printer's device settings in printer data. The settings hold a
// count item and an address item for each; the arrays are owned by the settings block that
// holds their addresses, and nothing is ever addressed inside printer data or a stored block.
#include "core/store/font_tables.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/store/font_lists.h"

namespace {

constexpr WORD kIdSubstCount = 10004, kIdSubstTable = 10005;
constexpr WORD kIdDeviceCount = 10006, kIdDeviceTable = 10007;
constexpr WORD kIdOptionCount = 10008, kIdOptionTable = 10009;

// One of the two font-record tables and where it lives.
struct FontKind {
  WORD countId, tableId;
  const WCHAR* countName;
  const WCHAR* tableName;
  int cartridges;  // the model's list: 0 resident fonts, 1 cartridge fonts
};
const FontKind kDeviceFonts = {kIdDeviceCount, kIdDeviceTable, TEXT("DeviceFontNum"), TEXT("DeviceFont"), 0};
const FontKind kOptionFonts = {kIdOptionCount, kIdOptionTable, TEXT("OptionFontNum"), TEXT("OptionFont"), 1};

// Items are set directly in a settings block: a load is no user change, so nothing is marked.
SHORT CountIn(BYTE* block, DriverContext* ctx, WORD id) {
  SettingItem* row = ItemFind(ctx, id);
  BYTE* p = block && row ? ItemStorageIn(block, row) : nullptr;
  SHORT v = 0;
  if (p) memcpy(&v, p, sizeof v);
  return v;
}
void* TableIn(BYTE* block, DriverContext* ctx, WORD id) {
  SettingItem* row = ItemFind(ctx, id);
  BYTE* p = block && row ? ItemStorageIn(block, row) : nullptr;
  DWORD v = 0;
  if (p) memcpy(&v, p, sizeof v);
  return reinterpret_cast<void*>(static_cast<UINT_PTR>(v));
}
void SetCount(DriverContext* ctx, WORD id, SHORT count) {
  SettingItem* row = ItemFind(ctx, id);
  BYTE* p = row ? ItemStoragePtr(ctx, row) : nullptr;
  if (p) memcpy(p, &count, sizeof count);
}
void SetTable(DriverContext* ctx, WORD id, void* table) {
  SettingItem* row = ItemFind(ctx, id);
  BYTE* p = row ? ItemStoragePtr(ctx, row) : nullptr;
  DWORD v = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(table));
  if (p) memcpy(p, &v, sizeof v);
}

BYTE* Current(DriverContext* ctx) { return ctx ? ctx->settings : nullptr; }
BYTE* Initial(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->initialSettings : nullptr; }

DWORD SetValue(HANDLE printer, const WCHAR* name, const void* data, DWORD size) {
  return SetPrinterDataW(printer, const_cast<LPWSTR>(name), REG_BINARY, static_cast<LPBYTE>(const_cast<void*>(data)),
                         size);
}

// Reads a value of exactly size bytes; the system error code, or ERROR_SUCCESS.
DWORD GetExact(HANDLE printer, const WCHAR* name, void* buffer, DWORD size) {
  DWORD type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, static_cast<LPBYTE>(buffer), size, &needed);
  if (rc == ERROR_SUCCESS && needed != size) rc = ERROR_INVALID_DATA;
  return rc;
}

// A stored count: unsigned, and small enough for the s16 count items.
bool ReadCount(HANDLE printer, const WCHAR* name, WORD* count) {
  WORD v = 0;
  if (GetExact(printer, name, &v, sizeof v) != ERROR_SUCCESS || v > kFontTableMaxCount) return false;
  *count = v;
  return true;
}

bool ValueExists(HANDLE printer, const WCHAR* name) {
  DWORD type = 0, needed = 0;
  return GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed) != ERROR_FILE_NOT_FOUND;
}

void Terminate(WCHAR* name) { name[kFontNameChars - 1] = 0; }

bool SameBytes(const void* a, const void* b, size_t n) { return a && b && memcmp(a, b, n) == 0; }

// Step 3 of the writes: skipped when a full context's table equals its initial settings.
bool Unchanged(DriverContext* ctx, DWORD flags, WORD countId, WORD tableId, WORD count, const void* table,
               size_t recordSize) {
  if (!(flags & kFontOnlyChanged) || !ctx->ui || ctx->ui->openMode != kOpenModeFull) return false;
  BYTE* initial = Initial(ctx);
  if (!initial || CountIn(initial, ctx, countId) != SHORT(count)) return false;
  return SameBytes(TableIn(initial, ctx, tableId), table, recordSize * count);
}

int LoadFontRecords(HANDLE printer, DriverContext* ctx, const FontKind& kind) {
  if (!ctx || !Current(ctx)) return 0;
  SetCount(ctx, kind.countId, 0);
  SetTable(ctx, kind.tableId, nullptr);
  WORD count = 0;
  bool haveCount = ReadCount(printer, kind.countName, &count);
  if (!haveCount) {
    // A count that is there but unusable makes the table unreadable; only a missing one is
    // created from the model.
    if (ValueExists(printer, kind.countName)) return 0;
    int written = kind.cartridges ? StoreWriteOptionFonts(printer, ctx, kFontFromModel)
                                  : StoreWriteDeviceFonts(printer, ctx, kFontFromModel);
    if (!written) return 1;
    haveCount = ReadCount(printer, kind.countName, &count);
  }
  if (haveCount && count) {
    DeviceFontRecord* table = static_cast<DeviceFontRecord*>(MemAllocZero(SIZE_T(count) * sizeof(DeviceFontRecord)));
    if (table && GetExact(printer, kind.tableName, table, DWORD(count) * sizeof(DeviceFontRecord)) == ERROR_SUCCESS) {
      for (WORD i = 0; i < count; ++i) Terminate(table[i].name);
      SetCount(ctx, kind.countId, SHORT(count));
      SetTable(ctx, kind.tableId, table);
      return 1;
    }
    MemFree(table);
  }
  return 0;
}

int WriteFontRecords(HANDLE printer, DriverContext* ctx, DWORD flags, const FontKind& kind) {
  if (!ctx) return 0;
  WORD count = 0;
  DeviceFontRecord* model = nullptr;
  const DeviceFontRecord* table;
  if (flags & kFontFromModel) {
    model = StoreModelFontRecords(ctx, kind.cartridges, &count);
    table = model;
  } else {
    SHORT n = CountIn(Current(ctx), ctx, kind.countId);
    count = n > 0 ? WORD(n) : 0;
    table = static_cast<const DeviceFontRecord*>(TableIn(Current(ctx), ctx, kind.tableId));
  }
  int result = 1;
  if (!table || !count || count > kFontTableMaxCount) {
    result = 0;
  } else if (!Unchanged(ctx, flags, kind.countId, kind.tableId, count, table, sizeof(DeviceFontRecord))) {
    if (SetValue(printer, kind.countName, &count, sizeof count) != ERROR_SUCCESS) result = 0;
    if (SetValue(printer, kind.tableName, table, DWORD(count) * sizeof(DeviceFontRecord)) != ERROR_SUCCESS)
      result = 0;
  }
  MemFree(model);
  return result;
}

void NumberedName(WCHAR* out, const char* pattern, unsigned n) {
  char narrow[40];
  snprintf(narrow, sizeof narrow, pattern, n);
  size_t i = 0;
  for (; narrow[i]; ++i) out[i] = WCHAR(narrow[i]);
  out[i] = 0;
}

const char* FaceNames(WORD flags) { return (flags & kFontDefaultTable) ? "TTFontDefTable%u" : "TTFontTable%u"; }
const char* DeviceNames(WORD flags) { return (flags & kFontDefaultTable) ? "DevFontDefTable%u" : "DevFontTable%u"; }

}  // namespace

int StoreLoadDeviceFonts(HANDLE printer, DriverContext* ctx) { return LoadFontRecords(printer, ctx, kDeviceFonts); }

int StoreLoadOptionFonts(HANDLE printer, DriverContext* ctx) { return LoadFontRecords(printer, ctx, kOptionFonts); }

int StoreWriteDeviceFonts(HANDLE printer, DriverContext* ctx, DWORD flags) {
  return WriteFontRecords(printer, ctx, flags, kDeviceFonts);
}

int StoreWriteOptionFonts(HANDLE printer, DriverContext* ctx, DWORD flags) {
  return WriteFontRecords(printer, ctx, flags, kOptionFonts);
}

void StoreSplitFontTable(const FontSubstEntry* entries, WCHAR (*faces)[kFontNameChars],
                         WCHAR (*devices)[kFontNameChars], WORD count) {
  for (WORD i = 0; i < count; ++i) {
    memcpy(faces[i], entries[i].face, sizeof entries[i].face);
    memcpy(devices[i], entries[i].deviceFont, sizeof entries[i].deviceFont);
  }
}

void StoreJoinFontTable(FontSubstEntry* entries, const WCHAR (*faces)[kFontNameChars],
                        const WCHAR (*devices)[kFontNameChars], WORD count) {
  for (WORD i = 0; i < count; ++i) {
    memcpy(entries[i].face, faces[i], sizeof entries[i].face);
    memcpy(entries[i].deviceFont, devices[i], sizeof entries[i].deviceFont);
    Terminate(entries[i].face);
    Terminate(entries[i].deviceFont);
  }
}

DWORD StoreReadFontTables(HANDLE printer, FontSubstEntry* destination, WORD count, WORD flags) {
  if (!destination) return ERROR_NOT_ENOUGH_MEMORY;
  if (!count) return ERROR_SUCCESS;
  typedef WCHAR Name[kFontNameChars];
  Name* faces = static_cast<Name*>(MemAllocZero(SIZE_T(count) * sizeof(Name)));
  Name* devices = static_cast<Name*>(MemAllocZero(SIZE_T(count) * sizeof(Name)));
  DWORD result = ERROR_SUCCESS;
  if (!faces || !devices) {
    result = ERROR_NOT_ENOUGH_MEMORY;
  } else {
    WCHAR name[40];
    for (unsigned i = 1; i <= count; ++i) {
      NumberedName(name, FaceNames(flags), i);
      DWORD faceRc = GetExact(printer, name, faces[i - 1], sizeof(Name));
      NumberedName(name, DeviceNames(flags), i);
      DWORD deviceRc = GetExact(printer, name, devices[i - 1], sizeof(Name));
      if (faceRc != ERROR_SUCCESS || deviceRc != ERROR_SUCCESS) {
        result = deviceRc != ERROR_SUCCESS ? deviceRc : faceRc;
        memset(faces[i - 1], 0, sizeof(Name));
        memset(devices[i - 1], 0, sizeof(Name));
      }
    }
    StoreJoinFontTable(destination, faces, devices, count);
  }
  MemFree(faces);
  MemFree(devices);
  return result;
}

int StoreDeleteFontTables(HANDLE printer) {
  WORD last = 0;
  if (!ReadCount(printer, TEXT("LastFontTableNum"), &last)) return 1;
  WCHAR name[40];
  for (unsigned i = 1; i <= last; ++i) {
    NumberedName(name, "TTFontTable%u", i);
    DeletePrinterDataW(printer, name);
    NumberedName(name, "DevFontTable%u", i);
    DeletePrinterDataW(printer, name);
  }
  return 1;
}

namespace {

// The numbered values, then the counts (with loadCount also "FontTableNum", which the load
// reads), then the old numbers above the new count.
int WriteSubstValues(HANDLE printer, const FontSubstEntry* entries, WORD count, WORD flags, bool loadCount) {
  if (!entries) return 0;
  const WCHAR* countName = (flags & kFontDefaultTable) ? TEXT("DefFontTableNum") : TEXT("LastFontTableNum");
  // The new numbered values go first and the count after them, so a write that fails half way
  // never leaves a count whose values are missing; the old numbers above the new count go last.
  WORD oldCount = 0;
  const bool hadOld = ReadCount(printer, countName, &oldCount);
  int result = 1;
  if (count) {
    typedef WCHAR Name[kFontNameChars];
    Name* faces = static_cast<Name*>(MemAllocZero(SIZE_T(count) * sizeof(Name)));
    Name* devices = static_cast<Name*>(MemAllocZero(SIZE_T(count) * sizeof(Name)));
    if (!faces || !devices) {
      MemFree(faces);
      MemFree(devices);
      return 0;
    }
    StoreSplitFontTable(entries, faces, devices, count);
    WCHAR name[40];
    for (unsigned i = 1; i <= count && result; ++i) {
      NumberedName(name, FaceNames(flags), i);
      if (SetValue(printer, name, faces[i - 1], sizeof(Name)) != ERROR_SUCCESS) result = 0;
      NumberedName(name, DeviceNames(flags), i);
      if (result && SetValue(printer, name, devices[i - 1], sizeof(Name)) != ERROR_SUCCESS) result = 0;
    }
    MemFree(faces);
    MemFree(devices);
  }
  if (!result) return 0;
  if (SetValue(printer, countName, &count, sizeof count) != ERROR_SUCCESS) return 0;
  if (loadCount && SetValue(printer, TEXT("FontTableNum"), &count, sizeof count) != ERROR_SUCCESS) return 0;
  if (hadOld) {
    WCHAR name[40];
    for (unsigned i = unsigned(count) + 1; i <= oldCount; ++i) {
      NumberedName(name, FaceNames(flags), i);
      DeletePrinterDataW(printer, name);
      NumberedName(name, DeviceNames(flags), i);
      DeletePrinterDataW(printer, name);
    }
  }
  return 1;
}

}  // namespace

int StoreWriteFontTables(HANDLE printer, const FontSubstEntry* entries, WORD count, WORD flags) {
  return WriteSubstValues(printer, entries, count, flags, false);
}

int StoreWriteFontSubstTable(HANDLE printer, DriverContext* ctx, DWORD flags) {
  if (!ctx) return 0;
  WORD count = 0;
  FontSubstEntry* model = nullptr;
  const FontSubstEntry* table;
  if (flags & kFontFromModel) {
    model = StoreModelFontSubstTable(ctx, &count);
    if (!model || !count) {
      MemFree(model);
      return 1;
    }
    table = model;
  } else {
    SHORT n = CountIn(Current(ctx), ctx, kIdSubstCount);
    count = n > 0 ? WORD(n) : 0;
    table = static_cast<const FontSubstEntry*>(TableIn(Current(ctx), ctx, kIdSubstTable));
    // An empty table is saved as such: its count written, no numbered values.
    if (!table) {
      count = 0;
      static const FontSubstEntry kNone = {};
      table = &kNone;
    }
  }
  int result;
  if (flags & kFontDefaultTable) {
    // As the printer's own table: values first, the count after them, stale numbers last.
    result = StoreWriteFontTables(printer, table, count, WORD(flags));
  } else if (Unchanged(ctx, flags, kIdSubstCount, kIdSubstTable, count, table, sizeof(FontSubstEntry))) {
    result = 1;
  } else {
    result = WriteSubstValues(printer, table, count, WORD(flags), true);
  }
  MemFree(model);
  return result;
}

int StoreLoadFontSubstTable(HANDLE printer, DriverContext* ctx) {
  if (!ctx || !Current(ctx)) return 0;
  SetCount(ctx, kIdSubstCount, 0);
  SetTable(ctx, kIdSubstTable, nullptr);
  WORD count = 0;
  if (!ReadCount(printer, TEXT("FontTableNum"), &count)) {
    if (ValueExists(printer, TEXT("FontTableNum"))) return 0;  // there, but unusable
    StoreWriteFontSubstTable(printer, ctx, kFontFromModel);
    if (!ReadCount(printer, TEXT("FontTableNum"), &count)) return 1;
  }
  if (!count) return 1;
  FontSubstEntry* table = static_cast<FontSubstEntry*>(MemAllocZero(SIZE_T(count) * sizeof(FontSubstEntry)));
  if (table && StoreReadFontTables(printer, table, count, 0) == ERROR_SUCCESS) {
    SetCount(ctx, kIdSubstCount, SHORT(count));
    SetTable(ctx, kIdSubstTable, table);
    return 1;
  }
  MemFree(table);
  return 0;
}

int StoreLoadFontTables(HANDLE printer, DriverContext* ctx) {
  int device = StoreLoadDeviceFonts(printer, ctx);
  int option = StoreLoadOptionFonts(printer, ctx);
  int subst = StoreLoadFontSubstTable(printer, ctx);
  return device == 1 && option == 1 && subst == 1 ? 1 : 0;
}

int StoreLoadDefaultFontSubstTable(HANDLE printer, DriverContext* ctx) {
  if (!ctx || !Current(ctx)) return 0;
  MemFree(TableIn(Current(ctx), ctx, kIdSubstTable));
  SetCount(ctx, kIdSubstCount, 0);
  SetTable(ctx, kIdSubstTable, nullptr);
  WORD count = 0;
  if (!ReadCount(printer, TEXT("DefFontTableNum"), &count) || !count) return 1;
  FontSubstEntry* table = static_cast<FontSubstEntry*>(MemAllocZero(SIZE_T(count) * sizeof(FontSubstEntry)));
  if (table && StoreReadFontTables(printer, table, count, kFontDefaultTable) == ERROR_SUCCESS) {
    SetCount(ctx, kIdSubstCount, SHORT(count));
    SetTable(ctx, kIdSubstTable, table);
    return 1;
  }
  MemFree(table);
  return 0;
}

int StoreSaveFontTablesChanged(HANDLE printer, DriverContext* ctx) {
  // A table the items do not hold is nothing to save.
  int result = 1;
  if (TableIn(Current(ctx), ctx, kIdDeviceTable) && !StoreWriteDeviceFonts(printer, ctx, kFontOnlyChanged)) result = 0;
  if (TableIn(Current(ctx), ctx, kIdOptionTable) && !StoreWriteOptionFonts(printer, ctx, kFontOnlyChanged)) result = 0;
  if (!StoreWriteFontSubstTable(printer, ctx, kFontOnlyChanged)) result = 0;
  return result;
}

int StoreSaveFontTablesFromModel(HANDLE printer, DriverContext* ctx) {
  int result = 1;
  WORD count = 0;
  DeviceFontRecord* probe = StoreModelFontRecords(ctx, 0, &count);
  if (probe && !StoreWriteDeviceFonts(printer, ctx, kFontFromModel)) result = 0;
  MemFree(probe);
  probe = StoreModelFontRecords(ctx, 1, &count);
  if (probe && !StoreWriteOptionFonts(printer, ctx, kFontFromModel)) result = 0;
  MemFree(probe);
  if (!StoreWriteFontSubstTable(printer, ctx, kFontFromModel)) result = 0;
  return result;
}

int StoreEnsureDefaultFontSubstTable(HANDLE printer, DriverContext* ctx) {
  if (ValueExists(printer, TEXT("DefFontTableNum"))) return 1;
  return StoreWriteFontSubstTable(printer, ctx, kFontFromModel | kFontDefaultTable);
}

int StoreFreeFontTables(DriverContext* ctx) {
  if (ctx) CtxFreeFontTables(ctx, Current(ctx));
  return 1;
}
