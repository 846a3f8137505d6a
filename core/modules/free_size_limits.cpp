// Custom-size limits by tray and orientation.
#include <stddef.h>

#include "core/common/os_tests.h"
#include "core/items/item_access.h"
#include "core/items/units.h"
#include "core/modules/free_size_limits.h"
#include "core/tables/static_tables.h"

namespace {

const FreeSizeLimitsRow* FindRow(WORD tray, WORD orientation) {
  const WORD system = OsIsWin9x() ? 1 : 2;
  auto matches = [&](const FreeSizeLimitsRow& r) {
    return r.tray == tray && r.orientation == orientation && (r.systemKind == 3 || r.systemKind == system);
  };
  const CustomSizeOverrides* model = TblGetCustomSizeOverrides();
  for (DWORD i = 0; model && model->rows && i < model->count; ++i)
    if (model->rows[i].tray != 0 && matches(model->rows[i])) return &model->rows[i];
  for (const FreeSizeLimitsRow* r = TblGetFreeSizeLimits(); r->tray != 0; ++r)
    if (matches(*r)) return r;
  return nullptr;
}

}  // namespace

int FreeSizeGetLimits(DriverContext* ctx, WORD tray, WORD orientation, LONG* maximum, LONG* minimum, BOOL length) {
  const FreeSizeLimitsRow* row = FindRow(tray, orientation);
  if (!row) return 0;
  const LONG* pairs = ItemIsMetricUnit(ctx) ? row->mm : row->inch;
  LONG high = pairs[length ? 0 : 2], low = pairs[length ? 1 : 3];
  // A limit between two display steps would let the edit show a value outside the range.
  LONG shown = ItemDotsToDisplay(ctx, 0, high);
  if (ItemDisplayToDots(ctx, 0, shown) > high && shown > 0) high = ItemDisplayToDots(ctx, 0, shown - 1);
  shown = ItemDotsToDisplay(ctx, 0, low);
  if (ItemDisplayToDots(ctx, 0, shown) < low) low = ItemDisplayToDots(ctx, 0, shown + 1);
  if (maximum) *maximum = high;
  if (minimum) *minimum = low;
  return 1;
}
