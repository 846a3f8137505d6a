// The custom-paper module's window-less answers: the inch items beside the 1/1200-inch paper
// size, the limits of the size controls and the slots' papers after the slot editor.
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/module_rows.h"
#include "core/store/free_size_store.h"

namespace {

enum : int {
  kEventEditShown = 38,
  kEventEditTyped = 39,
  kEventEditCommitting = 40,
  kEventEditCommitted = 41,
  kEventAlertDone = 42,
  kEventScrollMoved = 43,
  kEventPublicPaper = 44,
  kEventInputPaper = 45,
  kEventScrollRange = 46,
  kEventChangeAccepted = 47,
  kEventEditInchCapable = 51,
  kEventKeyboardChange = 55,
};

constexpr WORD kInchLength = 594, kInchWidth = 595;  // zdmPaperINCHLength, zdmPaperINCHWidth
constexpr WORD kSlotDialog = 1017;
constexpr int kSlotCount = 10;

bool In(WORD id, WORD first, WORD last) { return id >= first && id <= last; }

// The inch item of a size edit of dialog 1041, 0 for any other control.
WORD InchItemOfEdit(const DlgControlRecord* control) {
  if (!control) return 0;
  if (In(control->controlId, 2682, 2684)) return kInchLength;
  if (In(control->controlId, 2689, 2691)) return kInchWidth;
  return 0;
}
WORD InchItemOfSpin(const DlgControlRecord* control) {
  if (!control) return 0;
  if (In(control->controlId, 2685, 2687)) return kInchLength;
  if (In(control->controlId, 2692, 2694)) return kInchWidth;
  return 0;
}

bool InchCapable(WORD id) {
  static const WORD kEdits[] = {2220, 2224, 2392, 2394, 2398, 2400};
  for (WORD e : kEdits)
    if (e == id) return true;
  return In(id, 2682, 2684) || In(id, 2689, 2691);
}

// 0.1 mm from 0.01 inch, rounded up so that the inch value read back is the one typed.
short TenthMmFromInch(LONG inch) { return static_cast<short>(FreeSizeInchToMetric(inch)); }

int Answer(DriverContext* ctx, int event, void* argument, bool withAcceptedChange) {
  const bool inch = FreeSizeInInchMode(ctx) != 0;
  switch (event) {
    case kEventEditShown:
    case kEventEditCommitting: {
      auto* e = static_cast<FreeSizeValueEvent*>(argument);
      const WORD item = e ? InchItemOfEdit(e->control) : 0;
      if (inch && item) e->value = static_cast<LONG>(ItemGetRawById(ctx, item));
      return 1;
    }
    case kEventEditTyped: {
      auto* e = static_cast<FreeSizeValueEvent*>(argument);
      const WORD item = e ? InchItemOfEdit(e->control) : 0;
      if (inch && item) ItemSetRawById(ctx, item, e->value);
      return 1;
    }
    case kEventEditCommitted:
    case kEventKeyboardChange: {
      auto* e = static_cast<FreeSizeValueEvent*>(argument);
      WORD item = e ? InchItemOfEdit(e->control) : 0;
      if (e && !item) item = InchItemOfSpin(e->control);
      if (inch && item) ItemSetRawById(ctx, item, ItemDotsToDisplay(ctx, 0, e->value));
      return 1;
    }
    case kEventAlertDone:
      if (inch) FreeSizeSyncInchItems(ctx);
      return 1;
    case kEventScrollMoved: {
      auto* e = static_cast<FreeSizeValueEvent*>(argument);
      const WORD item = e ? InchItemOfSpin(e->control) : 0;
      if (inch && item) ItemSetRawById(ctx, item, e->value);
      return 1;
    }
    case kEventPublicPaper: {
      auto* dm = static_cast<DEVMODEW*>(argument);
      if (inch && dm) {
        ItemSetRawById(ctx, kInchLength, FreeSizeMetricToInch(dm->dmPaperLength));
        ItemSetRawById(ctx, kInchWidth, FreeSizeMetricToInch(dm->dmPaperWidth));
      }
      return 1;
    }
    case kEventInputPaper: {
      struct InputPaper {
        DEVMODEW* devmode;
        LONG handled;
      };
      auto* e = static_cast<InputPaper*>(argument);
      if (inch && e && e->devmode) {
        e->devmode->dmPaperLength = TenthMmFromInch(static_cast<LONG>(ItemGetRawById(ctx, kInchLength)));
        e->devmode->dmPaperWidth = TenthMmFromInch(static_cast<LONG>(ItemGetRawById(ctx, kInchWidth)));
        e->handled = 1;
      }
      return 1;
    }
    case kEventScrollRange: {
      auto* e = static_cast<FreeSizeRangeEvent*>(argument);
      DWORD high = 0, low = 0;
      if (e && FreeSizeGetControlLimits(ctx, e->control, &high, &low)) {
        e->maximum = static_cast<LONG>(high);
        e->minimum = static_cast<LONG>(low);
        e->given = 1;
      }
      return 1;
    }
    case kEventChangeAccepted: {
      if (!withAcceptedChange) return 0;
      auto* e = static_cast<FreeSizeChangeEvent*>(argument);
      // The slot editor's OK: every slot's size becomes its paper's.
      if (e && e->page && e->page->dialogId == kSlotDialog)
        for (int n = 0; n < kSlotCount; ++n) FreeSizeSlotToPaperItems(ctx, n);
      return 1;
    }
    case kEventEditInchCapable: {
      auto* e = static_cast<FreeSizeInchFlagEvent*>(argument);
      if (e && e->control && InchCapable(e->control->controlId)) e->flag = 1;
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

int FreeSizeHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  return Answer(ctx, event, argument, true);
}

int FreeSizeHandleEventGraphics(DriverContext* ctx, int event, void* argument, void*) {
  return Answer(ctx, event, argument, false);
}
