// The chapter module's claim on the stored items.
#include "core/store/chapter_items.h"

#include "core/items/item_table.h"
#include "core/store/item_store.h"

namespace {
constexpr WORD kFirstChapterItem = 996;  // wdmChapterNum
constexpr WORD kLastChapterItem = 1009;  // wdmChapterUseTray8
}  // namespace

int ChapterHandleEvent(DriverContext* ctx, int event, void* argument, void* data) {
  (void)ctx;
  (void)data;
  if (event != kStoreEventSaveOffer && event != kStoreEventLoadOffer) return 0;
  StoreItemOffer* offer = static_cast<StoreItemOffer*>(argument);
  if (!offer || !offer->row) return 0;
  if (offer->row->id >= kFirstChapterItem && offer->row->id <= kLastChapterItem) return 0;
  offer->reply = 1;
  return 1;
}
