// The repair handler table and its handlers: how the repair sweep (ItemRepairSweep,
// item_checks.h) treats a private item that the model description does not describe.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct SettingItem;

// Sweep modes.
enum : int {
  kRepairModeDefaults = 1,  // the defaults were built: such items take their fallback
  kRepairModeMerged = 2,    // a DEVMODE was merged: a value passing the handler's test stays
};

enum RepairKind : BYTE {
  kRepairNone = 0,
  kRepairKeepKnown,
  kRepairKeepKnownModelByte,
  kRepairKeepRange,
  kRepairFallback,
  kRepairFallbackVersionWord,
  kRepairMachineId,
  kRepairPresetNo,
  kRepairResolution,
  kRepairOutPaper,
  kRepairMargin,
  kRepairInputTray,
  kRepairLanguage,
  kRepairNever,
};

// One handled item (12 bytes): its handler kind, fallback and, for a range handler, the
// values it keeps.
struct RepairRow {
  WORD id;
  BYTE kind;  // RepairKind
  BYTE reserved;
  LONG fallback;
  SHORT low;
  SHORT high;
};
static_assert(sizeof(RepairRow) == 12, "repair row is 12 bytes");

// The handled rows in increasing id order; their number goes to *count when it is given.
const RepairRow* ItemRepairTable(int* count);
// The row of an item id, or null when the item has no handler.
const RepairRow* ItemRepairRowOf(WORD id);
// Runs the row's handler on the item's stored value. Returns 1 when the value was kept, 0
// when the handler wrote a value (also when the write found no settings block to go to).
int ItemRepairRun(DriverContext* ctx, const RepairRow* row, SettingItem* item, LONG_PTR value, int mode);

// zdmWmID when zdmFuncSelectWaterMark is on, else -1.
LONG ItemGetActiveWatermarkId(DriverContext* ctx);
// The selected user quality list (0-15): the logical value of zdmUserPrintMacro minus 135
// while zdmUseUserMacro is 1; -1 when it is not, or when the value names no user list.
LONG ItemGetUserMacroIndex(DriverContext* ctx);
