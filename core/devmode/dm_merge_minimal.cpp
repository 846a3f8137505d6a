// Minimal version until the DEVMODE merge is built: the context's settings stay as they are.
#include "core/devmode/dm_merge.h"

BOOL DmMergeIntoContext(DriverContext*, const void*, DWORD) { return TRUE; }

void DmRecheckChapterTrays(DriverContext*) {}

void DmRecomputeDerived(BYTE*, DriverContext*, int) {}
