// Page lists of the chapter dialog and the application interface: the text a user types
// ("3,1,2", "5-9,12") read into sorted entries, merged into the chapter array with the
// checks that keep the list printable, and the deletes.
#pragma once
#include "core/modules/chapter_records.h"
#include "platform/win32.h"

struct DriverContext;

constexpr int kPageListEntries = 512;   // entries of one import, a zero entry after them
constexpr int kPageListTextChars = 513;  // characters of an import text with its terminator

// Results: 0 done, otherwise the id of the message that says why the input was refused.
enum : int {
  kPageListOk = 0,
  kPageListBadPage = 10073,        // a page outside 1-30000 or a malformed range
  kPageListTooMany = 10065,        // more chapters than wdmChapterMax
  kPageListTooManyTrays = 10066,   // more distinct chapter trays than wdmChapterTrayMax
  kPageListPrintClash = 10068,     // a print-2 chapter on the tray of a print-1 chapter
  kPageListOverlap = 12045,        // a range overlapping a chapter or range already listed
  kPageListCoverClash = 12046,     // a range from page 1 while a front cover is printed
  kPageListBadCharacter = 12049,   // a character other than digits, ',' and '-'
};

struct PageListEntry {
  WORD first;
  WORD last;        // first for a single page
  WCHAR text[16];   // kind 3: "%d" or "%d-%d"
};

struct PageList {
  int count;
  PageListEntry entries[kPageListEntries + 1];  // ascending by first page, a zero entry after
};

// Reads text (at most 512 characters are looked at) for chapter kind (3 keeps every range as
// one entry, other kinds expand ranges into pages) with at most limit entries. Pages already
// listed are dropped. An empty text gives no entries. kPageListOk, kPageListBadCharacter,
// kPageListBadPage or kPageListTooMany; list is complete only for kPageListOk.
int PageListParse(const WCHAR* text, int kind, DWORD limit, PageList* list);

// Merges the entries into the context's chapter array with the dialog's kind, tray and print
// (wdmChapterKind/Tray/Print); a record on the same page is replaced. Each entry is checked
// against every record and earlier entry it overlaps. On success wdmChapterNum, the tray
// summary and kPageListOk; on any refusal the array and the summary items are as they were
// and the message id is returned.
int PageListMerge(DriverContext* ctx, const PageList* list);
// Parse and merge in one step.
int PageListImport(DriverContext* ctx, const WCHAR* text);

// Deletes record index; the records after it move up. The count before is noted for a
// cancel. 0 done, 1 when there is no such record.
int ChapterDeleteOne(DriverContext* ctx, LONG index);
// Clears every record; the count before is noted.
void ChapterDeleteAll(DriverContext* ctx);
