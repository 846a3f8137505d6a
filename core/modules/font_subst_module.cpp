// The font-substitution module's window-less answer: the restricted state of the device-font
// list.
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/module_rows.h"

namespace {
constexpr WORD kDeviceFontList = 2384;
constexpr WORD kFontSubstDialog = 4004;
constexpr WORD kRestrictedBits = 0x000C;
constexpr WORD kRestricted = 0x0004;
}  // namespace

int TtfHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (event != kEventControlRestricted || !argument) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  DlgControlRecord* control = query->control;
  if (!control || control->controlId != kDeviceFontList) return 0;
  // The substitution table belongs to the printer: only the preferences sheet edits it.
  const bool fromDialog = query->page && query->page->dialogId == kFontSubstDialog;
  if (ItemGetRawById(ctx, kItem_zdmCallSrc) == 0 || fromDialog) {
    control->state = static_cast<WORD>((control->state & ~kRestrictedBits) | kRestricted);
    query->answered = 1;
  }
  return 1;
}
