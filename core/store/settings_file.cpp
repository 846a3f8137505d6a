// Settings files: the item-section transfer with its filters, the header check, the locked-
// settings check, the extended pass, and the load and save of a whole settings file.
#include "core/store/settings_file.h"

#include <string.h>

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/paper_codes.h"
#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/store/free_size_store.h"
#include "core/store/ini_merge.h"
#include "core/store/ini_table.h"
#include "core/store/ini_text.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/store/preset_store.h"
#include "core/store/printer_name_guard.h"
#include "core/store/settings_stores.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"
#include "core/store/store_keys.h"

namespace {

constexpr int kSettingLockFeature = 2;
constexpr DWORD kSectionChars = 261;
constexpr DWORD kStoredValueChars = 2048;  // a stored text value kept as it is
constexpr WORD kAbsent = 0xFFFF;

// Items the code names.
constexpr WORD kIdFields = 6;
constexpr WORD kIdPaperSize = 8;
constexpr WORD kIdDefaultSource = 13;
constexpr WORD kIdColor = 15;
constexpr WORD kIdICMMethod = 27, kIdICMIntent = 28;
constexpr WORD kIdUIModeChange = 36;
constexpr WORD kIdPresetNo = 37;
constexpr WORD kIdResW = 38, kIdResH = 39;
constexpr WORD kIdOutPaperSize = 46;
constexpr WORD kIdMediaType = 54;
constexpr WORD kIdFuncNup = 56, kIdFuncDuplex = 58, kIdFuncWatermark = 60;
constexpr WORD kIdNupPostKind = 91;
constexpr WORD kIdWmId = 118;
constexpr WORD kIdColorMatching = 130, kIdICMType = 131, kIdICMIntentPrivate = 132;
constexpr WORD kIdAdjustMode = 128;
constexpr WORD kIdResBoth = 152;
constexpr WORD kIdLanguage = 169;
constexpr WORD kIdUseUserMacro = 176, kIdUserPrintMacro = 179;
constexpr WORD kIdPrnMethod = 209;
constexpr WORD kIdOSKind = 707;
constexpr DWORD kPostLoadMergeFlags = kMergeFromSettingsFile | kMergeGate;  // 0x10000008
constexpr WORD kIdFreeSizeFirst = 915, kIdSrcFreeSizeFirst = 920;
constexpr WORD kIdWatermarkWorkFirst = 1022, kIdWatermarkWorkLast = 1032;
constexpr WORD kIdSpecialFirst = 1169;
constexpr int kSpecialCount = 16;
constexpr WORD kIdLastSectionRow = 1249;  // rows 0-1248
constexpr WORD kIdNamedLowFirst = 1453, kIdNamedLowLast = 1543;
constexpr WORD kIdExtFirst = 10001, kIdExtLast = 10434;
constexpr WORD kIdFontItemsFirst = 10004, kIdFontItemsLast = 10009;
constexpr WORD kIdAuthMode = 10354, kIdAuthSecureMode = 10355;
constexpr WORD kIdLockInfo = 10386;

// Module events of the transfer.
constexpr int kEventRowOffer = 6;
constexpr int kEventTransferDone = 24;
struct RowOfferBlock {
  SettingItem* row;
  DWORD reply;
};
struct TransferDoneBlock {
  DWORD flags;
  LPCWSTR path;
};

const WCHAR kKeyVersion[] = TEXT("RstVersion");
const WCHAR kKeyMachine[] = TEXT("RstMachine");
const WCHAR kKeyLanguage[] = TEXT("RstLanguage");
const WCHAR kKeyOSKind[] = TEXT("RstOSKind");
const WCHAR kRsdSection[] = TEXT("ZEMSRsdSection");
const WCHAR kPrnSection[] = TEXT("ZEMSPrnSection");
const WCHAR kSettingsTextFile[] = TEXT("OV00C172.txt");

bool IsFontItem(WORD id) { return id >= kIdFontItemsFirst && id <= kIdFontItemsLast; }
bool PathUsable(LPCWSTR path) { return path && path[0] && path[1] == u':'; }
bool LocksBuiltIn(DriverContext* ctx) { return BuildHasFeature(ctx, kSettingLockFeature) != 0; }
bool MessagesShown() { return BuildGetVariant().settingsFileMessages != 0; }

// The row's section and key for one call, restored on every path out.
class RowKey {
 public:
  RowKey(SettingItem* row, LPCWSTR section, LPCWSTR key)
      : row_(row), section_(row->persistSection), key_(row->persistKey) {
    row->persistSection = section;
    row->persistKey = key;
  }
  ~RowKey() {
    row_->persistSection = section_;
    row_->persistKey = key_;
  }
  RowKey(const RowKey&) = delete;
  RowKey& operator=(const RowKey&) = delete;

 private:
  SettingItem* row_;
  const WCHAR* section_;
  const WCHAR* key_;
};

// The value bytes of an item set aside and put back: never marks a change.
class ValueAside {
 public:
  ValueAside(DriverContext* ctx, SettingItem* row) : ctx_(ctx), row_(row) {
    BYTE* p = row ? ItemStoragePtr(ctx, row) : nullptr;
    size_ = p ? ItemDescSize(row->descriptor) : 0;
    if (size_ > sizeof bytes_) size_ = 0;
    if (size_) memcpy(bytes_, p, size_);
    state_ = row ? row->state : 0;
    if (ctx->ui) {
      modified_ = ctx->ui->modified;
      changeFlags_ = ctx->ui->changeFlags;
    }
  }
  ~ValueAside() {
    BYTE* p = size_ ? ItemStoragePtr(ctx_, row_) : nullptr;
    if (p) memcpy(p, bytes_, size_);
    if (row_) row_->state = state_;
    if (ctx_->ui) {
      ctx_->ui->modified = modified_;
      ctx_->ui->changeFlags = changeFlags_;
    }
  }
  void Zero() {
    BYTE* p = size_ ? ItemStoragePtr(ctx_, row_) : nullptr;
    if (p) memset(p, 0, size_);
  }
  ValueAside(const ValueAside&) = delete;
  ValueAside& operator=(const ValueAside&) = delete;

 private:
  DriverContext* ctx_;
  SettingItem* row_;
  UINT size_ = 0;
  BYTE bytes_[8] = {};
  WORD state_ = 0;
  LONG modified_ = 0;
  DWORD changeFlags_ = 0;
};

// The copy of the settings block a save works on, put back when it ends. A raw copy: the steps
// between load stored items into the settings and never replace their font tables.
class SettingsAside {
 public:
  explicit SettingsAside(DriverContext* ctx) : ctx_(ctx) {
    if (ctx->settings) {
      copy_ = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
      if (copy_) memcpy(copy_, ctx->settings, kSettingsBlockSize);
    }
  }
  ~SettingsAside() {
    if (copy_ && ctx_->settings) memcpy(ctx_->settings, copy_, kSettingsBlockSize);
    MemFree(copy_);
  }
  bool ok() const { return copy_ != nullptr; }
  SettingsAside(const SettingsAside&) = delete;
  SettingsAside& operator=(const SettingsAside&) = delete;

 private:
  DriverContext* ctx_;
  BYTE* copy_ = nullptr;
};

void DecimalText(LONG value, WCHAR* text) {
  WCHAR digits[16];
  int n = 0;
  DWORD v = value < 0 ? DWORD(0) - DWORD(value) : DWORD(value);
  do {
    digits[n++] = WCHAR(u'0' + v % 10);
    v /= 10;
  } while (v);
  int k = 0;
  if (value < 0) text[k++] = u'-';
  while (n) text[k++] = digits[--n];
  text[k] = 0;
}

// A whole decimal number (sign allowed, blanks around it); false for anything else.
bool ParseDecimal(const WCHAR* text, LONG* value) {
  while (*text == u' ' || *text == u'\t') ++text;
  bool negative = *text == u'-';
  if (*text == u'-' || *text == u'+') ++text;
  if (*text < u'0' || *text > u'9') return false;
  long long v = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) {
    v = v * 10 + (*text - u'0');
    if (v > 0xFFFFFFFFLL) return false;
  }
  while (*text == u' ' || *text == u'\t') ++text;
  if (*text) return false;
  *value = LONG(negative ? -v : v);
  return true;
}

// Where a header is read: the section of a file read in one pass (table set: absent when
// null), else the section text of a file read into memory, else the ini calls.
struct HeaderSource {
  const char* sectionText;
  bool fromTable;
  const IniTableSection* table;
};

// One header number. kAbsent when absent, empty or no number of 16 bits.
WORD ReadHeaderWord(LPCWSTR key, LPCWSTR path, LPCWSTR section, const HeaderSource& source, DWORD* position) {
  WCHAR text[32] = {};
  const char* sectionText = source.sectionText;
  if (source.fromTable) {
    StoreIniTableGetStored(source.table, key, TEXT(""), text, 32);
  } else if (sectionText) {
    DWORD start = 0;
    StoreIniTextGetString(key, TEXT(""), text, 32, sectionText, position ? position : &start);
  } else {
    IniReadString(section, key, TEXT(""), text, 32, path);
  }
  LONG value = 0;
  if (!text[0] || !ParseDecimal(text, &value) || value < 0 || value > 0xFFFF) return kAbsent;
  return WORD(value);
}

bool PutNumber(LPCWSTR path, IniSectionBuffer* buffer, LPCWSTR section, DWORD* position, LPCWSTR key, LONG value) {
  WCHAR text[16];
  DecimalText(value, text);
  if (buffer) {
    DWORD start = 0;
    return StoreIniTextPutKey(position ? position : &start, key, text, buffer) != FALSE;
  }
  return IniWriteString(section, key, text, path) != FALSE;
}

WORD SettingsVersion(DriverContext* ctx) { return CtxModelRecord(ctx)->layoutVersion2; }
DWORD PrivateLayoutVersion(DriverContext* ctx) { return CtxModelRecord(ctx)->layoutVersion; }
BYTE MachineCode(DriverContext* ctx) { return CtxModelRecord(ctx)->modelCode; }

// The section of a transfer, sanitised, into section (kSectionChars).
void ChooseSection(DriverContext* ctx, DWORD flags, WCHAR* section) {
  LPCWSTR name;
  if (flags & kStoreFileRsdSection)
    name = kRsdSection;
  else if ((flags & kStoreFileRead) && (flags & (kStoreFileLanguageSection | kStoreFileText)))
    name = ResGetLangCodeAlias(ctx);
  else
    name = PrnGetPrinterName(ctx);
  StrCopyCut(section, kSectionChars, name ? name : TEXT(""));
  StoreSanitizeSection(section);
}

// Size of a file; false when it cannot be told (a missing file counts as 0 bytes).
bool FileTooLarge(LPCWSTR path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow > kSettingsFileMaxBytes;
}

// Why a header was refused, for the repair of quality files.
struct HeaderFacts {
  WORD version = kAbsent, machine = kAbsent, language = kAbsent;
};

HeaderFacts ReadHeaderFacts(LPCWSTR path, LPCWSTR section, const HeaderSource& source, DWORD* position) {
  HeaderFacts f;
  f.version = ReadHeaderWord(kKeyVersion, path, section, source, position);
  f.machine = ReadHeaderWord(kKeyMachine, path, section, source, position);
  f.language = ReadHeaderWord(kKeyLanguage, path, section, source, position);
  return f;
}

// Only the display language differs: the file is this driver's.
bool OnlyLanguageDiffers(DriverContext* ctx, const HeaderFacts& f) {
  return f.version != kAbsent && f.machine != kAbsent && f.language != kAbsent && f.machine == MachineCode(ctx) &&
         StoreVersionMatches(f.version, SettingsVersion(ctx));
}

// The file version accepted by the last header read of this transfer (kAbsent: none).
struct HeaderOutcome {
  WORD fileVersion = kAbsent;
};

int CheckHeader(LPCWSTR path, LPCWSTR section, DWORD flags, BOOL warn, DriverContext* ctx, const HeaderSource& source,
                IniSectionBuffer* buffer, DWORD* position, BOOL majorOnly, HeaderOutcome* outcome) {
  const bool reading = (flags & kStoreFileRead) && !(flags & kStoreFileLanguageSection);
  const bool writing = (flags & kStoreFileWrite) != 0;
  if (flags & (kStoreFileWatermark | kStoreFileCustomSize)) {
    if (reading) {
      WORD version = ReadHeaderWord(kKeyVersion, path, section, source, position);
      if (outcome && version != kAbsent) outcome->fileVersion = version;
      return 1;
    }
    if (writing) return StoreWriteFileHeader(path, buffer, ctx, section, position, TRUE);
    return 1;
  }
  if (flags & (kStoreFileSourceCustomSize | kStoreFileText)) return 1;
  if (reading) {
    HeaderFacts f = ReadHeaderFacts(path, section, source, position);
    WORD own = SettingsVersion(ctx);
    bool ok = f.version != kAbsent && f.machine != kAbsent && f.language != kAbsent &&
              f.machine == MachineCode(ctx) && LONG(f.language) == LONG(ItemGetRawById(ctx, kIdLanguage)) &&
              (majorOnly ? StoreVersionMatches(f.version, own) != 0 : f.version == own);
    if (!ok) {
      if (warn && !(flags & kStoreFileQuality) && MessagesShown())
        UiWarnWithArgument(ctx, nullptr, kMsgSettingsFileHeader, path);
      return 0;
    }
    if (outcome) outcome->fileVersion = f.version;
    return 1;
  }
  if (writing) return StoreWriteFileHeader(path, buffer, ctx, section, position, FALSE);
  return 1;
}

// The conversion of settings read from an older minor version of this layout.
void ConvertLoadedSettings(DriverContext* ctx, WORD fileVersion) {
  if (fileVersion == kAbsent || fileVersion < 300) return;
  DWORD layout = PrivateLayoutVersion(ctx);
  if (layout < 300) return;
  if (DmCompareVersion(fileVersion, layout) == 1) DmRunConvertScript(fileVersion, layout, ctx);
}

bool ModulesSkipRow(DriverContext* ctx, SettingItem* row) {
  RowOfferBlock offer = {row, 0};
  ModBusSendEvent(ctx, kEventRowOffer, &offer);
  return offer.reply == 1;
}

bool InGroup(const SettingItem* row, WORD groupBit) { return (row->state & groupBit) != 0; }

// Steps a and d of the row filters; true keeps the row.
bool KeepRow(DriverContext* ctx, DWORD flags, const SettingItem* row, bool locks) {
  const bool read = (flags & kStoreFileRead) != 0, write = (flags & kStoreFileWrite) != 0;
  const WORD id = row->id;
  if (flags & kStoreFilePreset) {
    bool presetOnly = read || ((flags & kStoreFileDriverSection) && write) || (flags & kStoreFileLanguageSection);
    if (presetOnly && !InGroup(row, ItemPersistPreset)) return false;
  }
  if ((flags & kStoreFileQuality) && !InGroup(row, ItemPersistQuality)) return false;
  if ((flags & kStoreFileWatermark) && !InGroup(row, ItemPersistWatermark)) return false;
  if (!(flags & kStoreFileWatermark) && write && id >= kIdWatermarkWorkFirst && id <= kIdWatermarkWorkLast)
    return false;
  if ((flags & kStoreFileText) && !StoreFilterText(row)) return false;
  (void)ctx;
  return true;
}

bool KeepRowLate(DWORD flags, const SettingItem* row, bool locks) {
  if ((flags & kStoreFileWorkOnly) && ItemDescArea(row->descriptor) != ItemAreaWork) return false;
  if ((flags & kStoreFileExtended) && !StoreFilterExtended(row)) return false;
  if (flags == kStoreFileRead && (!StoreFilterPlainRead(row) || !StoreFilterNoSupportFlags(row))) return false;
  if ((flags & kStoreFileRsdSection) && !InGroup(row, ItemPersistPreset)) return false;
  if (!StoreFilterNoSecrets(row)) return false;
  if ((flags & kStoreFileText) && !StoreFilterTextNoNotify(row)) return false;
  if (locks && !StoreFilterNoLockInfo(row->id)) return false;
  if (flags == kStoreFileWrite && !StoreFilterNoJobSecrets(row)) return false;
  return true;
}

// The rows of one transfer, in order: ids 1-1249 (all rows with the extended flag), the five
// custom-size rows standing for rows 0-4 under 0x80 and 0x200.
struct RowPlan {
  int count;
  WORD mapFirst;  // nonzero: row i stands for item mapFirst + i
};

RowPlan PlanRows(DriverContext* ctx, DWORD flags) {
  if (flags & kStoreFileCustomSize) return {5, kIdFreeSizeFirst};
  if (flags & kStoreFileSourceCustomSize) return {5, kIdSrcFreeSizeFirst};
  int count = ctx->items->count;
  if (!(flags & kStoreFileExtended)) {
    int last = ItemRowIndex(kIdLastSectionRow);
    if (last >= 0 && last + 1 < count) count = last + 1;
  }
  return {count, 0};
}

int WriteExtendedKeys(DriverContext* ctx, LPCWSTR path, DWORD flags, IniSectionBuffer* keys, DWORD* position,
                      WORD firstId, WORD lastId);

// A row whose value could not be written keeps what the file stores under its key, so a
// failed save never drops a setting from the section. True when the key is kept or absent.
bool KeepStoredKey(LPCWSTR path, LPCWSTR section, LPCWSTR key, IniSectionBuffer* buffer, DWORD* position) {
  static const WCHAR kAbsentMark[] = TEXT("\x01");
  WCHAR value[kStoredValueChars];
  GetPrivateProfileStringW(section, key, kAbsentMark, value, kStoredValueChars, path);
  if (value[0] == kAbsentMark[0] && !value[1]) return true;
  return StoreIniTextPutKey(position, key, value, buffer) != FALSE;
}

// One transfer of the item section, the global mutex held by the caller. A read takes the file
// from given when the caller read it already.
int TransferSection(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx, IniTable* given = nullptr) {
  CtxSetFileStatus(ctx, kFileStatusOk);
  if (!PathUsable(path) || !ctx->items || !ctx->items->rows) return 0;
  const bool read = (flags & kStoreFileRead) != 0;
  const bool write = !read && (flags & kStoreFileWrite);
  if (!read && !write) return 0;
  WCHAR section[kSectionChars];
  ChooseSection(ctx, flags, section);

  // A read takes the file in one pass; its keys are then found in the section's table.
  IniTable* table = nullptr;
  IniTable* own = nullptr;
  const IniTableSection* body = nullptr;
  IniSectionBuffer buffer = {};
  DWORD position = 0;
  if (read) {
    if (given)
      table = given;
    else if (!FileTooLarge(path))
      table = own = StoreIniTableLoad(path);
    if (!table) {
      CtxSetFileStatus(ctx, kFileStatusUnreadable);
      return 0;
    }
    body = StoreIniTableFindSection(table, section);
  } else if (!StoreIniTextBufferInit(&buffer) || !StoreIniTextPutSection(&position, section, &buffer)) {
    StoreIniTextBufferFree(&buffer);
    return 0;
  }

  int result = 1;
  HeaderOutcome outcome;
  if (!CheckHeader(path, section, flags, !(flags & kStoreFileNoWarning), ctx, HeaderSource{nullptr, read, body},
                   write ? &buffer : nullptr, &position, TRUE, &outcome)) {
    StoreIniTableFree(own);
    StoreIniTextBufferFree(&buffer);
    if (write) return 0;
    CtxSetFileStatus(ctx, kFileStatusHeader);
    return 1;
  }
  const bool locks = LocksBuiltIn(ctx);
  if (locks && flags == kStoreFileRead && ItemAnyLockBit(ctx) && !StoreCheckAllLockedItems(ctx, path, section, flags)) {
    StoreIniTableFree(own);
    CtxSetFileStatus(ctx, kFileStatusLocked);
    return 0;
  }

  const RowPlan plan = PlanRows(ctx, flags);
  bool keptAll = true;  // every row that could not be written kept its stored key
  for (int i = 0; i < plan.count; ++i) {
    SettingItem* row = plan.mapFirst ? ItemFind(ctx, WORD(plan.mapFirst + i)) : &ctx->items->rows[i];
    if (!row) continue;
    const WORD id = row->id;
    if (!plan.mapFirst) {
      if (id >= 697 && id <= 914) continue;
      if (!KeepRow(ctx, flags, row, locks)) continue;
    }
    if (ModulesSkipRow(ctx, row)) continue;
    if (!KeepRowLate(flags, row, locks)) continue;
    // The heap tables of the fonts never come from a file, nor the DEVMODE's name, versions
    // and sizes (ids 1-5), which say where its parts lie.
    if (read && (IsFontItem(id) || id <= 5)) continue;
    WCHAR number[8];
    LPCWSTR key = ItemGetName(ctx, id);
    if (!key || !key[0]) {
      if (i >= 34) continue;
      DecimalText(id, number);
      key = number;
    }
    RowKey keyed(row, section, key);
    if (read) {
      if (StoreReadItemFromTable(ctx, row, path, body, TRUE)) {
        row->state = WORD((row->state & ~ItemStateChangeMask) | ItemStateChanged);
        if (ctx->ui) ctx->ui->modified = 1;
      } else {
        result = 0;
      }
    } else if (!StoreWriteItemIni(printer, ctx, row, path, &buffer, &position)) {
      result = 0;
      if (!KeepStoredKey(path, section, key, &buffer, &position)) keptAll = false;
    }
  }
  if (read) {
    if (flags == kStoreFileRead) ItemSetRawById(ctx, kIdPresetNo, 255);
    ConvertLoadedSettings(ctx, outcome.fileVersion);
  }
  StoreIniTableFree(own);

  if (write) {
    // The keys the extended pass of a plain save writes into this section go with it, so the
    // file is never left without them.
    if (flags == kStoreFileWrite && !WriteExtendedKeys(ctx, path, flags, &buffer, &position, kIdExtFirst, kIdExtLast))
      result = 0;
    if (flags == kStoreFileWrite && !StoreWriteSettingsText(path, kStoreFileText, ctx)) result = 0;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);
    // A section that would lose a stored key is not written at all.
    if (!keptAll || !StoreIniTextReplaceSection(ctx, path, section, buffer.data, position)) result = 0;
    StoreIniTextBufferFree(&buffer);
  }
  TransferDoneBlock done = {flags, path};
  ModBusSendEvent(ctx, kEventTransferDone, &done);
  return result;
}

// The file was written by a plain save: the driver name's section holds "RstVersion" (read
// as the ini calls read it, the section's name made safe as for them).
bool DriverSectionPresent(IniTable* file, LPCWSTR driverName) {
  WCHAR section[kSectionChars];
  StrCopyCut(section, kSectionChars, driverName ? driverName : TEXT(""));
  StoreSanitizeSection(section);
  WCHAR text[16] = {};
  StoreIniTableGetString(StoreIniTableFindSection(file, section), kKeyVersion, TEXT(""), text, 16);
  return text[0] != 0;
}

// ---- the named item ranges ----

int ReadRange(DriverContext* ctx, LPCWSTR path, LPCWSTR section, const char* sectionText, DWORD flags, WORD firstId,
              WORD lastId) {
  int result = 1;
  DWORD position = 0;
  const IniSectionKeys keys(sectionText);
  for (DWORD id = firstId; id <= lastId; ++id) {
    if ((flags & kStoreFileText) && id >= kIdExtFirst && id <= 10003) continue;
    if (IsFontItem(WORD(id))) continue;  // the heap tables never come from a file
    SettingItem* row = ItemFind(ctx, WORD(id));
    const WCHAR* name = row ? ItemGetName(ctx, WORD(id)) : nullptr;
    if (!name || !name[0]) continue;
    RowKey keyed(row, section, name);
    if (!keys.MayHold(name) || !StoreReadItemIni(ctx, row, path, sectionText, &position)) result = 0;
  }
  return result;
}

int WriteRange(DriverContext* ctx, LPCWSTR path, LPCWSTR section, IniSectionBuffer* keys, DWORD* position,
               DWORD flags, WORD firstId, WORD lastId) {
  const bool anyLock = ItemAnyLockBit(ctx) != 0;
  const bool locks = LocksBuiltIn(ctx);
  int result = 1;
  for (DWORD id = firstId; id <= lastId; ++id) {
    if ((flags & kStoreFileText) && id >= kIdExtFirst && id <= 10003) continue;
    SettingItem* row = ItemFind(ctx, WORD(id));
    const WCHAR* name = row ? ItemGetName(ctx, WORD(id)) : nullptr;
    if (!name || !name[0]) continue;
    RowKey keyed(row, section, name);
    ValueAside kept(ctx, row);
    if (IsFontItem(WORD(id))) kept.Zero();
    if (locks && id == kIdLockInfo) ItemSetRaw(ctx, row, anyLock ? 1 : 0);
    if (!StoreWriteItemIni(ctx->printer, ctx, row, path, keys, position)) result = 0;
  }
  return result;
}


struct IdRange {
  WORD first, last;
};

bool IsAuthItem(WORD id) { return id == kIdAuthMode || id == kIdAuthSecureMode; }

// The items of the extended pass: the authentication modes, and with the setting-lock feature
// for the settings text file and plain saves the lock information.
bool TakesPartInExtendedPass(DriverContext* ctx, DWORD flags, WORD id) {
  if (IsAuthItem(id)) return true;
  return LocksBuiltIn(ctx) && ((flags & kStoreFileText) || flags == kStoreFileWrite) && StoreIsLockExtendedItem(id);
}

// The extended pass's keys of a write, appended to a section being built; 10386 is written as
// whether any lock bit is set, the context keeping its own value.
int WriteExtendedKeys(DriverContext* ctx, LPCWSTR path, DWORD flags, IniSectionBuffer* keys, DWORD* position,
                      WORD firstId, WORD lastId) {
  const bool anyLock = ItemAnyLockBit(ctx) != 0;
  int result = 1;
  for (DWORD id = firstId; id <= lastId; ++id) {
    if (!TakesPartInExtendedPass(ctx, flags, WORD(id))) continue;
    SettingItem* row = ItemFind(ctx, WORD(id));
    const WCHAR* name = row ? ItemGetName(ctx, WORD(id)) : nullptr;
    if (!name || !name[0]) continue;
    RowKey keyed(row, nullptr, name);
    ValueAside kept(ctx, row);
    if (id == kIdLockInfo) ItemSetRaw(ctx, row, anyLock ? 1 : 0);
    if (!StoreWriteItemIni(ctx->printer, ctx, row, path, keys, position)) result = 0;
  }
  return result;
}

// The named items of the ranges in one pass over the file: reads look the keys up in its text,
// a write merges them into the section with one rewrite.
int RwRanges(LPCWSTR path, DWORD flags, DriverContext* ctx, LPCWSTR section, const IdRange* ranges, int count) {
  if (!ctx || !ctx->ui || !PathUsable(path) || !section) return 0;
  StoreMutexHold hold(ctx);
  const bool write = (flags & kStoreFileWrite) != 0;
  WCHAR sectionName[kSectionChars];
  StrCopyCut(sectionName, kSectionChars, section);
  StoreSanitizeSection(sectionName);
  if (FileTooLarge(path)) return 0;
  char* text = StoreLoadIniText(path, FALSE);
  if (!text) return 0;
  const char* body = StoreIniTextFindSection(sectionName, text);
  int result = 1;
  if (!write) {
    for (int i = 0; i < count; ++i)
      if (!ReadRange(ctx, path, sectionName, body, flags, ranges[i].first, ranges[i].last)) result = 0;
  } else {
    IniSectionBuffer keys = {};
    DWORD keysEnd = 0;
    if (!StoreIniTextBufferInit(&keys)) result = 0;
    for (int i = 0; i < count && result; ++i)
      if (!WriteRange(ctx, path, sectionName, &keys, &keysEnd, flags, ranges[i].first, ranges[i].last)) result = 0;
    if (result && !StoreIniTextMergeKeys(ctx, path, sectionName, body, keys.data, keysEnd)) result = 0;
    StoreIniTextBufferFree(&keys);
  }
  StoreFreeIniText(text);
  return result;
}

bool IsPlain(DWORD flags) { return (flags & ~(kStoreFileNoWarning | kStoreFileRead | kStoreFileWrite)) == 0; }

}  // namespace

int StoreVersionMatches(WORD a, WORD b) { return a / 100 == b / 100 ? 1 : 0; }

int StoreWriteFileHeader(LPCWSTR path, IniSectionBuffer* buffer, DriverContext* ctx, LPCWSTR section,
                         DWORD* position, BOOL versionOnly) {
  if (!ctx || (!buffer && (!PathUsable(path) || !section))) return 0;
  if (!PutNumber(path, buffer, section, position, kKeyVersion, SettingsVersion(ctx))) return 0;
  if (versionOnly) return 1;
  return PutNumber(path, buffer, section, position, kKeyMachine, MachineCode(ctx)) &&
                 PutNumber(path, buffer, section, position, kKeyLanguage, LONG(ItemGetRawById(ctx, kIdLanguage))) &&
                 PutNumber(path, buffer, section, position, kKeyOSKind, LONG(ItemGetRawById(ctx, kIdOSKind)))
             ? 1
             : 0;
}

int StoreCheckSettingsHeader(LPCWSTR path, LPCWSTR section, DWORD flags, BOOL warn, DriverContext* ctx,
                             const char* sectionText, IniSectionBuffer* buffer, DWORD* position, BOOL majorOnly) {
  if (!ctx) return 0;
  HeaderOutcome outcome;
  int ok = CheckHeader(path, section, flags, warn, ctx, HeaderSource{sectionText, false, nullptr}, buffer, position,
                       majorOnly, &outcome);
  return ok;
}

WORD StoreReadOSKind(LPCWSTR path, DriverContext* ctx) {
  if (!ctx || !PathUsable(path)) return kAbsent;
  WCHAR section[kSectionChars];
  StrCopyCut(section, kSectionChars, PrnGetPrinterName(ctx));
  return ReadHeaderWord(kKeyOSKind, path, section, HeaderSource{}, nullptr);
}

// ---- locked settings ----
int StoreCheckLockedItem(DriverContext* ctx, LPCWSTR path, LPCWSTR section, LPCWSTR key, WORD id) {
  if (!ctx) return 0;
  bool locked = false, anyKind = false;
  switch (id) {
    case kIdDefaultSource: locked = ItemLockTray(ctx) != 0; break;
    case kIdMediaType: locked = ItemLockMedia(ctx) != 0; break;
    case kIdFuncNup: locked = ItemLockNupKind(ctx) != 0; break;
    case kIdNupPostKind:
      locked = ItemLockNupKind(ctx) != 0;
      anyKind = locked && ItemLockNupKindAll(ctx) != 0;
      break;
    case kIdFuncDuplex: locked = ItemLockDuplex(ctx) != 0; break;
    case kIdColor: locked = ItemLockColor(ctx) != 0; break;
    case kIdPrnMethod: locked = ItemLockPrintType(ctx) != 0; break;
    case kIdResW: case kIdResH: locked = ItemLockResolution(ctx) != 0; break;
    case kIdResBoth:
      if (!ItemLockResolution(ctx)) return 1;
      switch (ItemResolutionLockKind(ctx)) {
        case 1: locked = true; break;
        case 0: return 1;
        default: return 0;
      }
      break;
    default: return 1;
  }
  if (!locked) return 1;
  if (!key || !PathUsable(path)) return 0;
  WCHAR text[kPathChars + 1] = {};
  IniReadString(section, key, TEXT(""), text, kPathChars, path);
  LONG value = 0;
  if (!text[0] || !ParseDecimal(text, &value)) return 0;
  if (anyKind) return value >= 1 && value <= 4 ? 1 : 0;
  return value == LONG(ItemGetRawById(ctx, id)) ? 1 : 0;
}

int StoreCheckAllLockedItems(DriverContext* ctx, LPCWSTR path, LPCWSTR section, DWORD flags) {
  (void)flags;
  if (!ctx) return 0;
  static const WORD kOrder[] = {kIdDefaultSource, kIdMediaType, kIdFuncNup, kIdNupPostKind, kIdPrnMethod,
                                kIdFuncDuplex,    kIdColor,     kIdResBoth, kIdResW,        kIdResH};
  for (WORD id : kOrder) {
    if (StoreCheckLockedItem(ctx, path, section, ItemGetName(ctx, id), id)) continue;
    if (MessagesShown()) UiWarnWithArgument(ctx, nullptr, kMsgSettingsFileLocked, path);
    return 0;
  }
  return 1;
}

// ---- transfers ----
int StoreRwItemSection(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  StoreMutexHold hold(ctx);
  return TransferSection(printer, path, flags, ctx);
}

namespace {

// The extended pass; a read takes the file from given when its bytes are still the same.
int RwExtendedItems(LPCWSTR path, DWORD flags, DriverContext* ctx, WORD firstId, WORD lastId, IniTable* given) {
  if (!ctx || !ctx->ui || !PathUsable(path)) return 0;
  if (flags != kStoreFileRead && flags != kStoreFileWrite) return 1;
  StoreMutexHold hold(ctx);
  WCHAR section[kSectionChars];
  ChooseSection(ctx, flags, section);
  if (flags == kStoreFileWrite) {
    // Merged into the section in one rewrite: the file is the old or the new one.
    if (FileTooLarge(path)) return 0;
    char* text = StoreLoadIniText(path, FALSE);
    if (!text) return 0;
    IniSectionBuffer keys = {};
    DWORD keysEnd = 0;
    int result = StoreIniTextBufferInit(&keys) && WriteExtendedKeys(ctx, path, flags, &keys, &keysEnd, firstId, lastId);
    const char* body = StoreIniTextFindSection(section, text);
    // A section the ini calls read but the text reader does not see would be merged as a new
    // one, losing every key it holds: such a file is refused before anything is written.
    if (result && !body && StoreSectionPresent(path, section)) {
      CtxSetFileStatus(ctx, ERROR_INVALID_DATA);
      result = 0;
    }
    if (result && !StoreIniTextMergeKeys(ctx, path, section, body, keys.data, keysEnd)) result = 0;
    StoreIniTextBufferFree(&keys);
    StoreFreeIniText(text);
    return result;
  }
  const bool authReadable = BidiCanWritePrinterData(ctx) != 0;
  // The file is read once, at the first item; each key is answered as the ini calls answer it.
  IniTable* file = nullptr;
  IniTable* own = nullptr;
  const IniTableSection* body = nullptr;
  bool fileRead = false;
  int result = 1;
  for (DWORD id = firstId; id <= lastId; ++id) {
    if (!TakesPartInExtendedPass(ctx, flags, WORD(id))) continue;
    if (IsAuthItem(WORD(id)) && !authReadable) continue;
    SettingItem* row = ItemFind(ctx, WORD(id));
    const WCHAR* name = row ? ItemGetName(ctx, WORD(id)) : nullptr;
    if (!name || !name[0]) continue;
    const WCHAR* dataKey = row->persistKey;
    RowKey keyed(row, section, name);
    if (!fileRead) {
      fileRead = true;
      if (!FileTooLarge(path)) file = given && StoreIniTableRefresh(given, path) ? given : (own = StoreIniTableLoad(path));
      body = StoreIniTableFindSection(file, section);
    }
    const int read = file ? StoreReadItemFromTable(ctx, row, path, body, FALSE)
                          : StoreReadItemIni(ctx, row, path, nullptr, nullptr);
    if (!read) {
      result = 0;
      continue;
    }
    if (result && dataKey) {
      RowKey data(row, nullptr, dataKey);
      StoreWriteItemPrinterData(ctx->printer, ctx, row);
    }
  }
  StoreIniTableFree(own);
  return result;
}

}  // namespace

int StoreRwExtendedItems(LPCWSTR path, DWORD flags, DriverContext* ctx, WORD firstId, WORD lastId) {
  return RwExtendedItems(path, flags, ctx, firstId, lastId, nullptr);
}

int StoreRwItemRange(LPCWSTR path, DWORD flags, DriverContext* ctx, LPCWSTR section, WCHAR* key, WORD firstId,
                     WORD lastId) {
  (void)key;
  const IdRange range = {firstId, lastId};
  return RwRanges(path, flags, ctx, section, &range, 1);
}

int StoreRwNamedItems(LPCWSTR path, DWORD flags, DriverContext* ctx, LPCWSTR section) {
  const IdRange ranges[] = {{kIdExtFirst, kIdExtLast}, {kIdNamedLowFirst, kIdNamedLowLast}};
  return RwRanges(path, flags, ctx, section, ranges, 2);
}

int StoreRwExtendedSection(LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  LPCWSTR section = kPrnSection;
  if ((flags & kStoreFileText) && !(flags & kStoreFileWrite)) section = ResGetLangCodeAlias(ctx);
  return StoreRwNamedItems(path, flags, ctx, section);
}

int StoreWriteSettingsText(LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx) return 0;
  WCHAR file[kPathChars];
  LPCWSTR target = path;
  if (flags & kStoreFileText) {
    if (!PathInSettingsFolder(file, kPathChars, kSettingsTextFile, ctx)) return 0;
    target = file;
  }
  return StoreRwExtendedSection(target, flags | kStoreFileWrite, ctx);
}

int StoreRwRsdSection(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  return StoreRwItemSection(printer, path, flags | kStoreFileRsdSection, ctx);
}

int StoreWriteRsdText(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  PrinterNameGuard name(ctx);
  if (IsPlain(flags)) name.Set(PrnGetDriverName(ctx));
  WCHAR file[kPathChars];
  LPCWSTR target = PathInSettingsFolder(file, kPathChars, kSettingsTextFile, ctx) ? file : path;
  return StoreRwRsdSection(printer, target, flags | kStoreFileRsdSection | kStoreFileWrite, ctx);
}

int StoreSaveDeviceSetupToPack(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  const WCHAR* modelData = PathModelDataFile(ctx);
  if (!PathUsable(modelData)) return 1;
  LPCWSTR language = ResGetLangCodeAlias(ctx);
  WCHAR name[kPathChars] = {};
  IniReadString(language, TEXT("DefaultRst"), TEXT(""), name, kPathChars, modelData);
  if (!name[0]) return 1;
  WCHAR pack[kPathChars] = {};
  if (PathUsable(name))
    StrCopyCut(pack, kPathChars, name);
  else if (!PathInDriverDir(pack, kPathChars, name, ctx->printer))
    return 1;
  WCHAR* key = static_cast<WCHAR*>(MemAllocZero(kSectionChars * sizeof(WCHAR)));
  if (!key) return 0;
  StoreMutexHold hold(ctx);
  StoreWriteFileHeader(pack, nullptr, ctx, language, nullptr, FALSE);
  StoreRwNamedItems(pack, kStoreFileWrite | kStoreFileText, ctx, language);
  MemFree(key);
  return 1;
}

// ---- load and save ----
namespace {

// The fix-ups; withJobControl false is the form of the DLLs without a user interface: no
// job-control exchange, the user macro's quality file saved without its name key, and with
// adjustOffInMerge (the exclusion DLL) the adjust mode off for the merge.
void FixUps(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial, bool withJobControl,
            bool adjustOffInMerge) {
  if (!ctx) return;
  for (int i = 0; i < kSpecialCount && savedSpecial; ++i)
    ItemSetRawById(ctx, WORD(kIdSpecialFirst + i), savedSpecial[i]);
  LONG outPaper = LONG(ItemGetRawById(ctx, kIdOutPaperSize));
  if (PaperIsFreeSizeCode(outPaper)) FreeSizeSaveSlot(ctx, PaperSlotOfCode(outPaper));
  LONG paper = LONG(ItemGetRawById(ctx, kIdPaperSize));
  if (PaperIsFreeSizeCode(paper)) FreeSizeSaveFromSource(ctx, PaperSlotOfCode(paper));
  if (ItemGetRawById(ctx, kIdFuncWatermark)) {
    LONG n = LONG(ItemGetRawById(ctx, kIdWmId));
    LONG count = StampGetCount(ctx);
    if (n >= count) {
      n = count;
      ItemSetRawById(ctx, kIdWmId, count);
    }
    StampSave(ctx, int(n));
  }
  DWORD fields = DWORD(ItemGetRawById(ctx, kIdFields));
  if (savedOSKind == 0 || savedOSKind == 1) {
    ItemSetRawById(ctx, kIdICMMethod, 1);
    ItemSetRawById(ctx, kIdICMIntent, 1);
    fields &= ~DWORD(DM_ICMMETHOD | DM_ICMINTENT);
    ItemSetRawById(ctx, kIdColorMatching, 0);
    ItemSetRawById(ctx, kIdICMType, ModelGetItemDefault(kIdICMType, ctx));
    ItemSetRawById(ctx, kIdICMIntentPrivate, ModelGetItemDefault(kIdICMIntentPrivate, ctx));
  }
  if (savedOSKind == 0 || savedOSKind == 3)
    fields |= DWORD(DM_MEDIATYPE);
  else
    fields &= ~DWORD(DM_MEDIATYPE);
  ItemSetRawById(ctx, kIdFields, LONG_PTR(fields));
  ItemSetRawById(ctx, kIdOSKind, savedOSKind);
  if (withJobControl) {
    if (ItemGetRawById(ctx, kIdUseUserMacro) == 1)
      QualitySaveSlot(ctx, int(ItemGetRawById(ctx, kIdUserPrintMacro)) - 135);
  } else {
    // The list the user macro loads its quality settings from (QualityList<macro - 32>).
    WCHAR key[16];
    if (DmUserMacroQualityKey(ctx, key)) QualitySaveListItems(ctx, key);
  }
  ItemSetRawById(ctx, kIdPresetNo, 255);
  const bool uiModeChange = ItemGetRawById(ctx, kIdUIModeChange) == 1;
  if (uiModeChange) ItemSetRawById(ctx, kIdUIModeChange, 0);
  InstSetLocaleDefaults(ctx);
  if (withJobControl) {
    JcOpenUi(ctx);
    JcFetchPropertiesUi(ctx, 1);
    JcPushOpenUi(ctx, 0x389E);
    JcCloseUi(ctx);
    DmMergeIntoContext(ctx, nullptr, kPostLoadMergeFlags);
  } else {
    const bool adjust = adjustOffInMerge && ItemGetRawById(ctx, kIdAdjustMode) == 1;
    if (adjust) ItemSetRawById(ctx, kIdAdjustMode, 0);
    MergeDevmode(ctx, nullptr, kPostLoadMergeFlags);
    if (adjust) ItemSetRawById(ctx, kIdAdjustMode, 1);
  }
  DmRecheckChapterTrays(ctx);
  if (uiModeChange) ItemSetRawById(ctx, kIdUIModeChange, 1);
}

}  // namespace

void StoreSettingsFileFixUps(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial) {
  FixUps(ctx, savedOSKind, savedSpecial, true, false);
}

void StoreSettingsFileFixUpsNoJobControl(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial) {
  FixUps(ctx, savedOSKind, savedSpecial, false, true);
}

void StoreSettingsFileFixUpsGraphics(DriverContext* ctx, LONG_PTR savedOSKind, const LONG_PTR* savedSpecial) {
  FixUps(ctx, savedOSKind, savedSpecial, false, false);
}

int StoreLoadSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  StoreMutexHold hold(ctx);
  PrinterNameGuard name(ctx);
  WCHAR driver[kPrinterNameChars];
  StrCopyCut(driver, kPrinterNameChars, PrnGetDriverName(ctx));
  const bool plain = IsPlain(flags);
  // The file is read once for the driver section's test and the item section.
  IniTable* file = PathUsable(path) && !FileTooLarge(path) ? StoreIniTableLoad(path) : nullptr;
  if ((plain || (flags & kStoreFileDriverSection)) && file && DriverSectionPresent(file, driver)) name.Set(driver);
  LONG_PTR savedOSKind = 0;
  LONG_PTR savedSpecial[kSpecialCount] = {};
  if (plain) {
    savedOSKind = ItemGetRawById(ctx, kIdOSKind);
    for (int i = 0; i < kSpecialCount; ++i) savedSpecial[i] = ItemGetRawById(ctx, WORD(kIdSpecialFirst + i));
  }
  int result = TransferSection(printer, path, flags | kStoreFileRead, ctx, file);
  // Freed on every way out; the extended pass reads the file again and keeps what was found
  // when its bytes are the same.
  struct TableHolder {
    IniTable* table;
    ~TableHolder() { StoreIniTableFree(table); }
  } held = {file};
  LONG status = CtxGetFileStatus(ctx);
  // A refused file transfers nothing: no extended pass, no printer data, no fix-up.
  if (status != kFileStatusOk) {
    if (result == 1 && status == kFileStatusHeader && (flags & kStoreFileQuality)) {
      // The quality file is repaired from its twin unless only the display language differs.
      WCHAR section[kSectionChars];
      ChooseSection(ctx, flags | kStoreFileRead, section);
      if (!OnlyLanguageDiffers(ctx, ReadHeaderFacts(path, section, HeaderSource{}, nullptr))) {
        WCHAR twin[kPathChars];
        if (QualityRsqPath(twin, kPathChars, path, ctx)) PresetCopyFile(path, twin, kStoreFileQuality, ctx);
      }
      // The copy loads the twin: the status stays the one of this refused file.
      CtxSetFileStatus(ctx, status);
    }
    return result;
  }
  int result2 = RwExtendedItems(path, flags | kStoreFileRead, ctx, kIdExtFirst, kIdExtLast, file);
  if (result == 1 && result2 == 0) result = 0;
  if (plain) {
    name.Restore();
    auto postLoad = BuildGetVariant().settingsFilePostLoad;
    (postLoad ? postLoad : StoreSettingsFileFixUps)(ctx, savedOSKind, savedSpecial);
    CtxSetFileStatus(ctx, status);
  }
  return result;
}

int StoreSaveSettingsFile(HANDLE printer, LPCWSTR path, DWORD flags, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  StoreMutexHold hold(ctx);
  PrinterNameGuard name(ctx);
  const bool packageMain = (flags & kStoreFilePackageMain) != 0;
  flags &= ~DWORD(kStoreFilePackageMain);
  SettingsAside aside(ctx);
  if (!aside.ok()) return 0;
  if ((flags & ~DWORD(kStoreFileWrite | kStoreFilePreset | kStoreFileNoWarning)) == 0) {
    // Made self-contained, with the printer's own name, on the copy put back at the end.
    LONG paper = LONG(ItemGetRawById(ctx, kIdPaperSize));
    if (PaperIsFreeSizeCode(paper)) FreeSizeLoadSourceSlot(ctx, PaperSlotOfCode(paper));
    LONG outPaper = LONG(ItemGetRawById(ctx, kIdOutPaperSize));
    if (PaperIsFreeSizeCode(outPaper)) FreeSizeLoadSlot(ctx, PaperSlotOfCode(outPaper));
    if (ItemGetRawById(ctx, kIdFuncWatermark)) StampSelect(ctx, int(ItemGetRawById(ctx, kIdWmId)));
    if (ItemGetRawById(ctx, kIdUseUserMacro) == 1)
      QualityApplySlot(ctx, int(ItemGetRawById(ctx, kIdUserPrintMacro)) - 135);
    StoreLoadModuleItems(ctx);
    DmRecomputeDerived(ctx->settings, ctx, 3);
  }
  if (packageMain)
    name.Set(ResGetLangCodeAlias(ctx));
  else if (IsPlain(flags))
    name.Set(PrnGetDriverName(ctx));
  int a = StoreRwItemSection(printer, path, flags | kStoreFileWrite, ctx);
  int b = StoreRwExtendedItems(path, flags | kStoreFileWrite, ctx, kIdExtFirst, kIdExtLast);
  return a && b ? 1 : 0;
}
