// The host's module table, for the contexts it opens itself: the graphics DLL's, to go with
// its build switches (host_variant.cpp).
#include "core/modules/module_rows.h"

const UiModuleEntry* BuildGetModuleRows() { return kModuleRowsGraphics; }
