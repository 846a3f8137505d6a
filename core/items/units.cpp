// Length conversions between 1/1200 inch and the display units, and display ranges.
#include "core/items/units.h"

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/tables/model_record.h"
#include "core/model/model_types.h"
#include "core/front/dialog_records.h"
#include "core/modules/free_size_limits.h"

namespace {

constexpr DWORD kDeviceDpi = 1200;  // the settings' length unit: 1/1200 inch

DWORD DotsToDisplayUnit(int flag, DWORD dots) {
  return flag == kUnitTenthMm ? UnitToTenthMm(dots, kDeviceDpi)
                              : UnitToHundredthInch(dots, kDeviceDpi);
}

DWORD DisplayUnitToDots(int flag, DWORD value) {
  return flag == kUnitTenthMm ? UnitFromTenthMm(value, kDeviceDpi)
                              : UnitFromHundredthInch(value, kDeviceDpi);
}

int DisplayFlag(DriverContext* ctx) {
  return ItemIsMetricUnit(ctx) ? kUnitTenthMm : kUnitHundredthInch;
}

}  // namespace

DWORD UnitToTenthMm(DWORD a, DWORD b) {
  if (b == 0) return 0;
  return (a / b) * 254 + (a % b) * 254 / b;
}

DWORD UnitToHundredthInch(DWORD a, DWORD b) {
  // Below 100 units per inch the divisor b / 100 is 0: no such resolution exists, answer 0.
  DWORD per_hundredth = b / 100;
  if (per_hundredth == 0) return 0;
  return a / per_hundredth;
}

DWORD UnitFromTenthMm(DWORD a, DWORD b) {
  return b * (a / 254) + b * (a % 254) / 254;
}

DWORD UnitFromHundredthInch(DWORD a, DWORD b) {
  return a * (b / 100);
}

DWORD UnitRescale(DWORD a, DWORD b, DWORD c) {
  if (b == 0 || c == 0) return 0;
  return c * (a / b) + c * (a % b) / b;
}

LONG UnitMulDiv(LONG a, LONG b, LONG c) {
  if (c == 0) return -1;
  // The product wraps in 32 bits as the stored settings were computed; done unsigned to keep
  // the wrap defined, and the one quotient that does not fit (minimum / -1) wraps likewise.
  LONG product = static_cast<LONG>(static_cast<DWORD>(a) * static_cast<DWORD>(b));
  if (c == -1) return static_cast<LONG>(0u - static_cast<DWORD>(product));
  // Division floors, as every division of the unit arithmetic does: -21 / 2 is -11, not the
  // -10 that truncation gives.
  LONG quotient = product / c;
  if (product % c != 0 && ((product < 0) != (c < 0))) --quotient;
  return quotient;
}

DWORD UnitDisplayToDots(int flag, DWORD value, DWORD dpi) {
  if (flag != kUnitTenthMm && flag != kUnitHundredthInch) return 0;
  DWORD n = DisplayUnitToDots(flag, value);
  // From an exact conversion at most two steps are needed (to even, then below); the bound
  // only matters for values so large that the 32-bit arithmetic has wrapped.
  for (int step = 0; step < 64 && n > 0; ++step) {
    if ((n & 1) == 0 && DotsToDisplayUnit(flag, n) <= value) break;
    --n;
  }
  return UnitRescale(n, kDeviceDpi, dpi);
}

DWORD UnitDotsToDisplay(int flag, DWORD value, DWORD dpi) {
  if (flag != kUnitTenthMm && flag != kUnitHundredthInch) return 0;
  DWORD b = UnitRescale(value, dpi, kDeviceDpi);
  DWORD i = DotsToDisplayUnit(flag, b);
  // The floor conversion is at most one display step short; the bound guards wrapped values.
  for (int step = 0; step < 64; ++step) {
    if (DisplayUnitToDots(flag, i) >= b) break;
    ++i;
  }
  return i;
}

LONG ItemDotsToDisplay(DriverContext* ctx, WORD id, LONG value) {
  if (id != 0) value = static_cast<LONG>(ItemGetValueById(ctx, id));
  if (value < 0) return 0;
  return static_cast<LONG>(UnitDotsToDisplay(DisplayFlag(ctx), static_cast<DWORD>(value),
                                             kDeviceDpi));
}

LONG ItemDisplayToDots(DriverContext* ctx, WORD id, LONG value) {
  if (value < 0) value = 0;
  LONG dots = static_cast<LONG>(
      UnitDisplayToDots(DisplayFlag(ctx), static_cast<DWORD>(value), kDeviceDpi));
  if (id != 0) ItemSetValueById(ctx, id, dots);
  return dots;
}

namespace {

// Inward rounding of a range given in 1/1200 inch.
void RoundRangeInward(DriverContext* ctx, LONG min_dots, LONG max_dots, LONG* min, LONG* max) {
  LONG d = ItemDotsToDisplay(ctx, 0, min_dots);
  if (ItemDisplayToDots(ctx, 0, d) < min_dots) ++d;
  if (min) *min = d;
  d = ItemDotsToDisplay(ctx, 0, max_dots);
  if (ItemDisplayToDots(ctx, 0, d) > max_dots) --d;
  if (max) *max = d;
}

// Custom width or length limits of the context's model record, in 1/1200 inch.
bool FreeSizeLimits(DriverContext* ctx, WORD id, LONG* lo, LONG* hi) {
  const ModelRecord* record = ctx ? ctx->model : nullptr;
  if (!record) return false;
  if (id == kItem_wdmFreeSizeWidth) {
    *lo = static_cast<LONG>(record->customWidthMin);
    *hi = static_cast<LONG>(record->customWidthMax);
    return true;
  }
  if (id == kItem_wdmFreeSizeLength) {
    *lo = static_cast<LONG>(record->customLengthMin);
    *hi = static_cast<LONG>(record->customLengthMax);
    return true;
  }
  return false;
}

// Minimum and maximum of the control's numeric description.
bool NumericRange(const DlgControlRecord* control, LONG* lo, LONG* hi) {
  const ModelItemDescriptor* d = control->descriptor;
  if (!d || (d->type & ~kModelTypeFlags & 0xFF) != kModelTypeNumeric || !d->values) return false;
  const NumericValueRecord* numeric = static_cast<const NumericValueRecord*>(d->values);
  *lo = numeric->minimum;
  *hi = numeric->maximum;
  return true;
}

}  // namespace

BOOL ModelFreeSizeRange(DriverContext* ctx, WORD id, LONG* min, LONG* max) {
  LONG lo, hi;
  if (!FreeSizeLimits(ctx, id, &lo, &hi)) return 0;
  RoundRangeInward(ctx, lo, hi, min, max);
  return 1;
}

BOOL CtlDisplayRange(DriverContext* ctx, const DlgControlRecord* control, LONG* min, LONG* max) {
  if (!control) return 0;
  DWORD lim_max = 0, lim_min = 0;
  if (FreeSizeGetControlLimits(ctx, control, &lim_max, &lim_min)) {
    if (min) *min = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(lim_min));
    if (max) *max = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(lim_max));
    return 1;
  }
  LONG lo, hi;
  if (!NumericRange(control, &lo, &hi)) return 0;
  RoundRangeInward(ctx, lo, hi, min, max);
  return 1;
}

int ItemLangUsesDecimalComma(const DriverContext* ctx) {
  // Language indexes 2 to 15 of the language table are the decimal-comma languages. Reading
  // an item changes nothing, whatever the item access's signature says.
  LONG_PTR lang = ItemGetRawById(const_cast<DriverContext*>(ctx), kItem_zdmLanguageID);
  return lang >= 2 && lang <= 15;
}

