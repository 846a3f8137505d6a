// Device capabilities that follow from the settings.
#include "core/items/item_caps.h"

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/tables/model_record.h"

namespace {

WORD Clamp(DriverContext* ctx, WORD id, LONG value) {
  LONG lo = 0, hi = 0;
  if (ModelFreeSizeRange(ctx, id, &lo, &hi)) {
    if (value < lo) value = lo;
    if (value > hi) value = hi;
  }
  return static_cast<WORD>(value);
}

}  // namespace

DWORD ItemGetPaperExtent(DriverContext* ctx, WORD* out, int which) {
  const ModelRecord* record = CtxModelRecord(ctx);
  const bool minimum = which == kExtentMinimum;
  const LONG width = static_cast<LONG>(minimum ? record->customWidthMin : record->customWidthMax);
  const LONG length = static_cast<LONG>(minimum ? record->customLengthMin : record->customLengthMax);
  // Conversion and limits in one unit, the context's display unit (0.1 mm for the template).
  const WORD w = Clamp(ctx, kItem_wdmFreeSizeWidth, ItemDotsToDisplay(ctx, 0, width));
  const WORD l = Clamp(ctx, kItem_wdmFreeSizeLength, ItemDotsToDisplay(ctx, 0, length));
  if (out) {
    out[0] = w;
    out[1] = l;
  }
  return MAKELONG(w, l);
}

int ItemGetPaperExtentPair(DriverContext* ctx, LONG* out, int maximum) {
  WORD pair[2] = {};
  ItemGetPaperExtent(ctx, pair, maximum ? 0 : kExtentMinimum);
  if (out) {
    out[0] = pair[0];
    out[1] = pair[1];
  }
  return 1;
}

int ItemHasDuplexUnit(DriverContext* ctx) { return ItemGetRawById(ctx, kItem_zdmSourceOptionTypeDuplex) ? 1 : 0; }
