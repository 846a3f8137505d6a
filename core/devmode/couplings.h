// Couplings between public DEVMODE fields and the private items: print quality and the
// destination resolutions, duplex and its binding type, media type, and the paper items in
// printer dots for the input and the output paper.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// A custom input paper longer or wider than this (1/1200 inch) is oversize
// (zdmFuncSelectFreeShortOver).
constexpr LONG kFreeSizeOversize = 154771;

// Items 40-45, zdmFuncSelectFreeShortOver and the DEVMODE paper fields for the input paper code
// (a stored dmPaperSize value, mapped through item's value list). A paper without a page
// record for the current resolution leaves everything as it was, except a custom size, which
// gets margins 0. The Oriented form exchanges a custom size's axes in landscape.
void DmApplyInputPaper(short code, WORD item, DriverContext* ctx, void* devmode);
// The worker of both: oriented 1 is the Oriented form. Where the build keeps the paper fields
// in portrait order, a custom size exchanged for landscape is written to dmPaperLength and
// dmPaperWidth unexchanged.
void DmApplyInputPaperCore(short code, WORD item, DriverContext* ctx, void* devmode, int oriented);
void DmApplyInputPaperOriented(short code, WORD item, DriverContext* ctx, void* devmode);
// Items 47-52 and 596/597 for the output paper code; 1024 follows the DEVMODE's dmPaperSize.
// The Oriented form exchanges a custom size's axes in landscape.
void DmApplyOutputPaper(short code, WORD item, DriverContext* ctx, void* devmode);
void DmApplyOutputPaperOriented(short code, WORD item, DriverContext* ctx, void* devmode);
// The same for the context's own output paper setting, on its settings block.
void DmApplyOutputPaperCore(DriverContext* ctx);

// dmDuplex from the duplex items 58 and 94.
void DmSetDuplexField(void* devmode, DriverContext* ctx);
// dmMediaType from item 54.
void DmSetMediaTypeField(void* devmode, DriverContext* ctx);
// Items 40-45 for a paper given by dmPaperLength/dmPaperWidth (0.1 mm) at the print quality.
void DmSetPaperDotsFromSize(void* devmode, DriverContext* ctx);
// Items 17, 38 and 39 := the print quality (item 14), then the balance macro of that
// resolution; and the other way, items 39, 14 and 17 := item 38.
void DmSyncResolutionFromQuality(void* devmode, DriverContext* ctx);
void DmSyncResolutionFromDst(void* devmode, DriverContext* ctx);

// The key of the user print macro's quality list ("QualityList%d" with the macro − 32) into
// key (at least 16 characters); 1 when zdmUseUserMacro is on and the macro has a list, else 0.
int DmUserMacroQualityKey(DriverContext* ctx, WCHAR* key);
// Loads the quality list of the chosen user print macro (the settings file the key names in
// the printer's section of the settings ini); nothing without a list.
void DmApplyUserMacroQuality(DriverContext* ctx);

// The tray word of a custom size's slot: mode 0 returns it, mode 1 also writes it into
// dmDefaultSource and returns 1, other modes return 0; 0 for a code that is no custom size
// (256, 384-393, 448) or while the slot table is not there.
LONG DmCustomPaperTray(DriverContext* ctx, LONG code, int mode);
// Module event 11 (re-check the chapter trays) and module event 13.
void DmRecheckChapterTrays(DriverContext* ctx);
void DmSendModuleEvent13(DriverContext* ctx);
// Runs the transact list of the item's descriptor when the item and its descriptor exist.
void DmRunItemTransact(DriverContext* ctx, WORD id);
// 1 when zdmSortType offers a choice, so collation is possible.
int DmIsCollateSupported(DriverContext* ctx);

// Values of items 14, 38 and 39 (dpi), and their writes (items 14, 17, 38, 39) as stored
// values, marking the change.
LONG DmGetPrintQuality(DriverContext* ctx);
LONG DmGetDstResolution(DriverContext* ctx);
LONG DmGetDstResolutionH(DriverContext* ctx);
void DmSetPrintQualityItem(LONG value, DriverContext* ctx);
void DmSetYResolutionItem(LONG value, DriverContext* ctx);
void DmSetDstResolutionItem(LONG value, DriverContext* ctx);
void DmSetDstResolutionHItem(LONG value, DriverContext* ctx);
