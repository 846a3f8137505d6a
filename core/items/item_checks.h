// Checks of a value against the model description before it enters a setting, and the repair
// of a settings block after its defaults or a DEVMODE merge.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Results of a check.
enum ItemCheckResult : int {
  kCheckRefused = 0,
  kCheckAccepted = 1,
  kCheckNoItemRule = 2,        // no item record, or an item without a symbol id
  kCheckNoDescriptor = 3,      // the description does not describe the item
  kCheckDisabled = 4,
  kCheckRestricted = 5,
};

// 1 accepted (the check gave 1 or 5), 0 refused, 2 or 3 no rule.
int ItemIsValueAllowed(WORD id, LONG_PTR value, DriverContext* ctx);
int ItemIsValueAllowedBasic(WORD id, LONG_PTR value, DriverContext* ctx);
// 1 accepted or repaired, 2 or 3 no rule; the basic form 0 for a list value not listed.
int ItemCheckAndRepair(WORD id, LONG_PTR value, DriverContext* ctx);
int ItemCheckAndRepairBasic(WORD id, LONG_PTR value, DriverContext* ctx);

// Brings every private DEVMODE item into a valid state. Mode 1 after the defaults were built,
// mode 2 after a DEVMODE was merged.
void ItemRepairSweep(DriverContext* ctx, int mode);

// Validity of public DEVMODE field values: 1 when valid.
int DmIsValidOrientation(LONG_PTR value, DriverContext* ctx);
int DmIsValidPaperSize(LONG_PTR value, DriverContext* ctx);
int DmIsValidDefaultSource(LONG_PTR value, DriverContext* ctx);
int DmIsValidPrintQuality(LONG_PTR value, DriverContext* ctx);
int DmIsValidColor(LONG_PTR value, DriverContext* ctx);
int DmIsValidDuplex(LONG_PTR value, DriverContext* ctx);
int DmIsValidTTOption(LONG_PTR value, DriverContext* ctx);
int DmIsValidICMMethod(LONG_PTR value, DriverContext* ctx);
int DmIsValidICMIntent(LONG_PTR value, DriverContext* ctx);
int DmIsValidMediaType(LONG_PTR value, DriverContext* ctx);
int DmIsValidDitherType(LONG_PTR value, DriverContext* ctx);
int DmIsValidAlways(LONG_PTR value, DriverContext* ctx);
