// Validity of the public DEVMODE field values: the model's basic check when it has a rule for
// the field, else the field's fixed rule.
#include "core/items/item_checks.h"

#include "core/items/item_ids.h"
#include "core/tables/value_symbols.h"

namespace {

// The fixed rule decides only when the model has none (2 or 3).
int Decide(int check, bool fixedRule) {
  if (check == 0 || check == 1) return check;
  return fixedRule ? 1 : 0;
}

bool Between(LONG_PTR value, LONG low, LONG high) { return value >= low && value <= high; }

bool Known(WORD id, LONG_PTR value) { return TblIsKnownValue(id, static_cast<LONG>(value)) != 0; }

}  // namespace

int DmIsValidDefaultSource(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmDefaultSource, value, ctx),
                Between(value, 1, 15) || Known(kItem_dmDefaultSource, value));
}

int DmIsValidOrientation(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemCheckAndRepairBasic(kItem_dmOrientation, value, ctx), value == 1 || value == 2);
}

// A paper the model does not describe is never valid.
int DmIsValidPaperSize(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmPaperSize, value, ctx), false);
}

int DmIsValidPrintQuality(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmPrintQuality, value, ctx), Known(kItem_dmPrintQuality, value));
}

int DmIsValidDuplex(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmDuplex, value, ctx), Between(value, 1, 3));
}

int DmIsValidColor(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmColor, value, ctx), value == 1 || value == 2);
}

int DmIsValidTTOption(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmTTOption, value, ctx), Between(value, 1, 4));
}

int DmIsValidICMMethod(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmICMMethod, value, ctx),
                Between(value, 1, 4) || Known(kItem_dmICMMethod, value));
}

int DmIsValidICMIntent(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmICMIntent, value, ctx),
                value == 1 || value == 2 || Known(kItem_dmICMIntent, value));
}

int DmIsValidMediaType(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmMediaType, value, ctx),
                Between(value, 1, 3) || Known(kItem_dmMediaType, value));
}

int DmIsValidDitherType(LONG_PTR value, DriverContext* ctx) {
  return Decide(ItemIsValueAllowedBasic(kItem_dmDitherType, value, ctx),
                Between(value, 1, 4) || value == 10 || Known(kItem_dmDitherType, value));
}

int DmIsValidAlways(LONG_PTR, DriverContext*) { return 1; }
