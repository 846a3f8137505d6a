// The watermark module's window-less answer: saving the current watermark again.
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/module_rows.h"
#include "core/store/settings_stores.h"

namespace {
constexpr WORD kNotifyResaveWatermark = 327;
}

int WmHandleNotify(DriverContext* ctx, WORD code, void*) {
  if (code != kNotifyResaveWatermark) return 0;
  const LONG id = static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmWmID));
  if (ItemGetRawById(ctx, kItem_zdmFuncSelectWaterMark) != 0 && id >= 0 && id < StampGetCount(ctx))
    StampSave(ctx, static_cast<int>(id));
  return 1;
}
