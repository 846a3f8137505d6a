// The chapter records of a job as the interface keeps them, and the chapter and colour-profile
// list operations.
#pragma once
#include "core/modules/chapter_records.h"
#include "platform/win32.h"

struct ApiContext;

// 1 when either array is missing or, within the used entries (at most count), page, kind,
// tray or print differ; else 0.
int ChapterArraysDiffer(const ChapterRecord* a, const ChapterRecord* b, DWORD used, DWORD count);

// The list multiplexer (operations 0-6): 1 when carried out, 0 when not.
int ApiChapterListOp(ApiContext* api, int operation, LONG_PTR* record);
LONG ApiColorProfileCount(ApiContext* api);
int ApiColorProfileName(ApiContext* api, LONG index, WCHAR* name64);
