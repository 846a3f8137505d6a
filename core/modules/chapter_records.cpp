// The chapter array of a context: allocation and growth, persistence, tray summary and the
// tray re-check.
#include "core/modules/chapter_records.h"

#include <string.h>

#include "core/bind/bidi_codes.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/store/free_size_store.h"
#include "core/store/item_store.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/system/languages.h"

namespace {

constexpr WORD kFirstChapterItem = 996;  // wdmChapterNum
constexpr WORD kLastChapterItem = 1009;  // wdmChapterUseTray8
constexpr DWORD kStoreFlagTextFile = 0x8;
constexpr DWORD kPrinterTrayCodeDefault = 3;

const WORD kUseTrayItems[kChapterUseTrays] = {
    kItem_wdmChapterUseTray1, kItem_wdmChapterUseTray2, kItem_wdmChapterUseTray3, kItem_wdmChapterUseTray4,
    kItem_wdmChapterUseTray5, kItem_wdmChapterUseTray6, kItem_wdmChapterUseTray7, kItem_wdmChapterUseTray8,
};

// Tray value -> tray number; a value not listed counts as the first row's number.
struct TrayNumberRow {
  WORD value;
  WORD number;
};
const TrayNumberRow kTrayNumbers[] = {
    {2, 0},       {3, 1},       {5, 2},       {6, 3},       {7, 25},      {169, 25},    {4, 27},
    {618, 27},    {8, 28},      {800, 25},    {801, 25},    {823, 29},    {439, 4},     {839, 5},
    {837, 6},     {865, 3},     {866, 4},     {13260, 16},  {13261, 17},  {13262, 18},  {13263, 19},
    {13738, 14},  {13663, 15},  {13254, 14},  {13255, 15},  {13364, 13},  {13551, 286}, {13552, 299},
    {13624, 1},   {13625, 2},   {13626, 3},   {13627, 4},
};

LONG Raw(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

// The ini and section the chapter keys of a call use.
struct ChapterKeys {
  WCHAR file[kPathChars] = {};
  WCHAR section[261] = {};
  ChapterKeys(DriverContext* ctx, LPCWSTR given, bool languageSection) {
    if (given && given[0]) {
      StrCopy(file, given);
    } else {
      StoreCopySettingsIni(ctx, file);
    }
    if (languageSection) {
      LPCWSTR code = ResGetUiLangCode(ctx);
      StrCopy(section, code ? code : TEXT(""));
    } else {
      StoreCopyPrinterName(ctx, section, 261);
    }
  }
  template <size_t N>
  void StrCopy(WCHAR (&out)[N], LPCWSTR text) {
    size_t i = 0;
    for (; text && text[i] && i + 1 < N; ++i) out[i] = text[i];
    out[i] = 0;
  }
  void Key(WCHAR* key, LPCWSTR prefix, LONG n) const { StoreFormatKey(key, 64, prefix, n + 1, nullptr); }
  LONG ReadInt(LPCWSTR prefix, LONG n) const {
    WCHAR key[64];
    Key(key, prefix, n);
    return static_cast<LONG>(static_cast<INT>(IniReadInt(section, key, 0, file)));
  }
  void WriteInt(LPCWSTR prefix, LONG n, LONG value) const {
    WCHAR key[64], text[16];
    Key(key, prefix, n);
    IniWriteString(section, key, StoreFormatNumber(text, value), file);
  }
};

// One record from its keys; 0 when a field is out of range (the list ends before it).
bool ReadRecord(const ChapterKeys& keys, LONG n, ChapterRecord* out) {
  const LONG page = keys.ReadInt(TEXT("wdmChapterPage"), n);
  const LONG kind = keys.ReadInt(TEXT("wdmChapterKind"), n);
  const LONG tray = keys.ReadInt(TEXT("wdmChapterTray"), n);
  const LONG print = keys.ReadInt(TEXT("wdmChapterPrint"), n);
  // A damaged or hand-edited file must not give records the merge and the job never make.
  if (page < 1 || page > kChapterPageMax || kind < 0 || kind > kChapterKindMax || print < 0 || print > kChapterPrintMax)
    return false;
  memset(out, 0, sizeof(*out));
  out->page = static_cast<WORD>(page);
  out->kind = static_cast<BYTE>(kind);
  out->tray = static_cast<WORD>(tray);
  out->print = static_cast<BYTE>(print);
  WCHAR key[64];
  keys.Key(key, TEXT("wdmChapterPageRange"), n);
  IniReadString(keys.section, key, TEXT(""), out->range, 16, keys.file);
  out->range[15] = 0;
  return true;
}

}  // namespace

DWORD ChapterLimit(DriverContext* ctx) {
  const LONG max = Raw(ctx, kItem_wdmChapterMax);
  return max > 0 ? static_cast<DWORD>(max) : 0;
}

ChapterRecord* ChapterArray(DriverContext* ctx, DWORD* records) {
  if (records) *records = 0;
  if (!ctx || !ctx->ui) return nullptr;
  UiState* ui = ctx->ui;
  const DWORD want = ChapterLimit(ctx) + 1;
  auto* array = static_cast<ChapterRecord*>(ui->chapterArray);
  if (!array || ui->chapterRecords < want) {
    // A raised limit must not let the records past the old end be written: the array grows
    // and keeps what it holds.
    auto* grown = static_cast<ChapterRecord*>(MemAllocZero(sizeof(ChapterRecord) * want));
    if (!grown) {
      if (records && array) *records = ui->chapterRecords;
      return array;
    }
    if (array) memcpy(grown, array, sizeof(ChapterRecord) * ui->chapterRecords);
    MemFree(array);
    ui->chapterArray = grown;
    ui->chapterRecords = want;
    array = grown;
  }
  if (records) *records = ui->chapterRecords;
  return array;
}

ChapterRecord* ChapterGetRecord(DriverContext* ctx, LONG n) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array || n < 0 || n >= ChapterGetCount(ctx) || static_cast<DWORD>(n) >= records) return nullptr;
  return &array[n];
}

LONG ChapterGetCount(DriverContext* ctx) { return Raw(ctx, kItem_wdmChapterNum); }

LONG ChapterLoadAll(DriverContext* ctx, LPCWSTR file, DWORD flags) {
  LONG count = ChapterGetCount(ctx);
  const DWORD limit = ChapterLimit(ctx);
  if (count > static_cast<LONG>(limit)) {
    count = static_cast<LONG>(limit);
    ItemSetRawById(ctx, kItem_wdmChapterNum, count);
  }
  if (count <= 0) return count < 0 ? 0 : count;
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return count;
  const ChapterKeys keys(ctx, file, (flags & kStoreFlagTextFile) != 0);
  LONG used = 0;
  for (DWORD n = 0; n < limit && n < records; ++n) {
    if (static_cast<LONG>(n) < count && used == static_cast<LONG>(n) && ReadRecord(keys, static_cast<LONG>(n), &array[n])) {
      ++used;
      continue;
    }
    memset(&array[n], 0, sizeof(ChapterRecord));
  }
  if (used != count) ItemSetRawById(ctx, kItem_wdmChapterNum, used);
  return used;
}

void ChapterSaveAll(DriverContext* ctx, LPCWSTR file) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return;
  const ChapterKeys keys(ctx, file, false);
  const LONG count = ChapterGetCount(ctx);
  const DWORD limit = ChapterLimit(ctx);
  for (LONG n = 0; static_cast<DWORD>(n) < limit && static_cast<DWORD>(n) < records && n < count; ++n) {
    const ChapterRecord& r = array[n];
    if (r.page == 0) {
      ItemSetRawById(ctx, kItem_wdmChapterNum, n);
      return;
    }
    keys.WriteInt(TEXT("wdmChapterPage"), n, r.page);
    keys.WriteInt(TEXT("wdmChapterTray"), n, r.tray);
    keys.WriteInt(TEXT("wdmChapterKind"), n, r.kind);
    keys.WriteInt(TEXT("wdmChapterPrint"), n, r.print);
    WCHAR key[64], range[16];
    memcpy(range, r.range, sizeof(range));
    range[15] = 0;
    keys.Key(key, TEXT("wdmChapterPageRange"), n);
    IniWriteString(keys.section, key, range, keys.file);
  }
}

DWORD ChapterTrayNumber(LONG trayValue) {
  for (const TrayNumberRow& row : kTrayNumbers)
    if (row.value == trayValue) return row.number;
  return kTrayNumbers[0].number;
}

DWORD ChapterRecordTrayNumber(DriverContext* ctx, WORD storedTray) {
  SettingItem* item = ItemFind(ctx, kItem_wdmChapterTray);
  const LONG_PTR logical = item ? ItemMapValue(ctx, item, storedTray) : storedTray;
  return ChapterTrayNumber(static_cast<LONG>(logical));
}

void ChapterTraySummary(DriverContext* ctx) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return;
  DWORD seen = 0;
  int distinct = 0;
  const LONG count = ChapterGetCount(ctx);
  for (LONG n = 0; n < count && static_cast<DWORD>(n) < records; ++n) {
    const ChapterRecord& r = array[n];
    if (r.kind != 0) continue;
    const DWORD bit = 1u << (ChapterRecordTrayNumber(ctx, r.tray) % 32);
    if (seen & bit) continue;
    seen |= bit;
    // Only eight tray items exist; a longer list still counts its trays.
    if (distinct < kChapterUseTrays) ItemSetRawById(ctx, kUseTrayItems[distinct], r.tray);
    ++distinct;
  }
  ItemSetRawById(ctx, kItem_wdmChapterTrayNum, distinct);
}

void ChapterRecheckTrays(DriverContext* ctx, BOOL withKind) {
  DWORD records = 0;
  ChapterRecord* array = ChapterArray(ctx, &records);
  if (!array) return;
  const LONG oldKind = Raw(ctx, kItem_wdmChapterKind);
  const LONG oldTray = Raw(ctx, kItem_wdmChapterTray);
  const LONG oldPrint = Raw(ctx, kItem_wdmChapterPrint);
  const LONG count = ChapterGetCount(ctx);
  const DWORD limit = ChapterLimit(ctx);
  for (LONG n = 0; n < count && static_cast<DWORD>(n) < limit && static_cast<DWORD>(n) < records; ++n) {
    ChapterRecord& r = array[n];
    if (withKind) {
      ItemSetRawById(ctx, kItem_wdmChapterKind, r.kind);
      DmRunItemTransact(ctx, kItem_wdmChapterKind);
      r.kind = static_cast<BYTE>(Raw(ctx, kItem_wdmChapterKind));
    }
    ItemSetRawById(ctx, kItem_wdmChapterTray, r.tray);
    DmRunItemTransact(ctx, kItem_wdmChapterTray);
    const WORD tray = static_cast<WORD>(Raw(ctx, kItem_wdmChapterTray));
    if (tray != r.tray) {
      for (WORD id : kUseTrayItems)
        if (Raw(ctx, id) == static_cast<SHORT>(r.tray)) {
          ItemSetRawById(ctx, id, tray);
          break;
        }
      r.tray = tray;
    }
    ItemSetRawById(ctx, kItem_wdmChapterPrint, r.print);
    DmRunItemTransact(ctx, kItem_wdmChapterPrint);
    r.print = static_cast<BYTE>(Raw(ctx, kItem_wdmChapterPrint));
  }
  if (withKind) ItemSetRawById(ctx, kItem_wdmChapterKind, oldKind);
  ItemSetRawById(ctx, kItem_wdmChapterTray, oldTray);
  ItemSetRawById(ctx, kItem_wdmChapterPrint, oldPrint);
}

int ChapterLoadLimitsOnce(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 1;
  UiState* ui = ctx->ui;
  if (ui->chapterLimitsLoaded) return 1;
  const int result = StoreLoadPersistedItems(ctx->printer, ctx, kStoreClassWork, 2, nullptr);
  const LONG oldMax = Raw(ctx, kItem_wdmChapterMax);
  const LONG oldTrayMax = Raw(ctx, kItem_wdmChapterTrayMax);
  StoreLoadChapterLimits(ctx);
  // A missing or zero limit in the ini would empty a list the model allows.
  if (Raw(ctx, kItem_wdmChapterMax) <= 0) ItemSetRawById(ctx, kItem_wdmChapterMax, oldMax);
  if (Raw(ctx, kItem_wdmChapterTrayMax) <= 0) ItemSetRawById(ctx, kItem_wdmChapterTrayMax, oldTrayMax);
  ChapterArray(ctx, nullptr);  // grown before anyone uses the new limit
  DmRecheckChapterTrays(ctx);
  ui->chapterLimitsLoaded = 1;
  return result;
}

void ChapterSyncMediaTypes(DriverContext* ctx, WORD id) {
  static const WORD kMediaItems[] = {kItem_zdmCoverMediaType, kItem_zdmBackCoverMediaType, kItem_zdmMPInputMediaType,
                                     kItem_zdmChapterMediaType, kItem_zdmReverseCoverMediaType};
  const LONG_PTR value = ItemGetRawById(ctx, id);
  for (WORD other : kMediaItems)
    if (other != id && ItemFind(ctx, other)) ItemSetRawById(ctx, other, value);
}

int ChapterIsChapterItem(const SettingItem* item) {
  return item && item->id >= kFirstChapterItem && item->id <= kLastChapterItem ? 1 : 0;
}

int ChapterTestTrayFlags(DWORD flags, DWORD kind) {
  switch (kind) {
    case 0: return (flags & 0xE0) ? 1 : 0;
    case 1: return (flags & 0x20) ? 1 : 0;
    case 2: return (flags & 0x40) ? 1 : 0;
    case 3: return (flags & 0x80) ? 1 : 0;
    default: return 0;
  }
}

void ChapterSetDefaultTray(DriverContext* ctx, DWORD flags, DWORD trayValue, BYTE* mark) {
  WORD id = 0;
  BYTE bit = 0;
  if (flags & 0x20) {
    id = kItem_zdmChapterDefTray1;
    bit = 4;
  } else if (flags & 0x40) {
    id = kItem_zdmChapterDefTray2;
    bit = 8;
  } else if (flags & 0x80) {
    id = kItem_zdmChapterDefTray3;
    bit = 16;
  } else {
    return;
  }
  ItemSetRawById(ctx, id, static_cast<LONG_PTR>(trayValue));
  if (mark) *mark = static_cast<BYTE>(*mark | bit);
}

void ChapterResetDefaultTrays(DriverContext* ctx) {
  const WORD tray = BidiMapTrayCode(kPrinterTrayCodeDefault);
  static const WORD kDefaultTrays[] = {kItem_zdmChapterDefTray1, kItem_zdmChapterDefTray2, kItem_zdmChapterDefTray3};
  for (WORD id : kDefaultTrays) ItemSetRawById(ctx, id, tray);
}

void ChapterRefreshIfUsed(DriverContext* ctx) {
  if (Raw(ctx, kItem_zdmFuncSelectChapter) == 0) return;
  StoreLoadModuleItems(ctx);
}
