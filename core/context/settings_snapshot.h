// Settings snapshots: a dialog pushes the settings before it edits them and pops on Cancel
// (restore) or OK (drop). Every settings-block copy owns its own font tables, so no sequence of
// pushes, pops and table replacements frees a table twice or leaves one behind.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Events sent to the modules.
enum : int {
  kEventSnapshotPushed = 26,
  kEventSnapshotRestored = 27,
};

// Pushes a copy of the settings block (with duplicates of its font tables) and the change flags,
// then sends event 26. Every level is kept. Nothing happens without a UI state or settings
// block; a level that cannot be allocated is still counted, and its pop does nothing.
void CtxSnapshotPush(DriverContext* ctx);
// Takes the newest level off the stack. With restore: the settings and their font tables become
// the level's, the change flags its word, the modified flag and every item's change mark 0, and
// event 27 is sent. Without: the level and its tables are freed. An empty stack does nothing.
void CtxSnapshotPop(DriverContext* ctx, BOOL restore);
// Number of levels pushed and not yet popped.
LONG CtxSnapshotDepth(DriverContext* ctx);
// Clears bits in the change-flag word of every level.
void CtxSnapshotClearChangeFlags(DriverContext* ctx, DWORD mask);
// Frees every level with its font tables (context destruction).
void CtxSnapshotFreeAll(DriverContext* ctx);

// The three font tables of a settings block laid out like the context's (device fonts, option
// fonts, font substitution). Duplicate: the block's table addresses are replaced by copies (a
// table that cannot be copied becomes count 0 and null). Free: the tables are freed and their
// addresses set to 0; the counts are left.
void CtxDuplicateFontTables(DriverContext* ctx, BYTE* block);
void CtxFreeFontTables(DriverContext* ctx, BYTE* block);
