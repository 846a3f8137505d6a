// Minimal versions until these module dialogs are built: the quality and installable-options
// control callbacks take no message, so their controls keep the dialog engine's own handling.
// The dialog work of each module replaces its callback here.
#include "core/modules/module_rows.h"

int OptHandleControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) { return 0; }
