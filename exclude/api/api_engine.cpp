// The SetStatus engine: version, snapshots, gates, the set handler, the model's follow-ups, the
// verify handler and the changed-items bitmap; any failure puts everything back. And the
// GetStatus dispatch.
#include "exclude/api/api_engine.h"

#include <string.h>

#include <initializer_list>

#include "core/common/mem.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"
#include "core/store/item_store.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_devmode.h"
#include "exclude/api/api_items_paper.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"

namespace {

constexpr LONG kPresetNone = 255;
constexpr WORD kPaperCustom = 256;
constexpr LONG kPaperFieldLimit = 32760;  // the public paper fields are signed 16-bit

bool OneOf(DWORD id, std::initializer_list<DWORD> ids) {
  for (DWORD x : ids)
    if (x == id) return true;
  return false;
}

// Runs the transacts of every descriptor of the setting.
void RunTransacts(DriverContext* ctx, WORD setting) {
  for (const ModelItemDescriptor* d = ModelFindDescriptor(setting, ctx); d; d = d->next)
    if (d->itemId == setting) ModelRunItemTransacts(d, ctx);
}

LONG Read(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

void ZeroBitmap(ApiContext* api, BYTE* bits) {
  if (bits) memset(bits, 0, ApiBitmapBytes(api));
}

// ---- gates ----

bool FeatureGated(DWORD id) { return OneOf(id, {5, 35, 39, 42, 43, 46, 48, 51, 79}); }
bool AdminGated(DWORD id) { return (id >= 29 && id <= 33) || (id >= 76 && id <= 78); }
bool MacroGated(DWORD id) {
  return OneOf(id, {34, 35, 38, 39, 40, 41, 42, 43, 46, 49, 257}) || (id >= 265 && id <= 269);
}

// The constraint gate: 0 passes, else the error code.
LONG ConstraintGate(ApiContext* api, const ApiStatusItem* row, const void* record) {
  DriverContext* ctx = ApiDriverCtx(api);
  const WORD main = static_cast<WORD>(row->mainSettingId & 0xFFFF);
  if (!main) return 0;
  const ExclusiveRecord* node = ApiFindConstraintNode(main, api);
  if (!node) return 0;
  const bool disabled = ApiNodeDisabled(api, node) != 0;
  const bool restricted = ApiNodeRestricted(api, node) != 0;
  if (!disabled && !restricted) return 0;
  const DWORD id = row->id;
  if (id == 19 && restricted && !disabled) {
    // A restricted sort is one the rules hold where it is; the record's field at byte 28 asks
    // to turn sorting off (0), which would move it, so that is refused. A record that keeps
    // sorting on passes as long as the sort type can still be chosen.
    if (ApiRecordLong(record, 28) == 0) return kApiErrRefused;
    const ExclusiveRecord* type = ApiFindConstraintNode(kItem_zdmSortType, api);
    if (type && (ApiNodeDisabled(api, type) || ApiNodeRestricted(api, type))) return kApiErrRefused;
    return 0;
  }
  if (id == 28 && restricted && !disabled) return 0;
  if (id >= 265 && id <= 269) return 0;
  if (id == 15 && ItemLockDuplex(ctx)) return 0;
  if (id == 14 && ItemLockNupKind(ctx)) return 0;
  return kApiErrRefused;
}

// ---- change propagation ----

bool IsTextType(UINT type) {
  return type == ItemTypeNarrowText || type == ItemTypeWideText || type == ItemTypeNarrowText2 ||
         type == ItemTypeWideText2;
}

// 1 when both texts are present and differ within the item's size.
bool TextsDiffer(const SettingItem* item, LONG_PTR a, LONG_PTR b) {
  if (!a || !b) return false;
  return memcmp(reinterpret_cast<const void*>(a), reinterpret_cast<const void*>(b),
                ItemDescSize(item->descriptor)) != 0;
}

bool InitialDiffers(DriverContext* ctx, WORD id) {
  SettingItem* item = ItemFind(ctx, id);
  if (!item) return false;
  return ItemGetInitialRaw(ctx, item) != ItemGetRaw(ctx, item);
}

LONG* SnapshotEntry(ApiState* state, DWORD id, int j) {
  if (!state || !state->constraintSnapshot || id == 0 || id > state->constraintIds) return nullptr;
  return state->constraintSnapshot + (id - 1) * kApiSnapshotIntsPerId + 2 * j;
}

// The bit of the item being set (rules by status id).
bool OwnItemChanged(ApiContext* api, DWORD id, const void* record, LONG level) {
  DriverContext* ctx = ApiDriverCtx(api);
  const LONG v = ApiRecordLong(record, 4);
  switch (id) {
    case 14: {
      const LONG now = Read(ctx, kItem_zdmNUPType);
      return (now == 1 && v == 3) || (now == 3 && (v == 1 || v == 2)) || (now == 129 && v == 130) ||
             (now == 130 && v == 129) || (now == 161 && v == 163) || (now == 163 && (v == 161 || v == 162));
    }
    case 15: {
      const LONG now = Read(ctx, kItem_zdmDuplexType);
      return (now == 18 && v == 17) || (now == 17 && (v == 18 || v == 19)) || (now == 21 && v == 20) ||
             (now == 20 && (v == 21 || v == 22));
    }
    case 19:
      return ApiCapsPresent(api, 76) && Read(ctx, kItem_zdmExtOutput2SeparationSheet) != 0 &&
             Read(ctx, kItem_zdmSeparationSheetCycle) != ApiRecordLong(record, 12);
    case 67:
      return Read(ctx, kItem_zdmFuncSelectChapter) != v;
    case 28:
      return level > 13 && InitialDiffers(ctx, kItem_zdmRotationMode) &&
             (InitialDiffers(ctx, kItem_zdmNupLayout) || InitialDiffers(ctx, kItem_zdmBookLayout));
    default:
      return false;
  }
}

}  // namespace

DWORD ApiOwnItemBit(ApiContext* api, DWORD id, const void* record) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !record) return 0;
  if (id == 66) {
    // The reverse cover's outside moves the cover that carries it, never item 66 itself.
    if (!InitialDiffers(ctx, kItem_zdmExtOutput2ReverseCoverOutside)) return 0;
    if (ApiIsSettingOffered(api, kItem_zdmFuncSelectBack, 0, 3)) return 64;
    if (ApiIsSettingOffered(api, kItem_zdmFuncSelectReverseCover, 0, 3)) return 65;
    return 0;
  }
  return OwnItemChanged(api, id, record, ApiLevel(api)) ? id : 0;
}

namespace {

// One related setting of another item: 1 when it marks the item changed.
bool RelatedChanged(ApiContext* api, const ApiStatusItem* other, int j, WORD s, LONG level) {
  DriverContext* ctx = ApiDriverCtx(api);
  const DWORD i = other->id;
  if ((s == kItem_zdmExtOutput2SeparationSheet || s == kItem_zdmSeparationSheetCycle) && level <= 9) return false;
  BYTE* block = CtxGetSettings(ctx);
  if (i == 7 && (s == kItem_dmPaperLength || s == kItem_dmPaperWidth)) {
    const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(block);
    const DWORD both = DM_PAPERLENGTH | DM_PAPERWIDTH;
    if (!dm || !dm->dmPaperLength || !dm->dmPaperWidth || (dm->dmFields & both) != both) return false;
    return InitialDiffers(ctx, s);
  }
  if (i == 11) {
    const LONG type = Read(ctx, kItem_zdmScaleType);
    if (type >= 0 && type <= 2) {
      if (s == kItem_zdmScaleV) return false;
      if (s == kItem_zdmScaleH && type == 2) return InitialDiffers(ctx, s);
    }
  }
  if (i == 34) {
    const int form = ApiResolutionForm(api);
    if (form == -1) return false;
    if (form == 0 && s == kItem_zdmDstResolutionBoth) return false;
    if (form == 1 && s == kItem_zdmDstResolutionW) return false;
  }
  if (i == 265 || i == 268) return InitialDiffers(ctx, s);
  SettingItem* item = ItemFind(ctx, s);
  if (!item) return false;
  const LONG_PTR initial = ItemGetInitialRaw(ctx, item);
  const LONG_PTR current = ItemGetRaw(ctx, item);
  if (IsTextType(ItemDescType(item->descriptor))) {
    if (!TextsDiffer(item, initial, current)) return false;
    if (OneOf(s, {202, 204, 205, 206, 207, 208, 953})) return true;
  } else if (initial == current) {
    return false;
  }
  const ApiMasterKey* key = nullptr;
  const DWORD master = ApiFindMasterKey(i, &key);
  if (key && master != s) {
    const ExclusiveRecord* node = ApiFindConstraintNode(static_cast<WORD>(master), api);
    if ((key->flags & 1) && node && (ApiNodeDisabled(api, node) || ApiNodeRestricted(api, node))) return false;
    if ((key->flags & 2) && Read(ctx, static_cast<WORD>(master)) == 0 && (s == 122 || s == 124)) return false;
  }
  if (const ExclusiveRecord* node = ApiFindConstraintNode(s, api)) {
    if (LONG* entry = SnapshotEntry(ApiGetState(api), i, j)) {
      if (ApiNodeDisabled(api, node)) return false;
      if (ApiNodeRestricted(api, node) && entry[1]) return false;
    }
  }
  return true;
}

void WalkChangedItems(ApiContext* api, const ApiStatusItem* row, const void* record, BYTE* bits,
                      const BYTE* chapterCopy) {
  DriverContext* ctx = ApiDriverCtx(api);
  const LONG level = ApiLevel(api);
  const UINT bytes = ApiBitmapBytes(api);
  memset(bits, 0, bytes);
  for (DWORD i = ApiNextStatusId(0, level); i; i = ApiNextStatusId(i, level)) {
    const ApiStatusItem* other = ApiStatusRow(i);
    if (!other || !other->enabled) continue;
    if (i == row->id) {
      if (const DWORD own = ApiOwnItemBit(api, i, record)) ApiBitmapSet(bits, bytes, own);
      DWORD count = 0;
      const auto* current = static_cast<const ChapterRecord*>(ApiChapterArray(api, &count));
      const DWORD used = static_cast<DWORD>(Read(ctx, kItem_wdmChapterNum));
      const bool differ =
          ChapterArraysDiffer(reinterpret_cast<const ChapterRecord*>(chapterCopy), current, used, count) != 0;
      if (differ) ApiBitmapSet(bits, bytes, 67);
      if (i == 67 || differ) ApiSaveWorkItems(api);
      continue;
    }
    const bool variants = OneOf(i, {39, 40, 41, 42, 43, 46, 267, 269});
    bool marked = false;
    for (int j = 0; j < kApiRelatedSettings && other->relatedSettings[j] && !marked; ++j) {
      const WORD s = other->relatedSettings[j];
      if (i == 18) {
        const DWORD master = ApiFindMasterKey(18, nullptr);
        if (s == master) continue;
        if (!InitialDiffers(ctx, static_cast<WORD>(master))) break;
      }
      for (int v = -1; v < (variants ? 3 : 0) && !marked; ++v) {
        const WORD setting = v < 0 ? s : ApiSelectVariant(api, s, v);
        if (v >= 0 && setting == s) continue;
        marked = RelatedChanged(api, other, j, setting, level);
      }
    }
    if (marked) ApiBitmapSet(bits, bytes, i);
  }
}

void RunJobTypeTransacts(DriverContext* ctx, const void* record) {
  const LONG type = ApiRecordLong(record, 4);
  const DWORD flags = static_cast<DWORD>(ApiRecordLong(record, 8));
  struct Step {
    LONG type;
    DWORD mask;
    WORD setting;
  };
  static const Step kSteps[] = {
      {0, 0x1, 202},   {1, 0x1, 202},    {1, 0x82, 207},   {2, 0x1, 202},    {3, 0x1, 202},   {3, 0x104, 208},
      {3, 0x8, 204},   {3, 0x10, 206},   {5, 0x20, 205},   {7, 0x40, 953},   {8, 0x1, 202},   {8, 0x200, 206},
      {9, 0x1, 202},   {9, 0x400, 206},  {9, 0x800, 208},  {9, 0x4000, 607}, {10, 0x1, 202},  {10, 0x1000, 206},
      {10, 0x2000, 208}, {10, 0x4000, 607},
  };
  for (const Step& step : kSteps)
    if (step.type == type && (flags & step.mask)) RunTransacts(ctx, step.setting);
}

void RunFollowUps(ApiContext* api, DWORD id, const void* record) {
  DriverContext* ctx = ApiDriverCtx(api);
  switch (id) {
    case 262:
      ItemSetRawById(ctx, kItem_wdmCtrlWorkPrompt, 1);
      for (WORD s : {kItem_zdmUseUserMacro, kItem_zdmPrintMacro, kItem_zdmBalanceMacro, kItem_zdmUserPrintMacro})
        RunTransacts(ctx, s);
      ItemSetRawById(ctx, kItem_wdmCtrlWorkPrompt, 0);
      break;
    case 3:
      ItemSetRawById(ctx, kItem_wdmUIStart, 1);
      RunTransacts(ctx, kItem_zdmMediaType);
      ItemSetRawById(ctx, kItem_wdmUIStart, 0);
      break;
    case 19: RunTransacts(ctx, kItem_zdmSortType); break;
    case 10: RunJobTypeTransacts(ctx, record); break;
    case 11: {
      RunTransacts(ctx, kItem_zdmScaleType);
      const LONG type = Read(ctx, kItem_zdmScaleType);
      if (type == 1 || type == 3) {
        if (type == 3) RunTransacts(ctx, kItem_zdmScaleV);
        RunTransacts(ctx, kItem_zdmScaleH);
      }
      break;
    }
    case 14: RunTransacts(ctx, kItem_zdmNUPPOSTKind); RunTransacts(ctx, kItem_zdmNUPType); break;
    case 15: RunTransacts(ctx, kItem_zdmDuplexType); break;
    case 20: RunTransacts(ctx, kItem_zdmStapleType); break;
    case 21: RunTransacts(ctx, kItem_zdmPunchType); break;
    case 35:
      for (WORD s : {kItem_zdmPlaneUseCMYKMagenta, kItem_zdmPlaneUseCMYKYellow, kItem_zdmPlaneUseCMYKBlack})
        RunTransacts(ctx, s);
      break;
    case 51: RunTransacts(ctx, kItem_zdmFoldType); break;
    case 79:
      for (WORD s : {544, 545, 693, 694, 695, 696}) RunTransacts(ctx, s);
      break;
    default: break;
  }
}

// The public paper fields of a custom size: 0.1 mm, at most 32760. Converted straight from
// the display unit as the paper item wrote them: a detour through 1/1200 inch, floored on the
// way back, would lose a unit (1500 → 7086 → 1499) and fail the item's verify.
SHORT PaperField(DriverContext* ctx, LONG display) {
  LONG tenth = ApiDisplayToTenthMm(ctx, display);
  if (tenth > kPaperFieldLimit) tenth = kPaperFieldLimit;
  return static_cast<SHORT>(tenth);
}

void PutCustomPaper(BYTE* block, SHORT width, SHORT length) {
  auto* dm = reinterpret_cast<DEVMODEW*>(block);
  dm->dmPaperWidth = width;
  dm->dmPaperLength = length;
  dm->dmFields = (dm->dmFields | DM_PAPERWIDTH | DM_PAPERLENGTH) & ~static_cast<DWORD>(DM_PAPERSIZE);
}

}  // namespace

int ApiCheckSetVersion(const void* record, DWORD versionCount, LONG mode) {
  if (ApiRecordVersionOf(record) <= versionCount) return 0;
  return mode == 2 ? 2 : 1;
}

int ApiResolutionForm(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ApiFindConstraintNode(kItem_zdmDstResolutionW, api)) return -1;
  const ModelItemDescriptor* desc = ModelGetDescriptor(kItem_zdmDstResolutionW, ctx);
  if (!desc) return -1;
  const int shape = ModelValueShapeOf(desc->type);
  const bool listWithValues = shape == kModelShapeList && ModelGetValueCount(kItem_zdmDstResolutionW, ctx) > 0;
  const bool numericNonzero = shape == kModelShapeNumeric && Read(ctx, kItem_zdmDstResolutionW) != 0;
  if (!listWithValues && !numericNonzero) return -1;
  return numericNonzero ? 1 : 0;
}

void ApiSnapshotConstraints(ApiContext* api) {
  ApiState* state = ApiGetState(api);
  if (!state || !state->constraintSnapshot) return;
  memset(state->constraintSnapshot, 0, sizeof(LONG) * kApiSnapshotIntsPerId * state->constraintIds);
  const LONG level = ApiLevel(api);
  for (DWORD id = ApiNextStatusId(0, level); id; id = ApiNextStatusId(id, level)) {
    const ApiStatusItem* row = ApiStatusRow(id);
    if (!row || !row->enabled) continue;
    for (int j = 0; j < kApiRelatedSettings && row->relatedSettings[j]; ++j) {
      const ExclusiveRecord* node = ApiFindConstraintNode(row->relatedSettings[j], api);
      LONG* entry = SnapshotEntry(state, id, j);
      if (!node || !entry) continue;
      entry[0] = ApiNodeDisabled(api, node);
      entry[1] = ApiNodeRestricted(api, node);
    }
  }
}

void ApiRefreshConstraints(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ctx->ui || !ctx->ui->initialSettings) return;
  CtxFreeFontTables(ctx, ctx->ui->initialSettings);
  CtxKeepInitialSettings(ctx);
  ApiSnapshotConstraints(api);
}

int ApiPropagateChange(ApiContext* api, const ApiStatusItem* row, const void* record, BYTE* changedBits) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ctx->ui || !ctx->ui->initialSettings || !row) return 1;
  const bool modeChange = Read(ctx, kItem_zdmUIModeChange) == 1;
  if (modeChange) ItemSetRawById(ctx, kItem_zdmUIModeChange, 0);
  DWORD count = 0;
  const void* chapters = ApiChapterArray(api, &count);
  BYTE* chapterCopy = nullptr;
  if (chapters) {
    chapterCopy = static_cast<BYTE*>(MemAllocZero(sizeof(ChapterRecord) * count));
    if (!chapterCopy) {
      if (modeChange) ItemSetRawById(ctx, kItem_zdmUIModeChange, 1);
      return 0;
    }
    memcpy(chapterCopy, chapters, sizeof(ChapterRecord) * count);
  }
  const WORD main = static_cast<WORD>(row->mainSettingId & 0xFFFF);
  if (main) RunTransacts(ctx, main);
  RunFollowUps(api, row->id, record);
  if (SettingItem* method = ItemFind(ctx, kItem_zdmPrnMethod)) ApiStoreSaveItem(api, method, nullptr);
  BYTE* block = CtxGetSettings(ctx);
  auto* dm = reinterpret_cast<DEVMODEW*>(block);
  const bool custom = Read(ctx, kItem_dmPaperSize) == kPaperCustom;
  const SHORT keptWidth = custom ? dm->dmPaperWidth : 0;
  const SHORT keptLength = custom ? dm->dmPaperLength : 0;
  DmRecomputeDerived(block, ctx, 3);
  if (row->id == 7 && ApiRecordLong(record, 4) == kPaperCustom) {
    ItemSetRawById(ctx, kItem_dmPaperSize, kPaperCustom);
    // With the short-side overrun the handler's own sizes stand.
    if (Read(ctx, kItem_zdmFuncSelectFreeShortOver) == 0)
      PutCustomPaper(block, PaperField(ctx, ApiRecordWord(record, 8)), PaperField(ctx, ApiRecordWord(record, 12)));
    else
      PutCustomPaper(block, dm->dmPaperWidth, dm->dmPaperLength);
  } else if (Read(ctx, kItem_dmPaperSize) == kPaperCustom) {
    PutCustomPaper(block, keptWidth, keptLength);
  }
  if (ApiLevel(api) < 6 && row->id == 35) ItemSetRawById(ctx, kItem_zdmUseUserMacro, 1);
  const int merged = ApiMergeStoredDevmode(api, nullptr);
  DmRecheckChapterTrays(ctx);
  if (changedBits && merged) WalkChangedItems(api, row, record, changedBits, chapterCopy);
  if (modeChange) ItemSetRawById(ctx, kItem_zdmUIModeChange, 1);
  MemFree(chapterCopy);
  return merged;
}

namespace {
LONG SetStatusItem(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
}

LONG ApiSetStatusItem(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  // A record of version 0 is a version-1 record: the handlers, which read 0 as their newest
  // version, get a version-1 copy, so none reads past what the caller's version promises.
  // What a handler writes into the record goes back to the caller's.
  const DWORD size = record && ApiRecordVersionOf(record) == 0 ? ApiRecordSize(id, 1) : 0;
  if (size < sizeof(DWORD)) return SetStatusItem(api, id, record, changedBits, mode);
  BYTE* copy = static_cast<BYTE*>(MemAllocZero(size));
  if (!copy) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  memcpy(copy, record, size);
  const DWORD one = 1;
  memcpy(copy, &one, sizeof one);
  const LONG result = SetStatusItem(api, id, copy, changedBits, mode);
  memcpy(static_cast<BYTE*>(record) + sizeof(DWORD), copy + sizeof(DWORD), size - sizeof(DWORD));
  MemFree(copy);
  return result;
}

namespace {

LONG SetStatusItem(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ApiStatusItem* row = ApiFindStatusItem(id, ApiLevel(api));
  if (!row || !ctx) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  if (!row->enabled) {
    ApiSetLastError(api, kApiErrNotEnabled);
    return -1;
  }
  if (!record) {
    ApiSetLastError(api, kApiErrNoRecord);
    return -1;
  }
  if (!row->set) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  // A nested set (a handler setting another item) works inside the outer call's printer,
  // copies and journal.
  HANDLE printer = api->printer;
  const bool opened = printer == nullptr;
  if (opened) {
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!ApiOpenPrinter(api, &printer, &all) && !ApiOpenPrinter(api, &printer, nullptr)) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
  }
  LONG result = -1;
  const int versionCheck = ApiCheckSetVersion(record, row->versionCount, mode);
  if (versionCheck == 2) {
    if (opened) ApiClosePrinter(api, printer);
    return static_cast<LONG>(row->versionCount);
  }
  // The copies every failure is restored from; without them nothing is changed.
  DWORD chapterCount = 0;
  const void* chapters = ApiChapterArray(api, &chapterCount);
  BYTE* block = ApiCopySettingsBlock(api);
  BYTE* chapterCopy = chapters ? static_cast<BYTE*>(MemAllocZero(sizeof(ChapterRecord) * chapterCount)) : nullptr;
  const bool journalOuter = !ApiJournalActive(api);
  const bool journal = ApiJournalBegin(api) != 0;
  if (!block || (chapters && !chapterCopy) || !journal) {
    ApiDropSettingsBlock(api, block);
    MemFree(chapterCopy);
    if (journal && journalOuter) ApiJournalEnd(api, 0);
    ApiSetLastError(api, kApiErrInternal);
    ZeroBitmap(api, changedBits);
    if (opened) ApiClosePrinter(api, printer);
    return -1;
  }
  if (chapterCopy) memcpy(chapterCopy, chapters, sizeof(ChapterRecord) * chapterCount);

  LONG error = 0;
  const bool marginWasOn = (id == 14 || id == 15) && Read(ctx, kItem_zdmFuncSelectMargin) != 0;
  StoreLoadByClass(printer, 1, ctx);
  ApiRefreshConstraints(api);
  const WORD main = static_cast<WORD>(row->mainSettingId & 0xFFFF);
  if (FeatureGated(id) && !ApiIsFeatureUsable(api, main))
    error = kApiErrNotEnabled;
  else if (AdminGated(id) && ApiIsAdminLocked(api))
    error = kApiErrTerminalServer;
  else if (MacroGated(id) && ApiCapsPresent(api, 270) && !ApiPrintMacroRuleHolds(api))
    error = kApiErrPrintMacro;
  else if ((id == 70 || id == 71) && ApiLevel(api) < 15)
    error = kApiErrNotEnabled;
  else
    error = ConstraintGate(api, row, record);
  bool ok = error == 0;
  if (!ok) ApiSetLastError(api, error);
  if (ok) {
    const LONG before = ApiPeekLastError(api);
    ApiSetLastError(api, kApiErrRefused);
    ok = row->set(api, id, record, changedBits, mode) == 1;
    if (ok) ApiRestoreLastError(api, before);
  }
  if (ok) {
    if (!ApiPropagateChange(api, row, record, changedBits)) {
      ApiSetLastError(api, kApiErrInternal);
      ok = false;
    }
  }
  if (ok) {
    if (changedBits && !ApiCapsPresent(api, 34)) ApiBitmapClear(changedBits, ApiBitmapBytes(api), 18);
    if (row->verify && row->verify(api, id, record, changedBits, mode) != 1) {
      ApiSetLastError(api, kApiErrRefused);
      ok = false;
    }
  }
  if (ok) {
    if (marginWasOn && Read(ctx, kItem_zdmFuncSelectMargin) == 0) ApiResetPageEdges(api);
    result = versionCheck == 1 ? static_cast<LONG>(row->versionCount) : 0;
    if (id != 50 && id != 56) ItemSetValueById(ctx, kItem_zdmPresetNo, kPresetNone);
  }

  if (result == -1) {
    ApiRestoreSettingsBlock(api, block);
    if (chapterCopy && ApiChapterArray(api, &chapterCount) == chapters)
      memcpy(const_cast<void*>(chapters), chapterCopy, sizeof(ChapterRecord) * chapterCount);
    ZeroBitmap(api, changedBits);
  } else {
    ApiDropSettingsBlock(api, block);
  }
  MemFree(chapterCopy);
  // Only the outermost call puts the stores back: a nested call's writes are in its journal.
  if (journalOuter) ApiJournalEnd(api, result == -1);
  if (opened) ApiClosePrinter(api, printer);
  return result;
}

}  // namespace

LONG ApiGetStatusItem(ApiContext* api, DWORD id, void* record, DWORD version) {
  const ApiStatusItem* row = ApiFindStatusItem(id, ApiLevel(api));
  if (!row) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  if (!row->enabled) {
    ApiSetLastError(api, kApiErrNotEnabled);
    return -1;
  }
  if (!row->get) return -1;
  HANDLE printer = api->printer;
  const bool opened = printer == nullptr;
  if (opened && !ApiOpenPrinter(api, &printer, nullptr)) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  const LONG before = ApiPeekLastError(api);
  ApiSetLastError(api, kApiErrInternal);
  LONG result = -1;
  if (ApiCompareGetVersion(id, row->versionCount, version) == 2) {
    ApiSetLastError(api, kApiErrVersion);
  } else {
    result = row->get(api, id, record, version);
    if (record) {
      const DWORD stamp = version != 0 && version < row->versionCount ? version : row->versionCount;
      memcpy(record, &stamp, sizeof(stamp));
    }
  }
  if (result != -1) ApiRestoreLastError(api, before);
  if (opened) ApiClosePrinter(api, printer);
  return result;
}
