// The callbacks of module rows that take no part in a dispatch.
#include "core/modules/module_rows.h"

int UiModuleIgnoreNotify(DriverContext*, WORD, void*) { return 0; }

int UiModuleIgnoreEvent(DriverContext*, int, void*, void*) { return 0; }

int UiModuleIgnoreControl(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT, WPARAM, LPARAM, void*) {
  return 0;
}
