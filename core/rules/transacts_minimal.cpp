// Minimal version until the Transact and Alert runners are built: no list runs, nothing changes.
#include "core/rules/transacts.h"

int ModelRunItemTransacts(const ModelItemDescriptor*, DriverContext*) { return 0; }
int ModelRunItemTransactById(WORD, DriverContext*) { return 0; }
