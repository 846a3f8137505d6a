// The preset list checked against the printer's default pack when a property sheet opens.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// How a rebuild judges the entries of the list.
struct PresetRebuildRules {
  // An "rsr" entry whose "rsd" twin has the leaf name of a pack file: 1 keeps it.
  int (*keepFactoryFile)(LPCWSTR file, DriverContext* ctx);
  // An entry with another extension: 1 keeps it; null keeps every such entry.
  int (*keepOtherFile)(LPCWSTR file, DriverContext* ctx);
  int ask;             // warning 10017 (OK or Cancel) before entries are dropped
  int needsPackCount;  // a pack without "NumDeficonfiles" cannot be used
  int freeCache;       // the preset cache is freed once the list is rewritten
};
enum : int {
  kPresetRebuildDone = 1,          // the list rewritten and the pack's files imported
  kPresetRebuildUnusable = -1,     // the pack, one of its entries or memory failed: nothing changed
  kPresetRebuildCancelled = -2,    // the user cancelled: nothing changed
  kPresetRebuildNotWritten = -3,   // a write failed: "Count" still tells the old list, nothing imported
};
// The rebuild: the entries judged by rules, the kept ones written over the old ones with
// "Count" last, then the pack's new files imported (flags 0xC1, whose result goes to
// importResult when given). One of the kPresetRebuild... values.
int PresetRebuildListWith(DriverContext* ctx, const PresetRebuildRules& rules, int* importResult);

// Drops the list entries whose pack files no longer suit the printer's options (asking first
// with warning 10017 when ask is set) and adds the pack's new files. The import's result; 0
// when the pack or one of its entries cannot be read, or the user cancelled (the list kept).
int PresetRebuildList(DriverContext* ctx, int ask);
// Kind 0 document sheet (asks with dialog 1011), 1 device sheet confirmed (rebuilds at once),
// 2 device sheet open (tells with message 7004, then rebuilds). Once per pack: "PresetRefresh"
// marks it done. 1, or 0 when a terminal server refuses the refresh.
int PresetRefreshOnOpen(DriverContext* ctx, int kind);
