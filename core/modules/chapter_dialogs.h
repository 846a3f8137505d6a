// The chapter dialogs' side of the chapter module: the page-list import and the deletes of
// the chapter dialog, its delete button's restricted state, the chapter-on warning and the
// owner-drawn chapter lists.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/modules/chapter_records.h"
#include "platform/win32.h"

enum : WORD {
  kChapterDialogId = 1044,
  kCoverMarkDialogId = 1042,
  kChapterPageEdit = 2776,
  kChapterList = 2800,
  kChapterDeleteButton = 2802,
  kCoverMarkChapterList = 2813,
  kCoverMarkChapterOn = 2726,
};

// Notifications the chapter dialog's buttons send.
enum : WORD {
  kNotifyChapterAdd = 300,        // the page edit's list is imported
  kNotifyChapterDelete = 301,     // the selected chapter, after an OK
  kNotifyChapterDeleteAll = 302,  // every chapter, after an OK
};

// Notify 300-302 on the chapter dialog; 1 when the code was one of them.
int ChapterDialogNotify(DriverContext* ctx, WORD code);
// Event 3 for the delete button: restricted without a selection in the list or on a free
// record. 1 when the control was the delete button.
int ChapterDeleteRestricted(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);

// Layout of a chapter list line: the five column starts for a line from left to right.
void ChapterColumnStarts(LONG left, LONG right, LONG starts[5]);
// Texts of the line's columns (number, page or range, kind, tray, print), each at most 64
// characters. Kind and print names come from tables; a value outside them gives an empty text.
void ChapterLineTexts(DriverContext* ctx, const ChapterRecord& record, int line, WCHAR texts[5][64]);
// The string id of a kind or print name, 0 for a value without a name.
WORD ChapterKindName(BYTE kind);
WORD ChapterPrintName(BYTE print);
// Background and text colours (system colour indexes) of a line.
struct ChapterLineStyle {
  int background;
  int text;
};
ChapterLineStyle ChapterLineColours(WORD dialog, bool selected);
