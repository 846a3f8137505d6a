// The small operations only the graphics DLL's build has: the option command of a header entry,
// an item's base type, the log file name and the call source of a job.
#include <string.h>

#include "core/bind/bidi_store.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "gr2k/job_header.h"
#include "gr2k/job_strings.h"

const ModelItemDescriptor* OptionCommandFind(WORD symbol, WORD index, DriverContext* ctx) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image || !symbol) return nullptr;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next)
    if (d->symbolId == symbol && (d->variant == index || (d->type & kOptionAnyIndex))) return d;
  return nullptr;
}

int ModelGetBaseType(DriverContext* ctx, WORD id) {
  const ModelItemDescriptor* d = ModelFindDescriptor(id, ctx);
  return d ? int(d->type & 0xFF) : 0;
}

int GrReadLogFileName(DriverContext*, char* buffer, DWORD cbBuffer, HANDLE printer) {
  if (!buffer || !cbBuffer) return 0;
  buffer[0] = 0;
  // At most 260 bytes of the value are read.
  WCHAR value[131] = {};
  DWORD type = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(TEXT("LogFileName")), &type, reinterpret_cast<BYTE*>(value), 260,
                      &needed) != ERROR_SUCCESS)
    return 0;
  value[130] = 0;
  if (!value[0]) return 0;
  int n = WideCharToMultiByte(CP_ACP, 0, value, -1, buffer, int(cbBuffer), nullptr, nullptr);
  if (n <= 0) {
    buffer[0] = 0;
    return 0;
  }
  buffer[cbBuffer - 1] = 0;
  return 1;
}

int BidiSetCallSource(DriverContext* ctx) {
  if (!ctx) return 0;
  bool acquired;
  if (ItemGetRawById(ctx, kItem_zdmServerClientMode) == 1 || !BidiIniHasFlag(ctx))
    acquired = BidiFlagIsAcquired(ctx->printer, ctx) != 0;
  else
    acquired = BidiIniFlagIsSet(ctx) != 0;
  ItemSetRawById(ctx, kItem_zdmCallSrc, acquired ? 1 : 0);
  return acquired ? 1 : 0;
}

int JobAuthGate(DriverContext*) { return 1; }
