// The installable-options page: the check list of installed options, each entry one or two
// device settings, and the tray list whose selected tray the paper size, paper type,
// orientation and tray-lock controls below it edit. The layout of both owner-drawn lists is
// kept in plain functions.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/tables/static_tables.h"
#include "platform/win32.h"

// The page and its controls.
enum : WORD {
  kOptPage = 1011,
  kOptCheckList = 2164,
  kOptTrayList = 2166,
  kOptTrayPaper = 2168,
  kOptTrayMedia = 2170,
  kOptPortrait = 2173,
  kOptLandscape = 2175,
  kOptDefaults = 2176,
  kOptTrayLock = 2551,
};

// Per-tray items: the first of each run of 32 (tray index t adds t).
enum : WORD {
  kOptTrayInstalledFirst = 10111,  // zdmTrayField0 ...
  kOptTrayOrientFirst = 10143,     // zdmTrayOrient0 ...: nonzero = the landscape button
  kOptTrayPaperFirst = 10175,      // zdmTray1Paper ...
  kOptTrayMediaFirst = 10207,      // zdmTray1Media ...
  kOptTrayLockFirst = 10239,       // zdmTrayLock0 ...
};
// Trays with per-tray items; a tray index from 32 on has none.
constexpr DWORD kOptTrayCount = 32;

// Pictures of the tray list's orientation column: the paper as the machine feeds it, and turned.
enum : WORD {
  kOptPictureOrientPlain = 6193,
  kOptPictureOrientTurned = 6194,
};
// Column captions of the tray list (string ids), left to right.
constexpr WORD kOptColumnTexts[4] = {6001, 6002, 6003, 6004};

// Bits OptApplyLinkedEntries answers.
enum : int {
  kOptRefreshTrays = 1,
  kOptRedrawList = 2,
};

// The control callback of the options module: only page 1011 is served (else 0).
int OptDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam);
// The check list's row of an entry's key; null for a key without a row.
const ChecklistRow* OptFindChecklistRow(WORD key);
// The tray index of a tray value (the chapter records' tray-number table); a value the table
// does not know counts as tray 0. An index of kOptTrayCount or more has no per-tray items.
DWORD OptTrayIndexOf(LONG trayValue);
// 1 when the entry's settings hold: item 1 has value 1 and (no item 2 or item 2 has value 2).
int OptIsEntryChecked(DriverContext* ctx, const ChecklistRow* row);
// Toggles the row's settings as a click does: an unchecked entry is checked (its items and on
// list stored); a checked one is unchecked by item 1 := 1 - value 1 and its off list, but only
// when that gives 0 or 1: an entry checked by another value (a memory type of 196) stays as it
// is, left only by checking another entry. 1 when settings were stored.
int OptToggleEntry(DriverContext* ctx, const ChecklistRow* row);
// Keeps the linked entries consistent after a click on `clicked`: a checked row with linked
// entries none of which is checked gets its first linked entry checked (the second when the
// first is the clicked row or has no row). Answers kOptRefreshTrays | kOptRedrawList as the
// checked entries' flags ask.
int OptApplyLinkedEntries(DriverContext* ctx, const ChecklistRow* clicked);

// ---- layout of the owner-drawn lists ----
// A check-list entry: the check picture's square at the left (as high as the entry), the text
// two text heights in.
struct OptEntryLayout {
  RECT square;
  RECT text;
};
OptEntryLayout OptCheckEntryLayout(const RECT& entry, LONG textHeight);
// The check picture of an entry (7001-7004).
WORD OptCheckPicture(bool checked, bool grey);
// Column `column` (0-3) of a tray-list row: a quarter of the list's client width each.
RECT OptTrayColumnRect(const RECT& row, LONG clientWidth, int column);
// The fill and text colours (COLOR_... indexes) of a tray-list row.
struct OptRowColours {
  int fill;
  int text;
};
OptRowColours OptTrayRowColours(bool restricted, bool selected);
// The orientation picture of a tray: the turned one when the tray's orientation item is set on
// a machine whose zdmMachineTypeFeed is 1, or clear on any other; else the plain one.
WORD OptOrientationPicture(LONG trayOrient, LONG machineFeed);
