#include "ui2k/dlg_notify.h"

#include "core/context/module_bus.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"

namespace {
constexpr DWORD kChangeFlagBuiltIn = 0x10000000;
}  // namespace

void DlgNotifyChange(DriverContext* ctx, WORD code) {
  if (!ctx) return;
  switch (code) {
    case 1:
    case 3:
    case 4:
      ItemApplyPaperChange(ctx, code);
      break;
    case 2:
      CtxAddChangeFlags(ctx, kChangeFlagBuiltIn);
      break;
    default:
      ModBusNotify(ctx, code);
      break;
  }
}
