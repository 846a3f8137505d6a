// The settings block of a new context: the printer's stored DEVMODE when it is this driver's,
// else the model's full defaults.
#include "core/devmode/settings_defaults.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/store/watermark_font.h"
#include "core/system/languages.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

namespace {

// The printer's PRINTER_INFO_2 with the bytes of its DEVMODE that lie inside the spooler's
// answer; null (and *known 0) when there is none.
struct PrinterDevmode {
  BYTE* info = nullptr;
  const BYTE* dm = nullptr;
  DWORD known = 0;
  ~PrinterDevmode() { MemFree(info); }
};

bool FetchPrinterDevmode(DriverContext* ctx, PrinterDevmode* out) {
  if (!ctx || !ctx->printer) return false;
  DWORD needed = 0;
  if (GetPrinterW(ctx->printer, 2, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
      needed < sizeof(PRINTER_INFO_2W))
    return false;
  out->info = static_cast<BYTE*>(MemAllocZero(needed));
  if (!out->info) return false;
  if (!GetPrinterW(ctx->printer, 2, out->info, needed, &needed)) return false;
  const BYTE* dm = reinterpret_cast<const BYTE*>(reinterpret_cast<PRINTER_INFO_2W*>(out->info)->pDevMode);
  // A DEVMODE that does not lie inside the answer cannot be measured: it is not taken.
  if (!dm || dm < out->info || dm >= out->info + needed) return false;
  out->dm = dm;
  out->known = static_cast<DWORD>(out->info + needed - dm);
  return true;
}

WORD Read16(const void* p, UINT off) {
  WORD v;
  memcpy(&v, static_cast<const BYTE*>(p) + off, 2);
  return v;
}

bool IsTextItem(const SettingItem& item) { return ItemTypeIsText(ItemDescType(item.descriptor)); }

void SetModelDefault(DriverContext* ctx, SettingItem* item) {
  const LONG_PTR value = ModelGetItemDefault(item->id, ctx);
  if (IsTextItem(*item))
    ItemSetValueOrString(ctx, item->id, value);
  else
    ItemSetValue(ctx, item, value);
}

// Settings the exclusion DLL's model defaults leave alone while their lock bit is set.
bool LockedSetting(DriverContext* ctx, WORD id) {
  switch (id) {
    case 13: return ItemLockTray(ctx);
    case 54: return ItemLockMedia(ctx);
    case 91: return ItemLockNupKind(ctx);
    case 58: return ItemLockDuplex(ctx);
    case 689: return ItemLockPrintType(ctx);
    case 10434: return ItemLockResolution(ctx);
    case 15: return ItemLockColor(ctx);
    default: return false;
  }
}

void SetVersionText(DriverContext* ctx) {
  ItemSetText(ctx, ItemFind(ctx, kItem_wdmDriverVersion), CtxModelRecord(ctx)->versionText1);
}

// The work items (area 3, from the 723rd row on) take their model defaults.
void SetWorkItemDefaults(DriverContext* ctx) {
  if (!ctx->items || !ctx->items->rows) return;
  for (SHORT i = 722; i < ctx->items->count; ++i) {
    SettingItem* item = &ctx->items->rows[i];
    if (ItemDescArea(item->descriptor) == ItemAreaWork) SetModelDefault(ctx, item);
  }
}

}  // namespace

void DmSetModelDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return;
  DmStampPrivateHeader(ctx->settings, ctx);
  if (ctx->items && ctx->items->rows) {
    const bool keepLocked = DmVariantHas(kDmStepKeepLockedDefaults) && BuildHasFeature(ctx, 2);
    for (SHORT i = 0; i < ctx->items->count; ++i) {
      SettingItem* item = &ctx->items->rows[i];
      if (item->id >= 10004 && item->id <= 10009) continue;  // the font tables
      if (keepLocked && LockedSetting(ctx, item->id)) continue;
      if (item->id == kItem_zdmPresetNo) {
        ItemSetValue(ctx, item, ModelGetItemDefault(item->id, ctx) - 119);
        continue;
      }
      SetModelDefault(ctx, item);
    }
  }
  const WORD language = ResLangIndexFromDriverHelp(ctx);
  ItemSetRawById(ctx, kItem_zdmLanguageID, language);
  ItemSetRawById(ctx, kItem_zdmDspLanguageID, language);
  WCHAR font[kDefaultFontNameChars] = {};
  StampDefaultFontName(ctx, font);
  ItemSetText(ctx, ItemFind(ctx, kItem_zdmHFFontName), font);
  ItemSetText(ctx, ItemFind(ctx, kItem_zdmCopyProtectFontName), font);
  ItemSetAuthCharsets(ctx, 3);
  ItemLoadDriverId(ctx);
  ItemSetCharsetCode(ctx, kItem_zdmCharSet);
}

void DmApplyFieldDefaults(void* dm, int kind, DriverContext* ctx) {
  switch (kind) {
    case 1:
      DmKeepOrDefaultFields(ctx ? ctx->settings : nullptr, ctx);
      break;
    case 2:
      DmSetModelDefaults(ctx);
      DmTakeMatchingPrinterDevmode(ctx);
      DmKeepOrDefaultFields(ctx ? ctx->settings : nullptr, ctx);
      break;
    default:
      DmForceFieldDefaults(dm, ctx);
      break;
  }
}

void DmSetFullDefaults(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return;
  DmSetModelDefaults(ctx);
  SetVersionText(ctx);
  DmApplyFieldDefaults(ctx->settings, 1, ctx);
  DmFinishDefaults(ctx->settings, ctx);
  DmSetEnvironmentFlags(ctx);
  const WORD language = ResLangIndexFromHelpFile(ctx);
  ItemSetRawById(ctx, kItem_zdmLanguageID, language);
  ItemSetRawById(ctx, kItem_zdmDspLanguageID, language);
}

int DmTakePrinterDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return 0;
  PrinterDevmode printer;
  if (!FetchPrinterDevmode(ctx, &printer)) return 0;
  DmOutsideView view;
  if (!DmCheckOutside(printer.dm, printer.known, &view) || view.specVersion == 0 ||
      view.dmSize != kDmPublicSize || view.privateBytes != kDmPrivateSize)
    return 0;
  memcpy(ctx->settings, printer.dm, kDmSize);
  return DmIsOwnDevmodeAnyVersion(ctx->settings);
}

void DmTakeMatchingPrinterDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return;
  PrinterDevmode printer;
  if (!FetchPrinterDevmode(ctx, &printer)) return;
  DmOutsideView view;
  if (!DmCheckOutside(printer.dm, printer.known, &view) || view.privateBytes != kDmPrivateSize) return;
  const BYTE* own = ctx->settings;
  if (!view.dmSize || !view.dmDriverExtra || !view.driverVersion) return;
  if (view.dmSize != Read16(own, kDmOffSize) || view.dmDriverExtra != Read16(own, kDmOffDriverExtra) ||
      view.driverVersion != Read16(own, kDmOffDriverVersion))
    return;
  if (!DmIsOwnDevmode(printer.dm)) return;
  memcpy(ctx->settings, printer.dm, kDmSize);
  DmStampSizeWords(ctx->settings);
}

BYTE* DmBuildDefault(DriverContext* ctx, int mode) {
  if (!ctx) return nullptr;
  BYTE* block = static_cast<BYTE*>(MemAllocZero(kDmBlockSize));
  if (!block) return nullptr;
  BYTE* previous = ctx->settings;
  ctx->settings = block;
  if (!ctx->items) {
    // Without an item table nothing can be filled in.
    ctx->settings = previous;
    MemFree(block);
    return nullptr;
  }
  if (DmTakePrinterDevmode(ctx) && mode != 3) {
    DmStampSizeWords(block);
    if (DmVariantHas(kDmStepResetWorkItems)) SetWorkItemDefaults(ctx);
    SetVersionText(ctx);
    if (mode == 1) DmRecomputeDerivedItems(block, ctx, 1);
  } else {
    // Whatever of the printer's DEVMODE was copied goes: the defaults start from zeros.
    memset(block, 0, kDmSize);
    DmSetFullDefaults(ctx);
    DmTakeMatchingPrinterDevmode(ctx);
  }
  ctx->settings = previous;
  return block;
}
