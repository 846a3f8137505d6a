// The preset list checked against the printer's default pack when a property sheet opens.
#pragma once

struct DriverContext;

// Drops the list entries whose pack files no longer suit the printer's options (asking first
// with warning 10017 when ask is set) and adds the pack's new files. The import's result; 0
// when the pack or one of its entries cannot be read, or the user cancelled (the list kept).
int PresetRebuildList(DriverContext* ctx, int ask);
// Kind 0 document sheet (asks with dialog 1011), 1 device sheet confirmed (rebuilds at once),
// 2 device sheet open (tells with message 7004, then rebuilds). Once per pack: "PresetRefresh"
// marks it done. 1, or 0 when a terminal server refuses the refresh.
int PresetRefreshOnOpen(DriverContext* ctx, int kind);
