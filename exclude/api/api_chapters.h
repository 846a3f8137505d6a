// The chapter records of a job as the interface keeps them, and the chapter and colour-profile
// list operations.
#pragma once
#include "platform/win32.h"

struct ApiContext;

#pragma pack(push, 1)
struct ChapterRecord {
  WORD page;        // 1-30000; 0 = free record, ends the list
  WORD tray;
  BYTE kind;        // 3 = page range
  BYTE print;
  WCHAR range[16];  // kind 3: "%d" or "%d-%d"
};
#pragma pack(pop)
static_assert(sizeof(ChapterRecord) == 38, "chapter record is 38 bytes");

// 1 when either array is missing or, within the used entries (at most count), page, kind,
// tray or print differ; else 0.
int ChapterArraysDiffer(const ChapterRecord* a, const ChapterRecord* b, DWORD used, DWORD count);

// The list multiplexer (operations 0-6): 1 when carried out, 0 when not.
int ApiChapterListOp(ApiContext* api, int operation, LONG_PTR* record);
LONG ApiColorProfileCount(ApiContext* api);
int ApiColorProfileName(ApiContext* api, LONG index, WCHAR* name64);
