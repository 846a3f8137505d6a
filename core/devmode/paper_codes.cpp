// Paper codes of the custom sizes.
#include "core/devmode/paper_codes.h"

#include "core/items/item_access.h"
#include "core/items/item_ids.h"

namespace {

// Slots 0-9 are the user's named custom sizes, 10 the paper size and 11 the print size that
// the custom-size items describe.
constexpr WORD kSlotPaperCodes[] = {384, 385, 386, 387, 388, 389, 390, 391, 392, 393, 256, 448};
constexpr LONG kCustomPaperCode = 1024;

int SlotOf(LONG code) {
  if (code == 0) return -1;
  for (int slot = 0; slot < static_cast<int>(sizeof kSlotPaperCodes / sizeof kSlotPaperCodes[0]); ++slot)
    if (kSlotPaperCodes[slot] == code) return slot;
  return -1;
}

}  // namespace

int PaperSlotOfCode(LONG code) { return SlotOf(code); }

int PaperIsCustomCode(LONG code) { return code == kCustomPaperCode ? 1 : 0; }

int PaperIsFreeSizeRange(LONG code) { return (code >= 384 && code <= 393) || code == 448 || code == 256 ? 1 : 0; }

int PaperIsFreeSizeCode(LONG code) { return SlotOf(code) >= 0 ? 1 : 0; }

int PaperGetFreeSizeSlot(DriverContext* ctx) { return SlotOf(static_cast<LONG>(ItemGetRawById(ctx, kItem_dmPaperSize))); }

int PaperGetOutFreeSizeSlot(DriverContext* ctx) {
  return SlotOf(static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmOutPaperSize)));
}
