// The code tables of the bidirectional acquisition: the printer's tray, paper, media and
// option codes turned into setting items and values, and the preference order of the default
// trays. The same tables serve every deliverable.
#pragma once
#include "platform/win32.h"

// One row of a code table: the printer code and what it maps to. A table ends with a row whose
// id is 0.
struct BidiTrayRow {
  WORD id;
  DWORD code;
};

// The id of the first row whose code equals `code`; 0 when none does (or for a null table).
WORD BidiMapCode(DWORD code, const BidiTrayRow* table);

// Item bases of the per-tray items; the item of tray index t is base + t (t 0-31).
enum : WORD {
  kBidiTrayFieldBase = 10111,
  kBidiTrayOrientBase = 10143,
  kBidiTrayPaperBase = 10175,
  kBidiTrayMediaBase = 10207,
  kBidiTrayLockBase = 10239,
};

// The tray index (0-31) of a printer tray code; -1 when no table row names the code.
int BidiTrayIndex(DWORD code);
// The tray items of a printer tray code (base + tray index); 0 when the code has no tray.
WORD BidiMapTrayField(DWORD code);
WORD BidiMapTrayOrient(DWORD code);
WORD BidiMapTrayPaper(DWORD code);
WORD BidiMapTrayMedia(DWORD code);
WORD BidiMapTrayLock(DWORD code);
// The tray value (what the default-tray items hold) of a printer tray code; 0 when none.
WORD BidiMapTrayCode(DWORD code);

// The paper-size value of a printer paper code. *orientation gets 0 when the first table has
// the code, else 1 (also when neither has it). "No paper" (2048, 2049) and unknown codes give 0.
WORD BidiMapPaperCode(DWORD code, DWORD* orientation);
// The media-type value of a printer media code; "no media" (2048) and unknown codes give 0.
WORD BidiMapMediaCode(DWORD code);
// The installed-option item of a printer option code; 0 when the code names none.
WORD BidiMapOptionCode(DWORD code);

// Of the codes (0 entries skipped), the one that comes first in the preference order of the
// default trays; 0 when none of them is in it. Ties keep the earlier code of the list.
DWORD BidiPickPreferredTray(const DWORD* codes, DWORD count);
// The preference order itself (count in *count).
const DWORD* BidiDefaultTrayOrder(DWORD* count);
