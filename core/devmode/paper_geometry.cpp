// Paper geometry from the model description's page records.
#include "core/devmode/paper_geometry.h"

#include "core/devmode/paper_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/context/ui_state.h"
#include "core/store/free_size_store.h"
#include "core/tables/build_switches.h"

namespace {

constexpr LONG kCustomPaperCode = 256;
constexpr LONG kPrintSizeCode = 448;
constexpr LONG kOutputFollowsInput = 1024;
constexpr short kLandscape = 2;

// The page records of dmPaperSize; null without a model or a page-list description.
const PageValueRecord* FirstPaper(DriverContext* ctx) {
  const ModelItemDescriptor* desc = ModelFindDescriptor(kItem_dmPaperSize, ctx);
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapePage) return nullptr;
  return static_cast<const PageValueRecord*>(desc->values);
}

const PageValueRecord* FindPaper(DriverContext* ctx, WORD valueId) {
  for (const PageValueRecord* p = FirstPaper(ctx); p; p = p->next)
    if (p->valueId == valueId) return p;
  return nullptr;
}

// Conditions compare the logical value of the named item; an item the settings do not have
// never satisfies one.
bool ConditionHolds(DriverContext* ctx, const PaperGeometryRecord* g) {
  if (g->conditionSymbol == 0) return true;
  SettingItem* item = nullptr;
  LONG_PTR value = ItemGetValueBySymbol(ctx, g->conditionSymbol, &item);
  return item && static_cast<WORD>(value) == g->conditionValue;
}

short Orientation(DriverContext* ctx) { return static_cast<short>(ItemGetRawById(ctx, kItem_dmOrientation)); }

LONG NonNegative(LONG v) { return v < 0 ? 0 : v; }

LONG ToTenthMm(LONG v1200) {
  return static_cast<LONG>(UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(NonNegative(v1200)), 1200));
}

// The slot of a custom-size code after the table is loaded and, for the paper and print
// sizes, filled from the user paper items; null while the store has no table.
const FreeSizeSlot* FilledSlot(DriverContext* ctx, LONG code) {
  int slot = PaperSlotOfCode(code);
  if (slot < 0) return nullptr;
  FreeSizeLoadAll(ctx);
  FreeSizeSlotFromUserPaper(ctx, code, slot);
  return FreeSizeGetSlot(ctx, slot);
}

// The slot loaded into the custom-size work items, read back from wdmFreeSizeWidth/Length.
void SlotThroughWorkItems(DriverContext* ctx, LONG code, PaperExtents* out) {
  int slot = PaperSlotOfCode(code);
  if (slot >= 0) {
    FreeSizeLoadAll(ctx);
    FreeSizeSlotFromUserPaper(ctx, code, slot);
    FreeSizeSlotToItems(ctx, slot);
  }
  out->width = static_cast<LONG>(ItemGetRawById(ctx, kItem_wdmFreeSizeWidth));
  out->length = static_cast<LONG>(ItemGetRawById(ctx, kItem_wdmFreeSizeLength));
}

void SlotRow(DriverContext* ctx, LONG code, PaperExtents* out, short* orientation) {
  const FreeSizeSlot* s = FilledSlot(ctx, code);
  out->width = s ? s->width : 0;
  out->length = s ? s->length : 0;
  if (orientation) *orientation = s ? s->orientation : 0;
}

void Exchange(PaperExtents* e) {
  LONG t = e->width;
  e->width = e->length;
  e->length = t;
}

// The graphics DLL's form: a slot follows its own orientation unless the DEVMODE is in view.
void Size1200Graphics(PaperExtents* out, DriverContext* ctx, LONG code, BOOL devmodeInView,
                      const DEVMODEW* dm) {
  short slotOrientation = 0;
  if (!devmodeInView) {
    SlotRow(ctx, code, out, &slotOrientation);
    if (slotOrientation == kLandscape) Exchange(out);
    return;
  }
  if (((dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize != kCustomPaperCode) ||
      ItemGetRawById(ctx, kItem_zdmFuncSelectFreeShortOver) == 1) {
    SlotRow(ctx, code, out, nullptr);
    if (dm->dmOrientation == kLandscape) Exchange(out);
    return;
  }
  out->width = static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(NonNegative(dm->dmPaperWidth)), 1200));
  out->length = static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(NonNegative(dm->dmPaperLength)), 1200));
}

}  // namespace

int PaperGetPrintableArea(DriverContext* ctx, PaperRect* rect, PaperExtents* extents, WORD valueId) {
  if (!ctx || !rect || !extents) return 0;
  const PageValueRecord* paper = FindPaper(ctx, valueId);
  if (!paper) return 0;
  // Records hold the resolution in dpi and the orientation as the DEVMODE code, so they are
  // compared with the stored values, not the display-string ids of the lists.
  const LONG_PTR r = ItemGetRawById(ctx, kItem_zdmDstResolutionW);
  const LONG_PTR o = ItemGetRawById(ctx, kItem_dmOrientation);
  for (const PaperGeometryRecord* g = paper->geometry; g; g = g->next) {
    if (g->resolution != r || g->orientation != o || !ConditionHolds(ctx, g)) continue;
    *rect = {g->x, g->y, g->x + g->width, g->y + g->height};
    *extents = {g->pageWidth, g->pageHeight};
    return 1;
  }
  for (const PaperGeometryRecord* g = paper->geometry; g; g = g->next) {
    if (g->resolution != r || !ConditionHolds(ctx, g)) continue;
    *rect = {g->y, g->x, g->y + g->height, g->x + g->width};
    *extents = {g->pageHeight, g->pageWidth};
    return 1;
  }
  return 0;
}

int PaperGetExtents(DriverContext* ctx, PaperExtents* out, WORD item) {
  if (!ctx || !out) return 0;
  WORD id = item ? item : static_cast<WORD>(kItem_dmPaperSize);
  const PageValueRecord* paper = FindPaper(ctx, static_cast<WORD>(ItemGetValueById(ctx, id)));
  if (!paper) return 0;
  if (Orientation(ctx) == kLandscape)
    *out = {paper->length, paper->width};
  else
    *out = {paper->width, paper->length};
  return 1;
}

int PaperGetCurrentExtents(DriverContext* ctx, PaperExtents* out) {
  if (!ctx || !out) return 0;
  LONG code = static_cast<LONG>(ItemGetRawById(ctx, kItem_dmPaperSize));
  if (PaperIsFreeSizeRange(code)) return PaperGetCustomExtents(out, ctx, code, 1);
  return PaperGetExtents(ctx, out, 0);
}

int PaperGetOutputExtents(DriverContext* ctx, PaperExtents* out) {
  if (!ctx || !out) return 0;
  LONG code = static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmOutPaperSize));
  if (code == kOutputFollowsInput) return PaperGetCurrentExtents(ctx, out);
  if (PaperIsFreeSizeCode(code)) return PaperGetCustomExtents(out, ctx, code, 0);
  // The lookup reads dmPaperSize; both writes mark it changed, as callers have come to expect.
  LONG_PTR previous = ItemGetRawById(ctx, kItem_dmPaperSize);
  ItemSetRawById(ctx, kItem_dmPaperSize, code);
  int found = PaperGetExtents(ctx, out, 0);
  ItemSetRawById(ctx, kItem_dmPaperSize, previous);
  return found;
}

int PaperGetSize1200(PaperExtents* out, DriverContext* ctx, LONG code, BOOL devmodeInView) {
  if (!out) return 0;
  *out = {0, 0};
  if (!ctx) return 1;
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(CtxGetSettings(ctx));
  if (devmodeInView && !dm) return 1;
  const BuildVariant& variant = BuildGetVariant();
  if (variant.size1200BySlotOrientation) {
    Size1200Graphics(out, ctx, code, devmodeInView, dm);
    return 1;
  }
  if (!devmodeInView) {
    if (code == kPrintSizeCode)
      SlotRow(ctx, code, out, nullptr);
    else
      SlotThroughWorkItems(ctx, code, out);
    return 1;
  }
  bool fromFields = false;
  if ((dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize != kCustomPaperCode) {
    SlotThroughWorkItems(ctx, code, out);
  } else if (ItemGetRawById(ctx, kItem_zdmFuncSelectFreeShortOver) == 1) {
    SlotRow(ctx, code, out, nullptr);
  } else {
    out->width = static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(NonNegative(dm->dmPaperWidth)), 1200));
    out->length = static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(NonNegative(dm->dmPaperLength)), 1200));
    fromFields = true;
  }
  if (Orientation(ctx) == kLandscape && !(fromFields && variant.paperFieldsPortrait)) Exchange(out);
  return 1;
}

int PaperGetCustomExtents(PaperExtents* out, DriverContext* ctx, LONG code, BOOL devmodeInView) {
  if (!out) return 0;
  PaperGetSize1200(out, ctx, code, devmodeInView);
  out->width = ToTenthMm(out->width);
  out->length = ToTenthMm(out->length);
  return 1;
}
