// Checks of a value against the model description before it enters a setting, and the repair
// of a settings block after its defaults or a DEVMODE merge.
//
// Values: a check takes the item's stored value. For an item with a value list of its own the
// stored value is mapped to its logical value (the id of its display string) first; list
// membership and the value's judges use that logical value. Everything that is compared or
// written as a code (N-up kinds and codes, dmOrientation, a function gate being on, the colour
// matching codes, the fixed DEVMODE rules) is the stored value. Checks read and write items
// only through item access: on a context without a settings block they answer from the value
// passed and write nothing.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct SettingItem;
struct ModelItemDescriptor;
struct NumericValueRecord;

// Results of a check.
enum ItemCheckResult : int {
  kCheckRefused = 0,
  kCheckAccepted = 1,
  kCheckNoItemRule = 2,        // no item record, or an item without a symbol id
  kCheckNoDescriptor = 3,      // the description does not describe the item
  kCheckDisabled = 4,
  kCheckRestricted = 5,
};

// Merge flags (UI state) that the repair reads.
enum : DWORD {
  kMergeKeepDisabled = 0x00080000,   // the setting-lock module merges: a disabled value stays
  kMergeOptionBlock = 0x40000000,    // an option-request block was applied during the merge
};

// The full check of a stored value against the descriptor: 0 refused, 1 accepted, 4 disabled,
// 5 restricted. Without a descriptor only the item's own value list can accept a value. Also aligns the N-up settings (zdmNUPPOSTKind, zdmNUPType) when zdmNUPType is
// checked while N-up is on: those two writes happen inside the check by design.
int ItemCheckValueRules(const SettingItem* item, WORD id, LONG_PTR value, DriverContext* ctx,
                        const ModelItemDescriptor* desc);
// The basic check: list membership, the value's disable judge, Boolean and Numeric ranges; no
// couplings and no restrict judge. 0 or 1.
int ItemCheckValueBasic(const SettingItem* item, WORD id, LONG_PTR value, DriverContext* ctx);

// 1 accepted (the check gave 1 or 5), 0 refused, 2 or 3 no rule.
int ItemIsValueAllowed(WORD id, LONG_PTR value, DriverContext* ctx);
int ItemIsValueAllowedBasic(WORD id, LONG_PTR value, DriverContext* ctx);
// 1 accepted or repaired, 2 or 3 no rule (nothing repaired then). A refused value is repaired:
// zdmPresetNo outside the presets becomes 0; a disabled value stays while the merge flags have
// kMergeKeepDisabled; else ItemClampOrReset after an option-request block, or the model
// default. The basic form does not repair a refused list value of an item with its own list:
// it answers 1 or 0 for whether the stored value is listed.
int ItemCheckAndRepair(WORD id, LONG_PTR value, DriverContext* ctx);
int ItemCheckAndRepairBasic(WORD id, LONG_PTR value, DriverContext* ctx);
// Repair after an option-request block: zdmScaleH and zdmScaleV (Numeric) are clamped into the
// model's range; every other case is reset to the model default.
void ItemClampOrReset(WORD id, DriverContext* ctx, SettingItem* item, LONG_PTR value);

// The item whose own value list maps the values the descriptor speaks of: the item itself,
// or, for an item without a list of its own that mirrors another (Identity), the mirrored
// item, whose value records the descriptor shares. Null when neither has a list.
const SettingItem* ItemValueListOwner(DriverContext* ctx, const SettingItem* item,
                                      const ModelItemDescriptor* desc);
// 1 when an entry of the descriptor's value list holds the value (compared as 16 bits).
int ItemValueListContains(const void* firstValue, LONG_PTR value);
// 1 for 0 and 1.
int ItemIsBooleanValue(LONG_PTR value);
// 1 when minimum <= value <= maximum, compared signed; 0 without a record.
int ItemNumericInRange(const NumericValueRecord* range, LONG_PTR value);
// The N-up post kind of a stored zdmNUPType code (0 for none), also written to *kind when given.
DWORD ItemNupTypeKind(LONG_PTR nupType, DWORD* kind);
// Runs the Transact list of every item that has a descriptor, in table order.
void ItemRunAllTransacts(DriverContext* ctx);

// Brings every private DEVMODE item (ids 35-696) into a valid state. Mode 1 after the defaults
// were built, mode 2 after a DEVMODE was merged. Items the model describes are checked and
// repaired; the others go through the repair handler table (item_repair.h).
void ItemRepairSweep(DriverContext* ctx, int mode);

// Validity of public DEVMODE field values: 1 when valid. The model's rule decides when it has
// one (the basic check); without one a fixed rule of the field does.
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
