// Minimal versions until these modules' window-less logic is built: the print-method row
// answer nothing, so every sender keeps its defaults.
#include "core/modules/module_rows.h"

int PrnMethodHandleNotify(DriverContext*, WORD, void*) { return 0; }
int PrnMethodHandleEvent(DriverContext*, int, void*, void*) { return 0; }
int PrnMethodHandleEventExclusion(DriverContext*, int, void*, void*) { return 0; }
int PrnMethodHandleEventGraphics(DriverContext*, int, void*, void*) { return 0; }
