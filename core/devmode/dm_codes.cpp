// Public DEVMODE codes the driver accepts without a rule of the model.
#include "core/devmode/dm_codes.h"

#include "core/items/item_ids.h"
#include "core/tables/value_symbols.h"

int DmIsKnownPaperSize(LONG code) {
  if (code >= 1 && code <= 118) return 1;
  return TblIsKnownValue(kItem_dmPaperSize, code) ? 1 : 0;
}

int DmIsStdResolutionCode(LONG code) { return code >= -4 && code <= -1 ? 1 : 0; }
