// The repair sweep and the handlers of private items the model description does not describe.
#include "core/items/item_repair.h"

#include "core/context/driver_context.h"
#include "core/devmode/dm_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/system/languages.h"
#include "core/tables/model_record.h"
#include "core/tables/value_symbols.h"

namespace {

#define REPAIR(id, kind, fallback, low, high) {id, kRepair##kind, 0, fallback, low, high},
const RepairRow kRepairRows[] = {
#include "core/items/item_repair_table.inc"
};
#undef REPAIR
constexpr int kRepairRowCount = static_cast<int>(sizeof(kRepairRows) / sizeof(kRepairRows[0]));

constexpr WORD kSweepFirstId = 35;
constexpr WORD kSweepLastId = 696;

// The margins keep at most 50.0 mm (500 tenths) in device units.
constexpr DWORD kMarginLimitTenthMm = 500;
// Display string ids of the user quality lists (zdmUserPrintMacro).
constexpr LONG kUserMacroFirstString = 135;
constexpr LONG kUserMacroCount = 16;

// Fallbacks the model record gives instead of the row: two words for the resolutions (38,
// 39) and six bytes for the items 169-174 in id order.
LONG ModelWordFor(DriverContext* ctx, WORD id) {
  return CtxModelRecord(ctx)->repairFallbackWords[id - kItem_zdmDstResolutionW];
}
LONG ModelByteFor(DriverContext* ctx, WORD id) {
  const UINT index = static_cast<UINT>(id - kItem_zdmLanguageID);
  const ModelRecord* record = CtxModelRecord(ctx);
  return index < sizeof(record->repairFallbackBytes) ? record->repairFallbackBytes[index] : 0;
}

bool InRange(LONG_PTR value, LONG low, LONG high) { return value >= low && value <= high; }

// Writes the value; 0 always (the handler wrote, or meant to).
int Take(DriverContext* ctx, SettingItem* item, LONG value) {
  ItemSetRaw(ctx, item, value);
  return 0;
}

// 1 when a handler with a test of its own keeps the value after a merge.
bool KeepsInMode2(DriverContext* ctx, const RepairRow& row, LONG_PTR value) {
  switch (row.kind) {
    case kRepairKeepKnown:
    case kRepairKeepKnownModelByte:
      return TblIsKnownValue(row.id, static_cast<LONG>(value)) != 0;
    case kRepairKeepRange:
      return InRange(value, row.low, row.high);
    case kRepairMachineId:
      return value == TblGetModelRecord()->modelCode;
    case kRepairPresetNo:
      return InRange(value, 0, 127) || (value & 0xFF) == 0xFF;
    case kRepairResolution:
      return TblIsKnownValue(row.id, static_cast<LONG>(value)) != 0;
    case kRepairOutPaper:
      return DmIsKnownPaperSize(static_cast<LONG>(value)) || value == 1024;
    case kRepairMargin: {
      const DWORD resolution = static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmDstResolutionW));
      return static_cast<DWORD>(value) <= UnitDisplayToDots(kUnitTenthMm, kMarginLimitTenthMm, resolution);
    }
    case kRepairInputTray:
      return InRange(value, 1, 15) || TblIsKnownValue(kItem_dmDefaultSource, static_cast<LONG>(value));
    default:
      return false;
  }
}

// The value a handler writes when it does not keep the current one.
LONG FallbackOf(DriverContext* ctx, const RepairRow& row) {
  switch (row.kind) {
    case kRepairKeepKnownModelByte:
    case kRepairLanguage:
      return ModelByteFor(ctx, row.id);
    case kRepairFallbackVersionWord:
      return static_cast<LONG>(CtxModelRecord(ctx)->versionWord);
    case kRepairMachineId:
      return CtxModelRecord(ctx)->modelCode;
    case kRepairResolution: {
      // The print quality, when it is a valid resolution; a negative standard code is none.
      const LONG_PTR quality = ItemGetRawById(ctx, kItem_dmPrintQuality);
      if (quality > 0 && DmIsValidPrintQuality(quality, ctx)) return static_cast<LONG>(quality);
      return ModelWordFor(ctx, row.id);
    }
    default:
      return row.fallback;
  }
}

}  // namespace

const RepairRow* ItemRepairTable(int* count) {
  if (count) *count = kRepairRowCount;
  return kRepairRows;
}

const RepairRow* ItemRepairRowOf(WORD id) {
  int low = 0, high = kRepairRowCount - 1;
  while (low <= high) {
    const int mid = (low + high) / 2;
    if (kRepairRows[mid].id == id) return &kRepairRows[mid];
    if (kRepairRows[mid].id < id) low = mid + 1;
    else high = mid - 1;
  }
  return nullptr;
}

int ItemRepairRun(DriverContext* ctx, const RepairRow* row, SettingItem* item, LONG_PTR value, int mode) {
  if (!row || !item) return 1;
  switch (row->kind) {
    case kRepairNone:
    case kRepairNever:
      return 1;
    case kRepairFallback:
    case kRepairFallbackVersionWord:
      return Take(ctx, item, FallbackOf(ctx, *row));
    case kRepairLanguage:
      // A valid language index stays in both modes: the defaults set it from the driver's help
      // file just before, and the model's byte names a language that may not be installed.
      if (InRange(value, 0, 0xFFFF) && ResIsLangIndexValid(static_cast<WORD>(value))) return 1;
      return Take(ctx, item, FallbackOf(ctx, *row));
    default:
      if (mode == kRepairModeMerged && KeepsInMode2(ctx, *row, value)) return 1;
      return Take(ctx, item, FallbackOf(ctx, *row));
  }
}

void ItemRepairSweep(DriverContext* ctx, int mode) {
  if (!ctx) return;
  for (WORD id = kSweepFirstId; id <= kSweepLastId; ++id) {
    SettingItem* item = ItemFind(ctx, id);
    if (!item) continue;
    const LONG_PTR value = ItemGetRaw(ctx, item);
    const int check = ItemCheckAndRepair(id, value, ctx);
    // Items without a rule of the model: no symbol id (2), or no descriptor (3).
    if (check != kCheckNoItemRule && check != kCheckNoDescriptor) continue;
    if (const RepairRow* row = ItemRepairRowOf(id)) ItemRepairRun(ctx, row, item, value, mode);
  }
}

LONG ItemGetActiveWatermarkId(DriverContext* ctx) {
  if (!ItemGetRawById(ctx, kItem_zdmFuncSelectWaterMark)) return -1;
  return static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmWmID));
}

LONG ItemGetUserMacroIndex(DriverContext* ctx) {
  if (ItemGetRawById(ctx, kItem_zdmUseUserMacro) != 1) return -1;
  const LONG index = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmUserPrintMacro)) - kUserMacroFirstString;
  // The index picks a quality list: a value outside the user lists names none.
  return index >= 0 && index < kUserMacroCount ? index : -1;
}
