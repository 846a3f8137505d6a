// Minimal version until the dialog engine is built: no language resource DLL is loaded, so no
// sub-dialog runs.
#include "core/system/sub_dialog.h"

int DlgRunSubDialog(DriverContext*, int, int, HWND) { return -1; }
