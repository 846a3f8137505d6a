// Minimal versions until these module dialogs are built: the preset, watermark, quality and
// installable-options control callbacks take no message, so their controls keep the dialog
// engine's own handling, and the preset and watermark modules leave their controls' restricted
// state (event 3) and the watermark previews (event 7) to the dialog engine. The dialog work of
// each module replaces its callback here.
#include "core/modules/module_rows.h"

int PresetHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int WmHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int QualityHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
int OptHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }

int PresetHandleEvent(DriverContext*, int, void*, void*) { return 0; }
int WmHandleEvent(DriverContext*, int, void*, void*) { return 0; }
