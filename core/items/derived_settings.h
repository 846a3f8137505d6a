// Small getters derived from several settings that many parts share: paper region and
// symbolic output paper, the follow-up of a paper change, authentication texts and charsets,
// the driver id, setting-lock bits and the character filter of text edits.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

struct DlgControlRecord;

// The control that shows an item on its main page.
struct ItemMainControl {
  WORD item;
  WORD page;
  WORD control;
};

// 1 when the region's papers are Letter and Tabloid, 0 for A4 and A3.
BOOL ItemUsesInchPapers(DriverContext* ctx);
// DEVMODE paper code of the symbolic output size: Letter or A4 when the modules choose the
// small size, else Tabloid or A3.
short ItemSymbolicPaperSize(DriverContext* ctx);
// 1 when the output-fit rule applies to the output paper.
BOOL ItemOutputFitApplies(DriverContext* ctx);
// Paper code that the job is printed on.
short ItemEffectiveOutPaper(DriverContext* ctx);
// Follow-up of a paper change: kind 1 applies input and output paper and the scale; kinds 3
// and 4 load the custom-size slot of dmPaperSize or zdmOutPaperSize.
void ItemApplyPaperChange(DriverContext* ctx, int kind);
// Bits of the asked mask (1 user name, 2 password, 4 network key) whose texts are present.
DWORD ItemAuthTextsPresent(DriverContext* ctx, DWORD mask);
// Mask bit 1 and 2: the charset items of user name and password := the ANSI charset code.
void ItemSetAuthCharsets(DriverContext* ctx, DWORD mask);
void ItemSetCharsetCode(DriverContext* ctx, WORD id);
// zdmDriverID := "DriverID" of the driver's section in the model data file (full path only).
void ItemLoadDriverId(DriverContext* ctx);
// Row of the item main-control table, or null.
const ItemMainControl* TblFindItemControl(WORD item);
// Character filter of text edits: mode 1 printable ASCII except '"' and ':', mode 2 printable
// ASCII; backspace in both; nothing in other modes.
BOOL ItemTextCharAllowed(WCHAR ch, int mode);

BOOL ItemAnyLockBit(DriverContext* ctx);
LONG ItemGetLockInfo(DriverContext* ctx);
BOOL ItemLockDefault(DriverContext* ctx);
BOOL ItemLockTray(DriverContext* ctx);
BOOL ItemLockMedia(DriverContext* ctx);
BOOL ItemLockNupKind(DriverContext* ctx);
BOOL ItemLockNupKindAll(DriverContext* ctx);
BOOL ItemLockDuplex(DriverContext* ctx);
BOOL ItemLockPrintType(DriverContext* ctx);
BOOL ItemLockResolution(DriverContext* ctx);
BOOL ItemLockColor(DriverContext* ctx);
// Lock state of a control by the model's lock judges or its guard item.
BOOL CtlIsLockedByRule(DriverContext* ctx, const DlgControlRecord* control);

