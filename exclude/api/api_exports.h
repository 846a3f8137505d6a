// The bodies of the application interface's exports (zemsexc's ZEMSDrv... functions): each
// looks its handle up once, reads the level once and answers its failure value for a null,
// unknown, disabled or busy handle without storing anything.
#pragma once
#include "platform/win32.h"

struct DriverContext;

LONG ApiExportCheckApiVer(const char* printerName);
LONG ApiExportInit(LONG flag, const LONG* record);
void* ApiExportEnable(const char* printerName);
LONG ApiExportDisable(void* handle);
LONG_PTR ApiExportGetCaps(void* handle, DWORD id, void* buffer);
LONG ApiExportGetDevmode(void* handle, DWORD flags, void* devmode);
LONG ApiExportGetDevmodeEx(void* handle, DWORD flags, void* devmode, const void* input, void* reserved);
LONG ApiExportGetLastError(void* handle);
LONG ApiExportGetStatus(void* handle, DWORD id, void* record, DWORD version);
LONG ApiExportSetStatus(void* handle, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiExportSaveQualityData(void* handle);
LONG ApiExportRestoreQualityData(void* handle);
// ExcGetDriverDevmode's source: the retrieval with flag 1 on the command service's context
// (no API state): the settings block, or null.
const BYTE* ApiDevmodeForExclusion(DriverContext* ctx, const char* printerName);
