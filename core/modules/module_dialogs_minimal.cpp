// Minimal version until the quality dialogs are built: their control callback takes no message,
// so their controls keep the dialog engine's own handling.
#include "core/modules/module_rows.h"

int QualityHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
