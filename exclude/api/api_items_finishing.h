// Handlers of the finishing status items (covers, mark paper, duplex, margins, sort, staple,
// punch, fold, chapters, corner, crops, creep, folding).
#pragma once
#include "exclude/api/api_records.h"  // the shared verify handlers of the rows
#include "platform/win32.h"

struct ApiContext;

LONG ApiSetCover(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyCover(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetCover(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetMarkPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyMarkPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetMarkPaper(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetDuplex(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetDuplex(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetShiftMargin(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetShiftMargin(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetSort(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifySort(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetSort(ApiContext* api, DWORD id, void* record, DWORD version);
// Items 20 (staple), 21 (punch) and 51 (fold): type and switch, the type tried first.
LONG ApiSetFinisher(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetFinisher(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetBackCover(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyBackCover(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetBackCover(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetInsertMedia(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetInsertMedia(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetChapters(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyChapters(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetChapters(ApiContext* api, DWORD id, void* record, DWORD version);
// Items 68 (corner), 69 (margin overlap), 70 (crops), 71 (creep) under the margin switch.
LONG ApiSetPageEdge(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyPageEdge(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetPageEdge(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetFolding(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyFolding(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetFolding(ApiContext* api, DWORD id, void* record, DWORD version);
