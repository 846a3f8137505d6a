// The ten custom paper sizes kept in the settings ini ("FreeSize%d%s" sections of the custom-
// size items 915-919), the twelve-slot table of the UI state, their paper items, the factory
// entries of the model data file, and the unit conversions of the custom-size dialog.
#pragma once
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"

// FreeSizeSlot, the record of one custom-size slot, lives with the UI state that holds the
// table.

// 10 custom-size slots; 12 paper slots (with the user sizes 256 and 448).
int FreeSizeSlotCount(DriverContext* ctx);
int FreeSizePaperCount(DriverContext* ctx);
// "FreeSize%d%s" with n and the language code into buffer (cchBuffer characters).
WCHAR* FreeSizeSectionName(WCHAR* buffer, DWORD cchBuffer, int n, DriverContext* ctx);

// Section n (0-9) of the settings ini into items 915-919 (cleared first), then into the
// slot's paper items. Any other n does nothing.
void FreeSizeLoadSlot(DriverContext* ctx, int n);
// Items 915-919 into section n (0-9) and the slot's paper items; 1 when the section was
// written (a failed write leaves the old file, the context's file status says why).
// FreeSizeSaveSlot, FreeSizeLoadSourceSlot and FreeSizeSaveFromSource are declared with the
// other stores the settings files call (settings_stores.h).

// The slot table and the items.
void FreeSizeSlotToItems(DriverContext* ctx, int n);
void FreeSizeSlotToSrcItems(DriverContext* ctx, int n);
void FreeSizeSlotFromItems(DriverContext* ctx, int n);
void FreeSizeSlotFromSrcItems(DriverContext* ctx, int n);
void FreeSizeSlotToPaperItems(DriverContext* ctx, int n);
// Slot 10 or 11 from the paper items of code 256 or 448; other codes do nothing.
void FreeSizeSlotFromUserPaper(DriverContext* ctx, LONG code, int slot);

// Loads the custom-size slots of the context once (change flag 0x4000000).
void FreeSizeLoadAll(DriverContext* ctx);
void FreeSizeSaveAll(DriverContext* ctx);
void FreeSizeRewriteAll(DriverContext* ctx);
// Every slot 0-9 from the default names and the factory entries (defaults 9921 x 14031,
// tray 4, orientation 1).
void FreeSizeLoadDefaults(DriverContext* ctx);
// The context's table of twelve slots (ten custom sizes, then the user sizes 256 and 448), or
// null without a UI state.
FreeSizeSlot* FreeSizeGetTable(DriverContext* ctx);
// Slot n (0-11) of the context's table, or null.
const FreeSizeSlot* FreeSizeGetSlot(DriverContext* ctx, int n);
// Writes every custom-size slot again in the current form.
void FreeSizeRewriteAll(DriverContext* ctx);

// Fills slot (0-11) from the user paper items: code 256 from zdmPaperFreeSize* (340-343), 448
// from zdmPrintFreeSize* (344-347); other codes do nothing.
void FreeSizeSlotFromUserPaper(DriverContext* ctx, LONG code, int slot);
// Slot n into the custom-size work items (915-919) / the source custom-size items (920-924).
void FreeSizeSlotToItems(DriverContext* ctx, int n);
void FreeSizeSlotToSrcItems(DriverContext* ctx, int n);

// Factory entries: "FreeSizeCount" of the model data file when it is 10, else 0; section n
// of the model data file into items 915-917 (cleared first).
int FreeSizeGetFactoryCount(DriverContext* ctx);
void FreeSizeLoadFactorySlot(DriverContext* ctx, int n);
// "FreeSizeCount" of the settings ini.
BOOL FreeSizeSetCount(DriverContext* ctx, LONG count);
int FreeSizeGetCount(DriverContext* ctx);

// Completes the custom-size and watermark sections of the settings ini from the factory
// entries: only the keys a section lacks are taken; the counts are never lowered. 1, or 0
// without the model data file, the settings ini, the printer name or the language code, and
// when a write failed (the other writes are still made).
int StoreRepairStampsAndFreeSizes(DriverContext* ctx);

// Paper codes of the slots.
int FreeSizeIsSlotPaper(LONG code);
LONG FreeSizeSlotToPaper(int slot, int count);
int FreeSizePaperToSlot(LONG code, DriverContext* ctx);
int FreeSizeIsUserInch(DriverContext* ctx);
int FreeSizeIsUserMm(DriverContext* ctx);
// 0.01 inch to 0.1 mm (the smallest value that converts back to at least x) and back.
LONG FreeSizeInchToMetric(LONG x);
LONG FreeSizeMetricToInch(LONG x);

// wdmChapterMax and wdmChapterTrayMax from the printer's section of the settings ini.
void StoreLoadChapterLimits(DriverContext* ctx);
