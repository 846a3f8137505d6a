// Minimal versions until the module dialogs are built: the printer interface's control
// callbacks take no message, so every control keeps the dialog engine's own handling, and the
// preset and watermark modules leave their controls' restricted state (event 3) and the
// watermark previews (event 7) to the dialog engine; the custom-size dialogs' bindings and
// swaps (notify 200-205) wait for those dialogs. The dialog work of each module replaces
// its callback here.
#include "core/modules/module_rows.h"

int PresetHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int WmHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int QualityHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int OptHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int TtfHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int LockHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int PrnMethodHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }

int PresetHandleEvent(DriverContext*, int, void*, void*) { return 0; }
int WmHandleEvent(DriverContext*, int, void*, void*) { return 0; }
