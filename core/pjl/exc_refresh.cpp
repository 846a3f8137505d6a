// The installed options of an exclusion handle's context: the stored acquisition results when
// there are any, else (when asked) an acquisition from the printer without a window.
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/pjl/pjl_service.h"

namespace {


// Whether an earlier acquisition stored its results: as a client of a print server, or when
// the bidi ini has no BidiFlag for the printer, bit 0 of the printer's BidiFlag data; else the
// ini's BidiFlag.
bool HasStoredResults(DriverContext* ctx) {
  if (ItemGetRawById(ctx, kItem_zdmServerClientMode) == 1 || !BidiIniHasFlag(ctx)) {
    DWORD flag = 0;
    return BidiReadFlag(ctx->printer, &flag) && (flag & 1);
  }
  return BidiIniFlagIsSet(ctx) != 0;
}

}  // namespace

int ExcRefreshOptions(ExcHandle* handle, int refresh) {
  DriverContext* ctx = handle ? handle->context : nullptr;
  if (!ctx) return 0;
  if (HasStoredResults(ctx)) return BidiSetPendingBySupport(ctx);
  if (refresh) return BidiUpdateFromPrinter(ctx, nullptr, kBidiExclusionPath);
  ItemSetRawById(ctx, kItem_zdmBiDirect, 0);
  return 0;
}
