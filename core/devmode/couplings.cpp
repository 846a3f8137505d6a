// Couplings between the public DEVMODE fields and the private items, and the paper items in
// printer dots.
#include "core/devmode/couplings.h"

#include <stdio.h>

#include "core/common/mem.h"
#include "core/common/ini_access.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/paper_codes.h"
#include "core/devmode/paper_geometry.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_setters.h"
#include "core/rules/transacts.h"
#include "core/store/free_size_store.h"
#include "core/store/quality_lists.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"
#include "core/tables/static_tables.h"

namespace {

constexpr short kLandscape = 2;
constexpr LONG kOutputFollowsInput = 1024;
constexpr DWORD kPaperFieldBits = DM_PAPERLENGTH | DM_PAPERWIDTH;
constexpr int kEventChapterTrays = 11;
constexpr int kEventThirteen = 13;
constexpr int kEventCustomPaperFields = 45;
constexpr DWORD kMergeLoadsListName = 0x80000;

// Argument of the custom-paper-fields event: a module that sets handled to nonzero has written
// dmPaperLength/dmPaperWidth itself.
struct CustomPaperFieldsEvent {
  void* devmode;
  LONG handled;
};

LONG Raw(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }
void SetRaw(DriverContext* ctx, WORD id, LONG value) { ItemSetRawById(ctx, id, value); }

// Dots at dpi of a length in 1/1200 inch; 64-bit so that no size and resolution can wrap.
LONG DotsAt(LONG v1200, LONG dpi) {
  if (v1200 <= 0 || dpi <= 0) return 0;
  return static_cast<LONG>(static_cast<long long>(v1200) * dpi / 1200);
}

// Printable extent of a paper with two equal margins; a paper smaller than both margins has
// none (the bands of the graphics DLL are sized from it, so it must never wrap).
LONG Printable(LONG extent, LONG margin) {
  long long v = static_cast<long long>(extent) - 2LL * margin;
  return v < 0 ? 0 : static_cast<LONG>(v);
}
LONG Span(LONG from, LONG to) { return to > from ? to - from : 0; }

LONG TenthMmFrom1200(LONG v) {
  return static_cast<LONG>(UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(v < 0 ? 0 : v), 1200));
}

// The printable area of a stored paper code, mapped through the item's value list.
bool PrintableAreaOfCode(DriverContext* ctx, WORD item, LONG code, PaperRect* rect, PaperExtents* ext) {
  SettingItem* row = ItemFind(ctx, item);
  WORD valueId = static_cast<WORD>(row ? ItemMapValue(ctx, row, code) : code);
  return PaperGetPrintableArea(ctx, rect, ext, valueId) != 0;
}

short DevmodeOrientation(DriverContext* ctx, const DEVMODEW* dm) {
  return dm ? dm->dmOrientation : static_cast<short>(Raw(ctx, kItem_dmOrientation));
}

// Clamps a custom width or length into the model record's range, compared in display units
// with the bound converted back; a record without a range leaves it.
LONG ClampToRecordRange(DriverContext* ctx, WORD id, LONG value) {
  const ModelRecord* record = CtxModelRecord(ctx);
  DWORD hi = id == kItem_wdmFreeSizeWidth ? record->customWidthMax : record->customLengthMax;
  if (hi == 0) return value;
  LONG min = 0, max = 0;
  if (!ModelFreeSizeRange(ctx, id, &min, &max)) return value;
  LONG shown = ItemDotsToDisplay(ctx, 0, value);
  if (shown < min) return ItemDisplayToDots(ctx, 0, min);
  if (shown > max) return ItemDisplayToDots(ctx, 0, max);
  return value;
}

const FreeSizeSlot* LoadSlot(DriverContext* ctx, LONG code, bool toSourceItems) {
  int slot = PaperSlotOfCode(code);
  if (slot < 0) return nullptr;
  FreeSizeLoadAll(ctx);
  FreeSizeSlotFromUserPaper(ctx, code, slot);
  if (toSourceItems)
    FreeSizeSlotToSrcItems(ctx, slot);
  else
    FreeSizeSlotToItems(ctx, slot);
  return FreeSizeGetSlot(ctx, slot);
}

}  // namespace

void DmApplyInputPaperCore(short code, WORD item, DriverContext* ctx, void* devmode, int oriented) {
  if (!ctx) return;
  DEVMODEW* dm = static_cast<DEVMODEW*>(devmode);
  const BuildVariant& variant = BuildGetVariant();
  PaperRect rect = {};
  PaperExtents ext = {};
  const bool found = PrintableAreaOfCode(ctx, item, code, &rect, &ext);
  SetRaw(ctx, kItem_zdmFuncSelectFreeShortOver, 0);

  if (PaperIsFreeSizeCode(code)) {
    const FreeSizeSlot* slot = LoadSlot(ctx, code, true);
    if (!slot) return;  // the store has no slot table: nothing is known of the size
    LONG length = ClampToRecordRange(ctx, kItem_wdmFreeSizeLength, slot->length);
    LONG width = ClampToRecordRange(ctx, kItem_wdmFreeSizeWidth, slot->width);
    const bool swapped = (oriented || variant.inputPaperSwapAlways) && DevmodeOrientation(ctx, dm) == kLandscape;
    if (swapped) {
      LONG t = length;
      length = width;
      width = t;
    }
    const bool oversize = length > kFreeSizeOversize || width > kFreeSizeOversize;
    SetRaw(ctx, kItem_zdmFuncSelectFreeShortOver, oversize ? 1 : 0);
    // A custom size without a page record has no margins.
    const LONG left = found ? rect.left : 0;
    const LONG top = found ? rect.top : 0;
    const LONG r = Raw(ctx, kItem_zdmDstResolutionW);
    const LONG lengthDots = DotsAt(length, r);
    const LONG widthDots = DotsAt(width, r);
    SetRaw(ctx, kItem_zdmSrcPaperLengthDot, lengthDots);
    SetRaw(ctx, kItem_zdmSrcPaperWidthDot, widthDots);
    SetRaw(ctx, kItem_zdmSrcPaperPrnLengthDot, Printable(lengthDots, top));
    SetRaw(ctx, kItem_zdmSrcPaperPrnWidthDot, Printable(widthDots, left));
    SetRaw(ctx, kItem_zdmSrcXOffset, left);
    SetRaw(ctx, kItem_zdmSrcYOffset, top);
    if (!dm) return;
    if (oversize) {
      dm->dmPaperLength = 0;
      dm->dmPaperWidth = 0;
      dm->dmFields = (dm->dmFields & ~kPaperFieldBits) | DM_PAPERSIZE;
      return;
    }
    if (swapped && oriented && variant.paperFieldsPortrait) {
      LONG t = length;
      length = width;
      width = t;
    }
    CustomPaperFieldsEvent event = {dm, 0};
    ModBusSendEvent(ctx, kEventCustomPaperFields, &event);
    if (event.handled == 0) {
      dm->dmPaperLength = static_cast<short>(TenthMmFrom1200(length));
      dm->dmPaperWidth = static_cast<short>(TenthMmFrom1200(width));
    }
    dm->dmFields |= DM_PAPERSIZE | kPaperFieldBits;
    return;
  }

  if (!DmIsValidPaperSize(code, ctx) || !found) return;
  SetRaw(ctx, kItem_zdmSrcPaperLengthDot, ext.length);
  SetRaw(ctx, kItem_zdmSrcPaperWidthDot, ext.width);
  SetRaw(ctx, kItem_zdmSrcPaperPrnLengthDot, Span(rect.top, rect.bottom));
  SetRaw(ctx, kItem_zdmSrcPaperPrnWidthDot, Span(rect.left, rect.right));
  SetRaw(ctx, kItem_zdmSrcXOffset, rect.left);
  SetRaw(ctx, kItem_zdmSrcYOffset, rect.top);
  if (!dm) return;
  PaperExtents size = {};
  if (PaperGetExtents(ctx, &size, item)) {
    dm->dmPaperLength = static_cast<short>(size.length);
    dm->dmPaperWidth = static_cast<short>(size.width);
  }
  dm->dmFields = (dm->dmFields & ~kPaperFieldBits) | DM_PAPERSIZE;
}

namespace {

void CopyInputToOutputItems(DriverContext* ctx) {
  static const WORD kFrom[] = {kItem_zdmSrcPaperLengthDot, kItem_zdmSrcPaperWidthDot, kItem_zdmSrcPaperPrnLengthDot,
                               kItem_zdmSrcPaperPrnWidthDot, kItem_zdmSrcXOffset, kItem_zdmSrcYOffset};
  static const WORD kTo[] = {kItem_zdmDstPaperLengthDot, kItem_zdmDstPaperWidthDot, kItem_zdmDstPaperPrnLengthDot,
                             kItem_zdmDstPaperPrnWidthDot, kItem_zdmDstXOffset, kItem_zdmDstYOffset};
  for (int i = 0; i < 6; ++i) SetRaw(ctx, kTo[i], Raw(ctx, kFrom[i]));
}

void ApplyOutputPaper(short code, WORD item, DriverContext* ctx, void* devmode, bool oriented) {
  if (!ctx) return;
  DEVMODEW* dm = static_cast<DEVMODEW*>(devmode);
  const BuildVariant& variant = BuildGetVariant();
  PaperExtents mm = {};
  if (PaperGetOutputExtents(ctx, &mm)) {
    SetRaw(ctx, kItem_zdmDstPaperLengthMM, mm.length);
    SetRaw(ctx, kItem_zdmDstPaperWidthMM, mm.width);
  }
  LONG paper = code;
  if (paper == kOutputFollowsInput) {
    paper = dm ? dm->dmPaperSize : Raw(ctx, kItem_dmPaperSize);
    if (variant.outputPaperCopyFirst) {
      CopyInputToOutputItems(ctx);
      if (PaperIsFreeSizeCode(paper)) LoadSlot(ctx, paper, false);
      return;
    }
    if (PaperIsFreeSizeCode(paper)) {
      CopyInputToOutputItems(ctx);
      return;
    }
  }
  SettingItem* row = ItemFind(ctx, item);
  WORD listItem = row && ItemIsStoredValueListed(ctx, row, paper) ? item : static_cast<WORD>(kItem_dmPaperSize);
  PaperRect rect = {};
  PaperExtents ext = {};
  const bool found = PrintableAreaOfCode(ctx, listItem, paper, &rect, &ext);
  LONG left = rect.left;
  LONG top = rect.top;
  if (PaperIsFreeSizeCode(paper)) {
    const FreeSizeSlot* slot = LoadSlot(ctx, paper, false);
    if (!slot) return;
    if (!found) left = top = 0;
    LONG length = slot->length;
    LONG width = slot->width;
    const bool swap = variant.outputPaperCopyFirst
                          ? slot->orientation == kLandscape
                          : oriented && DevmodeOrientation(ctx, dm) == kLandscape;
    if (swap) {
      LONG t = length;
      length = width;
      width = t;
    }
    const LONG lengthDots = DotsAt(length, Raw(ctx, kItem_zdmDstResolutionH));
    const LONG widthDots = DotsAt(width, Raw(ctx, kItem_zdmDstResolutionW));
    SetRaw(ctx, kItem_zdmDstPaperLengthDot, lengthDots);
    SetRaw(ctx, kItem_zdmDstPaperWidthDot, widthDots);
    SetRaw(ctx, kItem_zdmDstPaperPrnLengthDot, Printable(lengthDots, top));
    SetRaw(ctx, kItem_zdmDstPaperPrnWidthDot, Printable(widthDots, left));
  } else {
    if (!DmIsValidPaperSize(paper, ctx) || !found) return;
    SetRaw(ctx, kItem_zdmDstPaperLengthDot, ext.length);
    SetRaw(ctx, kItem_zdmDstPaperWidthDot, ext.width);
    SetRaw(ctx, kItem_zdmDstPaperPrnLengthDot, Span(rect.top, rect.bottom));
    SetRaw(ctx, kItem_zdmDstPaperPrnWidthDot, Span(rect.left, rect.right));
  }
  SetRaw(ctx, kItem_zdmDstXOffset, left);
  SetRaw(ctx, kItem_zdmDstYOffset, top);
}

bool IsTopBinding(LONG type) { return type == 1 || type == 17 || type == 20; }

}  // namespace

void DmApplyInputPaper(short code, WORD item, DriverContext* ctx, void* devmode) {
  DmApplyInputPaperCore(code, item, ctx, devmode, 0);
}

void DmApplyInputPaperOriented(short code, WORD item, DriverContext* ctx, void* devmode) {
  DmApplyInputPaperCore(code, item, ctx, devmode, 1);
}

void DmApplyOutputPaper(short code, WORD item, DriverContext* ctx, void* devmode) {
  ApplyOutputPaper(code, item, ctx, devmode, false);
}

void DmApplyOutputPaperOriented(short code, WORD item, DriverContext* ctx, void* devmode) {
  ApplyOutputPaper(code, item, ctx, devmode, true);
}

void DmApplyOutputPaperCore(DriverContext* ctx) {
  if (!ctx) return;
  ApplyOutputPaper(static_cast<short>(Raw(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, ctx->settings,
                   false);
}

void DmSetDuplexField(void* devmode, DriverContext* ctx) {
  DEVMODEW* dm = static_cast<DEVMODEW*>(devmode);
  if (!dm || !ctx) return;
  if (Raw(ctx, kItem_zdmFuncSelectDuplex) == 0) {
    dm->dmDuplex = DMDUP_SIMPLEX;
    return;
  }
  // A custom duplex function keeps a one-sided field the caller chose.
  if (ItemGetCustomFunc(ctx, kItem_wdmCustomFunc0) != 0 && dm->dmDuplex != DMDUP_VERTICAL &&
      dm->dmDuplex != DMDUP_HORIZONTAL)
    return;
  const LONG type = Raw(ctx, kItem_zdmDuplexType);
  const bool landscape = dm->dmOrientation == kLandscape;
  if (type == 0)
    dm->dmDuplex = DMDUP_SIMPLEX;
  else if (IsTopBinding(type))
    dm->dmDuplex = landscape ? DMDUP_VERTICAL : DMDUP_HORIZONTAL;
  else
    dm->dmDuplex = landscape ? DMDUP_HORIZONTAL : DMDUP_VERTICAL;
}

void DmSetMediaTypeField(void* devmode, DriverContext* ctx) {
  DEVMODEW* dm = static_cast<DEVMODEW*>(devmode);
  if (!dm || !ctx) return;
  dm->dmMediaType = static_cast<DWORD>(Raw(ctx, kItem_zdmMediaType));
}

void DmSetPaperDotsFromSize(void* devmode, DriverContext* ctx) {
  DEVMODEW* dm = static_cast<DEVMODEW*>(devmode);
  if (!dm || !ctx) return;
  const LONG r = Raw(ctx, kItem_dmPrintQuality);
  PaperRect rect = {};
  PaperExtents ext = {};
  const bool found = PrintableAreaOfCode(ctx, kItem_dmPaperSize, DMPAPER_USER, &rect, &ext);
  const LONG left = found ? rect.left : 0;
  const LONG top = found ? rect.top : 0;
  const DWORD dpi = r > 0 ? static_cast<DWORD>(r) : 0;
  const LONG length = static_cast<LONG>(
      UnitDisplayToDots(kUnitTenthMm, static_cast<DWORD>(dm->dmPaperLength > 0 ? dm->dmPaperLength : 0), dpi));
  const LONG width = static_cast<LONG>(
      UnitDisplayToDots(kUnitTenthMm, static_cast<DWORD>(dm->dmPaperWidth > 0 ? dm->dmPaperWidth : 0), dpi));
  SetRaw(ctx, kItem_zdmSrcPaperLengthDot, length);
  SetRaw(ctx, kItem_zdmSrcPaperWidthDot, width);
  SetRaw(ctx, kItem_zdmSrcPaperPrnLengthDot, Printable(length, top));
  SetRaw(ctx, kItem_zdmSrcPaperPrnWidthDot, Printable(width, left));
  SetRaw(ctx, kItem_zdmSrcXOffset, left);
  SetRaw(ctx, kItem_zdmSrcYOffset, top);
}

void DmSyncResolutionFromQuality(void*, DriverContext* ctx) {
  if (!ctx) return;
  const LONG quality = Raw(ctx, kItem_dmPrintQuality);
  SetRaw(ctx, kItem_dmYResolution, quality);
  SetRaw(ctx, kItem_zdmDstResolutionW, quality);
  SetRaw(ctx, kItem_zdmDstResolutionH, quality);
  ModelSetBalanceMacroByResolution(quality, ctx);
}

void DmSyncResolutionFromDst(void*, DriverContext* ctx) {
  if (!ctx) return;
  const LONG resolution = Raw(ctx, kItem_zdmDstResolutionW);
  SetRaw(ctx, kItem_zdmDstResolutionH, resolution);
  SetRaw(ctx, kItem_dmPrintQuality, resolution);
  SetRaw(ctx, kItem_dmYResolution, resolution);
}

int DmUserMacroQualityKey(DriverContext* ctx, WCHAR* key) {
  if (!ctx || !key) return 0;
  if (Raw(ctx, kItem_zdmUseUserMacro) != 1) return 0;
  const LONG macro = Raw(ctx, kItem_zdmUserPrintMacro);
  const bool listed = (macro >= 32 && macro <= 39) || (macro == 160 && !BuildGetVariant().userMacroListsOnly);
  if (!listed) return 0;
  char narrow[24];
  snprintf(narrow, sizeof narrow, "QualityList%d", static_cast<int>(macro - 32));
  int i = 0;
  for (; narrow[i] && i < 15; ++i) key[i] = static_cast<WCHAR>(narrow[i]);
  key[i] = 0;
  return 1;
}

void DmApplyUserMacroQuality(DriverContext* ctx) {
  WCHAR key[16];
  if (!DmUserMacroQualityKey(ctx, key)) return;
  const DWORD cchName = 260;
  WCHAR* name = static_cast<WCHAR*>(MemAllocZero(cchName * sizeof(WCHAR)));
  if (!name) return;
  static const WCHAR kEmpty[] = {0};
  IniReadString(PrnGetPrinterName(ctx), key, kEmpty, name, cchName, PathSettingsFile(ctx));
  // A list without a file name has nothing to load; a load of the empty name would only
  // replace the status of the last real settings-file transfer.
  if (name[0]) {
    StoreLoadSettingsFile(ctx->printer, name, 0x1010, ctx);
    if (ctx->ui && (ctx->ui->mergeFlags & kMergeLoadsListName) && !BuildGetVariant().userMacroSkipName)
      QualityLoadName(ctx, key);
  }
  MemFree(name);
}

LONG DmCustomPaperTray(DriverContext* ctx, LONG code, int mode) {
  if (!ctx || !PaperIsFreeSizeRange(code)) return 0;
  int n = PaperSlotOfCode(code);
  if (n < 0) return 0;
  FreeSizeLoadAll(ctx);
  const FreeSizeSlot* slot = FreeSizeGetSlot(ctx, n);
  if (!slot) return 0;
  if (mode == 0) return slot->tray;
  if (mode == 1) {
    SetRaw(ctx, kItem_dmDefaultSource, slot->tray);
    return 1;
  }
  return 0;
}

void DmRecheckChapterTrays(DriverContext* ctx) {
  if (ctx) ModBusSendEvent(ctx, kEventChapterTrays, nullptr);
}

void DmSendModuleEvent13(DriverContext* ctx) {
  if (ctx) ModBusSendEvent(ctx, kEventThirteen, nullptr);
}

void DmRunItemTransact(DriverContext* ctx, WORD id) {
  if (!ctx || !ItemFind(ctx, id)) return;
  const ModelItemDescriptor* desc = ModelFindDescriptor(id, ctx);
  if (desc) ModelRunItemTransacts(desc, ctx);
}

int DmIsCollateSupported(DriverContext* ctx) { return ctx && ItemHasSortChoice(ctx) ? 1 : 0; }

LONG DmGetPrintQuality(DriverContext* ctx) { return Raw(ctx, kItem_dmPrintQuality); }
LONG DmGetDstResolution(DriverContext* ctx) { return Raw(ctx, kItem_zdmDstResolutionW); }
LONG DmGetDstResolutionH(DriverContext* ctx) { return Raw(ctx, kItem_zdmDstResolutionH); }
void DmSetPrintQualityItem(LONG value, DriverContext* ctx) { SetRaw(ctx, kItem_dmPrintQuality, value); }
void DmSetYResolutionItem(LONG value, DriverContext* ctx) { SetRaw(ctx, kItem_dmYResolution, value); }
void DmSetDstResolutionItem(LONG value, DriverContext* ctx) { SetRaw(ctx, kItem_zdmDstResolutionW, value); }
void DmSetDstResolutionHItem(LONG value, DriverContext* ctx) { SetRaw(ctx, kItem_zdmDstResolutionH, value); }
