// Minimal version until the model's font lists are built from the compiled description: the
// model lists no fonts, so a first load creates no table in printer data.
#include "core/store/font_lists.h"

DeviceFontRecord* StoreModelFontRecords(DriverContext* ctx, int cartridges, WORD* count) {
  (void)ctx;
  (void)cartridges;
  if (count) *count = 0;
  return nullptr;
}

FontSubstEntry* StoreModelFontSubstTable(DriverContext* ctx, WORD* count) {
  (void)ctx;
  if (count) *count = 0;
  return nullptr;
}
