// Print notification: the capability and value bits of the information DLL into four items.
#include "core/bind/print_notification.h"

#include "core/bind/export_of.h"
#include "core/system/printer_names.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"

namespace {

typedef DWORD(WINAPI* CapabilityProc)(LPCSTR printer, DWORD* bits);
typedef DWORD(WINAPI* ValueProc)(DWORD* bits);

const WCHAR kNotificationDll[] = TEXT("OMPNInf.dll");
constexpr int kAnsiNameBytes = 260;

void ClearSupport(DriverContext* ctx) {
  ItemSetRawById(ctx, kItem_zdmSupportFunc2SelectJobComplete, 0);
  ItemSetRawById(ctx, kItem_zdmSupportFunc2SelectJobErr, 0);
}

}  // namespace

void CtxQueryPrintNotification(DriverContext* ctx, DWORD flags) {
  if (!ctx) return;
  WCHAR path[MAX_PATH + 1] = {};
  PathInSystemDir(path, MAX_PATH, kNotificationDll);
  HMODULE module = path[0] ? LoadLibraryW(path) : nullptr;
  CapabilityProc capability =
      module ? ExportOf<CapabilityProc>(module, "OMGetPrintNotificationCapability") : nullptr;
  ValueProc value = module ? ExportOf<ValueProc>(module, "OMGetPrintNotificationValue") : nullptr;
  if (!capability || !value) {
    ClearSupport(ctx);
    if (module) FreeLibrary(module);
    return;
  }
  // The name ends within its 260 bytes, cut between characters.
  char name[kAnsiNameBytes] = {};
  StrWideToAnsi(name, PrnGetPrinterName(ctx), kAnsiNameBytes);
  DWORD bits = 0;
  if (capability(name, &bits) != 0) {
    ClearSupport(ctx);
  } else {
    ItemSetRawById(ctx, kItem_zdmSupportFunc2SelectJobComplete, (bits & 0x1) ? 1 : 0);
    ItemSetRawById(ctx, kItem_zdmSupportFunc2SelectJobErr, (bits & 0x2) ? 1 : 0);
    if (!(flags & kNotifyCapabilitiesOnly)) {
      DWORD chosen = 0;
      if (value(&chosen) == 0) {
        ItemSetRawById(ctx, kItem_zdmFunc2SelectJobComplete, (chosen & 0x1) ? 1 : 0);
        ItemSetRawById(ctx, kItem_zdmFunc2SelectJobErr, (chosen & 0x2) ? 1 : 0);
      }
    }
  }
  FreeLibrary(module);
}
