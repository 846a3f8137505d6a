// Minimal version until the value checks and the repair sweep are built: the model describes
// nothing, every public field value is taken as valid and the sweep leaves the block alone.
#include "core/items/item_checks.h"

int ItemIsValueAllowed(WORD, LONG_PTR, DriverContext*) { return kCheckNoDescriptor; }
int ItemIsValueAllowedBasic(WORD, LONG_PTR, DriverContext*) { return kCheckNoDescriptor; }
int ItemCheckAndRepair(WORD, LONG_PTR, DriverContext*) { return kCheckNoDescriptor; }
int ItemCheckAndRepairBasic(WORD, LONG_PTR, DriverContext*) { return kCheckNoDescriptor; }
void ItemRepairSweep(DriverContext*, int) {}

int DmIsValidOrientation(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidPaperSize(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidDefaultSource(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidPrintQuality(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidColor(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidDuplex(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidTTOption(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidICMMethod(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidICMIntent(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidMediaType(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidDitherType(LONG_PTR, DriverContext*) { return 1; }
int DmIsValidAlways(LONG_PTR, DriverContext*) { return 1; }
