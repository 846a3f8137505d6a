// The custom-size store: the "FreeSize%d%s" sections of the settings ini, the slot table of
// the UI state, the paper items of the slots, the factory entries of the model data file, and
// the repair of incomplete custom-size and watermark sections.
#include "core/store/free_size_store.h"

#include <string.h>

#include <initializer_list>

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"

namespace {

constexpr int kSlots = 10;
constexpr WORD kIdPaperSize = 8;
constexpr WORD kIdPaperFreeFirst = 340, kIdPrintFreeFirst = 344;
constexpr WORD kIdName = 915, kIdWidth = 916, kIdLength = 917, kIdTray = 918, kIdOrient = 919;
constexpr WORD kIdSrcFirst = 920;
constexpr WORD kIdSlotPaperFirst = 1118;  // four items per slot: width, length, tray, orientation
constexpr WORD kIdChapterMax = 994, kIdChapterTrayMax = 995;
constexpr UINT kStringFirstName = 109, kStringUserPaper = 752, kStringPrintPaper = 753;
constexpr DWORD kChangeSlotsLoaded = 0x4000000;
constexpr int kEventLoadModuleItems = 12;
constexpr DWORD kSectionChars = 261;
constexpr LONG kDefaultWidth = 9921, kDefaultLength = 14031, kDefaultTray = 4, kDefaultOrient = 1;

struct SlotPaper {
  WORD slot;
  WORD code;
};
// Slot to paper code; the first count rows answer FreeSizeSlotToPaper.
const SlotPaper kSlotPapers[kFreeSizeSlotCount] = {{0, 384}, {1, 385}, {2, 386},  {3, 387},  {4, 388},  {5, 389},
                                                   {6, 390}, {7, 391}, {8, 392},  {9, 393},  {10, 256}, {11, 448}};

bool SlotOk(int n) { return n >= 0 && n < kSlots; }

FreeSizeSlot* Slot(DriverContext* ctx, int n) {
  if (n < 0 || n >= kFreeSizeSlotCount) return nullptr;
  FreeSizeSlot* table = FreeSizeGetTable(ctx);
  return table ? &table[n] : nullptr;
}

// The key of a custom-size item: its name, or the default when the item has none.
void ItemKey(DriverContext* ctx, WORD id, LPCWSTR fallback, WCHAR* key) {
  LPCWSTR name = ItemGetName(ctx, id);
  StrCopyCut(key, kSectionChars, name && name[0] ? name : fallback);
}

void ClearItems(DriverContext* ctx, WORD first, int count) {
  for (int i = 0; i < count; ++i) ItemSetRawById(ctx, WORD(first + i), 0);
}

// The narrow text of string id (completed or not), at most 63 bytes.
void StringNarrow(DriverContext* ctx, UINT id, BOOL complete, char* out) {
  WCHAR text[64] = {};
  ResLoadString(ctx, id, text, 64, complete);
  StrWideToAnsi(out, text, 64);
}

void SetPaperItems(DriverContext* ctx, int n, LONG width, LONG length, LONG tray, LONG orient) {
  const WORD first = WORD(kIdSlotPaperFirst + 4 * n);
  ItemSetRawById(ctx, first, width);
  ItemSetRawById(ctx, WORD(first + 1), length);
  ItemSetRawById(ctx, WORD(first + 2), tray);
  ItemSetRawById(ctx, WORD(first + 3), orient);
}

// The paper items of slot n from items 916-919.
void PaperItemsFromItems(DriverContext* ctx, int n) {
  SetPaperItems(ctx, n, LONG(ItemGetRawById(ctx, kIdWidth)), LONG(ItemGetRawById(ctx, kIdLength)),
                LONG(ItemGetRawById(ctx, kIdTray)), LONG(ItemGetRawById(ctx, kIdOrient)));
}

void SlotToItemsFrom(DriverContext* ctx, int n, WORD first) {
  FreeSizeSlot* slot = Slot(ctx, n);
  if (!slot) return;
  WCHAR name[260] = {};
  char narrow[64];
  memcpy(narrow, slot->currentName, sizeof narrow);
  narrow[63] = 0;
  StrAnsiToWide(name, narrow, 260);
  ItemSetText(ctx, ItemFind(ctx, first), name);
  ItemSetValueById(ctx, WORD(first + 1), slot->width);
  ItemSetValueById(ctx, WORD(first + 2), slot->length);
  ItemSetRawById(ctx, WORD(first + 3), slot->tray);
  ItemSetRawById(ctx, WORD(first + 4), slot->orientation);
}

void SlotFromItemsOf(DriverContext* ctx, int n, WORD first) {
  FreeSizeSlot* slot = Slot(ctx, n);
  if (!slot) return;
  slot->width = LONG(ItemGetValueById(ctx, WORD(first + 1)));
  slot->length = LONG(ItemGetValueById(ctx, WORD(first + 2)));
  slot->tray = SHORT(ItemGetRawById(ctx, WORD(first + 3)));
  slot->orientation = SHORT(ItemGetRawById(ctx, WORD(first + 4)));
  WCHAR name[64] = {};
  ItemGetTextBounded(ctx, ItemFind(ctx, first), name, 64);
  memset(slot->currentName, 0, sizeof slot->currentName);
  StrWideToAnsi(slot->currentName, name, 64);
  if (BuildGetVariant().freeSizeNameInAllFields) {
    memcpy(slot->name2, slot->currentName, sizeof slot->name2);
    memcpy(slot->name1, slot->currentName, sizeof slot->name1);
    return;
  }
  StringNarrow(ctx, kStringFirstName + UINT(n), TRUE, slot->name2);
  StringNarrow(ctx, kStringFirstName + UINT(n), TRUE, slot->name1);
}

}  // namespace

int FreeSizeSlotCount(DriverContext*) { return kSlots; }
int FreeSizePaperCount(DriverContext*) { return kFreeSizeSlotCount; }

WCHAR* FreeSizeSectionName(WCHAR* buffer, DWORD cchBuffer, int n, DriverContext* ctx) {
  return StoreFormatKey(buffer, cchBuffer, TEXT("FreeSize"), n, StoreListLangCode(ctx));
}

FreeSizeSlot* FreeSizeGetTable(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->freeSizes : nullptr; }

const FreeSizeSlot* FreeSizeGetSlot(DriverContext* ctx, int n) { return Slot(ctx, n); }

void FreeSizeLoadSlot(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || !SlotOk(n)) return;
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  FreeSizeSectionName(section, kSectionChars, n, ctx);
  ClearItems(ctx, kIdName, 5);
  StoreSectionTransfer(ctx, ini, section, kStoreFileCustomSize | kStoreFileRead);
  PaperItemsFromItems(ctx, n);
}

void FreeSizeLoadSourceSlot(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || !SlotOk(n)) return;
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  FreeSizeSectionName(section, kSectionChars, n, ctx);
  ClearItems(ctx, kIdSrcFirst, 5);
  // The section holds the keys of items 915-919 (a transfer of the source items would look for
  // their own names, which no save writes): it is read into 915-919, moved into 920-924, and
  // 915-919 get their bytes back.
  BYTE saved[5][64] = {};
  SettingItem* rows[5] = {};
  for (int i = 0; i < 5; ++i) {
    rows[i] = ItemFind(ctx, WORD(kIdName + i));
    BYTE* value = rows[i] && ctx->settings ? ItemStorageIn(ctx->settings, rows[i]) : nullptr;
    if (!value || ItemDescSize(rows[i]->descriptor) > sizeof saved[i]) return;
    memcpy(saved[i], value, ItemDescSize(rows[i]->descriptor));
  }
  ClearItems(ctx, kIdName, 5);
  StoreSectionTransfer(ctx, ini, section, kStoreFileCustomSize | kStoreFileRead);
  for (int i = 0; i < 5; ++i) {
    ItemSetRawById(ctx, WORD(kIdSrcFirst + i), ItemGetRaw(ctx, rows[i]));
    memcpy(ItemStorageIn(ctx->settings, rows[i]), saved[i], ItemDescSize(rows[i]->descriptor));
  }
}

int FreeSizeSaveSlot(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || !SlotOk(n)) return 0;
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  FreeSizeSectionName(section, kSectionChars, n, ctx);
  int result = StoreSectionTransfer(ctx, ini, section, kStoreFileCustomSize | kStoreFileWrite);
  PaperItemsFromItems(ctx, n);
  return result;
}

void FreeSizeSaveFromSource(DriverContext* ctx, int n) {
  if (!SlotOk(n)) return;
  FreeSizeSlotFromSrcItems(ctx, n);
  FreeSizeSlotToItems(ctx, n);
  FreeSizeSaveSlot(ctx, n);
}

void FreeSizeSlotToItems(DriverContext* ctx, int n) { SlotToItemsFrom(ctx, n, kIdName); }
void FreeSizeSlotToSrcItems(DriverContext* ctx, int n) { SlotToItemsFrom(ctx, n, kIdSrcFirst); }
void FreeSizeSlotFromItems(DriverContext* ctx, int n) { SlotFromItemsOf(ctx, n, kIdName); }
void FreeSizeSlotFromSrcItems(DriverContext* ctx, int n) { SlotFromItemsOf(ctx, n, kIdSrcFirst); }

void FreeSizeSlotToPaperItems(DriverContext* ctx, int n) {
  FreeSizeSlot* slot = Slot(ctx, n);
  if (!slot || !SlotOk(n)) return;
  SetPaperItems(ctx, n, slot->width, slot->length, slot->tray, slot->orientation);
}

void FreeSizeSlotFromUserPaper(DriverContext* ctx, LONG code, int slotIndex) {
  FreeSizeSlot* slot = Slot(ctx, slotIndex);
  if (!slot) return;
  UINT stringId;
  WORD first;
  if (code == 256) {
    stringId = kStringUserPaper;
    first = kIdPaperFreeFirst;
  } else if (code == 448) {
    stringId = kStringPrintPaper;
    first = kIdPrintFreeFirst;
  } else {
    return;
  }
  WCHAR name[32] = {};
  ResLoadString(ctx, stringId, name, 32, TRUE);
  memset(slot->name1, 0, sizeof slot->name1);
  memcpy(slot->name1, name, sizeof name);  // wide text in this slot's first name
  slot->width = LONG(ItemGetRawById(ctx, first));
  slot->length = LONG(ItemGetRawById(ctx, WORD(first + 1)));
  slot->tray = SHORT(ItemGetRawById(ctx, WORD(first + 2)));
  slot->orientation = SHORT(ItemGetRawById(ctx, WORD(first + 3)));
}

void FreeSizeLoadAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  if (CtxGetChangeFlags(ctx) & kChangeSlotsLoaded) return;
  CtxSnapshotPush(ctx);
  for (int n = 0; n < kSlots; ++n) {
    FreeSizeLoadSlot(ctx, n);
    FreeSizeSlotFromItems(ctx, n);
  }
  CtxSnapshotPop(ctx, TRUE);
  for (int n = 0; n < kSlots; ++n) FreeSizeSlotToPaperItems(ctx, n);
  CtxAddChangeFlags(ctx, kChangeSlotsLoaded);
}

void FreeSizeSaveAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  StoreMutexHold hold(ctx);
  CtxSnapshotPush(ctx);
  for (int n = 0; n < kSlots; ++n) {
    FreeSizeSlotToItems(ctx, n);
    FreeSizeSaveSlot(ctx, n);
  }
  CtxSnapshotPop(ctx, TRUE);
}

void FreeSizeRewriteAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return;
  StoreMutexHold hold(ctx);
  WCHAR ini[kPathChars], section[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  CtxSnapshotPush(ctx);
  for (int n = 0; n < kSlots; ++n) {
    // A slot without a section would be saved as a size of 0 by 0, which the repair then
    // takes for a stored one; an unreadable file is not rewritten from what it did not give.
    if (!StoreSectionPresent(ini, FreeSizeSectionName(section, kSectionChars, n, ctx))) continue;
    FreeSizeLoadSlot(ctx, n);
    if (CtxGetFileStatus(ctx) == kFileStatusOk) FreeSizeSaveSlot(ctx, n);
  }
  CtxSnapshotPop(ctx, TRUE);
}

void FreeSizeLoadDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  WCHAR model[kPathChars], section[kSectionChars], key[kSectionChars];
  StoreCopyModelDataFile(ctx, model);
  for (int n = 0; n < kSlots; ++n) {
    FreeSizeSlot* slot = Slot(ctx, n);
    memset(slot, 0, sizeof *slot);
    StringNarrow(ctx, kStringFirstName + UINT(n), FALSE, slot->currentName);
    StringNarrow(ctx, kStringFirstName + UINT(n), FALSE, slot->name1);
    StringNarrow(ctx, kStringFirstName + UINT(n), TRUE, slot->name2);
    FreeSizeSectionName(section, kSectionChars, n, ctx);
    ItemKey(ctx, kIdWidth, TEXT("wdmFreeSizeWidth"), key);
    slot->width = LONG(IniReadInt(section, key, kDefaultWidth, model));
    ItemKey(ctx, kIdLength, TEXT("wdmFreeSizeLength"), key);
    slot->length = LONG(IniReadInt(section, key, kDefaultLength, model));
    ItemKey(ctx, kIdTray, TEXT("wdmFreeSizeTray"), key);
    slot->tray = SHORT(IniReadInt(section, key, kDefaultTray, model));
    ItemKey(ctx, kIdOrient, TEXT("wdmFreeSizeOrient"), key);
    slot->orientation = SHORT(IniReadInt(section, key, kDefaultOrient, model));
  }
}

int FreeSizeGetFactoryCount(DriverContext* ctx) {
  WCHAR model[kPathChars];
  StoreCopyModelDataFile(ctx, model);
  if (!model[0]) return 0;
  return IniReadInt(StoreListLangCode(ctx), TEXT("FreeSizeCount"), 0, model) == kSlots ? kSlots : 0;
}

void FreeSizeLoadFactorySlot(DriverContext* ctx, int n) {
  if (!ctx || !ctx->ui || !SlotOk(n)) return;
  WCHAR model[kPathChars], section[kSectionChars];
  StoreCopyModelDataFile(ctx, model);
  FreeSizeSectionName(section, kSectionChars, n, ctx);
  ClearItems(ctx, kIdName, 3);
  StoreSectionTransfer(ctx, model, section, kStoreFileCustomSize | kStoreFileRead);
}

int FreeSizeGetCount(DriverContext* ctx) {
  WCHAR ini[kPathChars];
  StoreCopySettingsIni(ctx, ini);
  return int(StoreReadCount(StoreListLangCode(ctx), TEXT("FreeSizeCount"), kStoreLimitFreeSizes, ini));
}

BOOL FreeSizeSetCount(DriverContext* ctx, LONG count) {
  WCHAR ini[kPathChars], value[16];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return FALSE;
  StoreMutexHold hold(ctx);
  return IniWriteString(StoreListLangCode(ctx), TEXT("FreeSizeCount"), StoreFormatNumber(value, count), ini);
}

int FreeSizeIsSlotPaper(LONG code) { return code >= 384 && code <= 393 ? 1 : 0; }

LONG FreeSizeSlotToPaper(int slot, int count) {
  if (count > kFreeSizeSlotCount) count = kFreeSizeSlotCount;
  for (int i = 0; i < count; ++i)
    if (kSlotPapers[i].slot == slot) return kSlotPapers[i].code;
  return 0;
}

int FreeSizePaperToSlot(LONG code, DriverContext*) {
  for (const SlotPaper& row : kSlotPapers)
    if (row.code == code) return row.slot;
  return 0;
}

int FreeSizeIsUserInch(DriverContext* ctx) {
  return ItemGetRawById(ctx, kIdPaperSize) == 256 && !ItemIsMetricUnit(ctx) ? 1 : 0;
}

int FreeSizeIsUserMm(DriverContext* ctx) {
  return ItemGetRawById(ctx, kIdPaperSize) == 256 && ItemIsMetricUnit(ctx) ? 1 : 0;
}

LONG FreeSizeInchToMetric(LONG x) {
  LONG r = x * 254 / 100;
  while (r * 100 / 254 < x) ++r;
  return r;
}

LONG FreeSizeMetricToInch(LONG x) { return x * 100 / 254; }

int StoreLoadModuleItems(DriverContext* ctx) {
  DWORD reply = 1;
  if (ctx && ctx->ui) ModBusSendEvent(ctx, kEventLoadModuleItems, &reply);
  return int(reply);
}

void StoreLoadChapterLimits(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  WCHAR ini[kPathChars], printer[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  for (WORD id : {kIdChapterMax, kIdChapterTrayMax}) {
    SettingItem* row = ItemFind(ctx, id);
    LONG value = 0;
    if (row && row->persistKey && row->persistKey[0] && ini[0]) value = LONG(IniReadInt(printer, row->persistKey, 0, ini));
    ItemSetRawById(ctx, id, value);
  }
}

// ---- the repair ----
namespace {

bool Empty(LPCWSTR section, LPCWSTR key, LPCWSTR file, WCHAR* value) {
  value[0] = 0;
  IniReadString(section, key, TEXT(""), value, kTextBufferChars, file);
  return value[0] == 0;
}

// Copies every listed key that is empty in the settings ini's section from the model data
// file's section (a key empty there too stays as it is). 1 when every write succeeded.
bool FillKeys(LPCWSTR section, LPCWSTR const* keys, int count, LPCWSTR ini, LPCWSTR model, const bool* missing) {
  WCHAR value[kTextBufferChars];
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    if (!missing[i]) continue;
    if (Empty(section, keys[i], model, value)) continue;
    if (!IniWriteString(section, keys[i], value, ini)) ok = false;
  }
  return ok;
}

// 1 unless a write failed.
bool RepairFreeSizes(DriverContext* ctx, LPCWSTR ini, LPCWSTR model) {
  WCHAR keyStore[5][kSectionChars];
  ItemKey(ctx, kIdName, TEXT("wdmFreeSizeName"), keyStore[0]);
  ItemKey(ctx, kIdWidth, TEXT("wdmFreeSizeWidth"), keyStore[1]);
  ItemKey(ctx, kIdLength, TEXT("wdmFreeSizeLength"), keyStore[2]);
  ItemKey(ctx, kIdTray, TEXT("wdmFreeSizeTray"), keyStore[3]);
  ItemKey(ctx, kIdOrient, TEXT("wdmFreeSizeOrient"), keyStore[4]);
  LPCWSTR keys[5] = {keyStore[0], keyStore[1], keyStore[2], keyStore[3], keyStore[4]};
  const int factory = FreeSizeGetFactoryCount(ctx);
  WCHAR section[kSectionChars], value[kTextBufferChars];
  bool any = false;
  for (int n = 0; n < kSlots && !any; ++n) {
    FreeSizeSectionName(section, kSectionChars, n, ctx);
    for (int k = 1; k < 5 && !any; ++k) any = Empty(section, keys[k], ini, value);
  }
  if (!any) return true;
  bool ok = FreeSizeGetCount(ctx) >= factory || FreeSizeSetCount(ctx, factory);
  CtxSnapshotPush(ctx);
  for (int n = 0; n < factory; ++n) {
    FreeSizeSectionName(section, kSectionChars, n, ctx);
    bool missing[5] = {};
    bool all = true, some = false;
    for (int k = 1; k < 5; ++k) {
      missing[k] = Empty(section, keys[k], ini, value);
      all = all && missing[k];
      some = some || missing[k];
    }
    if (!some) continue;
    if (all && Empty(section, keys[0], ini, value) && Empty(section, TEXT("RstVersion"), ini, value)) {
      // A slot without a section takes the factory entry whole, with this driver's header.
      FreeSizeLoadFactorySlot(ctx, n);
      ok = FreeSizeSaveSlot(ctx, n) && ok;
    } else {
      ok = FillKeys(section, keys, 5, ini, model, missing) && ok;
    }
  }
  CtxSnapshotPop(ctx, TRUE);
  return ok;
}

// The watermark keys: the named items of the watermark group in table order.
int WatermarkKeys(DriverContext* ctx, LPCWSTR* keys, WORD* ids, int capacity) {
  int count = 0;
  if (!ctx->items || !ctx->items->rows) return 0;
  for (int i = 0; i < ctx->items->count && count < capacity; ++i) {
    const SettingItem& row = ctx->items->rows[i];
    if (!(row.state & ItemPersistWatermark)) continue;
    LPCWSTR name = ItemGetName(ctx, row.id);
    if (!name || !name[0]) continue;
    keys[count] = name;
    ids[count++] = row.id;
  }
  return count;
}

// Which keys of watermark section n count as missing; true when any does.
bool StampMissing(LPCWSTR section, LPCWSTR const* keys, const WORD* ids, int count, LPCWSTR ini, bool* missing) {
  WCHAR value[kTextBufferChars];
  LONG kind = -1;
  bool any = false;
  for (int k = 0; k < count; ++k) {
    bool empty = Empty(section, keys[k], ini, value);
    if (ids[k] == 117) kind = StoreParseNumber(value, -1);
    bool counts = true;
    if (ids[k] == 929 || ids[k] == 931) counts = kind == 1;
    if (ids[k] == 930 || ids[k] == 932) counts = kind == 2;
    missing[k] = empty && counts;
    any = any || missing[k];
  }
  return any;
}

// 1 unless a write failed.
bool RepairStamps(DriverContext* ctx, LPCWSTR ini, LPCWSTR model) {
  constexpr int kMaxKeys = 64;
  LPCWSTR keys[kMaxKeys];
  WORD ids[kMaxKeys];
  bool missing[kMaxKeys];
  const int keyCount = WatermarkKeys(ctx, keys, ids, kMaxKeys);
  const LONG oldCount = StampGetCount(ctx);
  const LONG factory = StampGetFactoryCount(ctx);
  WCHAR section[kSectionChars], value[kTextBufferChars];
  bool rewrite = oldCount < 1;
  for (LONG i = 0; i < oldCount && !rewrite; ++i) {
    StampSectionName(section, kSectionChars, int(i), ctx);
    rewrite = StampMissing(section, keys, ids, keyCount, ini, missing);
  }
  if (!rewrite) return true;
  bool ok = true;
  LONG count = oldCount < 0 ? 0 : oldCount;
  if (count < factory) {
    count = factory;
    ok = StampSetCount(ctx, count) != 0;
  }
  CtxSnapshotPush(ctx);
  for (LONG i = 0; i < count; ++i) {
    StampSectionName(section, kSectionChars, int(i), ctx);
    const bool fresh = i >= oldCount || Empty(section, TEXT("RstVersion"), ini, value);
    if (fresh) {
      // Beyond the old count a section is stale (a deleted watermark): the factory entry alone.
      StampLoadSlotFrom(ctx, model, int(i < factory ? i : 0));
      ok = StampSave(ctx, int(i)) && ok;
      continue;
    }
    if (!StampMissing(section, keys, ids, keyCount, ini, missing)) continue;
    WCHAR factorySection[kSectionChars];
    StampSectionName(factorySection, kSectionChars, int(i < factory ? i : 0), ctx);
    WCHAR fill[kTextBufferChars];
    for (int k = 0; k < keyCount; ++k)
      if (missing[k] && !Empty(factorySection, keys[k], model, fill) && !IniWriteString(section, keys[k], fill, ini))
        ok = false;
  }
  CtxSnapshotPop(ctx, TRUE);
  return ok;
}

}  // namespace

int StoreRepairStampsAndFreeSizes(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 0;
  WCHAR ini[kPathChars], model[kPathChars], printer[kSectionChars];
  StoreCopySettingsIni(ctx, ini);
  StoreCopyModelDataFile(ctx, model);
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  LPCWSTR lang = StoreListLangCode(ctx);
  if (!ini[0] || !model[0] || !printer[0] || !lang || !lang[0]) return 0;
  StoreMutexHold hold(ctx);
  const bool sizes = RepairFreeSizes(ctx, ini, model);
  const bool stamps = RepairStamps(ctx, ini, model);
  return sizes && stamps ? 1 : 0;
}
