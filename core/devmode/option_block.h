// The option-request and capability blocks of a DEVMODE: an outside program writes requests
// into the private header for the driver to carry out when the DEVMODE is merged, and reads
// in the capability block what the model and its installed options allow. Both speak stored
// codes.
#pragma once
#include "platform/win32.h"

struct DriverContext;

constexpr UINT kOptionBlockSize = 32;

// Applies the request block of the DEVMODE (the merge's working copy), which it may rewrite
// whole; a request with valid mark 1 adds 0x40000000 to the merge flags in the UI state and is
// applied once (the mark is cleared in the given DEVMODE). 1, or 0 when memory runs out or a
// bidirectional refresh fails (the DEVMODE then stays as it was).
int DmApplyOptionBlock(DriverContext* ctx, void* devmode);
// Sets the item's stored value and answers its bit in the change mask; 0 without setting
// anything for an item a request may not set.
DWORD DmOptionBlockSetItem(DriverContext* ctx, WORD item, LONG value);
// Runs, in list order, the transact list of each item whose bit is set.
void DmRunChangedTransacts(DriverContext* ctx, DWORD mask);
// Writes the capability block into item 703 and 32 zero bytes into item 702. 1, or 0 when
// memory for a value list runs out (both blocks then stay as they were).
int DmBuildCapsBlock(DriverContext* ctx);
// The enabled output-tray codes (u16 each into codes when given): their number, or -1 when
// there are none or one lacks its value symbol.
int DmListOutputTrayCodes(DriverContext* ctx, WORD* codes);
