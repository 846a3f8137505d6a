// Handlers of the preset, print-quality and colour status items.
#pragma once
#include "exclude/api/api_records.h"  // the shared verify handlers of the rows
#include "platform/win32.h"

struct ApiContext;

// Item 1: a settings file loaded into the job (set); its preset name and comment (get).
LONG ApiSetSettingsFile(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetSettingsFile(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 56: a stored preset by number.
LONG ApiSetPresetNumber(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyPresetNumber(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetPresetNumber(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 34: resolution; item 35: the four toner planes.
LONG ApiSetResolution(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetResolution(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetTonerPlanes(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyTonerPlanes(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetTonerPlanes(ApiContext* api, DWORD id, void* record, DWORD version);
// Items 39, 40, 41, 42, 46, 267, 269: one colour adjustment with its per-object variants.
LONG ApiSetColorAdjust(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyColorAdjust(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetColorAdjust(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 43: colour balance.
LONG ApiSetColorBalance(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyColorBalance(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetColorBalance(ApiContext* api, DWORD id, void* record, DWORD version);
// Item 262: print macros; item 264: toner save.
LONG ApiSetPrintMacros(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyPrintMacros(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetPrintMacros(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetTonerSave(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyTonerSave(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetTonerSave(ApiContext* api, DWORD id, void* record, DWORD version);
