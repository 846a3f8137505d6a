// Custom-size limits by tray and orientation.
#include <stddef.h>

#include "core/common/os_tests.h"
#include "core/front/dialog_records.h"
#include "core/front/page_lookup.h"
#include "core/front/control_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/modules/free_size_limits.h"
#include "core/tables/static_tables.h"

namespace {

constexpr WORD kSlotDialog = 1017, kSizeDialog = 1041;
constexpr WORD kInchLength = 594, kInchWidth = 595;  // zdmPaperINCHLength, zdmPaperINCHWidth
constexpr LONG kUserPaperSize = 256;

// The size controls of the two dialogs and the pair of limits each uses.
struct SizeControl {
  WORD dialog;
  WORD id;
  bool length;
};
const SizeControl kSizeControls[] = {
    {kSlotDialog, 2220, true},  {kSlotDialog, 2221, true},  {kSlotDialog, 2392, true},  {kSlotDialog, 2393, true},
    {kSlotDialog, 2400, true},  {kSlotDialog, 2401, true},  {kSlotDialog, 2224, false}, {kSlotDialog, 2225, false},
    {kSlotDialog, 2394, false}, {kSlotDialog, 2395, false}, {kSlotDialog, 2398, false}, {kSlotDialog, 2399, false},
    {kSizeDialog, 2682, true},  {kSizeDialog, 2683, true},  {kSizeDialog, 2684, true},  {kSizeDialog, 2685, true},
    {kSizeDialog, 2686, true},  {kSizeDialog, 2687, true},  {kSizeDialog, 2689, false}, {kSizeDialog, 2690, false},
    {kSizeDialog, 2691, false}, {kSizeDialog, 2692, false}, {kSizeDialog, 2693, false}, {kSizeDialog, 2694, false},
};

const SizeControl* FindSizeControl(WORD dialog, WORD id) {
  for (const SizeControl& c : kSizeControls)
    if (c.id == id && (dialog == 0 || c.dialog == dialog)) return &c;
  return nullptr;
}

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

int FreeSizeGetPageLimits(DriverContext* ctx, WORD dialog, WORD controlId, LONG* maximum, LONG* minimum) {
  const SizeControl* c = FindSizeControl(dialog, controlId);
  if (!ctx || !c) return 0;
  WORD trayItem = kItem_wdmFreeSizeTray, orientItem = kItem_wdmFreeSizeOrient;
  if (c->dialog == kSizeDialog) {
    const bool paper = ItemGetRawById(ctx, kItem_wdmInputFreeSizeType) == 1;
    trayItem = paper ? kItem_zdmPaperFreeSizeTray : kItem_zdmPrintFreeSizeTray;
    orientItem = paper ? kItem_zdmPaperFreeSizeOrient : kItem_zdmPrintFreeSizeOrient;
  }
  return FreeSizeGetLimits(ctx, static_cast<WORD>(ItemGetRawById(ctx, trayItem)),
                           static_cast<WORD>(ItemGetRawById(ctx, orientItem)), maximum, minimum, c->length);
}

int FreeSizeGetControlLimits(DriverContext* ctx, const DlgControlRecord* control, DWORD* maximum, DWORD* minimum) {
  if (!control) return 0;
  LONG high = 0, low = 0;
  if (!FreeSizeGetPageLimits(ctx, 0, control->controlId, &high, &low)) return 0;
  if (maximum) *maximum = static_cast<DWORD>(high);
  if (minimum) *minimum = static_cast<DWORD>(low);
  return 1;
}

int FreeSizeDisplayLimits(DriverContext* ctx, WORD dialog, const DlgControlRecord* control, LONG* minimum,
                          LONG* maximum) {
  if (!control) return 0;
  LONG high = 0, low = 0;
  if (FreeSizeGetPageLimits(ctx, dialog, control->controlId, &high, &low)) {
    if (minimum) *minimum = ItemDotsToDisplay(ctx, 0, low);
    if (maximum) *maximum = ItemDotsToDisplay(ctx, 0, high);
    return 1;
  }
  return CtlDisplayRange(ctx, control, minimum, maximum) ? 1 : 0;
}

int FreeSizeInInchMode(DriverContext* ctx) {
  return ItemGetRawById(ctx, kItem_dmPaperSize) == kUserPaperSize && !ItemIsMetricUnit(ctx) &&
                 ItemGetRawById(ctx, kItem_wdmInputFreeSizeType) == 1
             ? 1
             : 0;
}

void FreeSizeSyncInchItems(DriverContext* ctx) {
  if (!ctx) return;
  DlgPageRecord* page = PageFind(ctx, kSizeDialog);
  const struct {
    WORD from, to, edit;
  } pairs[] = {{kItem_zdmPaperFreeSizeLength, kInchLength, 2682}, {kItem_zdmPaperFreeSizeWidth, kInchWidth, 2689}};
  for (const auto& p : pairs) {
    LONG shown = ItemDotsToDisplay(ctx, 0, static_cast<LONG>(ItemGetRawById(ctx, p.from)));
    DlgControlRecord* edit = page ? CtlFind(ctx, page, p.edit) : nullptr;
    LONG low = 0, high = 0;
    if (edit && FreeSizeDisplayLimits(ctx, kSizeDialog, edit, &low, &high)) {
      if (shown > high) shown = high;
      if (shown < low) shown = low;
    } else if (FreeSizeGetPageLimits(ctx, kSizeDialog, p.edit, &high, &low)) {
      // Without the dialog's rows the limits row still bounds the inch value.
      high = ItemDotsToDisplay(ctx, 0, high);
      low = ItemDotsToDisplay(ctx, 0, low);
      if (shown > high) shown = high;
      if (shown < low) shown = low;
    }
    if (ItemGetRawById(ctx, p.to) != shown) ItemSetRawById(ctx, p.to, shown);
  }
}
