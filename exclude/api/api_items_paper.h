// Handlers of the paper and layout status items (paper size, output paper, scale, N-up, output
// rotation, manual-tray orientation, tray information) and the helpers they share with the
// finishing items.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct DriverContext;

// The paper and resolution sync after a change of the input paper or the load share: the
// DEVMODE resolution from the destination resolution, the paper dots from dmPaperWidth and
// dmPaperLength when dmFields holds both (else the input paper from dmPaperSize), then the
// output paper. 0: it reports no problem.
int ApiSyncPaperAndResolution(ApiContext* api);

// Whether value would survive the model's rules once the master setting is switched on: 1
// allowed, 0 refused (error 100 when the settings could not be copied). The settings block is
// left exactly as it was.
int ApiTrialSetValue(ApiContext* api, DWORD statusId, WORD master, WORD setting, LONG value);
// 1 when width and length (display units) are both inside the printer's custom-size range.
int ApiCheckCustomSize(ApiContext* api, LONG width, LONG length);
// A custom width or length in display units as the DEVMODE's 0.1 mm: unchanged in metric
// units, converted from 0.01 inch otherwise; 0 for a value of 0 or less. The paper item and
// the engine's rewrite of the public paper fields both use it, so the verify finds what the
// engine left.
LONG ApiDisplayToTenthMm(DriverContext* ctx, LONG value);

LONG ApiSetPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetPaper(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetOutputPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyOutputPaper(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetOutputPaper(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetScale(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyScale(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetScale(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetNup(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyNup(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetNup(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetRotation(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyRotation(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetRotation(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiSetManualTray(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiVerifyManualTray(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
LONG ApiGetManualTray(ApiContext* api, DWORD id, void* record, DWORD version);
LONG ApiGetTrayInfo(ApiContext* api, DWORD id, void* record, DWORD version);
