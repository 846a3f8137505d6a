// Minimal versions until these modules' window-less logic is built: the lock and print-method
// rows answer nothing, so every sender keeps its defaults.
#include "core/modules/module_rows.h"

int LockHandleNotify(DriverContext*, WORD, void*) { return 0; }
int LockHandleNotifyNoWindow(DriverContext*, WORD, void*) { return 0; }
int LockHandleEvent(DriverContext*, int, void*, void*) { return 0; }
int LockHandleEventNoWindow(DriverContext*, int, void*, void*) { return 0; }
int PrnMethodHandleNotify(DriverContext*, WORD, void*) { return 0; }
int PrnMethodHandleEvent(DriverContext*, int, void*, void*) { return 0; }
int PrnMethodHandleEventExclusion(DriverContext*, int, void*, void*) { return 0; }
int PrnMethodHandleEventGraphics(DriverContext*, int, void*, void*) { return 0; }
