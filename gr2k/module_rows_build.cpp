// The module table this deliverable's core dispatches through.
#include "core/modules/module_rows.h"

const UiModuleEntry* BuildGetModuleRows() { return kModuleRowsGraphics; }
