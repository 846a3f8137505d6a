// The chapter records of a job: a fixed-size record per chapter, kept as an array in the
// context's UI state, persisted under numbered keys next to the chapter items and summarised
// into the tray items of the chapter group.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

struct DriverContext;
struct SettingItem;

#pragma pack(push, 1)
struct ChapterRecord {
  WORD page;        // 1-30000; 0 = free record, ends the list
  WORD tray;        // stored value of wdmChapterTray
  BYTE kind;        // 0-2, 3 = page range
  BYTE print;       // 0-2
  WCHAR range[16];  // kind 3: "%d" or "%d-%d", terminated; otherwise empty
};
#pragma pack(pop)
static_assert(sizeof(ChapterRecord) == 38, "chapter record is 38 bytes");
static_assert(offsetof(ChapterRecord, kind) == 4 && offsetof(ChapterRecord, range) == 6, "chapter record fields");

constexpr WORD kChapterPageMax = 30000;
constexpr BYTE kChapterKindRange = 3;
constexpr BYTE kChapterKindMax = 3;
constexpr BYTE kChapterPrintMax = 2;
constexpr int kChapterUseTrays = 8;  // wdmChapterUseTray1-8

// The records the list may hold now: wdmChapterMax, never below 0.
DWORD ChapterLimit(DriverContext* ctx);
// The context's chapter array, made zeroed on first use with the limit + 1 records and grown
// (records kept) when the limit has risen since; its length in records through records. Null
// without a UI state or memory (records then 0).
ChapterRecord* ChapterArray(DriverContext* ctx, DWORD* records);
// Record n in use (n below wdmChapterNum and the limit), or null.
ChapterRecord* ChapterGetRecord(DriverContext* ctx, LONG n);
// wdmChapterNum.
LONG ChapterGetCount(DriverContext* ctx);
// Reads the records in use from the chapter keys of file (the printer's settings ini when
// null); store flags with 8 read the display-language section. The count is first clamped to
// the limit; a record whose page, kind or print is out of range ends the list there. With a
// count of 0 nothing is read. Returns the count.
LONG ChapterLoadAll(DriverContext* ctx, LPCWSTR file, DWORD flags);
// Writes the records in use into file (the printer's settings ini when null), printer
// section; a record with page 0 ends the list and becomes the count.
void ChapterSaveAll(DriverContext* ctx, LPCWSTR file);
// The distinct trays of the kind-0 records, by tray number in record order, into
// wdmChapterUseTray1-8 (never more than eight) and their count into wdmChapterTrayNum.
void ChapterTraySummary(DriverContext* ctx);
// Runs the transacts of wdmChapterTray and wdmChapterPrint (and wdmChapterKind first when
// withKind) for each record in use and keeps the corrected values; the items get their values
// back afterwards.
void ChapterRecheckTrays(DriverContext* ctx, BOOL withKind);
// Loads the stored work items (and with them the records) and the limits once per context,
// then re-checks the trays. The store's result, 1 when already loaded.
int ChapterLoadLimitsOnce(DriverContext* ctx);
// Copies the media type of one of the five cover and chapter media items to the other four.
void ChapterSyncMediaTypes(DriverContext* ctx, WORD id);
// 1 for the items the chapter module stores itself (996-1009).
int ChapterIsChapterItem(const SettingItem* item);
// Whether tray flags serve chapters: kind 0 any chapter tray, 1-3 that chapter tray.
int ChapterTestTrayFlags(DWORD flags, DWORD kind);
// Records the printer's chapter default tray for the first chapter bit of flags.
void ChapterSetDefaultTray(DriverContext* ctx, DWORD flags, DWORD trayValue, BYTE* mark);
// The three chapter default trays become the printer's default tray.
void ChapterResetDefaultTrays(DriverContext* ctx);
// With chapters on, the modules load their stored items (event 12).
void ChapterRefreshIfUsed(DriverContext* ctx);
// Tray number of a tray value (0 for a value the table does not know).
DWORD ChapterTrayNumber(LONG trayValue);
// Tray number of a record's stored tray, through wdmChapterTray's value list.
DWORD ChapterRecordTrayNumber(DriverContext* ctx, WORD storedTray);
