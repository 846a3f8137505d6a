// The persisted item store and its codec. Every item whose row names a key is kept either in
// the printer's data or in the printer's section of the settings ini, encoded by its data type;
// the three packed runs of bit items and the action bits travel as one value each.
#include "core/store/item_store.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/bind/bidi_store.h"
#include "core/bind/remote_config.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/font_tables.h"
#include "core/store/ini_table.h"
#include "core/store/ini_text.h"
#include "core/store/lock_data.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/store/store_keys.h"

namespace {

// Text buffers come from the machine's heap like every other block of the driver, so an
// allocation failure the machine reports reaches these paths too.
WCHAR* AllocChars(size_t count) {
  if (count > (size_t(-1) >> 1) / sizeof(WCHAR)) return nullptr;
  return static_cast<WCHAR*>(MemAllocZero(SIZE_T(count * sizeof(WCHAR))));
}

// Wide and narrow texts kept as strings in printer data; no catalogue row uses them yet.
constexpr UINT kTypeWideString = 13;
constexpr UINT kTypeNarrowAsWide = 14;
constexpr UINT kTypeWideString2 = 15;

constexpr WORD kIdFirstLoaded = 35;
constexpr WORD kIdEnvFlagsFirst = 697, kIdEnvFlagsLast = 722;
constexpr WORD kIdActionFirst = 211, kIdActionLast = 226;
constexpr WORD kIdCopyProtectChar = 524;
constexpr WORD kIdSpecialFirst = 1169, kIdSpecialLast = 1184;
constexpr WORD kIdSpecialFuncFirst = 1185, kIdSpecialFuncLast = 1200;
constexpr WORD kIdLockWorkFirst = 1201, kIdLockWorkLast = 1216;
constexpr WORD kIdAuthUserName = 1112;
constexpr WORD kIdCustomFuncFirst = 1462, kIdCustomFuncLast = 1493;
constexpr WORD kIdServerLogCode = 10001;
constexpr WORD kIdLogCodeUse = 10002, kIdLogCodeUseLast = 10003;
constexpr WORD kIdFontItemsFirst = 10004, kIdFontItemsLast = 10009;
constexpr WORD kIdLogging = 10275;
constexpr int kSettingLockFeature = 2;

struct PackedRun {
  WORD first, last;
  UINT type;
  const WCHAR* name;
};
const PackedRun kPackedRuns[] = {
    {10386, 10417, ItemTypeU32, TEXT("zdmLockInfo")},
    {10418, 10425, ItemTypeU8, TEXT("zdmLock000InfoBit")},
    {10426, 10433, ItemTypeU8, TEXT("zdmLock001InfoBit")},
};
const WCHAR kActionValueName[] = TEXT("zdmAction");

const PackedRun* PackedRunOf(WORD id) {
  for (const PackedRun& run : kPackedRuns)
    if (id >= run.first && id <= run.last) return &run;
  return nullptr;
}

UINT TypeOf(const SettingItem* row) { return ItemDescType(row->descriptor); }
UINT SizeOf(const SettingItem* row) { return ItemDescSize(row->descriptor); }
int ClassOf(const SettingItem* row) { return int(ItemDescArea(row->descriptor)); }

bool IsExtendedDeviceItem(WORD id) {
  if (id < 10001 || id > 10434) return false;
  return !(id <= 10011 || id == 10354 || id == 10355);
}

// A row's key and data type changed for the length of one call: restored on every path out.
class RowOverride {
 public:
  RowOverride(SettingItem* row, const WCHAR* key, UINT type)
      : row_(row), key_(row->persistKey), descriptor_(row->descriptor) {
    row->persistKey = key;
    if (type) row->descriptor = ItemDescriptorMake(ItemDescArea(descriptor_), type, ItemDescSize(descriptor_));
  }
  ~RowOverride() {
    row_->persistKey = key_;
    row_->descriptor = descriptor_;
  }
  RowOverride(const RowOverride&) = delete;
  RowOverride& operator=(const RowOverride&) = delete;

 private:
  SettingItem* row_;
  const WCHAR* key_;
  DWORD descriptor_;
};

DWORD ValueTypeFor(const SettingItem* row) {
  UINT type = TypeOf(row);
  if (type == kTypeWideString || type == kTypeNarrowAsWide || type == kTypeWideString2) return REG_SZ;
  if (row->id == kIdLogging) return REG_DWORD;
  return REG_BINARY;
}

// Bytes a number type takes in printer data; 0 for other types.
UINT NumberBytes(UINT type) {
  switch (type) {
    case ItemTypeS8: case ItemTypeU8: return 1;
    case ItemTypeS16: case ItemTypeU16: return 2;
    case ItemTypeS32: case ItemTypeU32: return 4;
    default: return 0;
  }
}

bool IsNumberType(UINT type) { return NumberBytes(type) != 0 || ItemTypeIsBit(type); }

// Result of one printer-data read.
enum class ReadResult { kOk, kAbsent, kOtherSize, kFailed };

// Reads a value of at most size bytes into buffer (zeroed first); *got receives its size.
ReadResult ReadValue(HANDLE printer, LPCWSTR name, BYTE* buffer, DWORD size, DWORD* got) {
  memset(buffer, 0, size);
  *got = 0;
  if (!printer || !name || !size) return ReadResult::kFailed;
  DWORD type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, buffer, size, &needed);
  if (rc == ERROR_FILE_NOT_FOUND) return ReadResult::kAbsent;
  if (rc == ERROR_MORE_DATA) {
    memset(buffer, 0, size);  // a value larger than the item never reaches it
    return ReadResult::kOtherSize;
  }
  if (rc != ERROR_SUCCESS) return ReadResult::kFailed;
  *got = needed;
  return ReadResult::kOk;
}

// A narrow text is stored converted to wide: it is read as wide text of up to size characters
// and converted back, cut and terminated inside the item.
ReadResult ReadNarrowAsWide(HANDLE printer, DriverContext* ctx, SettingItem* row, UINT size, bool exactSize) {
  (void)exactSize;
  DWORD bytes = size * sizeof(WCHAR);
  WCHAR* wide = AllocChars(size + 1);
  if (!wide) return ReadResult::kFailed;
  DWORD got = 0;
  ReadResult r = ReadValue(printer, row->persistKey, reinterpret_cast<BYTE*>(wide), bytes, &got);
  BYTE* storage = ItemStoragePtr(ctx, row);
  if (r == ReadResult::kOk && storage) {
    wide[size] = 0;
    memset(storage, 0, size);
    if (size > 1)
      WideCharToMultiByte(CP_ACP, 0, wide, -1, reinterpret_cast<char*>(storage), int(size - 1), nullptr, nullptr);
    storage[size - 1] = 0;
  }
  MemFree(wide);
  return r;
}

// Reads the row's value under its key; with exactSize a value of another size is refused.
ReadResult ReadRowPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row, bool exactSize) {
  if (!row->persistKey) return ReadResult::kOk;
  UINT type = TypeOf(row);
  if (ItemTypeIsBit(type)) {
    DWORD value = 0, got = 0;
    ReadResult r = ReadValue(printer, row->persistKey, reinterpret_cast<BYTE*>(&value), sizeof value, &got);
    if (r != ReadResult::kOk) return r;
    if (exactSize && got != sizeof value) return ReadResult::kOtherSize;
    ItemSetRaw(ctx, row, LONG_PTR(value));
    return ReadResult::kOk;
  }
  UINT size = SizeOf(row);
  if (!size) return ReadResult::kFailed;
  if (type == kTypeNarrowAsWide) return ReadNarrowAsWide(printer, ctx, row, size, exactSize);
  BYTE scratch[1044];
  BYTE* buffer = size <= sizeof scratch ? scratch : static_cast<BYTE*>(MemAllocZero(size));
  if (!buffer) return ReadResult::kFailed;
  DWORD got = 0;
  ReadResult r = ReadValue(printer, row->persistKey, buffer, size, &got);
  if (r == ReadResult::kOk && exactSize && got != size) r = ReadResult::kOtherSize;
  if (r == ReadResult::kOk) {
    // A shorter value leaves zeros after it. A stored string is terminated inside the item.
    if ((type == kTypeWideString || type == kTypeWideString2) && size >= 2) buffer[size - 1] = buffer[size - 2] = 0;
    BYTE* storage = ItemStoragePtr(ctx, row);
    if (storage) memcpy(storage, buffer, size);
  }
  if (buffer != scratch) MemFree(buffer);
  return r;
}

// The row's value from a terminal-server client's printer data (stored here too on the way):
// bit items 4 bytes, other items exactly their size. Narrow texts kept as wide text have no
// fixed size and are not taken from a client.
int ReadRowFromClient(HANDLE printer, DriverContext* ctx, SettingItem* row, RemoteLibrary* lib) {
  if (!row->persistKey) return 1;
  UINT type = TypeOf(row);
  DWORD valueType = row->id == kIdLogging ? REG_DWORD : REG_BINARY;
  DWORD got = 0, stored = 0;
  if (ItemTypeIsBit(type)) {
    DWORD value = 0;
    if (!RemoteGetClientPrinterData(printer, row->persistKey, &stored, reinterpret_cast<BYTE*>(&value), sizeof value,
                                    &got, valueType, lib))
      return 0;
    ItemSetRaw(ctx, row, LONG_PTR(value));
    return 1;
  }
  UINT size = SizeOf(row);
  if (!size || type == kTypeNarrowAsWide) return 0;
  BYTE scratch[1044];
  BYTE* buffer = size <= sizeof scratch ? scratch : static_cast<BYTE*>(MemAllocZero(size));
  if (!buffer) return 0;
  int result = RemoteGetClientPrinterData(printer, row->persistKey, &stored, buffer, size, &got, valueType, lib);
  if (result) {
    if ((type == kTypeWideString || type == kTypeWideString2) && size >= 2) buffer[size - 1] = buffer[size - 2] = 0;
    BYTE* storage = ItemStoragePtr(ctx, row);
    if (storage) memcpy(storage, buffer, size);
  }
  if (buffer != scratch) MemFree(buffer);
  return result;
}

// SetPrinterDataW answers its error without setting the last error: a failed save leaves it there.
bool PrinterDataWritten(DWORD rc) {
  if (rc == ERROR_SUCCESS) return true;
  SetLastError(rc);
  return false;
}

bool WriteRowPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  if (!row->persistKey) return true;
  UINT type = TypeOf(row);
  LPWSTR name = const_cast<LPWSTR>(row->persistKey);
  DWORD valueType = ValueTypeFor(row);
  if (ItemTypeIsBit(type)) {
    DWORD value = ItemGetRaw(ctx, row) ? 1 : 0;
    return PrinterDataWritten(SetPrinterDataW(printer, name, valueType, reinterpret_cast<LPBYTE>(&value), sizeof value));
  }
  BYTE* storage = ItemStoragePtr(ctx, row);
  if (!storage) return false;
  UINT size = SizeOf(row);
  if (UINT bytes = NumberBytes(type)) {
    if (bytes > size) return false;
    return PrinterDataWritten(SetPrinterDataW(printer, name, valueType, storage, bytes));
  }
  if (type == kTypeNarrowAsWide) {
    // The narrow text, converted to wide, with its terminator: (length + 1) x 2 bytes.
    size_t length = strnlen(reinterpret_cast<const char*>(storage), size ? size - 1 : 0);
    WCHAR* wide = AllocChars(length + 1);
    if (!wide) return false;
    int n = length ? MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(storage), int(length), wide,
                                         int(length))
                   : 0;
    wide[n > 0 ? n : 0] = 0;
    DWORD rc = SetPrinterDataW(printer, name, valueType, reinterpret_cast<LPBYTE>(wide), DWORD(n + 1) * 2);
    MemFree(wide);
    return PrinterDataWritten(rc);
  }
  return PrinterDataWritten(SetPrinterDataW(printer, name, valueType, storage, size));
}

// The section of a settings-ini row: its own, else the printer's name.
LPCWSTR SectionOf(DriverContext* ctx, const SettingItem* row) {
  return row->persistSection ? row->persistSection : PrnGetPrinterName(ctx);
}

bool IniPathUsable(LPCWSTR path) { return path && path[0] && path[1] == u':'; }

// Reads one value of the row from the ini (or the in-memory section text) into text.
// Where a read of the settings ini looks: the section read in one pass (table set: absent
// when null), else the in-memory section text from *position on, else the ini calls.
struct IniSource {
  bool fromTable;
  bool storedText;
  const IniTableSection* table;
  const char* sectionText;
  DWORD* position;
};

DWORD ReadIniText(DriverContext* ctx, const SettingItem* row, LPCWSTR path, const IniSource& source, LPCWSTR def,
                  WCHAR* text, DWORD chars) {
  if (source.fromTable)
    return source.storedText ? StoreIniTableGetStored(source.table, row->persistKey, def, text, chars)
                             : StoreIniTableGetString(source.table, row->persistKey, def, text, chars);
  const char* sectionText = source.sectionText;
  DWORD* position = source.position;
  if (sectionText) {
    DWORD start = 0;
    return StoreIniTextGetString(row->persistKey, def, text, chars, sectionText, position ? position : &start);
  }
  return IniReadString(SectionOf(ctx, row), row->persistKey, def, text, chars, path);
}

// Parses a sign and decimal digits (blanks around them allowed) in 64 bits.
bool ParseNumber(const WCHAR* text, long long* value) {
  while (*text == u' ' || *text == u'\t') ++text;
  bool negative = false;
  if (*text == u'-' || *text == u'+') negative = *text++ == u'-';
  if (*text < u'0' || *text > u'9') return false;
  unsigned long long v = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) v = v * 10 + unsigned(*text - u'0');
  while (*text == u' ' || *text == u'\t') ++text;
  if (*text) return false;
  *value = negative ? -(long long)v : (long long)v;
  return true;
}

// The number cut to the row's width, as the typed set takes it.
LONG_PTR CutToWidth(const SettingItem* row, long long value) {
  UINT type = TypeOf(row);
  UINT width = ItemTypeIsBit(type) ? SizeOf(row) : NumberBytes(type);
  switch (width) {
    case 1: return type == ItemTypeS8 ? LONG_PTR(static_cast<signed char>(value)) : LONG_PTR(BYTE(value));
    case 2: return type == ItemTypeS16 ? LONG_PTR(static_cast<SHORT>(value)) : LONG_PTR(WORD(value));
    case 4: return LONG_PTR(static_cast<LONG>(static_cast<DWORD>(value)));
    default: return 0;
  }
}

int ReadRowIni(DriverContext* ctx, SettingItem* row, LPCWSTR path, const IniSource& source) {
  if (!IniPathUsable(path) || !row->persistKey) return 1;
  UINT type = TypeOf(row);
  UINT size = SizeOf(row);
  if (IsNumberType(type)) {
    WCHAR text[16] = {};
    if (!ReadIniText(ctx, row, path, source, TEXT(""), text, 16) || !text[0]) return 0;
    long long value = 0;
    if (!ParseNumber(text, &value)) return 0;
    return ItemSetRaw(ctx, row, CutToWidth(row, value)) ? 1 : 0;
  }
  if (!size) return 0;
  if (type == kTypeWideString || type == kTypeWideString2 || type == kTypeNarrowAsWide) {
    WCHAR* text = AllocChars(size + 1);
    if (!text) return 0;
    ReadIniText(ctx, row, path, source, TEXT(""), text, size + 1);
    int result = 0;
    BYTE* storage = ItemStoragePtr(ctx, row);
    if (text[0] && storage) {
      // Never past the item: the text is cut and terminated inside its size.
      memset(storage, 0, size);
      if (type == kTypeNarrowAsWide) {
        if (size > 1)
          WideCharToMultiByte(CP_ACP, 0, text, -1, reinterpret_cast<char*>(storage), int(size - 1), nullptr, nullptr);
        storage[size - 1] = 0;
      } else {
        size_t chars = size / 2;
        if (chars) {
          size_t n = 0;
          while (n + 1 < chars && text[n]) ++n;
          memcpy(storage, text, n * sizeof(WCHAR));
        }
      }
      result = 1;
    }
    MemFree(text);
    return result;
  }
  if (!ItemTypeIsText(type)) return 0;
  const bool tellsEmpty = row->id == kIdCopyProtectChar || row->id == kIdAuthUserName;
  // Two items tell an empty value from an absent key: the default is size + 9 asterisks.
  DWORD chars = tellsEmpty ? size + 10 : size;
  WCHAR* text = AllocChars(chars + 1);
  WCHAR* def = AllocChars(chars + 1);
  if (!text || !def) {
    MemFree(text);
    MemFree(def);
    return 0;
  }
  if (tellsEmpty)
    for (DWORD i = 0; i < size + 9; ++i) def[i] = u'*';
  ReadIniText(ctx, row, path, source, def, text, chars);
  int result = 0;
  if (tellsEmpty) {
    if (memcmp(text, def, (size + 9) * sizeof(WCHAR)) != 0 || !text[0]) {
      text[size] = 0;
      result = ItemSetText(ctx, row, text) ? 1 : 0;
    }
  } else if (text[0]) {
    result = ItemSetText(ctx, row, text) ? 1 : 0;
  }
  MemFree(text);
  MemFree(def);
  return result;
}

int WriteRowIni(HANDLE printer, DriverContext* ctx, SettingItem* row, LPCWSTR path, IniSectionBuffer* buffer,
                DWORD* position) {
  (void)printer;
  if (!IniPathUsable(path) || !row->persistKey) return 1;
  UINT type = TypeOf(row);
  UINT size = SizeOf(row);
  WCHAR number[24];
  WCHAR* text = number;
  WCHAR* owned = nullptr;
  if (IsNumberType(type)) {
    LONG_PTR raw = ItemGetRaw(ctx, row);
    char digits[24];
    bool isSigned = type == ItemTypeS8 || type == ItemTypeS16 || type == ItemTypeS32 || ItemTypeIsBit(type);
    if (isSigned)
      snprintf(digits, sizeof digits, "%ld", long(LONG(raw)));
    else
      snprintf(digits, sizeof digits, "%lu", (unsigned long)DWORD(raw));
    size_t i = 0;
    for (; digits[i]; ++i) number[i] = WCHAR(digits[i]);
    number[i] = 0;
  } else {
    BYTE* storage = ItemStoragePtr(ctx, row);
    if (!storage || !size) return 0;
    owned = AllocChars(size + 1);
    if (!owned) return 0;
    text = owned;
    if (type == kTypeWideString || type == kTypeWideString2) {
      memcpy(owned, storage, (size / 2) * sizeof(WCHAR));
      owned[size / 2] = 0;
    } else if (type == kTypeNarrowAsWide) {
      size_t length = strnlen(reinterpret_cast<const char*>(storage), size);
      int n = length ? MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(storage), int(length), owned,
                                           int(size))
                     : 0;
      owned[n > 0 ? n : 0] = 0;
    } else if (!ItemTypeIsText(type) || !ItemGetTextBounded(ctx, row, owned, int(size + 1))) {
      MemFree(owned);
      return 0;
    }
  }
  BOOL ok;
  if (buffer) {
    DWORD start = 0;
    ok = StoreIniTextPutKey(position ? position : &start, row->persistKey, text, buffer);
  } else {
    ok = IniWriteString(SectionOf(ctx, row), row->persistKey, text, path);
  }
  MemFree(owned);
  return ok ? 1 : 0;
}

bool OpenAllowsIni(DriverContext* ctx) {
  UiState* ui = ctx->ui;
  if (!ui) return true;
  return ui->openMode != 1 && (ui->openKind & 0x3010000u) == 0;
}

// Offers a row to the UI modules (event 4 or 5); 1 when a module kept it out. Otherwise the
// row is keyed by its own name in the printer's section of the settings ini from now on.
bool ModulesSkipRow(DriverContext* ctx, SettingItem* row, int event) {
  StoreItemOffer offer = {2, row, 0};
  ModBusSendEvent(ctx, event, &offer);
  if (offer.reply == 1) return true;
  const WCHAR* name = ItemGetName(ctx, row->id);
  if (!name) return true;
  row->persistKey = name;
  row->persistSection = nullptr;
  row->storageKind = ItemStoreSettingsIni;
  return false;
}

// Module-selected mode needs a module that answers for the rows: the chapter module refuses
// every row but its own. A table where nobody refuses a row outside any module's claim has
// no such module, and then nothing is keyed by name.
bool ModulesSelectRows(DriverContext* ctx, int event) {
  SettingItem* probe = ItemFind(ctx, 1);
  if (!probe) return false;
  StoreItemOffer offer = {2, probe, 0};
  ModBusSendEvent(ctx, event, &offer);
  return offer.reply == 1;
}

bool IsUnchanged(DriverContext* ctx, SettingItem* row) {
  if (ItemTypeIsBit(TypeOf(row))) return ItemGetRaw(ctx, row) == ItemGetInitialRaw(ctx, row);
  BYTE* now = ItemStoragePtr(ctx, row);
  BYTE* initial = ItemInitialStoragePtr(ctx, row);
  return now && initial && memcmp(now, initial, SizeOf(row)) == 0;
}


}  // namespace

int StoreReadItemPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row, int mode, void* clientCtx) {
  if (!ctx || !row) return 0;
  if (mode == kStoreLoadFromClient && clientCtx)
    return ReadRowFromClient(printer, ctx, row, static_cast<RemoteLibrary*>(clientCtx));
  return ReadRowPrinterData(printer, ctx, row, false) == ReadResult::kOk ? 1 : 0;
}

int StoreWriteItemPrinterData(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  if (!ctx || !row) return 0;
  return WriteRowPrinterData(printer, ctx, row) ? 1 : 0;
}

int StoreReadItemIni(DriverContext* ctx, SettingItem* row, LPCWSTR path, const char* sectionText, DWORD* position) {
  if (!ctx || !row) return 0;
  return ReadRowIni(ctx, row, path, IniSource{false, false, nullptr, sectionText, position});
}

int StoreReadItemFromTable(DriverContext* ctx, SettingItem* row, LPCWSTR path, const IniTableSection* section,
                           BOOL storedText) {
  if (!ctx || !row) return 0;
  return ReadRowIni(ctx, row, path, IniSource{true, storedText != FALSE, section, nullptr, nullptr});
}

int StoreWriteItemIni(HANDLE printer, DriverContext* ctx, SettingItem* row, LPCWSTR path, IniSectionBuffer* buffer,
                      DWORD* position) {
  if (!ctx || !row) return 0;
  return WriteRowIni(printer, ctx, row, path, buffer, position);
}

int StoreSaveItem(HANDLE printer, DriverContext* ctx, SettingItem* row, LPCWSTR path) {
  if (!ctx || !row) return 0;
  if (!path) path = PathSettingsFile(ctx);
  int cls = ClassOf(row);
  if (cls == kStoreClassDevmode || cls == kStoreClassWork) {
    if (row->storageKind == ItemStoreSettingsIni) return StoreWriteItemIni(printer, ctx, row, path, nullptr, nullptr);
    return 1;
  }
  if (row->storageKind == ItemStorePrinterData) return StoreWriteItemPrinterData(printer, ctx, row);
  if (row->storageKind == ItemStoreSettingsIni) return StoreWriteItemIni(printer, ctx, row, path, nullptr, nullptr);
  return 1;
}

int StoreLoadPackedRun(HANDLE printer, DriverContext* ctx, SettingItem* first, int itemClass, UINT substituteType,
                       LPCWSTR valueName, WORD firstId, WORD lastId) {
  (void)itemClass;
  if (!ctx || !first) return 0;
  ReadResult r;
  {
    RowOverride packed(first, valueName, substituteType);
    r = ReadRowPrinterData(printer, ctx, first, true);
  }
  if (r == ReadResult::kAbsent || r == ReadResult::kOtherSize) {
    // Stored singly by an older driver (rows without a key keep their value): migrate.
    for (WORD id = firstId; id <= lastId && id >= firstId; ++id) {
      SettingItem* row = ItemFind(ctx, id);
      if (row) ReadRowPrinterData(printer, ctx, row, false);
    }
    RowOverride packed(first, valueName, substituteType);
    WriteRowPrinterData(printer, ctx, first);
  }
  return 1;
}

int StoreSavePackedRun(HANDLE printer, DriverContext* ctx, SettingItem* first, int itemClass, UINT substituteType,
                       LPCWSTR valueName) {
  (void)itemClass;
  if (!ctx || !first) return 0;
  RowOverride packed(first, valueName, substituteType);
  return WriteRowPrinterData(printer, ctx, first) ? 1 : 0;
}

int StoreLoadPersistedItems(HANDLE printer, DriverContext* ctx, int itemClass, int mode, void* clientCtx) {
  if (!ctx || !ctx->items || !ctx->items->rows) return 1;
  StoreMutexHold hold(ctx);
  LPCWSTR path = PathSettingsFile(ctx);
  const bool locks = BuildHasFeature(ctx, kSettingLockFeature) != 0;
  const bool moduleSelected = mode == kStoreLoadModuleSelected && ModulesSelectRows(ctx, kStoreEventLoadOffer);
  if (mode == kStoreLoadModuleSelected && !moduleSelected) return 1;
  SettingItem* action = nullptr;
  int specialCount = 0;
  for (int i = 0; i < ctx->items->count; ++i) {
    SettingItem* row = &ctx->items->rows[i];
    WORD id = row->id;
    if (id < kIdFirstLoaded || (id >= kIdEnvFlagsFirst && id <= kIdEnvFlagsLast)) continue;
    if (moduleSelected && ModulesSkipRow(ctx, row, kStoreEventLoadOffer)) continue;
    int cls = ClassOf(row);
    if (itemClass != kStoreClassAll && cls != itemClass) continue;
    if (id >= kIdSpecialFirst && id <= kIdSpecialLast && cls == kStoreClassWork) {
      if (BuildHasFeatureBit(id - kIdSpecialFirst)) ++specialCount;
      continue;
    }
    if (locks && id >= kIdLockWorkFirst && id <= kIdLockWorkLast) {
      // The lock module fills its work items from the settings just loaded.
      if (id == kIdLockWorkFirst) ModBusNotify(ctx, kNotifyLockDataLoaded);
      continue;
    }
    if (id >= kIdSpecialFuncFirst && id <= kIdSpecialFuncLast) {
      ItemSetRaw(ctx, row, BuildHasFeatureBit(id - kIdSpecialFuncFirst) ? 1 : 0);
      continue;
    }
    if (cls == kStoreClassDevmode || cls == kStoreClassWork) {
      if (row->storageKind != ItemStoreSettingsIni || !OpenAllowsIni(ctx)) continue;
      if (id >= kIdActionFirst && id <= kIdActionLast) {
        if (id == kIdActionFirst) action = row;
        continue;
      }
      StoreReadItemIni(ctx, row, path, nullptr, nullptr);
      continue;
    }
    if (row->storageKind == ItemStorePrinterData) {
      if (id >= kIdFontItemsFirst && id <= kIdFontItemsLast) continue;
      if (const PackedRun* run = PackedRunOf(id)) {
        if (locks && id == run->first)
          StoreLoadPackedRun(printer, ctx, row, kStoreClassDevice, run->type, run->name, run->first, run->last);
        if (locks) continue;
      }
      StoreReadItemPrinterData(printer, ctx, row, mode, clientCtx);
    } else if (row->storageKind == ItemStoreSettingsIni && OpenAllowsIni(ctx)) {
      StoreReadItemIni(ctx, row, path, nullptr, nullptr);
    }
  }
  if (action) {
    RowOverride asWord(action, kActionValueName, ItemTypeU16);
    StoreReadItemIni(ctx, action, path, nullptr, nullptr);
  }
  StoreClassDone done = {DWORD(itemClass), DWORD(mode)};
  ModBusSendEvent(ctx, kStoreEventLoaded, &done);
  if (locks && ItemGetRawById(ctx, kItem_zdmLock000InfoBitDefault)) StoreLoadLockDefaults(printer, ctx);
  if (specialCount) StoreLoadUserInfo(ctx);
  return 1;
}

int StoreLoadItems(HANDLE printer, DriverContext* ctx, int itemClass, int mode) {
  return StoreLoadPersistedItems(printer, ctx, itemClass, mode, nullptr);
}

int StoreLoadByClass(HANDLE printer, int itemClass, DriverContext* ctx) {
  switch (itemClass) {
    case kStoreClassAll:
      StoreLoadItems(printer, ctx, kStoreClassAll, kStoreLoadPlain);
      StoreLoadFontTables(printer, ctx);
      break;
    case kStoreClassDevmode:
      StoreLoadItems(printer, ctx, kStoreClassWork, kStoreLoadPlain);
      StoreLoadItems(printer, ctx, kStoreClassDevmode, kStoreLoadPlain);
      break;
    case kStoreClassDevice:
      StoreLoadItems(printer, ctx, kStoreClassDevice, kStoreLoadPlain);
      StoreLoadFontTables(printer, ctx);
      break;
    default:
      break;
  }
  return 1;
}

static int LoadAtOpen(DriverContext* ctx, bool writeBack) {
  if (!ctx) return 1;
  StoreLoadByClass(ctx->printer, kStoreClassAll, ctx);
  if (ItemGetRawById(ctx, kItem_zdmServerClientMode) == 1) return 1;
  // Settings acquired by a user who could not write printer data wait in the bidi ini; a
  // context that can write printer data moves them there.
  if (BidiIniFlagIsSet(ctx)) {
    BidiLoadIniSettings(ctx);
    if (writeBack && BidiCanWritePrinterData(ctx)) {
      StoreSavePersistedItems(ctx->printer, ctx, kStoreClassDevice, kStoreSaveForced | kStoreSaveExtendedOnly);
      BidiDeleteIniSection(ctx);
    }
  }
  return 1;
}

int StoreLoadAtOpen(DriverContext* ctx) { return LoadAtOpen(ctx, true); }

int StoreLoadAtOpenNoWriteBack(DriverContext* ctx) { return LoadAtOpen(ctx, false); }

namespace {

// The error of a save's first failure, given back when the save ends: the rows saved after it
// and the modules told of the save would otherwise replace it.
class FirstFailure {
 public:
  void Note(bool ok) {
    if (!ok && !failed_) {
      failed_ = true;
      error_ = GetLastError();
    }
  }
  int Result() const {
    if (!failed_) return 1;
    SetLastError(error_);
    return 0;
  }

 private:
  bool failed_ = false;
  DWORD error_ = 0;
};

}  // namespace

int StoreSavePersistedItems(HANDLE printer, DriverContext* ctx, int itemClass, DWORD flags) {
  if (!ctx || !ctx->items || !ctx->items->rows) return 0;
  FirstFailure failure;
  {
    StoreMutexHold hold(ctx);
    LPCWSTR path = PathSettingsFile(ctx);
    const bool locks = BuildHasFeature(ctx, kSettingLockFeature) != 0;
    const bool forced = (flags & kStoreSaveForced) != 0;
    const bool wantModules = (flags & ~kStoreSaveForced) == kStoreSaveModuleSelected;
    const bool moduleSelected = wantModules && ModulesSelectRows(ctx, kStoreEventSaveOffer);
    const bool skipUnchanged = !forced && itemClass == kStoreClassDevice && ctx->ui &&
                               ctx->ui->openMode == kOpenModeFull && ctx->ui->initialSettings;
    const bool serverSkipsLogCode = PrnIsOnServer(ctx) && ItemGetRawById(ctx, kIdServerLogCode) == 0;
    SettingItem* action = nullptr;
    if (!wantModules || moduleSelected) {
      for (int i = 0; i < ctx->items->count; ++i) {
        SettingItem* row = &ctx->items->rows[i];
        WORD id = row->id;
        if ((flags & kStoreSaveCustomFuncs) && (id < kIdCustomFuncFirst || id > kIdCustomFuncLast)) continue;
        if ((flags & kStoreSaveExtendedOnly) && !IsExtendedDeviceItem(id)) continue;
        if (moduleSelected && ModulesSkipRow(ctx, row, kStoreEventSaveOffer)) continue;
        if (ClassOf(row) != itemClass) continue;
        if (id >= kIdFontItemsFirst && id <= kIdFontItemsLast) continue;
        if (locks) {
          if (const PackedRun* run = PackedRunOf(id)) {
            if (id == run->first)
              failure.Note(StoreSavePackedRun(printer, ctx, row, kStoreClassDevice, run->type, run->name) != 0);
            continue;
          }
        }
        if (serverSkipsLogCode && id >= kIdLogCodeUse && id <= kIdLogCodeUseLast) continue;
        if (skipUnchanged && IsUnchanged(ctx, row)) continue;
        if (id >= kIdActionFirst && id <= kIdActionLast) {
          if (id == kIdActionFirst) action = row;
          continue;
        }
        failure.Note(StoreSaveItem(printer, ctx, row, path) != 0);
      }
    }
    if (action) {
      RowOverride asWord(action, kActionValueName, ItemTypeU16);
      failure.Note(StoreSaveItem(printer, ctx, action, path) != 0);
    }
    StoreClassDone done = {DWORD(itemClass), flags & ~kStoreSaveForced};
    ModBusSendEvent(ctx, kStoreEventSaved, &done);
  }
  if (itemClass == kStoreClassWork && flags == 0)
    failure.Note(StoreSavePersistedItems(printer, ctx, kStoreClassWork, kStoreSaveModuleSelected) != 0);
  return failure.Result();
}

int StoreSaveUserClasses(HANDLE printer, DriverContext* ctx) {
  FirstFailure failure;
  failure.Note(StoreSavePersistedItems(printer, ctx, kStoreClassWork, 0) != 0);
  failure.Note(StoreSavePersistedItems(printer, ctx, kStoreClassDevmode, 0) != 0);
  return failure.Result();
}

int StoreSaveDeviceSettings(HANDLE printer, DriverContext* ctx) {
  FirstFailure failure;
  failure.Note(StoreSavePersistedItems(printer, ctx, kStoreClassDevice, 0) != 0);
  failure.Note(StoreSaveFontTablesChanged(printer, ctx) != 0);
  return failure.Result();
}

int StoreSaveDeviceSettingsFromModel(HANDLE printer, DriverContext* ctx) {
  int items = StoreSavePersistedItems(printer, ctx, kStoreClassDevice, 0);
  int fonts = StoreSaveFontTablesFromModel(printer, ctx);
  return items && fonts ? 1 : 0;
}

int StoreReadItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  if (!ctx || !row) return 0;
  const WCHAR* name = ItemGetName(ctx, row->id);
  if (!name || !name[0]) return 0;
  RowOverride byName(row, name, 0);
  return StoreReadItemPrinterData(printer, ctx, row, kStoreLoadPlain, nullptr);
}

int StoreWriteItemDefaultName(HANDLE printer, DriverContext* ctx, SettingItem* row) {
  if (!ctx || !row) return 0;
  const WCHAR* name = ItemGetName(ctx, row->id);
  if (!name || !name[0]) return 0;
  RowOverride byName(row, name, 0);
  return StoreWriteItemPrinterData(printer, ctx, row);
}

int StoreGetPrinterData(HANDLE printer, void* buffer, DWORD size, LPCWSTR valueName) {
  if (!printer || !buffer || !size || !valueName) return 0;
  DWORD type = 0, needed = 0;
  return GetPrinterDataW(printer, const_cast<LPWSTR>(valueName), &type, static_cast<LPBYTE>(buffer), size,
                         &needed) == ERROR_SUCCESS
             ? 1
             : 0;
}

int StoreSetPrinterDataTyped(HANDLE printer, const void* data, DWORD size, DWORD type, LPCWSTR valueName) {
  if (!printer || !data || !size || !valueName) return 0;
  return SetPrinterDataW(printer, const_cast<LPWSTR>(valueName), type,
                         static_cast<LPBYTE>(const_cast<void*>(data)), size) == ERROR_SUCCESS
             ? 1
             : 0;
}

int StoreSetPrinterDataBinary(HANDLE printer, const void* data, DWORD size, LPCWSTR valueName) {
  return StoreSetPrinterDataTyped(printer, data, size, REG_BINARY, valueName);
}

int StoreSetPrinterDataString(HANDLE printer, const WCHAR* text, DWORD sizeBytes, LPCWSTR valueName) {
  return StoreSetPrinterDataTyped(printer, text, sizeBytes, REG_SZ, valueName);
}
