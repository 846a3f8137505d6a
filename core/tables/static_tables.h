// Constant lists of this model build that the code consults in place (the known-value lists
// and lock keys live with the value symbols). Zero-ended lists end at
// the first row whose first field is 0.
#pragma once
#include "platform/win32.h"

struct DriverContext;

struct PrintMacroResolution {
  WORD macro;
  WORD xDpi;
  WORD yDpi;
};

// One fixed id list; marker is 0xFFFF, the end row has marker 0.
struct FixedIdList {
  WORD marker;
  DWORD count;
  const LONG* ids;
};

struct NupPostKind {
  DWORD kind;
  DWORD pagesPerSheet;
};

// A setting lock that fixes an item to one value: while the lock bit item is set, the item
// may take only the value that the locked value item holds. Item 0: the lock names no item.
struct LockedValueRow {
  DWORD item;
  DWORD lockBitItem;
  DWORD lockedValueItem;
  DWORD reserved;
};

// Custom-size limits per system kind (1 Windows 9x, 2 NT, 3 any), tray and orientation, in
// 1/1200 inch: length maximum and minimum, width maximum and minimum for millimetre display,
// then the same four for inch display. Ends with a row whose tray is 0.
struct FreeSizeLimitsRow {
  WORD systemKind;
  WORD tray;
  WORD orientation;
  WORD reserved;
  LONG mm[4];
  LONG inch[4];
};
static_assert(sizeof(FreeSizeLimitsRow) == 40, "limits row is 40 bytes");

// The model's own limit rows, searched before the default table.
struct CustomSizeOverrides {
  DWORD count;
  const FreeSizeLimitsRow* rows;
};

// Option-request block rows, ended by item 0xFFFF.
struct OptionBlockRow {
  WORD item;
  WORD code1;
  WORD code2;
};

// Item -> printer option code, zero-ended.
struct OptionCodeRow {
  DWORD item;
  DWORD code;
};

// Installable-options checklist. An entry is checked when item1 holds value1 and (item2 is 0
// or holds value2).
struct ItemValuePair {
  DWORD item;  // 0 ends a list
  DWORD value;
};
struct ChecklistLink {
  DWORD reserved;
  DWORD key;  // 0 ends the list
};
struct ChecklistRow {
  WORD key;  // value id of the list entry, also the string id of its text; 0 ends the table
  WORD reserved;
  DWORD item1;
  DWORD value1;
  DWORD item2;  // 0 = none
  DWORD value2;
  const ItemValuePair* greyCondition;  // greyed while the item has the value; null = never
  const ChecklistLink* linkedEntries;  // one of them must be checked with this one; null = none
  const ItemValuePair* onList;         // stored when checked by a click
  const ItemValuePair* offList;        // stored when unchecked by a click
  DWORD trayListRefresh;               // nonzero: a click rebuilds the tray list
  DWORD redraw;                        // nonzero: a click repaints the checklist
};
static_assert(sizeof(void*) != 4 || sizeof(ChecklistRow) == 44, "checklist row is 44 bytes");

// Clickable areas of the printer pictures. A row applies when its required item is 0 or 1 and
// its condition item is 0 or holds the condition value; its rectangle (relative to the
// picture) moves by every shift whose item is 1. A negative x measures from the picture's
// right edge.
struct HitAreaShift {
  WORD item;  // 0 ends the list
  LONG dx;
  LONG dy;
};
struct HitAreaRow {
  const RECT* area;
  WORD requiredItem;     // must be 1; 0 = none
  WORD value;            // the logical value selected, also the string id of its name; 0 ends the table
  WORD conditionItem;    // 0 = none
  LONG conditionValue;
  const HitAreaShift* shifts;  // null = none
};

const PrintMacroResolution* TblGetPrintMacroResolutions();
// 1 when fixed id list n (0-12) holds id; any other n finds nothing.
int TblIdListContains(int n, LONG id);
const NupPostKind* TblGetNupPostKinds();  // 5 rows
DWORD TblNupPostKindCount();
const LockedValueRow* TblGetLockedValueRows();  // TblGetLockedValueRowCount() rows (8)
DWORD TblGetLockedValueRowCount();
const WORD* TblGetFitPapers();            // zero-ended; the marker 1027 starts the large sizes
// The fit-paper test for a symbolic output size (9 A4, 1 Letter, else a large size).
int TblIsFitPaper(WORD outputSize, WORD paper);
// The default custom-size limits, ended by a row whose tray is 0.
const FreeSizeLimitsRow* TblGetFreeSizeLimits();
const CustomSizeOverrides* TblGetCustomSizeOverrides();
const OptionBlockRow* TblGetOptionBlockRows();
const OptionCodeRow* TblGetOptionCodes();
// 0 for the sub-dialogs 1020 and 1025, else 1.
int TblIsChangingSubDialog(WORD dialogId);
// The checklist rows (10, then the end row); the model code is not used: one build, one model.
const ChecklistRow* TblGetChecklistEntries(DWORD modelCode);
// The hit areas of the source-tray and output-bin pictures (the model code is not used).
const HitAreaRow* TblGetSourceTrayHitAreas(DWORD modelCode);
const HitAreaRow* TblGetOutputBinHitAreas(DWORD modelCode);

// 1 when the sort (collate) choice has anything to offer: the allowed values of zdmSortType
// are more than one, or one other than 0 (built with the allowed values, core/items).
int ItemHasSortChoice(DriverContext* ctx);
// Runs the build's feature hook: with feature bit 7, the one-time transfer of a terminal-server
// client's configuration into the printer. Returns 1 when it ran.
int BuildRunFeatureHook(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo);

struct LanguageRow;
// The language table (display-language index, language ids, two-letter code), ended by its
// 0xFFFF row.
const LanguageRow* TblGetLanguages();

