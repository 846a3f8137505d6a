// Constant lists of this model build that the code consults in place (the known-value lists
// and lock keys live with the value symbols). Zero-ended lists end at
// the first row whose first field is 0.
#pragma once
#include "platform/win32.h"

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

const PrintMacroResolution* TblGetPrintMacroResolutions();
// 1 when fixed id list n (0-12) holds id; any other n finds nothing.
int TblIdListContains(int n, LONG id);
const NupPostKind* TblGetNupPostKinds();  // 5 rows
DWORD TblNupPostKindCount();
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

struct LanguageRow;
// The language table (display-language index, language ids, two-letter code), ended by its
// 0xFFFF row.
const LanguageRow* TblGetLanguages();

