// The UI-module event bus: the static module table, each context's copy and the dispatch.
#include "core/context/module_bus.h"

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_builtin.h"
#include "core/modules/preset_cache.h"
#include "core/modules/print_method_hooks.h"
#include "core/modules/quality_hooks.h"

namespace {

constexpr WORD kQualityHookFirst = 1292, kQualityHookLast = 1307;
constexpr WORD kPrintMethodHookFirst = 1404, kPrintMethodHookLast = 1419;

// The table is read again before every row: a callback may free or replace it (the destroy
// path), and the walk must then stop rather than read freed rows.
const UiModuleEntry* RowAt(DriverContext* ctx, LONG i) {
  if (!ctx || !ctx->ui) return nullptr;
  const UiModuleTable* table = ctx->ui->modules;
  if (!table || !table->rows || i >= table->count) return nullptr;
  return &table->rows[i];
}

}  // namespace

const UiModuleEntry* ModBusGetTable(LONG* count) {
  if (count) *count = kModuleCount;
  return BuildGetModuleRows();
}

int ModBusLoad(DriverContext* ctx) {
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  return ModBusLoadRows(ctx, rows, count);
}

int ModBusLoadRows(DriverContext* ctx, const UiModuleEntry* rows, LONG count) {
  if (!ctx || !ctx->ui) return 0;
  UiState* ui = ctx->ui;
  PresetCacheOp(ctx, nullptr, kPresetCacheForget);
  ui->chapterArray = nullptr;
  ui->chapterRecords = 0;
  ui->chapterLimitsLoaded = 0;
  ui->modules = nullptr;
  auto* table = static_cast<UiModuleTable*>(MemAllocZero(sizeof(UiModuleTable)));
  if (!table) return 0;
  if (count < 0 || !rows) count = 0;
  table->rows = static_cast<UiModuleEntry*>(MemAllocZero(sizeof(UiModuleEntry) * static_cast<SIZE_T>(count)));
  ui->modules = table;
  if (!table->rows) return 0;  // a table without rows: nothing is dispatched
  table->count = count;
  for (LONG i = 0; i < count; ++i) {
    table->rows[i] = rows[i];
    table->rows[i].privateData = nullptr;
    // A block that cannot be had leaves the row without private data; it still gets calls.
    if (rows[i].privateSize > 0) table->rows[i].privateData = MemAllocZero(rows[i].privateSize);
  }
  ModBusSendEvent(ctx, kEventCreate, nullptr);
  return 1;
}

void ModBusFree(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  UiState* ui = ctx->ui;
  MemFree(ui->chapterArray);
  ui->chapterArray = nullptr;
  ui->chapterRecords = 0;
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  MemFree(ui->presetSavedDevice);
  ui->presetSavedDevice = nullptr;
  UiModuleTable* table = ui->modules;
  if (!table) return;
  ModBusSendEvent(ctx, kEventDestroy, nullptr);
  table = ui->modules;
  ui->modules = nullptr;
  if (!table) return;
  if (table->rows)
    for (LONG i = 0; i < table->count; ++i) MemFree(table->rows[i].privateData);
  MemFree(table->rows);
  MemFree(table);
}

void ModBusNotify(DriverContext* ctx, WORD code) {
  for (LONG i = 0;; ++i) {
    const UiModuleEntry* row = RowAt(ctx, i);
    if (!row) return;
    if (row->notify && row->notify(ctx, code, row->privateData) != 0) return;
  }
}

int ModBusRouteControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  const int builtin = DlgHandleBuiltinMessage(ctx, page, control, message, wParam, lParam);
  if (builtin != 0) return builtin;
  for (LONG i = 0;; ++i) {
    const UiModuleEntry* row = RowAt(ctx, i);
    if (!row) return 0;
    if (!row->control) continue;
    const int result = row->control(ctx, page, control, message, wParam, lParam, row->privateData);
    if (result != 0) return result;
  }
}

void ModBusSendEvent(DriverContext* ctx, int event, void* argument) {
  for (LONG i = 0;; ++i) {
    const UiModuleEntry* row = RowAt(ctx, i);
    if (!row) return;
    if (row->event && row->event(ctx, event, argument, row->privateData) != 0) return;
  }
}

int ModBusJudgeHookInputs(WORD id, WORD* inputs, int cap) {
  if (id >= kQualityHookFirst && id <= kQualityHookLast) return CmmJudgeHookInputs(id, inputs, cap);
  if (id >= kPrintMethodHookFirst && id <= kPrintMethodHookLast) return PrnMethodJudgeHookInputs(id, inputs, cap);
  return 0;
}

int ModBusJudgeHookValue(DriverContext* ctx, WORD id) {
  if (id >= kQualityHookFirst && id <= kQualityHookLast) return CmmAnswerJudgeHook(ctx, id);
  if (id >= kPrintMethodHookFirst && id <= kPrintMethodHookLast) return PrnMethodAnswerJudgeHook(ctx, id);
  return 0;
}
