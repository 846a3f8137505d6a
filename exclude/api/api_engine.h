// GetStatus and SetStatus: the dispatch of a status get, the set engine with its snapshots,
// gates, rollback and change propagation.
#pragma once
#include "platform/win32.h"

struct ApiContext;
struct ApiStatusItem;

// The body of ZEMSDrvGetStatus after the export's checks.
LONG ApiGetStatusItem(ApiContext* api, DWORD id, void* record, DWORD version);
// The body of ZEMSDrvSetStatus after the export's checks: 0, the item's version count, or -1
// with the last error set; on -1 the context is as it was (settings, chapters, stored values)
// and the bitmap zeroed.
LONG ApiSetStatusItem(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode);
// 0 when the record's version is not above the item's; above: 2 in mode 2, else 1.
int ApiCheckSetVersion(const void* record, DWORD versionCount, LONG mode);
void ApiSnapshotConstraints(ApiContext* api);
void ApiRefreshConstraints(ApiContext* api);
// The model's follow-ups of a set and the changed-items bitmap: 1, or 0 when a copy it needs
// could not be made (the engine then fails the call).
int ApiPropagateChange(ApiContext* api, const ApiStatusItem* row, const void* record, BYTE* changedBits);
// The bit the set of status `id` reports for itself in the changed-items bitmap, by the rules
// of each item (the record is the caller's): the id, another item's id (66 reports the cover
// that carries the reverse cover's outside), or 0.
DWORD ApiOwnItemBit(ApiContext* api, DWORD id, const void* record);
// The resolution form of zdmDstResolutionW: -1, 0 (list) or 1 (numeric without list).
int ApiResolutionForm(ApiContext* api);
