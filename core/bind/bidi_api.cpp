// Acquisition failures as application-interface error codes, and the acquired default trays.
#include "core/bind/bidi_api.h"

#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/install/default_packs.h"

namespace {

struct ErrorRow {
  DWORD system;
  DWORD api;
};

// Zero-terminated.
const ErrorRow kErrorMap[] = {
    {2, kApiErrorComm},       {7, kApiErrorComm},       {5, kApiErrorComm},       {103, kApiErrorComm},
    {59, kApiErrorComm},      {101, kApiErrorComm},     {55, kApiErrorComm},      {57, kApiErrorComm},
    {8, kApiErrorComm},       {9, kApiErrorComm},       {58, kApiErrorComm},      {60, kApiErrorComm},
    {1, kApiErrorComm},       {6, kApiErrorComm},       {17, kApiErrorComm},      {18, kApiErrorComm},
    {14, kApiErrorNoMemory},  {56, kApiErrorNoMemory},  {10, kApiErrorBadFormat}, {102, kApiErrorNone},
    {0, 0},
};

struct TrayCopy {
  WORD target;
  WORD source;
};

const TrayCopy kDefaultTrays[] = {
    {125, 10276},   // zdmCoverInputTray := zdmCoverDefTray
    {127, 10276},   // zdmBackCoverInputTray := zdmCoverDefTray
    {123, 10277},   // zdmMPInputTray := zdmMPDefTray
    {408, 10288},   // zdmReverseCoverInputTray := zdmReverseCoverDefTray
    {1003, 10278},  // wdmChapterTray := zdmChapterDefTray1
};

}  // namespace

DWORD BidiMapApiError(DWORD systemError) {
  for (const ErrorRow* row = kErrorMap; row->system; ++row)
    if (row->system == systemError) return row->api;
  return kApiErrorComm;
}

namespace {

struct ErrorSink {
  DriverContext* ctx;
  BidiApiErrorSink sink;
  void* owner;
};

thread_local ErrorSink t_sink = {nullptr, nullptr, nullptr};

}  // namespace

void BidiSetApiErrorSink(DriverContext* ctx, BidiApiErrorSink sink, void* owner) {
  t_sink = sink && ctx ? ErrorSink{ctx, sink, owner} : ErrorSink{nullptr, nullptr, nullptr};
}

void BidiRecordApiError(DriverContext* ctx) {
  if (!ctx || t_sink.ctx != ctx || !t_sink.sink) return;
  const DWORD error = GetLastError();
  t_sink.sink(t_sink.owner, BidiMapApiError(error));
  SetLastError(error);
}

void ApiBidiApplyDefaultTrays(DriverContext* ctx) {
  if (!ctx || InstHasBatchPack(ctx)) return;
  for (const TrayCopy& copy : kDefaultTrays) {
    SettingItem* row = ItemFind(ctx, copy.target);
    if (row && ItemFind(ctx, copy.source)) ItemSetRaw(ctx, row, ItemGetRawById(ctx, copy.source));
  }
}
