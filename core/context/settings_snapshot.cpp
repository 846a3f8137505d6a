// Settings snapshots and the ownership of the font tables a settings block points at.
#include "core/context/settings_snapshot.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"

// One pushed level. Pushes whose level could not be allocated are counted, so that their pops
// take nothing off the stack rather than another dialog's level.
struct SettingsSnapshot {
  SettingsSnapshot* below;
  LONG missingBelow;  // pushes without a level between this level and the one below
  DWORD changeFlags;
  BYTE settings[kSettingsBlockSize];
};

namespace {

struct FontTableItems {
  WORD countId;
  WORD tableId;
  DWORD entrySize;
};
constexpr FontTableItems kFontTables[] = {
    {kItem_zdmDeviceFontNum, kItem_zdmDeviceFont, 4 + 32 * sizeof(WCHAR)},  // {u32, font name}
    {kItem_zdmOptionFontNum, kItem_zdmOptionFont, 4 + 32 * sizeof(WCHAR)},
    {kItem_zdmFontTableNum, kItem_zdmFontTable, 64 * sizeof(WCHAR)},  // TrueType face, device font
};

// Table addresses are kept in 32-bit items of the settings block.
void* ReadTablePointer(const BYTE* where) {
  DWORD value;
  memcpy(&value, where, sizeof(value));
  return reinterpret_cast<void*>(static_cast<ULONG_PTR>(value));
}
void WriteTablePointer(BYTE* where, const void* table) {
  DWORD value = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(table));
  memcpy(where, &value, sizeof(value));
}

BYTE* ItemIn(DriverContext* ctx, BYTE* block, WORD id) { return ItemStorageIn(block, ItemFind(ctx, id)); }

bool CanSnapshot(DriverContext* ctx) { return ctx && ctx->ui && ctx->settings; }

void ClearChangeMarks(DriverContext* ctx) {
  SettingItemTable* table = ctx->items;
  if (!table || !table->rows) return;
  for (SHORT i = 0; i < table->count; ++i) table->rows[i].state &= static_cast<WORD>(~ItemStateChangeMask);
}

}  // namespace

void CtxDuplicateFontTables(DriverContext* ctx, BYTE* block) {
  if (!block) return;
  for (const FontTableItems& t : kFontTables) {
    BYTE* countAt = ItemIn(ctx, block, t.countId);
    BYTE* tableAt = ItemIn(ctx, block, t.tableId);
    if (!countAt || !tableAt) continue;
    SHORT count;
    memcpy(&count, countAt, sizeof(count));
    const void* table = ReadTablePointer(tableAt);
    void* copy = nullptr;
    if (table && count > 0) {
      copy = MemAllocZero(t.entrySize * static_cast<DWORD>(count));
      if (copy) memcpy(copy, table, t.entrySize * static_cast<DWORD>(count));
    }
    if (!copy) count = 0;
    memcpy(countAt, &count, sizeof(count));
    WriteTablePointer(tableAt, copy);
  }
}

void CtxFreeFontTables(DriverContext* ctx, BYTE* block) {
  if (!block) return;
  for (const FontTableItems& t : kFontTables) {
    BYTE* tableAt = ItemIn(ctx, block, t.tableId);
    if (!tableAt) continue;
    MemFree(ReadTablePointer(tableAt));
    WriteTablePointer(tableAt, nullptr);
  }
}

void CtxSnapshotPush(DriverContext* ctx) {
  if (!CanSnapshot(ctx)) return;
  UiState* ui = ctx->ui;
  auto* level = static_cast<SettingsSnapshot*>(MemAllocZero(sizeof(SettingsSnapshot)));
  if (level) {
    memcpy(level->settings, ctx->settings, kSettingsBlockSize);
    CtxDuplicateFontTables(ctx, level->settings);
    level->changeFlags = ui->changeFlags;
    level->missingBelow = ui->snapshotMissing;
    level->below = ui->snapshotTop;
    ui->snapshotTop = level;
    ui->snapshotMissing = 0;
  } else {
    ++ui->snapshotMissing;
  }
  ++ui->snapshotDepth;
  ModBusSendEvent(ctx, kEventSnapshotPushed, nullptr);
}

void CtxSnapshotPop(DriverContext* ctx, BOOL restore) {
  if (!CanSnapshot(ctx)) return;
  UiState* ui = ctx->ui;
  if (ui->snapshotDepth <= 0) return;  // nothing pushed: the settings stay as they are
  --ui->snapshotDepth;
  if (ui->snapshotMissing > 0) {
    --ui->snapshotMissing;
    return;
  }
  SettingsSnapshot* level = ui->snapshotTop;
  if (!level) return;
  ui->snapshotTop = level->below;
  ui->snapshotMissing = level->missingBelow;
  if (restore) {
    // The settings take over the level's tables; their own go.
    CtxFreeFontTables(ctx, ctx->settings);
    memcpy(ctx->settings, level->settings, kSettingsBlockSize);
    ui->changeFlags = level->changeFlags;
    ui->modified = 0;
    ClearChangeMarks(ctx);
    MemFree(level);
    ModBusSendEvent(ctx, kEventSnapshotRestored, nullptr);
  } else {
    CtxFreeFontTables(ctx, level->settings);
    MemFree(level);
  }
}

LONG CtxSnapshotDepth(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->snapshotDepth : 0; }

void CtxSnapshotClearChangeFlags(DriverContext* ctx, DWORD mask) {
  if (!ctx || !ctx->ui) return;
  for (SettingsSnapshot* level = ctx->ui->snapshotTop; level; level = level->below) level->changeFlags &= ~mask;
}

void CtxSnapshotFreeAll(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  UiState* ui = ctx->ui;
  while (SettingsSnapshot* level = ui->snapshotTop) {
    ui->snapshotTop = level->below;
    CtxFreeFontTables(ctx, level->settings);
    MemFree(level);
  }
  ui->snapshotMissing = 0;
  ui->snapshotDepth = 0;
}
